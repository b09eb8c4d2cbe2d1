#include "Totals.h"
#include "Win1251.h"

#include <gtest/gtest.h>

namespace {

TEST(IntervalLine, ShowsTheDateTextsAndTheName)
{
    EXPECT_EQ(IntervalLine(Interval(Win1251("Завод"), MDate("01.09.1995"), MDate("31.08.2001"))),
        Win1251("(01.09.1995-31.08.2001) Завод"));
    EXPECT_EQ(IntervalLine(Interval("", MDate("  .  .    "), MDate("  .  .    "))), "(  .  .    -  .  .    ) ");
    EXPECT_EQ(IntervalLine(Interval(" a ", MDate(""), MDate("1/2/2003"))), "(0.0.0-1/2/2003)  a ");
}

TEST(UnbrokenServiceDate, MovesBackByYearsThenByDays)
{
    const struct {
        const char* hire;
        ServiceLength total;
        const char* expected; // nullptr: the read-out stays as it was
    } cases[] = {
        {"15.06.2020", {1, 11, 29}, "17.06.2018"}, // 363 days after the year
        {"15.06.2020", {0, 0, 0}, "15.06.2020"},
        {"15.06.2020", {6, 0, 0}, "15.06.2014"},
        {"29.02.2012", {1, 0, 0}, "28.02.2011"},
        {"29.02.2012", {4, 0, 0}, "29.02.2008"},
        {"29.02.2012", {1, 0, 1}, "27.02.2011"}, // the years go first
        {"01.03.2013", {0, 1, 0}, "30.01.2013"},
        {"01.03.2012", {0, 0, 1}, "29.02.2012"},
        {"31.12.2020", {0, 11, 30}, "02.01.2020"},
        {"1/3/2012", {0, 0, 1}, "29.02.2012"},
        {"01.01.0001", {0, 0, 0}, "01.01.0001"},
        {"31.12.9999", {0, 0, 0}, "31.12.9999"},
        {"15.06.0005", {-9994, 0, 0}, "15.06.9999"},
        {"  .  .    ", {0, 0, 0}, nullptr},
        {"15.06.    ", {0, 0, 0}, nullptr},
        {"", {0, 0, 0}, nullptr},
        {"31.02.2020", {0, 0, 0}, nullptr},
        {"29.02.2011", {0, 0, 0}, nullptr},
        {"15.13.2020", {0, 0, 0}, nullptr},
        {"15.06.10000", {0, 0, 0}, nullptr},
        {"15.06.0005", {10, 0, 0}, nullptr},
        {"15.06.0005", {-9995, 0, 0}, nullptr},
        {"01.01.0001", {0, 0, 1}, nullptr}, // before 1 January of year 1
        {"15.06.2020", {0, 0, 2147483647}, nullptr},
        {"15.06.2020", {0, 0, -2147483647 - 1}, nullptr},
        {"15.06.2020", {-2147483647 - 1, 0, 0}, nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<AnsiString> date = UnbrokenServiceDate(c.hire, c.total);
        if (c.expected) {
            ASSERT_TRUE(date.has_value()) << c.hire;
            EXPECT_EQ(*date, c.expected) << c.hire;
        } else {
            EXPECT_FALSE(date.has_value()) << c.hire << " gave " << date.value_or("");
        }
    }
}

TEST(UnbrokenServiceDate, TheNormalisedTotalDrivesTheDate)
{
    ServiceLength total{1, 10, 60};
    LengthText(total);
    EXPECT_EQ(UnbrokenServiceDate("15.06.2020", total), "17.06.2018");
    EXPECT_EQ(UnbrokenServiceDate("15.06.2020", ServiceLength{1, 10, 60}), "16.06.2018");
}

// std::chrono keeps a day and a month in 8 bits: unchecked, day 3612 would become day 28 and
// month 3590 month 6.
TEST(UnbrokenServiceDate, DaysAndMonthsBeyondTheCalendarDoNotWrap)
{
    for (const char* hire : {"3612.11.0057", "17,3590,16", "257.01.2020", "01.257.2020", "65535.65535.65535"})
        EXPECT_FALSE(UnbrokenServiceDate(hire, ServiceLength{}).has_value()) << hire;
}

TEST(CalculateTotals, GivesTheLinesTheTotalAndTheUnbrokenDate)
{
    const IntervalList periods{Interval(Win1251("Завод"), MDate("01.09.1995"), MDate("31.08.2001")),
        Interval("", MDate("  .  .    "), MDate("  .  .    "))};
    const Totals totals = CalculateTotals(periods, "15.06.2020");
    EXPECT_EQ(
        totals.lines, (std::vector<AnsiString>{Win1251("(01.09.1995-31.08.2001) Завод"), "(  .  .    -  .  .    ) "}));
    EXPECT_EQ(totals.totalText, Win1251("6 л., 0 мес., 1 дн."));
    EXPECT_EQ(
        std::vector<int>({totals.total.years, totals.total.months, totals.total.days}), std::vector<int>({6, 0, 1}));
    EXPECT_EQ(totals.unbrokenDate, "14.06.2014");
}

TEST(CalculateTotals, TheNormalisedTotalDrivesTheUnbrokenDate)
{
    // The sum is 1, 10, 60; normalised 1, 11, 29: 363 days back after the year, not 364.
    const IntervalList periods{
        Interval("", MDate("01.01.2000"), MDate("31.12.2000")), Interval("", MDate("01.03.2011"), MDate("29.02.2012"))};
    const Totals totals = CalculateTotals(periods, "15.06.2020");
    EXPECT_EQ(totals.totalText, Win1251("1 л., 11 мес., 29 дн."));
    EXPECT_EQ(totals.unbrokenDate, "17.06.2018");
}

TEST(CalculateTotals, NoListAndNoHireDate)
{
    const Totals empty = CalculateTotals({}, "15.06.2020");
    EXPECT_TRUE(empty.lines.empty());
    EXPECT_EQ(empty.totalText, Win1251("0 дн."));
    EXPECT_EQ(empty.unbrokenDate, "15.06.2020");
    for (const char* hire : {"  .  .    ", "", "31.02.2020", "15.06.0005"}) {
        const Totals totals = CalculateTotals({Interval("", MDate("01.01.2000"), MDate("31.12.2009"))}, hire);
        EXPECT_EQ(totals.totalText, Win1251("10 л., 0 мес., 0 дн.")) << hire;
        EXPECT_FALSE(totals.unbrokenDate.has_value()) << hire;
    }
}

} // namespace
