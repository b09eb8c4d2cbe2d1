#include "NameCheck.h"

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// A name may enter the records only when it can come back from the data file as it was typed;
// the message names the first character that cannot.
TEST(NameCheck, RefusesTheFirstCharacterTheFileCannotCarry)
{
    const struct {
        const char* name;
        QString text;
        std::optional<char32_t> refused;
        QString message;
    } cases[] = {
        {"Cyrillic", u"Иванов Ёж № 5"_s, std::nullopt, {}},
        {"no-break space and euro", u"\u00A0€"_s, std::nullopt, {}},
        {"empty", QString(), std::nullopt, {}},
        {"Kazakh letter", u"Қасымов"_s, U'Қ', u"Недопустимый символ в названии «Қ»"_s},
        {"Tatar letter inside", u"Гөлнара"_s, U'ө', u"Недопустимый символ в названии «ө»"_s},
        {"comma", u"a,b"_s, U',', u"Недопустимый символ в названии «,»"_s},
        {"ampersand first", u"&a"_s, U'&', u"Недопустимый символ в названии «&»"_s},
        {"bar last", u"a|"_s, U'|', u"Недопустимый символ в названии «|»"_s},
        {"separator before a lacking letter", u"a,Қ"_s, U',', u"Недопустимый символ в названии «,»"_s},
        {"lacking letter before a separator", u"Қ,a"_s, U'Қ', u"Недопустимый символ в названии «Қ»"_s},
        {"line feed", u"Иванов\n"_s, U'\n', u"Недопустимый символ в названии «U+000A»"_s},
        {"carriage return", u"a\rb"_s, U'\r', u"Недопустимый символ в названии «U+000D»"_s},
        {"zero", u"a"_s + QChar(0) + u"b"_s, U'\0', u"Недопустимый символ в названии «U+0000»"_s},
        {"beyond 16 bits", u"a😀"_s, U'😀', u"Недопустимый символ в названии «😀»"_s},
        {"lone surrogate", QString(QChar(0xDC00)), char32_t(0xDC00), u"Недопустимый символ в названии «U+DC00»"_s},
    };
    for (const auto& c : cases) {
        const std::optional<char32_t> refused = FirstRefusedCharacter(c.text);
        EXPECT_EQ(refused, c.refused) << c.name;
        if (refused && c.refused) {
            EXPECT_EQ(RefusedCharacterMessage(*refused).toStdString(), c.message.toStdString()) << c.name;
        }
    }
}

} // namespace
