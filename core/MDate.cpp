#include "MDate.h"

#include <utility>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Leading white space, an optional sign, then digits up to the first non-digit;
// a piece without digits reads as 0. Kept modulo 65536, as the 16-bit field stores it.
uint16_t ReadNumber(const AnsiString& piece)
{
    size_t i = 0;
    while (i < piece.size() && IsSpace(piece[i]))
        ++i;
    bool negative = false;
    if (i < piece.size() && (piece[i] == '+' || piece[i] == '-')) {
        negative = piece[i] == '-';
        ++i;
    }
    uint16_t value = 0;
    for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i)
        value = static_cast<uint16_t>(value * 10u + static_cast<unsigned>(piece[i] - '0'));
    return negative ? static_cast<uint16_t>(0u - value) : value;
}

char DateSeparator(const AnsiString& text)
{
    for (char separator : {'/', ',', '.'}) {
        if (text.find(separator) != AnsiString::npos)
            return separator;
    }
    return 0;
}

} // namespace

MDate::MDate(const AnsiString& text)
    : year(0)
    , month(0)
    , day(0)
    , invalid(0)
    , text(text)
{
    const char separator = DateSeparator(text);
    const std::vector<AnsiString> pieces = separator ? SplitText(text, separator) : std::vector<AnsiString>{};
    if (pieces.size() < 3) {
        invalid = 1;
        return;
    }
    day = ReadNumber(pieces[0]);
    month = ReadNumber(pieces[1]);
    year = ReadNumber(pieces[2]);
}

bool operator==(const MDate& a, const MDate& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

std::strong_ordering operator<=>(const MDate& a, const MDate& b)
{
    if (a.year != b.year)
        return a.year <=> b.year;
    if (a.month != b.month)
        return a.month <=> b.month;
    return a.day <=> b.day;
}

Interval::Interval(AnsiString name, MDate from, MDate to)
    : name(std::move(name))
    , from(std::move(from))
    , to(std::move(to))
{
}

std::vector<AnsiString> SplitText(const AnsiString& text, char separator)
{
    std::vector<AnsiString> pieces;
    size_t start = 0;
    size_t found = text.find(separator);
    if (found == AnsiString::npos)
        return pieces;
    while (found != AnsiString::npos) {
        pieces.emplace_back(text, start, found - start);
        start = found + 1;
        found = text.find(separator, start);
    }
    pieces.emplace_back(text, start);
    return pieces;
}

AnsiString DateText(const MDate& date)
{
    if (!date.text.empty())
        return date.text;
    return std::to_string(date.day) + '.' + std::to_string(date.month) + '.' + std::to_string(date.year);
}
