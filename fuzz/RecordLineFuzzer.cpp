// Feeds arbitrary bytes to the record-line and date parsers and checks them against the rules
// written out plainly with SplitText, piece by piece, as the reader's steps state them (the same
// plain rules that the tests hold the parsers against on seeded random inputs); and
// checks that a parsed record reads back the same after it was formatted again.
#include "PlainRules.h"
#include "SavedRecords.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

void CheckDate(const AnsiString& text)
{
    const MDate date(text);
    Require(date.text == text, "a date keeps its text byte for byte");
    const PlainDate plain = PlainDateRule(text);
    Require((date.invalid != 0) == plain.invalid, "fewer than three pieces make an invalid date");
    Require(date.day == plain.day, "day");
    Require(date.month == plain.month, "month");
    Require(date.year == plain.year, "year");
    if (!plain.invalid)
        Require(DateText(date) == (text.empty() ? AnsiString("0.0.0") : text), "the text form of a date");
}

bool SameDate(const MDate& a, const MDate& b)
{
    return a.text == b.text && a.day == b.day && a.month == b.month && a.year == b.year && a.invalid == b.invalid;
}

bool SameRecord(const std::pair<AnsiString, IntervalList>& a, const std::pair<AnsiString, IntervalList>& b)
{
    if (a.first != b.first || a.second.size() != b.second.size())
        return false;
    for (size_t i = 0; i < a.second.size(); ++i) {
        const Interval& x = a.second[i];
        const Interval& y = b.second[i];
        if (x.name != y.name || !SameDate(x.from, y.from) || !SameDate(x.to, y.to))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const AnsiString input(reinterpret_cast<const char*>(data), size);
    CheckDate(input);

    const auto parsed = ParseRecordLine(input);
    Require(SameRecord(parsed, PlainRecordLine(input)), "ParseRecordLine follows the reader's steps");

    // The reader keeps a line as its bytes exactly when formatting its parse gives them back, and
    // a record kept so gives the periods of the parse. A line of the file holds no line end.
    const size_t bar = input.find('|');
    if (bar != AnsiString::npos && input.find_first_of("\r\n") == AnsiString::npos) {
        const std::string_view text(input);
        const bool canonical = IsCanonicalRecordLine(text.substr(0, bar), text.substr(bar + 1));
        const bool givesItselfBack
            = !parsed.first.empty() && FormatRecordLine(parsed.first, parsed.second) == input;
        Require(canonical == givesItselfBack, "a line is kept as its bytes when it is written back the same");
        if (canonical) {
            const RecordView kept{text.substr(0, bar), nullptr, text.substr(bar + 1)};
            Require(SameRecord(parsed, {parsed.first, PeriodsOf(kept)}), "a kept record gives the parse's periods");
        }
    }

    if (parsed.first.empty()) {
        Require(parsed.second.empty(), "no record, no periods");
        return 0;
    }

    // Every parsed field is free of the separators and of zero bytes, so its line reads back the
    // same; only a date with an empty text comes back as 0.0.0, with that text.
    std::pair<AnsiString, IntervalList> expected{parsed.first, {}};
    for (const Interval& period : parsed.second)
        expected.second.emplace_back(period.name, MDate(DateText(period.from)), MDate(DateText(period.to)));
    const AnsiString line = FormatRecordLine(parsed.first, parsed.second);
    Require(SameRecord(ParseRecordLine(line), expected), "a formatted record reads back the same");
    AnsiString appended = "x";
    AppendRecordLine(appended, parsed.first, parsed.second);
    Require(appended == "x" + line, "AppendRecordLine appends the bytes of FormatRecordLine");
    return 0;
}
