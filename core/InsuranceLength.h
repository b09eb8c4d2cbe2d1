#pragma once

#include "Calendar.h"
#include "MDate.h"
#include "ServiceLength.h"

#include <chrono>
#include <cstdint>
#include <optional>

// Insurance service as the Social Fund counts it. Both the first and the last day of a period are
// worked days; every calendar month that a period covers from its 1st to its last day is one
// month, whatever its length; the days of the months it covers only in part are counted as days;
// then every 30 days make a month and every 12 months a year. Only real dates take part.

// How a stretch of days falls into calendar months: the months covered whole, and the days of the
// first and the last month where those are covered only in part.
struct MonthSplit {
    std::chrono::year_month firstMonth; // the month of the first day
    std::chrono::year_month lastMonth; // the month of the last day; the same month for a short stretch
    int32_t wholeMonths = 0;
    int32_t firstMonthDays = 0; // days of the first month when it is covered in part, else 0
    int32_t lastMonthDays = 0; // days of the last month when it is another month covered in part, else 0
};

// The split of the stretch from `first` to `last`, both real and `first` not after `last`.
// A closed form: 01.01.0001 to 31.12.9999 costs what one month costs.
MonthSplit SplitIntoMonths(const std::chrono::year_month_day& first, const std::chrono::year_month_day& last);
// The same for two dates that IsRealDate accepts, read from their numbers.
MonthSplit SplitIntoMonths(const MDate& first, const MDate& last);

// The unit in which lengths by this rule add up: whole months at 30 days each plus the partial
// days. Partial days of several stretches are pooled in it before they become months.
int64_t ReckonedDays(const MonthSplit& split);
// ReckonedDays of the stretch from `first` to `last` (not after it).
int64_t ReckonedDays(CalendarDay first, CalendarDay last);

// Reckoned days as years, months 0..11 and days 0..29; 0 or more of them give 0 or more of each.
ServiceLength InsuranceService(int64_t reckonedDays);

// One period by the rule, its dates in either order. No value when either date is not a real
// date in years 1..9999.
std::optional<ServiceLength> InsuranceLength(const MDate& from, const MDate& to);

// The whole list by the rule: only the periods with two real dates take part; periods that share
// days are counted once, as the time they cover together, while periods that only touch (one ends
// the day before the next begins) stay two; the partial days of all of them are pooled, then
// turned into months and years. Never fails.
ServiceLength InsuranceTotal(const IntervalList& periods);
