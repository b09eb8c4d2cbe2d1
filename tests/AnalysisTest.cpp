#include "Analysis.h"
#include "InsuranceByHand.h"
#include "InsuranceLength.h"
#include "Totals.h"
#include "Win1251.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

namespace {

using namespace std::chrono;

const AnsiString NoHire = "  .  .    ";

CalendarDay Day(const char* text)
{
    const std::optional<CalendarDay> day = CalendarDayByHand(MDate(text));
    if (!day)
        ADD_FAILURE() << "not a real date in a test: " << text;
    return day.value_or(CalendarDay{});
}

std::string Text(const ServiceLength& length)
{
    return std::to_string(length.years) + " y " + std::to_string(length.months) + " m " + std::to_string(length.days)
        + " d";
}

std::string Text(const year_month& month)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u", static_cast<int>(month.year()), static_cast<unsigned>(month.month()));
    return text;
}

std::string Text(const std::optional<InsuranceLine>& line)
{
    if (!line)
        return "none";
    std::string text = std::to_string(line->wholeMonths) + " whole";
    if (line->firstWholeMonth && line->lastWholeMonth)
        text += " " + Text(*line->firstWholeMonth) + ".." + Text(*line->lastWholeMonth);
    text += ", " + std::to_string(line->partialDays) + " partial";
    for (const PartialMonth& partial : line->partialMonths)
        text += " " + Text(partial.month) + ":" + std::to_string(partial.days);
    return text + " = " + Text(line->length);
}

std::string Text(const Gap& gap)
{
    return DayText(gap.after) + "-" + DayText(gap.before) + ":" + std::to_string(gap.days);
}

std::string Text(const std::optional<Gap>& gap)
{
    return gap ? Text(*gap) : "none";
}

std::string GapsText(const std::vector<Gap>& gaps)
{
    std::string text;
    for (const Gap& gap : gaps)
        text += (text.empty() ? "" : " ") + Text(gap);
    return text;
}

std::string OverlapsText(const PeriodRow& row)
{
    std::string text;
    for (const Overlap& overlap : row.overlaps)
        text += (text.empty() ? "" : " ") + std::to_string(overlap.other) + ":" + std::to_string(overlap.days);
    return text;
}

std::string Text(const ThresholdDate& threshold)
{
    std::string text = threshold.reachedBeforeHire ? "before hire, " : "";
    return text + (threshold.date ? DayText(*threshold.date) : "none");
}

// Everything an analysis holds, as one text: two analyses are the same when their texts are.
std::string Describe(const PeriodAnalysis& analysis)
{
    std::string text;
    for (const PeriodRow& row : analysis.rows) {
        text += Text(row.designedLength) + " '" + row.designedText + "' " + std::to_string(row.fromNotReal)
            + std::to_string(row.toNotReal) + std::to_string(row.endBeforeStart) + std::to_string(row.afterAsOf) + " "
            + Text(row.insurance) + " " + std::to_string(row.calendarDays) + " [" + OverlapsText(row) + "] of "
            + std::to_string(row.overlapCount) + " gap " + Text(row.gapBefore) + "\n";
    }
    text += Text(analysis.designedTotal) + " '" + analysis.designedTotalText + "' " + Text(analysis.insuranceTotal)
        + " " + std::to_string(analysis.calendarDays) + " " + std::to_string(analysis.overlapDays) + " ["
        + GapsText(analysis.gaps) + "] " + std::to_string(analysis.currentJobCounted) + " "
        + Text(analysis.insuranceAsOf) + " " + std::to_string(analysis.sickLeavePercent) + " "
        + std::to_string(analysis.underSixMonths);
    for (const ThresholdDate& threshold : analysis.thresholds)
        text += " " + std::to_string(threshold.years) + ": " + Text(threshold);
    return text;
}

IntervalList FundPrintout()
{
    return {Period("30.07.1975", "20.10.1975"), Period("02.11.1975", "04.11.1977"), Period("05.08.1983", "03.08.1988"),
        Period("04.08.1988", "31.12.1990"), Period("01.01.1991", "13.03.1992"), Period("18.10.1999", "08.09.2000")};
}

