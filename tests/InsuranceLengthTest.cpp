#include "InsuranceLength.h"
#include "InsuranceByHand.h"
#include "Win1251.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

using namespace std::chrono;

std::string Text(const ServiceLength& length)
{
    return std::to_string(length.years) + " y " + std::to_string(length.months) + " m " + std::to_string(length.days)
        + " d";
}

std::string Text(const std::optional<ServiceLength>& length)
{
    return length ? Text(*length) : "none";
}

struct PeriodCase {
    const char* name;
    const char* from;
    const char* to;
    const char* length; // "Y y M m D d", or "none"
};

TEST(InsuranceLength, CountsWholeCalendarMonthsAndThePartialDays)
{
    const PeriodCase cases[] = {
        // The Fund's printout, line by line.
        {"printout 1", "30.07.1975", "20.10.1975", "0 y 2 m 22 d"},
        {"printout 2", "02.11.1975", "04.11.1977", "2 y 0 m 3 d"},
        {"printout 3", "05.08.1983", "03.08.1988", "5 y 0 m 0 d"},
        {"printout 4", "04.08.1988", "31.12.1990", "2 y 4 m 28 d"},
        {"printout 5", "01.01.1991", "13.03.1992", "1 y 2 m 13 d"},
        {"printout 6", "18.10.1999", "08.09.2000", "0 y 10 m 22 d"},
        // Whole months count one each, whatever their length.
        {"a calendar year", "01.01.1989", "31.12.1989", "1 y 0 m 0 d"},
        {"a leap February", "01.02.2024", "29.02.2024", "0 y 1 m 0 d"},
        {"a common February", "01.02.2023", "28.02.2023", "0 y 1 m 0 d"},
        {"a leap February but its last day", "01.02.2024", "28.02.2024", "0 y 0 m 28 d"},
        {"29 February alone", "29.02.2024", "29.02.2024", "0 y 0 m 1 d"},
        {"from 29 February to the next February's end", "29.02.2024", "28.02.2025", "1 y 0 m 1 d"},
        {"one day of January and all of February", "31.01.2023", "28.02.2023", "0 y 1 m 1 d"},
        {"a month from mid-month", "15.03.2023", "14.04.2023", "0 y 1 m 1 d"},
        {"exactly one month", "01.03.2023", "31.03.2023", "0 y 1 m 0 d"},
        {"30 partial days make a month", "02.03.2023", "31.03.2023", "0 y 1 m 0 d"},
        {"29 partial days stay days", "02.03.2023", "30.03.2023", "0 y 0 m 29 d"},
        {"a year from mid-month", "15.06.2020", "14.06.2021", "1 y 0 m 0 d"},
        {"exactly one year from July", "01.07.2016", "30.06.2017", "1 y 0 m 0 d"},
        {"exactly five years", "01.07.2016", "30.06.2021", "5 y 0 m 0 d"},
        {"exactly eight years", "01.03.2015", "28.02.2023", "8 y 0 m 0 d"},
        {"one day", "05.05.2005", "05.05.2005", "0 y 0 m 1 d"},
        // The ends of the calendar, and the longest period: a closed form, not a walk.
        {"the first day", "01.01.0001", "01.01.0001", "0 y 0 m 1 d"},
        {"the last day", "31.12.9999", "31.12.9999", "0 y 0 m 1 d"},
        {"every day there is", "01.01.0001", "31.12.9999", "9999 y 0 m 0 d"},
        {"the last days of year 1 and the first of year 2", "31.12.0001", "01.01.0002", "0 y 0 m 2 d"},
        // Other ways of typing the same dates.
        {"slashes and no leading zeros", "1/7/2016", "30/6/2021", "5 y 0 m 0 d"},
        // Dates that are not real.
        {"31 February", "31.02.2023", "31.03.2023", "none"},
        {"29 February of a common year", "01.01.2023", "29.02.2023", "none"},
        {"an untouched field", "  .  .    ", "15.03.2010", "none"},
        {"two untouched fields", "  .  .    ", "  .  .    ", "none"},
        {"an empty text", "", "15.03.2010", "none"},
        {"month 13", "01.13.2020", "01.01.2021", "none"},
        {"day 0", "00.01.2020", "01.01.2021", "none"},
        {"year 0", "01.01.0000", "01.01.2021", "none"},
        {"year 10000", "01.01.2021", "01.01.10000", "none"},
        {"a day above 255 that 8 bits would wrap to 28", "3612.11.0057", "01.01.2021", "none"},
        {"a month above 255 that 8 bits would wrap to 6", "17.3590.16", "01.01.2021", "none"},
    };
    for (const PeriodCase& c : cases) {
        EXPECT_EQ(Text(InsuranceLength(MDate(c.from), MDate(c.to))), c.length) << c.name;
        EXPECT_EQ(Text(InsuranceLength(MDate(c.to), MDate(c.from))), c.length) << c.name << ", reversed";
    }
}

