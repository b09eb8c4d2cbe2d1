#pragma once

#include "Calendar.h"
#include "MDate.h"
#include "ServiceLength.h"

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

// The insurance-service rule done the slow way, as a person with a calendar does it, for the tests
// to hold the program's closed forms against: day by day through the calendar months.

// A stretch of days, first not after last.
struct Stretch {
    CalendarDay first;
    CalendarDay last;
};

// The date as a calendar day when it is a real date in years 1..9999, checked without the
// program's own calendar code.
std::optional<CalendarDay> CalendarDayByHand(const MDate& date);

// The periods with two real dates, each ordered, in list order.
std::vector<Stretch> StretchesByHand(const IntervalList& periods);

// Joins stretches that share a day until no two do; stretches that only touch stay apart.
std::vector<Stretch> JoinByHand(std::vector<Stretch> stretches);

// The stretches cut to end on `day`; those that start after it are dropped.
std::vector<Stretch> CutByHand(const std::vector<Stretch>& stretches, CalendarDay day);

// Walks every day of every stretch: a calendar month whose days all lie in one stretch counts 30,
// every other covered day counts 1.
int64_t ReckonByHand(const std::vector<Stretch>& stretches);

// Reckoned days as years, months and days: 30 days a month, 12 months a year.
ServiceLength ServiceByHand(int64_t reckoned);

// The insurance total of the list, day by day.
ServiceLength InsuranceTotalByHand(const IntervalList& periods);

// The day as dd.mm.yyyy.
AnsiString DayText(CalendarDay day);

// A period without a name.
Interval Period(const AnsiString& from, const AnsiString& to);

// Up to maxCount periods within a few years from December 2019, a few days to four months long:
// overlapping, touching (one starts the day after the one before ends), reversed, and now and
// then with a start that is not a real date.
IntervalList RandomDatedPeriods(std::mt19937& random, int maxCount);