TEST(AnalysePeriods, RowsShowBothCountsOfEveryPeriod)
{
    const struct {
        const char* line;
        int64_t calendarDays;
        const char* gapBefore;
    } expected[] = {
        {"2 whole 1975-08..1975-09, 22 partial 1975-07:2 1975-10:20 = 0 y 2 m 22 d", 83, "none"},
        {"23 whole 1975-12..1977-10, 33 partial 1975-11:29 1977-11:4 = 2 y 0 m 3 d", 734, "20.10.1975-02.11.1975:12"},
        {"59 whole 1983-09..1988-07, 30 partial 1983-08:27 1988-08:3 = 5 y 0 m 0 d", 1826,
            "04.11.1977-05.08.1983:2099"},
        {"28 whole 1988-09..1990-12, 28 partial 1988-08:28 = 2 y 4 m 28 d", 880, "none"}, // touches the one before
        {"14 whole 1991-01..1992-02, 13 partial 1992-03:13 = 1 y 2 m 13 d", 438, "none"},
        {"10 whole 1999-11..2000-08, 22 partial 1999-10:14 2000-09:8 = 0 y 10 m 22 d", 327,
            "13.03.1992-18.10.1999:2774"},
    };
    const IntervalList periods = FundPrintout();
    const PeriodAnalysis analysis = AnalysePeriods(periods, NoHire, Day("01.01.2024"));
    ASSERT_EQ(analysis.rows.size(), std::size(expected));
    for (size_t i = 0; i < analysis.rows.size(); ++i) {
        const PeriodRow& row = analysis.rows[i];
        ServiceLength designed = IntervalLength(periods[i].from, periods[i].to);
        const AnsiString designedText = LengthText(designed);
        EXPECT_EQ(row.designedText, designedText) << "row " << i;
        EXPECT_EQ(Text(row.designedLength), Text(designed)) << "row " << i;
        EXPECT_EQ(Text(row.insurance), expected[i].line) << "row " << i;
        EXPECT_EQ(row.calendarDays, expected[i].calendarDays) << "row " << i;
        EXPECT_EQ(Text(row.gapBefore), expected[i].gapBefore) << "row " << i;
        EXPECT_FALSE(row.fromNotReal || row.toNotReal || row.endBeforeStart || row.afterAsOf) << "row " << i;
        EXPECT_TRUE(row.overlaps.empty()) << "row " << i;
    }
    EXPECT_EQ(analysis.designedTotalText, Win1251("11 л., 8 мес., 25 дн."));
    EXPECT_EQ(Text(analysis.designedTotal), "11 y 8 m 25 d");
    EXPECT_EQ(Text(analysis.insuranceTotal), "11 y 8 m 28 d");
    EXPECT_EQ(analysis.calendarDays, 83 + 734 + 1826 + 880 + 438 + 327);
    EXPECT_EQ(analysis.overlapDays, 0);
    EXPECT_EQ(
        GapsText(analysis.gaps), "20.10.1975-02.11.1975:12 04.11.1977-05.08.1983:2099 13.03.1992-18.10.1999:2774");
}

TEST(AnalysePeriods, TheDesignedTotalIsTheMainWindowsTotal)
{
    const IntervalList periods{Period("01.01.2000", "31.12.2000"), Period("01.03.2011", "29.02.2012"),
        Period("  .  .    ", "15.03.2010"), Period("31.01.2011", "01.02.2011")};
    const PeriodAnalysis analysis = AnalysePeriods(periods, "15.06.2020", Day("01.01.2024"));
    const Totals totals = CalculateTotals(periods, "15.06.2020");
    EXPECT_EQ(analysis.designedTotalText, totals.totalText);
    EXPECT_EQ(Text(analysis.designedTotal), Text(totals.total));
}

