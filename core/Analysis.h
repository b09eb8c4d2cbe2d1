#pragma once

#include "Calendar.h"
#include "MDate.h"
#include "ServiceLength.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The analysis of a list of periods that the main window, the analysis window and the printed
// certificate all read: per period its designed length and its insurance-service line, its
// findings, and for the whole list both totals, the overlaps, the gaps, the sick-leave
// percentage and the threshold dates. Never fails: a period whose dates are not real takes no
// part in the insurance figures and carries a finding that says so.

// CalendarDay and RealDay, the calendar the analysis works in, come from Calendar.h; the
// insurance-service rule itself from InsuranceLength.h.

// How one period's insurance line came about: the calendar months it covers from the 1st to
// the last day, and the days of the months it covers only in part (at most two: the first
// month and the last; one when the period lies inside one month).
struct PartialMonth {
    std::chrono::year_month month;
    int32_t days = 0;
};
struct InsuranceLine {
    int32_t wholeMonths = 0;
    int32_t partialDays = 0;
    // No value when the period covers no whole calendar month.
    std::optional<std::chrono::year_month> firstWholeMonth;
    std::optional<std::chrono::year_month> lastWholeMonth;
    std::vector<PartialMonth> partialMonths;
    // Whole months plus partial days at 30 days a month and 12 months a year: months 0..11, days 0..29.
    ServiceLength length;
};

// Overlaps listed per period at most; PeriodRow::overlapCount counts them all. A list where many
// periods share days with many others (a hundred copies of one period) would otherwise list a
// number of pairs that grows with the square of its length.
inline constexpr std::size_t MaxListedOverlaps = 16;

// Two periods that share calendar days.
struct Overlap {
    std::size_t other = 0; // index of the other period in list order
    int64_t days = 0; // the days both cover
};

// Days between two periods that no period covers, in calendar order of the covered time.
struct Gap {
    CalendarDay after; // the last covered day before the gap
    CalendarDay before; // the first covered day after it
    int64_t days = 0; // the uncovered days in between: before - after - 1
};

struct PeriodRow {
    // As a selected line shows it: IntervalLength normalised by LengthText, and that text.
    ServiceLength designedLength;
    AnsiString designedText;

    // Findings. A date that is not real is one that RealDay refuses.
    bool fromNotReal = false;
    bool toNotReal = false;
    bool endBeforeStart = false; // both dates are real and the end lies before the start
    bool afterAsOf = false; // a real date of the period lies after the "as of" date

    // Both only when both dates are real; the dates are ordered first.
    std::optional<InsuranceLine> insurance;
    int64_t calendarDays = 0; // inclusive; 0 when a date is not real

    // The other periods it shares days with, in list order: all of them up to MaxListedOverlaps,
    // else the first MaxListedOverlaps in list order. Only periods with two real dates overlap.
    std::vector<Overlap> overlaps;
    std::size_t overlapCount = 0; // all the other periods it shares days with, listed or not
    // The gap that ends the day before the period's start, when that start begins a covered
    // piece after uncovered days (every period starting on that day carries it).
    std::optional<Gap> gapBefore;
};

// The first date on which the insurance total reaches a number of years, the current job
// counted from the hire date to that date: the first day D, from the hire date on, on which the
// total of the listed periods with real dates, each cut to end at D, together with the hire date
// to D, is that number of years or more. The total never falls as D goes on, so D is found by
// halving, not by walking the days.
struct ThresholdDate {
    int32_t years = 0;
    // The listed periods cut to end the day before the hire date already reach it; the date is
    // then the hire date itself.
    bool reachedBeforeHire = false;
    // None when the hire date is not real, or when the total does not reach it by 31.12.9999.
    // Listed time after the hire date changes nothing: the current job covers it.
    std::optional<CalendarDay> date;
};

struct PeriodAnalysis {
    std::vector<PeriodRow> rows; // one per period, in list order

    ServiceLength designedTotal; // normalised, as "Совокупный стаж" shows it
    AnsiString designedTotalText;
    ServiceLength insuranceTotal; // InsuranceTotal of the list, periods after the "as of" date included
    int64_t calendarDays = 0; // days covered by the periods with real dates, each day counted once
    int64_t overlapDays = 0; // days that adding the periods' own calendar days would count more than once
    std::vector<Gap> gaps; // in calendar order

    // The current job counted from the hire date to the "as of" date: only when the hire date
    // is real and not after the "as of" date.
    bool currentJobCounted = false;
    // The insurance total as of the "as of" date: the listed periods cut to end on that date, with
    // the current job when it is counted.
    ServiceLength insuranceAsOf;
    int32_t sickLeavePercent = 60; // 255-ФЗ ст. 7: 100 from 8 years of insuranceAsOf, 80 from 5, else 60
    bool underSixMonths = true; // insuranceAsOf is under 6 months: the benefit is capped at the minimum wage

    std::vector<ThresholdDate> thresholds; // one per requested number of years, in the order asked
};

// Analyses the periods with the hire date as typed and the "as of" date (any day; one before year
// 1 or after year 9999 acts as the day just outside them). Thresholds are asked for the given
// numbers of years (5, 8 and 15 by default). Never fails.
// Cost: about linear in the list's length when it is nearly in calendar order and its periods
// share days with a few others each, as a working life does; whatever the list, at most
// O(n log n) for the order and O(n · MaxListedOverlaps · log n) for the overlaps, the listing
// switching to a search tree once the pairs pass a few per period.
PeriodAnalysis AnalysePeriods(const IntervalList& periods, const AnsiString& hireText, CalendarDay asOf,
    const std::vector<int32_t>& thresholdYears = {5, 8, 15});

// The same analysis written into `analysis` in place of the one it held. Its rows keep their
// storage, so a window that keeps one analysis and renews it on every keystroke allocates next to
// nothing while its list stays about as long.
void AnalysePeriods(const IntervalList& periods, const AnsiString& hireText, CalendarDay asOf,
    const std::vector<int32_t>& thresholdYears, PeriodAnalysis& analysis);