TEST(InsuranceLength, MonthSplitNamesTheWholeAndThePartialMonths)
{
    const MonthSplit split = SplitIntoMonths(year{2023} / 1 / 31, year{2023} / 4 / 14);
    EXPECT_EQ(split.firstMonth, year{2023} / January);
    EXPECT_EQ(split.lastMonth, year{2023} / April);
    EXPECT_EQ(split.wholeMonths, 2); // February and March
    EXPECT_EQ(split.firstMonthDays, 1);
    EXPECT_EQ(split.lastMonthDays, 14);
    EXPECT_EQ(ReckonedDays(split), 75);

    const MonthSplit inside = SplitIntoMonths(year{2023} / 3 / 10, year{2023} / 3 / 20);
    EXPECT_EQ(inside.wholeMonths, 0);
    EXPECT_EQ(inside.firstMonthDays, 11);
    EXPECT_EQ(inside.lastMonthDays, 0);
}

TEST(InsuranceLength, MatchesTheDayByDayCountOnRandomPeriods)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> day(0, 3 * 366);
    const CalendarDay base{year{2019} / 12 / 1};
    for (int i = 0; i < 2000; ++i) {
        const CalendarDay a = base + days{day(random)};
        const CalendarDay b = base + days{day(random)};
        const Stretch stretch{std::min(a, b), std::max(a, b)};
        const std::optional<ServiceLength> length = InsuranceLength(MDate(DayText(a)), MDate(DayText(b)));
        ASSERT_TRUE(length.has_value()) << DayText(a);
        EXPECT_EQ(Text(*length), Text(ServiceByHand(ReckonByHand({stretch})))) << DayText(a) << " - " << DayText(b);
    }
}

struct TotalCase {
    const char* name;
    IntervalList periods;
    const char* total;
};