TEST(AnalysePeriods, FindingsNameWhatIsWrongWithAPeriod)
{
    const struct {
        const char* name;
        const char* from;
        const char* to;
        const char* asOf;
        const char* findings; // from not real, to not real, end before start, after "as of"
        const char* insurance; // the period's insurance length, or "none"
        int64_t calendarDays;
    } cases[] = {
        {"a good period", "01.01.2020", "31.12.2020", "31.12.2020", "0000", "1 y 0 m 0 d", 366},
        {"31 February", "31.02.2020", "31.12.2020", "01.01.2024", "1000", "none", 0},
        {"an untouched end", "01.01.2020", "  .  .    ", "01.01.2024", "0100", "none", 0},
        {"both untouched", "  .  .    ", "  .  .    ", "01.01.2024", "1100", "none", 0},
        {"reversed", "31.12.2020", "01.01.2020", "01.01.2024", "0010", "1 y 0 m 0 d", 366},
        {"ends after the day", "01.01.2020", "31.12.2020", "15.06.2020", "0001", "1 y 0 m 0 d", 366},
        {"wholly after the day", "01.01.2025", "31.01.2025", "15.06.2020", "0001", "0 y 1 m 0 d", 31},
        {"an unreal start, a real end after the day", "31.02.2030", "01.03.2030", "01.01.2024", "1001", "none", 0},
        {"reversed and an unreal start", "30.02.2021", "01.01.2020", "01.01.2024", "1000", "none", 0},
    };
    for (const auto& c : cases) {
        const PeriodAnalysis analysis = AnalysePeriods({Period(c.from, c.to)}, NoHire, Day(c.asOf));
        ASSERT_EQ(analysis.rows.size(), 1u) << c.name;
        const PeriodRow& row = analysis.rows[0];
        const std::string findings = std::to_string(row.fromNotReal) + std::to_string(row.toNotReal)
            + std::to_string(row.endBeforeStart) + std::to_string(row.afterAsOf);
        EXPECT_EQ(findings, c.findings) << c.name;
        EXPECT_EQ(row.insurance ? Text(row.insurance->length) : "none", c.insurance) << c.name;
        EXPECT_EQ(row.calendarDays, c.calendarDays) << c.name;
        // Periods after the day are still counted in the list's total.
        EXPECT_EQ(Text(analysis.insuranceTotal), row.insurance ? c.insurance : "0 y 0 m 0 d") << c.name;
    }
}

TEST(AnalysePeriods, OverlapsSayWhichPeriodsShareHowManyDays)
{
    const struct {
        const char* name;
        IntervalList periods;
        std::vector<const char*> overlaps; // per row: "other:days ..."
        int64_t calendarDays;
        int64_t overlapDays;
    } cases[] = {
        {"nested", {Period("01.01.2020", "31.12.2020"), Period("01.03.2020", "15.03.2020")}, {"1:15", "0:15"}, 366, 15},
        {"chained",
            {Period("01.01.2021", "20.01.2021"), Period("15.01.2021", "10.02.2021"),
                Period("05.02.2021", "28.02.2021")},
            {"1:6", "0:6 2:6", "1:6"}, 59, 12},
        {"identical", {Period("15.03.2023", "14.04.2023"), Period("15.03.2023", "14.04.2023")}, {"1:31", "0:31"}, 31,
            31},
        {"touching", {Period("01.03.2020", "15.03.2020"), Period("16.03.2020", "31.03.2020")}, {"", ""}, 31, 0},
        {"sharing one day", {Period("01.03.2020", "15.03.2020"), Period("15.03.2020", "31.03.2020")}, {"1:1", "0:1"},
            31, 1},
        {"out of calendar order, listed in list order",
            {Period("01.06.2020", "30.06.2020"), Period("01.01.2020", "31.12.2020"),
                Period("25.06.2020", "05.07.2020")},
            {"1:30 2:6", "0:30 2:11", "0:6 1:11"}, 366, 41},
        {"reversed periods overlap by their days",
            {Period("31.12.2020", "01.01.2020"), Period("15.03.2020", "01.03.2020")}, {"1:15", "0:15"}, 366, 15},
        {"a period with an unreal date overlaps nothing",
            {Period("01.01.2020", "31.12.2020"), Period("31.02.2020", "31.03.2020"),
                Period("01.03.2020", "  .  .    ")},
            {"", "", ""}, 366, 0},
    };
    for (const auto& c : cases) {
        const PeriodAnalysis analysis = AnalysePeriods(c.periods, NoHire, Day("01.01.2024"));
        ASSERT_EQ(analysis.rows.size(), c.overlaps.size()) << c.name;
        for (size_t i = 0; i < c.overlaps.size(); ++i) {
            EXPECT_EQ(OverlapsText(analysis.rows[i]), c.overlaps[i]) << c.name << ", row " << i;
            EXPECT_EQ(analysis.rows[i].overlapCount, analysis.rows[i].overlaps.size()) << c.name << ", row " << i;
        }
        EXPECT_EQ(analysis.calendarDays, c.calendarDays) << c.name;
        EXPECT_EQ(analysis.overlapDays, c.overlapDays) << c.name;
    }
}

