#include "PlainRules.h"

#include <cstring>

namespace {

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

} // namespace

PlainDate PlainDateRule(const AnsiString& text)
{
    char separator = 0;
    for (char candidate : {'/', ',', '.'}) {
        if (text.find(candidate) != AnsiString::npos) {
            separator = candidate;
            break;
        }
    }
    const std::vector<AnsiString> pieces = separator ? SplitText(text, separator) : std::vector<AnsiString>{};
    PlainDate date;
    if (pieces.size() < 3) {
        date.invalid = true;
        return date;
    }
    date.day = PlainNumber(pieces[0]);
    date.month = PlainNumber(pieces[1]);
    date.year = PlainNumber(pieces[2]);
    return date;
}

std::pair<AnsiString, IntervalList> PlainRecordLine(const AnsiString& line)
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
