// Feeds arbitrary bytes to the record-line and date parsers and checks them against the rules
// written out plainly with SplitText, piece by piece, as the reader's steps state them; and
// checks that a parsed record reads back the same after it was formatted again.
#include "SavedRecords.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

AnsiString UpToZero(const AnsiString& piece)
{
    return AnsiString(piece.c_str());
}

uint16_t PlainNumber(const AnsiString& piece)
{
    size_t i = 0;
    while (i < piece.size() && std::strchr(" \t\n\v\f\r", piece[i]) && piece[i] != '\0')
        ++i;
    bool negative = false;
    if (i < piece.size() && (piece[i] == '+' || piece[i] == '-'))
        negative = piece[i++] == '-';
    unsigned value = 0;
    for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i)
        value = (value * 10u + static_cast<unsigned>(piece[i] - '0')) % 65536u;
    return static_cast<uint16_t>(negative ? (65536u - value) % 65536u : value);
}

void CheckDate(const AnsiString& text)
{
    const MDate date(text);
    Require(date.text == text, "a date keeps its text byte for byte");
    char separator = 0;
    for (char candidate : {'/', ',', '.'}) {
        if (text.find(candidate) != AnsiString::npos) {
            separator = candidate;
            break;
        }
    }
    const std::vector<AnsiString> pieces = separator ? SplitText(text, separator) : std::vector<AnsiString>{};
    if (pieces.size() < 3) {
        Require(date.invalid && date.day == 0 && date.month == 0 && date.year == 0, "fewer than three pieces");
        return;
    }
    Require(!date.invalid, "three pieces make a valid date");
    Require(date.day == PlainNumber(pieces[0]), "day");
    Require(date.month == PlainNumber(pieces[1]), "month");
    Require(date.year == PlainNumber(pieces[2]), "year");
    Require(DateText(date) == (text.empty() ? AnsiString("0.0.0") : text), "the text form of a date");
}

std::pair<AnsiString, IntervalList> PlainParse(const AnsiString& line)
{
    if (line.empty())
        return {};
    const std::vector<AnsiString> parts = SplitText(line, '|');
    if (parts.size() < 2)
        return {};
    IntervalList periods;
    for (const AnsiString& candidate : SplitText(parts[1], '&')) {
        const std::vector<AnsiString> fields = SplitText(candidate, ',');
        if (fields.size() >= 3)
            periods.emplace_back(UpToZero(fields[0]), MDate(UpToZero(fields[1])), MDate(UpToZero(fields[2])));
    }
    AnsiString name = UpToZero(parts[0]);
    if (name.empty())
        return {};
    return {name, periods};
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
    Require(SameRecord(parsed, PlainParse(input)), "ParseRecordLine follows the reader's steps");
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