TEST(AnalysePeriods, GapsLieBetweenTheCoveredPiecesInCalendarOrder)
{
    const struct {
        const char* name;
        IntervalList periods;
        const char* gaps;
        std::vector<const char*> gapBefore; // per row
    } cases[] = {
        {"one gap", {Period("01.01.2020", "31.01.2020"), Period("10.02.2020", "29.02.2020")}, "31.01.2020-10.02.2020:9",
            {"none", "31.01.2020-10.02.2020:9"}},
        {"out of calendar order", {Period("10.02.2020", "29.02.2020"), Period("01.01.2020", "31.01.2020")},
            "31.01.2020-10.02.2020:9", {"31.01.2020-10.02.2020:9", "none"}},
        {"a one-day gap", {Period("01.01.2020", "30.01.2020"), Period("01.02.2020", "29.02.2020")},
            "30.01.2020-01.02.2020:1", {"none", "30.01.2020-01.02.2020:1"}},
        {"touching periods leave no gap", {Period("01.01.2020", "31.01.2020"), Period("01.02.2020", "29.02.2020")}, "",
            {"none", "none"}},
        {"two periods start the piece after the gap",
            {Period("01.01.2020", "31.01.2020"), Period("10.02.2020", "20.02.2020"),
                Period("10.02.2020", "29.02.2020")},
            "31.01.2020-10.02.2020:9", {"none", "31.01.2020-10.02.2020:9", "31.01.2020-10.02.2020:9"}},
        {"a period inside a piece has no gap before it",
            {Period("01.01.2020", "31.01.2020"), Period("10.02.2020", "29.02.2020"),
                Period("15.02.2020", "20.02.2020")},
            "31.01.2020-10.02.2020:9", {"none", "31.01.2020-10.02.2020:9", "none"}},
        {"a gap is measured to the end of the whole piece",
            {Period("01.01.2020", "31.03.2020"), Period("01.02.2020", "10.02.2020"),
                Period("11.04.2020", "30.04.2020")},
            "31.03.2020-11.04.2020:10", {"none", "none", "31.03.2020-11.04.2020:10"}},
        {"periods with unreal dates are passed over",
            {Period("01.01.2020", "31.01.2020"), Period("31.02.2020", "05.02.2020"),
                Period("10.02.2020", "29.02.2020")},
            "31.01.2020-10.02.2020:9", {"none", "none", "31.01.2020-10.02.2020:9"}},
        {"no periods", {}, "", {}},
    };
    for (const auto& c : cases) {
        const PeriodAnalysis analysis = AnalysePeriods(c.periods, NoHire, Day("01.01.2024"));
        EXPECT_EQ(GapsText(analysis.gaps), c.gaps) << c.name;
        ASSERT_EQ(analysis.rows.size(), c.gapBefore.size()) << c.name;
        for (size_t i = 0; i < c.gapBefore.size(); ++i)
            EXPECT_EQ(Text(analysis.rows[i].gapBefore), c.gapBefore[i]) << c.name << ", row " << i;
    }
}

