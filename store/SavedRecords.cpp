#include "SavedRecords.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr size_t NotFound = std::string_view::npos;

// Fields end at a zero byte, as the stored texts always have.
std::string_view UpToZero(std::string_view piece)
{
    return piece.substr(0, piece.find('\0'));
}

// memchr scans long stretches many bytes at a time; the lines are scanned with it throughout.
const char* Find(const char* from, const char* end, char c)
{
    // An empty view may have no bytes at all to search.
    if (from == end)
        return end;
    const void* found = std::memchr(from, c, static_cast<size_t>(end - from));
    return found ? static_cast<const char*>(found) : end;
}

// A period is name, start date and end date, the first three ","-fields of a candidate; a
// candidate with fewer fields gives no period, fields after the third are ignored.
void AppendPeriod(const char* start, const char* end, bool mayHoldZero, IntervalList& periods)
{
    const char* first = Find(start, end, ',');
    if (first == end)
        return;
    const char* second = Find(first + 1, end, ',');
    if (second == end)
        return;
    const char* third = Find(second + 1, end, ',');
    std::string_view name(start, static_cast<size_t>(first - start));
    std::string_view from(first + 1, static_cast<size_t>(second - first - 1));
    std::string_view to(second + 1, static_cast<size_t>(third - second - 1));
    if (mayHoldZero) {
        name = UpToZero(name);
        from = UpToZero(from);
        to = UpToZero(to);
    }
    periods.emplace_back(AnsiString(name), MDate(AnsiString(from)), MDate(AnsiString(to)));
}

// A date stands in the file as its text; a date without one is written as DateText makes it.
size_t DateTextSize(const MDate& date)
{
    return date.text.empty() ? DateText(date).size() : date.text.size();
}

char* Put(char* at, std::string_view text)
{
    // An empty view may have no bytes at all to copy from.
    if (text.empty())
        return at;
    return static_cast<char*>(std::memcpy(at, text.data(), text.size())) + text.size();
}

char* PutDate(char* at, const MDate& date)
{
    if (date.text.empty())
        return Put(at, DateText(date));
    return Put(at, date.text);
}

// The periods of the text after "|". Text after a second "|" is ignored. A list without "&"
// holds no period; otherwise the piece after the last "&" is a candidate like any other.
IntervalList ParsePeriods(std::string_view text, bool mayHoldZero)
{
    const char* const listStart = text.data();
    const char* const listEnd = Find(listStart, text.data() + text.size(), '|');
    size_t ampersands = 0;
    for (const char* at = Find(listStart, listEnd, '&'); at != listEnd; at = Find(at + 1, listEnd, '&'))
        ++ampersands;
    IntervalList periods;
    if (ampersands == 0)
        return periods;
    // The piece after the last "&" is normally empty: one period per "&", and no spare room.
    periods.reserve(ampersands);
    for (const char* start = listStart;;) {
        const char* const ampersand = Find(start, listEnd, '&');
        AppendPeriod(start, ampersand, mayHoldZero, periods);
        if (ampersand == listEnd)
            break;
        start = ampersand + 1;
    }
    return periods;
}

// What ends a field of a line the writer would write: "," or "&"; and what no such line holds.
enum FieldEnd : unsigned char { NoEnd, Comma, Ampersand, Refused };

constexpr std::array<FieldEnd, 256> FieldEnds = [] {
    std::array<FieldEnd, 256> kinds{};
    kinds[static_cast<unsigned char>(',')] = Comma;
    kinds[static_cast<unsigned char>('&')] = Ampersand;
    for (const char refused : {'|', '\0', '\r', '\n'})
        kinds[static_cast<unsigned char>(refused)] = Refused;
    return kinds;
}();

// The first byte from `at` on that FieldEnds marks, or `end`. The check of the lines runs over
// every byte of a large file at start: where SSE2 is there (every x86-64), 16 bytes are looked
// at together while 16 are left, the usual field being shorter; the rest one by one.
const unsigned char* SkipFieldBytes(const unsigned char* at, const unsigned char* end)
{
#ifdef __SSE2__
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i ampersand = _mm_set1_epi8('&');
    const __m128i bar = _mm_set1_epi8('|');
    const __m128i zero = _mm_setzero_si128();
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - at >= 16; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i ends = _mm_or_si128(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, comma), _mm_cmpeq_epi8(bytes, ampersand)),
                _mm_or_si128(_mm_cmpeq_epi8(bytes, bar), _mm_cmpeq_epi8(bytes, zero))),
            _mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (const int found = _mm_movemask_epi8(ends))
            return at + __builtin_ctz(static_cast<unsigned>(found));
    }
