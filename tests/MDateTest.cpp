#include "MDate.h"
#include "PlainRules.h"
#include "RandomRecords.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct ParseCase {
    const char* text;
    uint16_t day;
    uint16_t month;
    uint16_t year;
    bool invalid;
};

TEST(MDate, ParsesDayMonthYear)
{
    const ParseCase cases[] = {
        {"15.03.2010", 15, 3, 2010, false}, {"  .  .    ", 0, 0, 0, false}, // an untouched masked field
        {"5/7/99", 5, 7, 99, false}, {"1,2,3", 1, 2, 3, false}, {"1..2000", 1, 0, 2000, false},
        {"15.03.2010.", 15, 3, 2010, false}, {"1.2.2003.4", 1, 2, 2003, false}, {"1.2", 0, 0, 0, true},
        {"", 0, 0, 0, true}, {"2010", 0, 0, 0, true},
        {"15.03/2010", 0, 0, 0, true}, // "/" wins over "." wherever it stands
        {"1,2.3,4", 1, 2, 4, false}, // "," wins over "."
        {"1/2,3/4", 1, 2, 4, false}, {"1/2/3,4", 1, 2, 3, false}, // "/" wins over ","
        {"1,2/3,4", 0, 0, 0, true}, {"1,2,3/4.5", 0, 0, 0, true}, // cut at "/" only: two pieces
        {"31.02.2010", 31, 2, 2010, false}, {" 5x.+7.-1", 5, 7, 65535, false}, {"\t 12 .07.70000", 12, 7, 4464, false},
        {"-0.1.2", 0, 1, 2, false}, {"99999999999999999999.1.1", 65535, 1, 1, false}, // 10^20 - 1 modulo 65536
    };
    for (const ParseCase& c : cases) {
        const MDate date{AnsiString(c.text)};
        EXPECT_EQ(date.day, c.day) << c.text;
        EXPECT_EQ(date.month, c.month) << c.text;
        EXPECT_EQ(date.year, c.year) << c.text;
        EXPECT_EQ(date.invalid != 0, c.invalid) << c.text;
        EXPECT_EQ(date.text, c.text) << c.text;
    }
}

// The constructor reads the dd.mm.yyyy form directly and every other text its own way; both must
// give what the plain rule gives, the preference of "/" over "," over "." included.
TEST(MDate, FollowsThePlainRuleOnRandomTexts)
{
    std::mt19937 random(20261211);
    for (int i = 0; i < 5000; ++i) {
        const AnsiString text = RandomParserText(random, 16);
        const MDate date(text);
        const PlainDate plain = PlainDateRule(text);
        ASSERT_EQ(date.day, plain.day) << "case " << i << ": " << text;
        ASSERT_EQ(date.month, plain.month) << "case " << i << ": " << text;
        ASSERT_EQ(date.year, plain.year) << "case " << i << ": " << text;
        ASSERT_EQ(date.invalid != 0, plain.invalid) << "case " << i << ": " << text;
        ASSERT_EQ(date.text, text) << "case " << i;
    }
}

TEST(MDate, DateTextKeepsTheTypedTextOrWritesTheNumbers)
{
    EXPECT_EQ(DateText(MDate("  .  .    ")), "  .  .    ");
    EXPECT_EQ(DateText(MDate("15.03.2010.")), "15.03.2010.");
    EXPECT_EQ(DateText(MDate("1/2/2003")), "1/2/2003");
    EXPECT_EQ(DateText(MDate("")), "0.0.0");

    MDate numbersOnly("05.03.2010");
    numbersOnly.text.clear();
    EXPECT_EQ(DateText(numbersOnly), "5.3.2010");
}

TEST(MDate, OrderUsesTheNumbersOnly)
{
    EXPECT_EQ(MDate("01.02.2003"), MDate("1/2/2003"));
    EXPECT_EQ(MDate(""), MDate("  .  .    "));
    EXPECT_LT(MDate("31.12.2009"), MDate("01.01.2010"));
    EXPECT_LT(MDate("01.01.2010"), MDate("01.02.2010"));
    EXPECT_LT(MDate("01.02.2010"), MDate("02.02.2010"));
    EXPECT_LT(MDate("  .  .    "), MDate("01.01.0001"));
    EXPECT_GT(MDate("1.1.65535"), MDate("31.12.9999"));
}

TEST(SplitText, CutsAtEverySeparator)
{
    using Pieces = std::vector<AnsiString>;
    EXPECT_EQ(SplitText("1..2000", '.'), (Pieces{"1", "", "2000"}));
    EXPECT_EQ(SplitText("15.03.2010.", '.'), (Pieces{"15", "03", "2010", ""}));
    EXPECT_EQ(SplitText("a&b", '&'), (Pieces{"a", "b"}));
    EXPECT_EQ(SplitText("a&", '&'), (Pieces{"a", ""}));
    EXPECT_EQ(SplitText("&a", '&'), (Pieces{"", "a"}));
    EXPECT_EQ(SplitText("&", '&'), (Pieces{"", ""}));
    EXPECT_EQ(SplitText("a", '&'), Pieces{});
    EXPECT_EQ(SplitText("", '&'), Pieces{});
}

} // namespace