TEST(AnalysePeriods, SickLeavePercentageFollowsTheServiceAsOfTheDay)
{
    const struct {
        const char* name;
        IntervalList periods;
        const char* hire;
        const char* asOf;
        bool jobCounted;
        const char* asOfTotal;
        int32_t percent;
        bool underSixMonths;
    } cases[] = {
        {"4 y 11 m 29 d", {Period("01.01.2015", "29.12.2019")}, "  .  .    ", "01.01.2024", false, "4 y 11 m 29 d", 60,
            false},
        {"5 y", {Period("01.01.2015", "31.12.2019")}, "  .  .    ", "01.01.2024", false, "5 y 0 m 0 d", 80, false},
        {"7 y 11 m 29 d", {Period("01.01.2012", "29.12.2019")}, "  .  .    ", "01.01.2024", false, "7 y 11 m 29 d", 80,
            false},
        {"8 y", {Period("01.01.2012", "31.12.2019")}, "  .  .    ", "01.01.2024", false, "8 y 0 m 0 d", 100, false},
        {"5 m 29 d", {Period("01.01.2019", "29.06.2019")}, "  .  .    ", "01.01.2024", false, "0 y 5 m 29 d", 60, true},
        {"6 m", {Period("01.01.2019", "30.06.2019")}, "  .  .    ", "01.01.2024", false, "0 y 6 m 0 d", 60, false},
        {"nothing at all", {}, "  .  .    ", "01.01.2024", false, "0 y 0 m 0 d", 60, true},
        {"the current job makes up the eight years", {Period("01.01.2012", "31.12.2016")}, "01.01.2020", "31.12.2022",
            true, "8 y 0 m 0 d", 100, false},
        {"the current job alone, hired on the day", {}, "15.03.2024", "15.03.2024", true, "0 y 0 m 1 d", 60, true},
        {"the current job joins a period that runs past the hire date", {Period("01.01.2019", "31.03.2020")},
            "01.03.2020", "31.12.2020", true, "2 y 0 m 0 d", 60, false},
        {"the current job stays apart from a period that ends the day before", {Period("01.01.2019", "15.03.2020")},
            "16.03.2020", "31.03.2020", true, "1 y 3 m 1 d", 60, false},
        {"a hire date after the day is not counted", {Period("01.01.2015", "31.12.2019")}, "01.01.2025", "01.01.2024",
            false, "5 y 0 m 0 d", 80, false},
        {"a hire date that is not real is not counted", {Period("01.01.2015", "31.12.2019")}, "31.02.2020",
            "01.01.2024", false, "5 y 0 m 0 d", 80, false},
        {"periods are cut at the day", {Period("01.01.2015", "31.12.2025")}, "  .  .    ", "31.12.2019", false,
            "5 y 0 m 0 d", 80, false},
        {"periods after the day do not count", {Period("01.01.2015", "31.12.2019"), Period("01.01.2025", "31.12.2030")},
            "  .  .    ", "31.12.2019", false, "5 y 0 m 0 d", 80, false},
    };
    for (const auto& c : cases) {
        const PeriodAnalysis analysis = AnalysePeriods(c.periods, c.hire, Day(c.asOf));
        EXPECT_EQ(analysis.currentJobCounted, c.jobCounted) << c.name;
        EXPECT_EQ(Text(analysis.insuranceAsOf), c.asOfTotal) << c.name;
        EXPECT_EQ(analysis.sickLeavePercent, c.percent) << c.name;
        EXPECT_EQ(analysis.underSixMonths, c.underSixMonths) << c.name;
    }
}