TEST(InsuranceTotal, CountsTheCoveredTimeOnceAndPoolsThePartialDays)
{
    const TotalCase cases[] = {
        {"the Fund's printout",
            {Period("30.07.1975", "20.10.1975"), Period("02.11.1975", "04.11.1977"), Period("05.08.1983", "03.08.1988"),
                Period("04.08.1988", "31.12.1990"), Period("01.01.1991", "13.03.1992"),
                Period("18.10.1999", "08.09.2000")},
            "11 y 8 m 28 d"},
        {"no periods", {}, "0 y 0 m 0 d"},
        {"twelve monthly periods of one year",
            {Period("01.01.2021", "31.01.2021"), Period("01.02.2021", "28.02.2021"), Period("01.03.2021", "31.03.2021"),
                Period("01.04.2021", "30.04.2021"), Period("01.05.2021", "31.05.2021"),
                Period("01.06.2021", "30.06.2021"), Period("01.07.2021", "31.07.2021"),
                Period("01.08.2021", "31.08.2021"), Period("01.09.2021", "30.09.2021"),
                Period("01.10.2021", "31.10.2021"), Period("01.11.2021", "30.11.2021"),
                Period("01.12.2021", "31.12.2021")},
            "1 y 0 m 0 d"},
        {"overlapping, counted once", {Period("01.01.2020", "31.12.2020"), Period("01.06.2020", "31.08.2021")},
            "1 y 8 m 0 d"},
        {"nested", {Period("01.01.2020", "31.12.2020"), Period("01.03.2020", "15.03.2020")}, "1 y 0 m 0 d"},
        {"identical", {Period("15.03.2023", "14.04.2023"), Period("15.03.2023", "14.04.2023")}, "0 y 1 m 1 d"},
        {"chained",
            {Period("01.01.2021", "20.01.2021"), Period("15.01.2021", "10.02.2021"),
                Period("05.02.2021", "28.02.2021")},
            "0 y 2 m 0 d"},
        {"touching halves of a month stay two",
            {Period("01.03.2020", "15.03.2020"), Period("16.03.2020", "31.03.2020")}, "0 y 1 m 1 d"},
        {"touching halves of February stay two",
            {Period("01.02.2021", "14.02.2021"), Period("15.02.2021", "28.02.2021")}, "0 y 0 m 28 d"},
        {"a third period joins touching halves into one month",
            {Period("01.03.2020", "15.03.2020"), Period("16.03.2020", "31.03.2020"),
                Period("10.03.2020", "20.03.2020")},
            "0 y 1 m 0 d"},
        {"partial days of separate periods are pooled",
            {Period("01.01.2021", "10.01.2021"), Period("01.02.2021", "10.02.2021"),
                Period("01.03.2021", "10.03.2021")},
            "0 y 1 m 0 d"},
        {"a reversed period", {Period("31.12.2020", "01.01.2020")}, "1 y 0 m 0 d"},
        {"out of calendar order",
            {Period("01.01.1991", "13.03.1992"), Period("30.07.1975", "20.10.1975"), Period("18.10.1999", "08.09.2000"),
                Period("04.08.1988", "31.12.1990"), Period("02.11.1975", "04.11.1977"),
                Period("05.08.1983", "03.08.1988")},
            "11 y 8 m 28 d"},
        {"periods with unreal dates take no part",
            {Period("01.01.2020", "31.12.2020"), Period("31.02.2020", "01.03.2021"), Period("  .  .    ", "  .  .    "),
                Period("01.01.2019", "")},
            "1 y 0 m 0 d"},
    };
    for (const TotalCase& c : cases) {
        EXPECT_EQ(Text(InsuranceTotal(c.periods)), c.total) << c.name;
        EXPECT_EQ(Text(InsuranceTotalByHand(c.periods)), c.total) << c.name << ", day by day";
    }
}

// What users compare: the designed total stays as it was beside the Fund's count.
TEST(InsuranceTotal, StandsBesideTheDesignedTotal)
{
    const struct {
        const char* name;
        IntervalList periods;
        const char* designed; // LengthText of the designed sum, UTF-8
        const char* insurance;
    } cases[] = {
        {"the Fund's printout",
            {Period("30.07.1975", "20.10.1975"), Period("02.11.1975", "04.11.1977"), Period("05.08.1983", "03.08.1988"),
                Period("04.08.1988", "31.12.1990"), Period("01.01.1991", "13.03.1992"),
                Period("18.10.1999", "08.09.2000")},
            "11 л., 8 мес., 25 дн.", "11 y 8 m 28 d"},
        {"five years", {Period("01.07.2016", "30.06.2021")}, "4 л., 11 мес., 30 дн.", "5 y 0 m 0 d"},
        {"eight years", {Period("01.03.2015", "28.02.2023")}, "7 л., 11 мес., 28 дн.", "8 y 0 m 0 d"},
    };
    for (const auto& c : cases) {
        ServiceLength designed;
        for (const Interval& period : c.periods)
            AddLength(designed, IntervalLength(period.from, period.to));
        EXPECT_EQ(LengthText(designed), Win1251(c.designed)) << c.name;
        EXPECT_EQ(Text(InsuranceTotal(c.periods)), c.insurance) << c.name;
    }
}

TEST(InsuranceTotal, MatchesTheDayByDayCountOnRandomLists)
{
    std::mt19937 random(11);
    for (int i = 0; i < 500; ++i) {
        const IntervalList periods = RandomDatedPeriods(random, 8);
        EXPECT_EQ(Text(InsuranceTotal(periods)), Text(InsuranceTotalByHand(periods))) << "list " << i;
    }
}

} // namespace
