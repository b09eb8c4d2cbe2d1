#include "TextConversion.h"
#include "Win1251.h"

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

TEST(TextConversion, CyrillicTravelsBothWays)
{
    const QString typed = QString::fromUtf8("Завод Ёё № 5 «Ромашка»");
    EXPECT_EQ(ToAnsi(typed), Win1251("Завод Ёё № 5 «Ромашка»"));
    EXPECT_EQ(FromAnsi(ToAnsi(typed)), typed);
}

// Each character that Windows-1251 lacks gives one "?", whatever its size in UTF-16, and the
// first of them is the one reported.
TEST(TextConversion, CharactersWindows1251LacksBecomeQuestionMarks)
{
    const struct {
        const char* name;
        QString text;
        AnsiString bytes;
        std::optional<char32_t> firstLacking;
    } cases[] = {
        {"all held", QString::fromUtf8("Ёлка № 5 «x» € \u00A0"), Win1251("Ёлка № 5 «x» € \u00A0"), std::nullopt},
        {"Kazakh", QString::fromUtf8("Қасымов"), "?" + Win1251("асымов"), U'Қ'},
        {"two of them", QString::fromUtf8("Ғасымов Қ"), "?" + Win1251("асымов ?"), U'Ғ'},
        {"Tatar and Latin", QString::fromUtf8("әби ä"), "?" + Win1251("би ?"), U'ә'},
        {"Chinese", QString::fromUtf8("中文a"), "??a", U'中'},
        {"beyond 16 bits", QString::fromUtf8("a😀b"), "a?b", U'😀'},
        {"lone surrogate", u"a"_s + QChar(0xD800) + u"b"_s, "a?b", char32_t(0xD800)},
        {"surrogate at the end", u"a"_s + QChar(0xDBFF), "a?", char32_t(0xDBFF)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToAnsi(c.text), c.bytes) << c.name;
        EXPECT_EQ(FirstCharacterAnsiLacks(c.text), c.firstLacking) << c.name;
        EXPECT_EQ(FromAnsi(ToAnsi(c.text)) == c.text, !c.firstLacking) << c.name;
    }
}

// Every byte stands for one character that converts back to it, and these 256 characters are
// all that Windows-1251 holds: what AnsiHolds accepts survives the round trip, nothing else does.
TEST(TextConversion, Windows1251HoldsExactlyTheCharactersOfItsBytes)
{
    QString held;
    for (int byte = 0; byte < 256; ++byte) {
        const AnsiString one(1, static_cast<char>(byte));
        const QString character = FromAnsi(one);
        ASSERT_EQ(character.size(), 1) << byte;
        EXPECT_EQ(ToAnsi(character), one) << byte;
        EXPECT_TRUE(AnsiHolds(character.at(0).unicode())) << byte;
        held += character;
    }
    int holds = 0;
    for (char32_t code = 0; code <= 0xFFFF; ++code) {
        const QChar unit(static_cast<char16_t>(code));
        const QString text(unit);
        const bool roundTrip = FromAnsi(ToAnsi(text)) == text;
        ASSERT_EQ(AnsiHolds(code), roundTrip) << std::hex << static_cast<unsigned>(code);
        ASSERT_EQ(AnsiHolds(code), held.contains(unit)) << std::hex << static_cast<unsigned>(code);
        holds += AnsiHolds(code) ? 1 : 0;
    }
    EXPECT_EQ(holds, 256);
    for (char32_t code : {char32_t(0x10000), char32_t(0x1F600), char32_t(0x10FFFF)})
        EXPECT_FALSE(AnsiHolds(code));
}

TEST(TextConversion, ManyTextsAtOnceEqualOneByOne)
{
    std::vector<AnsiString> texts = {"", Win1251("Иванов"), "a", "", Win1251("Петров Ёж")};
    AnsiString everyByte;
    for (int byte = 1; byte < 256; ++byte)
        everyByte += static_cast<char>(byte);
    texts.push_back(everyByte);
    texts.push_back(AnsiString("a\0b", 3));

    const QStringList together = FromAnsi(texts);
    ASSERT_EQ(together.size(), static_cast<qsizetype>(texts.size()));
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(together[static_cast<qsizetype>(i)], FromAnsi(texts[i])) << i;
}

} // namespace