TEST(AnalysePeriods, ThresholdsAreTheFirstDaysTheTotalReachesTheYears)
{
    const IntervalList elevenMonthsShort{Period("01.01.2010", "30.11.2014")}; // 4 y 11 m
    const struct {
        const char* name;
        IntervalList periods;
        const char* hire;
        std::vector<int32_t> years;
        std::vector<const char*> dates;
    } cases[] = {
        {"on the last day of February", elevenMonthsShort, "01.02.2021", {5}, {"28.02.2021"}},
        {"on 29 February", elevenMonthsShort, "01.02.2024", {5}, {"29.02.2024"}},
        {"on the last day of a 30-day month", elevenMonthsShort, "01.04.2021", {5}, {"30.04.2021"}},
        {"30 partial days make the month before a 31-day month ends", elevenMonthsShort, "01.03.2021", {5},
            {"30.03.2021"}},
        {"partial days across two months", elevenMonthsShort, "15.03.2021", {5}, {"13.04.2021"}},
        {"pooled with a period's partial days", {Period("01.01.2010", "15.12.2014")}, "01.03.2021", {5},
            {"15.03.2021"}},
        {"reached before the hire date", {Period("01.01.2005", "31.12.2014")}, "01.01.2020", {5, 8, 15},
            {"before hire, 01.01.2020", "before hire, 01.01.2020", "30.12.2024"}},
        // On 30 December the 30 partial days of December make the last month.
        {"no periods", {}, "01.01.2020", {5, 8, 15}, {"30.12.2024", "30.12.2027", "30.12.2034"}},
        {"any number of years", {}, "01.01.2020", {1, 0}, {"30.12.2020", "before hire, 01.01.2020"}},
        {"a hire date that is not real", elevenMonthsShort, "31.02.2021", {5, 8}, {"none", "none"}},
        {"an untouched hire date", elevenMonthsShort, "  .  .    ", {5}, {"none"}},
        {"not reached by the end of year 9999", {}, "01.01.9990", {5, 15}, {"30.12.9994", "none"}},
        {"reached on the last day there is", {Period("01.01.9980", "30.11.9994")}, "02.12.9999", {15}, {"31.12.9999"}},
        {"the hire date inside a period: reached the day before", {Period("01.01.2016", "30.06.2021")}, "01.01.2021",
            {5, 8}, {"before hire, 01.01.2021", "30.12.2023"}},
        {"periods after the hire date change nothing",
            {Period("01.01.2010", "30.11.2014"), Period("01.03.2021", "10.03.2021"),
                Period("01.01.2030", "31.12.2035")},
            "01.02.2021", {5}, {"28.02.2021"}},
        {"a period that ends the day before the hire date stays apart", {Period("01.03.2016", "15.02.2021")},
            "16.02.2021", {5}, {"02.03.2021"}},
        {"a period that runs into the hire date joins the current job", {Period("01.03.2016", "16.02.2021")},
            "16.02.2021", {5}, {"28.02.2021"}},
    };
    for (const auto& c : cases) {
        const PeriodAnalysis analysis = AnalysePeriods(c.periods, c.hire, Day("01.01.2021"), c.years);
        ASSERT_EQ(analysis.thresholds.size(), c.years.size()) << c.name;
        for (size_t i = 0; i < c.years.size(); ++i) {
            EXPECT_EQ(analysis.thresholds[i].years, c.years[i]) << c.name;
            EXPECT_EQ(Text(analysis.thresholds[i]), c.dates[i]) << c.name << ", " << c.years[i] << " years";
        }
    }
}

TEST(AnalysePeriods, ThresholdsAreAskedFor5And8And15YearsByDefault)
{
    const PeriodAnalysis analysis = AnalysePeriods({}, "01.01.2020", Day("01.01.2021"));
    ASSERT_EQ(analysis.thresholds.size(), 3u);
    EXPECT_EQ(analysis.thresholds[0].years, 5);
    EXPECT_EQ(analysis.thresholds[1].years, 8);
    EXPECT_EQ(analysis.thresholds[2].years, 15);
}

