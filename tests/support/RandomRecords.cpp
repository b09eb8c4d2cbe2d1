#include "RandomRecords.h"

#include <cstdio>

AnsiString RandomText(std::mt19937& random, size_t minLength, size_t maxLength)
{
    static const AnsiString forbidden(",&|\r\n\0", 6);
    std::uniform_int_distribution<size_t> length(minLength, maxLength);
    std::uniform_int_distribution<int> byte(1, 255);
    AnsiString text;
    for (size_t n = length(random); text.size() < n;) {
        const char c = static_cast<char>(byte(random));
        if (forbidden.find(c) == AnsiString::npos)
            text += c;
    }
    return text;
}

AnsiString RandomDateText(std::mt19937& random)
{
    switch (std::uniform_int_distribution<int>(0, 3)(random)) {
    case 0: {
        char text[16];
        std::snprintf(text, sizeof text, "%02d.%02d.%04d", std::uniform_int_distribution<int>(1, 31)(random),
            std::uniform_int_distribution<int>(1, 12)(random), std::uniform_int_distribution<int>(1900, 2100)(random));
        return text;
    }
    case 1:
        return "  .  .    ";
    default:
        return RandomText(random, 1, 12);
    }
}

IntervalList RandomPeriods(std::mt19937& random, int maxCount)
{
    IntervalList periods;
    for (int n = std::uniform_int_distribution<int>(0, maxCount)(random); n > 0; --n)
        periods.emplace_back(RandomText(random, 0, 20), MDate(RandomDateText(random)), MDate(RandomDateText(random)));
    return periods;
}

AnsiString RandomParserText(std::mt19937& random, size_t maxLength)
{
    static const AnsiString common("/,.|&0123456789 \t+-", 19);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> byte(0, 255);
    AnsiString text;
    if (kind(random) < 3) {
        char date[16];
        std::snprintf(date, sizeof date, "%02d.%02d.%04d", std::uniform_int_distribution<int>(0, 99)(random),
            std::uniform_int_distribution<int>(0, 99)(random), std::uniform_int_distribution<int>(0, 9999)(random));
        text = date;
        if (kind(random) < 7)
            text[std::uniform_int_distribution<size_t>(0, text.size() - 1)(random)]
                = common[byte(random) % common.size()];
        return text.substr(0, maxLength);
    }
    for (size_t n = std::uniform_int_distribution<size_t>(0, maxLength)(random); text.size() < n;) {
        if (kind(random) < 7)
            text += common[byte(random) % common.size()];
        else
            text += static_cast<char>(byte(random));
    }
    return text;
}
