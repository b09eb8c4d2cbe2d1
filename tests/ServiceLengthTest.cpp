#include "ServiceLength.h"
#include "Win1251.h"

#include <gtest/gtest.h>

namespace {

struct LengthCase {
    const char* from;
    const char* to;
    ServiceLength length; // as IntervalLength returns it
    const char* text; // LengthText of it, in UTF-8
    ServiceLength normalised; // what LengthText leaves behind
};

void ExpectLength(const ServiceLength& actual, const ServiceLength& expected, const std::string& label)
{
    EXPECT_EQ(actual.years, expected.years) << label;
    EXPECT_EQ(actual.months, expected.months) << label;
    EXPECT_EQ(actual.days, expected.days) << label;
}

TEST(IntervalLength, CountsInclusivelyAndRendersNormalised)
{
    const LengthCase cases[] = {
        {"01.01.2000", "31.12.2000", {0, 11, 31}, "1 л., 0 мес., 0 дн.", {1, 0, 0}},
        {"15.03.2010", "14.03.2011", {0, 11, 31}, "1 л., 0 мес., 0 дн.", {1, 0, 0}},
        {"15.03.2010", "15.03.2011", {1, 0, 1}, "1 л., 0 мес., 1 дн.", {1, 0, 1}},
        {"01.03.2011", "29.02.2012", {0, 11, 29}, "11 мес., 29 дн.", {0, 11, 29}},
        {"29.02.2012", "28.02.2013", {0, 11, 28}, "11 мес., 28 дн.", {0, 11, 28}},
        // The day borrow takes the end date's own month: February 2012 has 29 days, 2011 has 28.
        {"30.01.2012", "29.02.2012", {0, 0, 29}, "29 дн.", {0, 0, 29}},
        {"30.01.2011", "28.02.2011", {0, 0, 27}, "27 дн.", {0, 0, 27}},
        {"31.01.2011", "01.03.2011", {0, 1, 2}, "1 мес., 2 дн.", {0, 1, 2}},
        {"01.01.2000", "31.01.2000", {0, 0, 31}, "1 мес., 0 дн.", {0, 1, 0}},
        {"05.05.2005", "05.05.2005", {0, 0, 1}, "1 дн.", {0, 0, 1}},
        {"31.12.2000", "01.01.2000", {0, 11, 31}, "1 л., 0 мес., 0 дн.", {1, 0, 0}},
        {"01.09.1990", "31.08.2010", {19, 11, 31}, "20 л., 0 мес., 0 дн.", {20, 0, 0}},
        {"01.09.1995", "31.08.2001", {5, 11, 31}, "6 л., 0 мес., 0 дн.", {6, 0, 0}},
        // Where the end month is too short to cover the start day, the month before it is borrowed.
        {"31.01.2011", "01.02.2011", {0, 0, 2}, "2 дн.", {0, 0, 2}},
        {"31.12.2010", "01.02.2011", {0, 1, 2}, "1 мес., 2 дн.", {0, 1, 2}},
        {"30.01.2011", "01.02.2011", {0, 0, 3}, "3 дн.", {0, 0, 3}},
        // Exactly zero is still covered by the end month, and stays as the steps count it.
        {"31.01.2012", "02.02.2012", {0, 0, 1}, "1 дн.", {0, 0, 1}},
        // Untouched date fields are all zeros and count as ordinary numbers.
        {"  .  .    ", "  .  .    ", {0, 0, 1}, "1 дн.", {0, 0, 1}},
        {"  .  .    ", "15.03.2010", {2010, 3, 16}, "2010 л., 3 мес., 16 дн.", {2010, 3, 16}},
    };
    for (const LengthCase& c : cases) {
        const std::string label = std::string(c.from) + " - " + c.to;
        ServiceLength length = IntervalLength(MDate(c.from), MDate(c.to));
        ExpectLength(length, c.length, label);
        ExpectLength(IntervalLength(MDate(c.to), MDate(c.from)), c.length, label + " exchanged");
        EXPECT_EQ(LengthText(length), Win1251(c.text)) << label;
        ExpectLength(length, c.normalised, label + " normalised");
    }
}

TEST(IntervalLength, OddNumbersNeverReadOutsideTheCalendarOrGoNegativeWhereTheStepsLeaveItOpen)
{
    struct OddCase {
        const char* from;
        const char* to;
        ServiceLength length;
    };
    const OddCase cases[] = {
        // A start month more than twelve above the end month borrows one year and no months.
        {"01.20.2000", "01.01.2001", {0, 0, 1}},
        {"01.65535.2000", "05.01.2001", {0, 0, 5}},
        // A borrow from an end month outside 1..12 takes 31 days.
        {"20.13.2000", "10.13.2001", {0, 11, 22}},
        {"20.00.2000", "10.00.2001", {0, 11, 22}},
        // Start days beyond every month stop the borrowed days at zero.
        {"45.01.2000", "01.02.2000", {0, 0, 1}},
        {"65535.1.2000", "1.1.2001", {0, 11, 1}},
        // Where the steps do define the result, they are kept: here the years go below zero.
        {"15.13.2000", "01.01.2001", {-1, 0, 18}},
    };
    for (const OddCase& c : cases) {
        const std::string label = std::string(c.from) + " - " + c.to;
        const ServiceLength length = IntervalLength(MDate(c.from), MDate(c.to));
        ExpectLength(length, c.length, label);
        EXPECT_GE(length.days, 1) << label;
    }
}

TEST(DaysInMonth, FollowsTheGregorianCalendar)
{
    const int common[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (uint16_t month = 1; month <= 12; ++month)
        EXPECT_EQ(DaysInMonth(2011, month), common[month - 1]) << month;
    EXPECT_EQ(DaysInMonth(2012, 2), 29);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(0, 2), 29);
    EXPECT_EQ(DaysInMonth(2012, 0), 31);
    EXPECT_EQ(DaysInMonth(2012, 13), 31);
    EXPECT_EQ(DaysInMonth(2012, 65535), 31);
}

TEST(LengthText, ConvertsDaysAtTheAverageMonth)
{
    const struct {
        int32_t days;
        const char* text;
    } cases[] = {
        {0, "0 дн."},
        {30, "30 дн."},
        {31, "1 мес., 0 дн."},
        {45, "1 мес., 14 дн."},
        {60, "1 мес., 29 дн."},
        {61, "2 мес., 0 дн."},
        {365, "11 мес., 30 дн."},
        {366, "1 л., 0 мес., 0 дн."},
    };
    for (const auto& c : cases) {
        ServiceLength length{0, 0, c.days};
        EXPECT_EQ(LengthText(length), Win1251(c.text)) << c.days;
        EXPECT_GE(length.days, 0) << c.days;
        EXPECT_LE(length.days, 30) << c.days;
    }

    ServiceLength years{2, 0, 0};
    EXPECT_EQ(LengthText(years), Win1251("2 л., 0 мес., 0 дн."));
    ServiceLength months{0, 3, 0};
    EXPECT_EQ(LengthText(months), Win1251("3 мес., 0 дн."));
}

TEST(LengthText, RendersTheSameTextTwice)
{
    ServiceLength length{0, 22, 60};
    const AnsiString first = LengthText(length);
    EXPECT_EQ(LengthText(length), first);
    ExpectLength(length, {1, 11, 29}, "after two renderings");
}

TEST(AddLength, CarriesMonthsAtTwelveAndLeavesDaysAlone)
{
    ServiceLength total;
    AddLength(total, {0, 11, 31});
    ExpectLength(total, {0, 11, 31}, "one period");
    AddLength(total, {0, 1, 0});
    ExpectLength(total, {1, 0, 31}, "carried at exactly twelve");

    ServiceLength zero;
    EXPECT_EQ(LengthText(zero), Win1251("0 дн."));
}

TEST(AddLength, TotalOfTwoPeriodsIsNormalisedByTheText)
{
    ServiceLength total;
    AddLength(total, IntervalLength(MDate("01.01.2000"), MDate("31.12.2000")));
    AddLength(total, IntervalLength(MDate("01.03.2011"), MDate("29.02.2012")));
    ExpectLength(total, {1, 10, 60}, "sum");
    EXPECT_EQ(LengthText(total), Win1251("1 л., 11 мес., 29 дн."));
    ExpectLength(total, {1, 11, 29}, "normalised");
}

} // namespace