#endif
    while (at != end && FieldEnds[*at] == NoEnd)
        ++at;
    return at;
}

} // namespace

std::pair<AnsiString, IntervalList> ParseRecordLine(std::string_view line)
{
    const std::string_view text(line);
    const size_t bar = text.find('|');
    if (bar == NotFound)
        return {};
    const bool mayHoldZero = text.find('\0') != NotFound;
    const std::string_view name = mayHoldZero ? UpToZero(text.substr(0, bar)) : text.substr(0, bar);
    if (name.empty())
        return {};
    return {AnsiString(name), ParsePeriods(text.substr(bar + 1), mayHoldZero)};
}

bool IsCanonicalRecordLine(std::string_view name, std::string_view rest)
{
    if (name.empty() || name.find('\0') != NotFound)
        return false;
    const auto* at = reinterpret_cast<const unsigned char*>(rest.data());
    const auto* const end = at + rest.size();
    // The field from `at` up to the byte that ends it: true when that byte is `kind` and, where
    // the field must not be empty, the field is not.
    const auto field = [&](FieldEnd kind, bool mayBeEmpty) {
        const auto* const start = at;
        at = SkipFieldBytes(at, end);
        if (at == end || FieldEnds[*at] != kind || (!mayBeEmpty && at == start))
            return false;
        ++at;
        return true;
    };
    while (at != end) {
        if (!field(Comma, true) || !field(Comma, false) || !field(Ampersand, false))
            return false;
    }
    return true;
}

IntervalList PeriodsOf(const RecordView& record)
{
    return record.periods ? *record.periods : ParsePeriods(record.line, false);
}

void AppendRecordLine(AnsiString& line, const RecordView& record)
{
    if (record.periods) {
        AppendRecordLine(line, record.name, *record.periods);
        return;
    }
    line.reserve(line.size() + record.name.size() + 1 + record.line.size());
    line += record.name;
    line += '|';
    line += record.line;
}

bool SameRecord(const RecordView& record, const IntervalList& periods)
{
    if (record.periods)
        return SameRecord(*record.periods, periods);
    AnsiString line;
    AppendRecordLine(line, std::string_view(), periods);
    return std::string_view(line).substr(1) == record.line;
}

bool SameRecord(const RecordView& a, const RecordView& b)
{
    if (!a.periods && !b.periods)
        return a.line == b.line;
    if (!a.periods)
        return SameRecord(a, *b.periods);
    return SameRecord(b, *a.periods);
}

void AppendRecordLine(AnsiString& line, std::string_view name, const IntervalList& periods)
{
    // The length is known before the bytes: one resize, then plain copies.
    size_t length = name.size() + 1;
    for (const Interval& period : periods)
        length += period.name.size() + DateTextSize(period.from) + DateTextSize(period.to) + 3;
    const size_t start = line.size();
    line.resize(start + length);
    char* at = Put(line.data() + start, name);
    *at++ = '|';
    for (const Interval& period : periods) {
        at = Put(at, period.name);
        *at++ = ',';
        at = PutDate(at, period.from);
        *at++ = ',';
        at = PutDate(at, period.to);
        *at++ = '&';
    }
}

AnsiString FormatRecordLine(AnsiString name, IntervalList periods)
{
    AnsiString line;
    AppendRecordLine(line, name, periods);
    return line;
}

bool SameRecord(const IntervalList& a, const IntervalList& b)
{
    const auto sameDate = [](const MDate& x, const MDate& y) {
        // Only a date without a text is written from its numbers.
        if (!x.text.empty() && !y.text.empty())
            return x.text == y.text;
        return DateText(x) == DateText(y);
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](const Interval& x, const Interval& y) {
        return x.name == y.name && sameDate(x.from, y.from) && sameDate(x.to, y.to);
    });
}
