#include "MDate.h"

#include <string_view>
#include <utility>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Leading white space, an optional sign, then digits up to the first non-digit;
// a piece without digits reads as 0. Kept modulo 65536, as the 16-bit field stores it.
uint16_t ReadNumber(std::string_view piece)
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

// "/" if the text holds one, else ",", else "."; 0 when it holds none of them.
char DateSeparator(std::string_view text)
{
    bool slash = false;
    bool comma = false;
    bool dot = false;
    for (const char c : text) {
        slash |= c == '/';
        comma |= c == ',';
        dot |= c == '.';
    }
    return slash ? '/' : comma ? ',' : dot ? '.' : 0;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

unsigned Digit(char c)
{
    return static_cast<unsigned>(c - '0');
}

} // namespace

MDate::MDate(const AnsiString& text)
    : year(0)
    , month(0)
    , day(0)
    , invalid(0)
    , text(text)
{
    // The form every date field gives, dd.mm.yyyy, is read directly; it gives what the general
    // way below gives for it, and that way stays for every other text.
    const std::string_view view(this->text);
    const char* const d = view.data();
    if (view.size() == 10 && d[2] == '.' && d[5] == '.' && IsDigit(d[0]) && IsDigit(d[1]) && IsDigit(d[3])
        && IsDigit(d[4]) && IsDigit(d[6]) && IsDigit(d[7]) && IsDigit(d[8]) && IsDigit(d[9])) {
        day = static_cast<uint16_t>(Digit(d[0]) * 10 + Digit(d[1]));
        month = static_cast<uint16_t>(Digit(d[3]) * 10 + Digit(d[4]));
        year = static_cast<uint16_t>(Digit(d[6]) * 1000 + Digit(d[7]) * 100 + Digit(d[8]) * 10 + Digit(d[9]));
        return;
    }

    constexpr size_t NotFound = std::string_view::npos;
    const char separator = DateSeparator(view);
    const size_t first = separator ? view.find(separator) : NotFound;
    const size_t second = first == NotFound ? NotFound : view.find(separator, first + 1);
    if (second == NotFound) {
        invalid = 1;
        return;
    }
    day = ReadNumber(view.substr(0, first));
    month = ReadNumber(view.substr(first + 1, second - first - 1));
    // A number stops at the first byte that is no blank, sign or digit, and a separator is none of
    // them: the rest of the text reads as the third piece alone, and later pieces do not count.
    year = ReadNumber(view.substr(second + 1));
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
