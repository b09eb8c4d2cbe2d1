#include "TextConversion.h"
#include "Win1251.h"

#include <gtest/gtest.h>

namespace {

TEST(TextConversion, CyrillicTravelsBothWays)
{
    const QString typed = QString::fromUtf8("Завод Ёё № 5 «Ромашка»");
    EXPECT_EQ(ToAnsi(typed), Win1251("Завод Ёё № 5 «Ромашка»"));
    EXPECT_EQ(FromAnsi(ToAnsi(typed)), typed);
}

TEST(TextConversion, ACharacterWindows1251LacksAlwaysGivesTheSameByte)
{
    const QString typed = QString::fromUtf8("a€b✓");
    EXPECT_EQ(ToAnsi(typed), ToAnsi(typed));
    EXPECT_EQ(ToAnsi(QString::fromUtf8("✓")).size(), 1u);
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
