#pragma once

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

// A calendar date that is real in years 1..9999.
using CalendarDay = std::chrono::sys_days;

// The date as a real calendar day, or no value when its day, month and year are not one.
std::optional<CalendarDay> RealDay(const MDate& date);

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
    // As a selected line shows it: IntervalLength, and its LengthText.
    ServiceLength designedLength;
    AnsiString designedText;

    // Findings.
    bool fromNotReal = false;
    bool toNotReal = false;
    bool endBeforeStart = false;
    bool afterAsOf = false; // a real date of the period lies after the "as of" date

    // Both only when both dates are real; the dates are ordered first.
    std::optional<InsuranceLine> insurance;
    int64_t calendarDays = 0; // inclusive; 0 when a date is not real

    std::vector<Overlap> overlaps; // every other period it shares days with, in list order
    std::optional<Gap> gapBefore; // the uncovered days just before the period's start, if any
};

// The first date on which the insurance total reaches a number of years.
struct ThresholdDate {
    int32_t years = 0;
    bool reachedBeforeHire = false; // the listed periods alone reach it before the hire date
    std::optional<CalendarDay> date; // from the hire date on; none when the hire date is not real
};

struct PeriodAnalysis {
    std::vector<PeriodRow> rows; // one per period, in list order

    ServiceLength designedTotal; // normalised, as "Совокупный стаж" shows it
    AnsiString designedTotalText;
    ServiceLength insuranceTotal; // InsuranceTotal of the list
    int64_t calendarDays = 0; // days covered by the periods with real dates, each day counted once
    int64_t overlapDays = 0; // days that adding the periods' own calendar days would count more than once
    std::vector<Gap> gaps; // in calendar order

    // The current job counted from the hire date to the "as of" date: only when the hire date
    // is real and not after the "as of" date.
    bool currentJobCounted = false;
    ServiceLength insuranceAsOf; // the insurance total as of the "as of" date, the current job included
    int32_t sickLeavePercent = 60; // 255-ФЗ ст. 7: 60, 80 or 100
    bool underSixMonths = true; // the benefit is capped at the minimum wage per full month

    std::vector<ThresholdDate> thresholds; // one per requested number of years, in the order asked
};

// Analyses the periods with the hire date as typed and the "as of" date. Thresholds are
// asked for the given numbers of years (5, 8 and 15 by default).
PeriodAnalysis AnalysePeriods(const IntervalList& periods, const AnsiString& hireText, CalendarDay asOf,
    const std::vector<int32_t>& thresholdYears = {5, 8, 15});