// The overlaps of a list found pair by pair: per row, the first MaxListedOverlaps other periods
// in list order, and how many there are.
std::vector<std::pair<std::string, size_t>> OverlapsByHand(const IntervalList& periods)
{
    std::vector<std::pair<std::string, size_t>> rows(periods.size());
    for (size_t i = 0; i < periods.size(); ++i) {
        const std::vector<Stretch> a = StretchesByHand({periods[i]});
        std::string text;
        size_t count = 0;
        for (size_t j = 0; j < periods.size() && !a.empty(); ++j) {
            const std::vector<Stretch> b = StretchesByHand({periods[j]});
            if (j == i || b.empty())
                continue;
            const int64_t shared = (std::min(a[0].last, b[0].last) - std::max(a[0].first, b[0].first)).count() + 1;
            if (shared <= 0)
                continue;
            if (++count <= MaxListedOverlaps)
                text += (text.empty() ? "" : " ") + std::to_string(j) + ":" + std::to_string(shared);
        }
        rows[i] = {text, count};
    }
    return rows;
}

void ExpectOverlapsByHand(const IntervalList& periods, const std::string& name)
{
    const PeriodAnalysis analysis = AnalysePeriods(periods, NoHire, Day("01.01.2024"));
    const auto expected = OverlapsByHand(periods);
    ASSERT_EQ(analysis.rows.size(), expected.size()) << name;
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(OverlapsText(analysis.rows[i]), expected[i].first) << name << ", row " << i;
        ASSERT_EQ(analysis.rows[i].overlapCount, expected[i].second) << name << ", row " << i;
    }
}

TEST(AnalysePeriods, ListsTheFirstOverlapsWhenPeriodsShareDaysWithMany)
{
    const IntervalList one{Period("01.01.2020", "31.12.2020")};
    for (const size_t copies : {size_t{17}, size_t{40}, size_t{120}}) {
        IntervalList periods;
        for (size_t i = 0; i < copies; ++i)
            periods.push_back(one[0]);
        const PeriodAnalysis analysis = AnalysePeriods(periods, NoHire, Day("01.01.2024"));
        for (size_t i = 0; i < copies; ++i) {
            const PeriodRow& row = analysis.rows[i];
            ASSERT_EQ(row.overlaps.size(), MaxListedOverlaps) << copies << " copies, row " << i;
            EXPECT_EQ(row.overlapCount, copies - 1) << copies << " copies, row " << i;
            EXPECT_EQ(row.overlaps.front().other, i == 0 ? 1u : 0u) << copies << " copies, row " << i;
            EXPECT_EQ(row.overlaps.front().days, 366) << copies << " copies, row " << i;
        }
        ExpectOverlapsByHand(periods, std::to_string(copies) + " copies");
    }
}

TEST(AnalysePeriods, MatchesTheDayByDayCountOnRandomLists)
{
    std::mt19937 random(5);
    std::uniform_int_distribution<int> day(0, 1300);
    const CalendarDay base{year{2019} / 6 / 1};
    for (int i = 0; i < 300; ++i) {
        const IntervalList periods = RandomDatedPeriods(random, 10);
        const CalendarDay hire = base + days{day(random)};
        const CalendarDay asOf = base + days{day(random)};
        const std::string name = "list " + std::to_string(i) + ", hire " + DayText(hire) + ", as of " + DayText(asOf);
        const PeriodAnalysis analysis = AnalysePeriods(periods, DayText(hire), asOf, {1, 2, 3});

        const std::vector<Stretch> stretches = StretchesByHand(periods);
        const std::vector<Stretch> joined = JoinByHand(stretches);
        EXPECT_EQ(Text(analysis.insuranceTotal), Text(ServiceByHand(ReckonByHand(joined)))) << name;
        int64_t covered = 0;
        int64_t own = 0;
        for (const Stretch& stretch : joined)
            covered += (stretch.last - stretch.first).count() + 1;
        for (const Stretch& stretch : stretches)
            own += (stretch.last - stretch.first).count() + 1;
        EXPECT_EQ(analysis.calendarDays, covered) << name;
        EXPECT_EQ(analysis.overlapDays, own - covered) << name;
        ExpectOverlapsByHand(periods, name);

        // With the current job from the hire date to a day.
        const auto byHandUpTo = [&](CalendarDay d) {
            std::vector<Stretch> withJob = CutByHand(stretches, d);
            if (hire <= d)
                withJob.push_back({hire, d});
            return ReckonByHand(JoinByHand(withJob));
        };
        EXPECT_EQ(analysis.currentJobCounted, hire <= asOf) << name;
        EXPECT_EQ(Text(analysis.insuranceAsOf), Text(ServiceByHand(byHandUpTo(asOf)))) << name;
        for (const ThresholdDate& threshold : analysis.thresholds) {
            const int64_t target = threshold.years * 360;
            EXPECT_EQ(
                threshold.reachedBeforeHire, ReckonByHand(JoinByHand(CutByHand(stretches, hire - days{1}))) >= target)
                << name << ", " << threshold.years << " years";
            ASSERT_TRUE(threshold.date.has_value()) << name << ", " << threshold.years << " years";
            EXPECT_GE(byHandUpTo(*threshold.date), target) << name << ", " << threshold.years << " years";
            if (*threshold.date > hire) {
                EXPECT_LT(byHandUpTo(*threshold.date - days{1}), target) << name << ", " << threshold.years << " years";
            }
        }
    }
}

TEST(AnalysePeriods, MatchesThePairByPairOverlapsOnCrowdedLists)
{
    // Many periods in one year: far more pairs than a working life has.
    std::mt19937 random(9);
    const CalendarDay base{year{2020} / 1 / 1};
    std::uniform_int_distribution<int> start(0, 365);
    std::uniform_int_distribution<int> span(0, 90);
    for (const int count : {30, 200, 400}) {
        IntervalList periods;
        for (int i = 0; i < count; ++i) {
            const CalendarDay first = base + days{start(random)};
            periods.push_back(Period(DayText(first), DayText(first + days{span(random)})));
        }
        periods.push_back(Period("31.02.2020", "01.06.2020"));
        ExpectOverlapsByHand(periods, std::to_string(count) + " periods");
    }
}

TEST(AnalysePeriods, AnAnalysisRenewedInPlaceEqualsAFreshOne)
{
    std::mt19937 random(13);
    PeriodAnalysis renewed;
    for (int i = 0; i < 50; ++i) {
        IntervalList periods = RandomDatedPeriods(random, i % 2 ? 30 : 5);
        if (i % 7 == 0) // a crowded list now and then
            for (int copy = 0; copy < 60; ++copy)
                periods.push_back(Period("01.01.2020", "31.12.2020"));
        const AnsiString hire = i % 3 ? "01.06.2021" : NoHire;
        AnalysePeriods(periods, hire, Day("01.01.2022"), {5, 8, 15}, renewed);
        ASSERT_EQ(Describe(renewed), Describe(AnalysePeriods(periods, hire, Day("01.01.2022")))) << "list " << i;
    }
}

TEST(AnalysePeriods, TheLongestPeriodCostsWhatAMonthCosts)
{
    const PeriodAnalysis analysis
        = AnalysePeriods({Period("01.01.0001", "31.12.9999")}, "01.01.0001", Day("31.12.9999"), {5, 9999, 10000});
    ASSERT_EQ(analysis.rows.size(), 1u);
    EXPECT_EQ(Text(analysis.rows[0].insurance), "119988 whole 0001-01..9999-12, 0 partial = 9999 y 0 m 0 d");
    EXPECT_EQ(analysis.calendarDays, 3652059);
    EXPECT_EQ(Text(analysis.insuranceAsOf), "9999 y 0 m 0 d");
    EXPECT_EQ(analysis.sickLeavePercent, 100);
    EXPECT_EQ(Text(analysis.thresholds[0]), "30.12.0005");
    EXPECT_EQ(Text(analysis.thresholds[1]), "30.12.9999");
    EXPECT_EQ(Text(analysis.thresholds[2]), "none");
}

} // namespace
