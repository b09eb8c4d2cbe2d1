#pragma once

#include "MDate.h"
#include "ServiceLength.h"

#include <chrono>
#include <optional>

// A calendar date that is real in years 1..9999.
using CalendarDay = std::chrono::sys_days;

// The first and the last day that a date of the program can be.
inline constexpr CalendarDay FirstCalendarDay{std::chrono::year{1} / 1 / 1};
inline constexpr CalendarDay LastCalendarDay{std::chrono::year{9999} / 12 / 31};

// Whether the date's day, month and year are a real date: year 1..9999, month 1..12, day from 1
// to the length of that month. Its text takes no part.
inline bool IsRealDate(const MDate& date)
{
    return date.year >= 1 && date.year <= 9999 && date.month >= 1 && date.month <= 12 && date.day >= 1
        && date.day <= DaysInMonth(date.year, date.month);
}

// The date as a real calendar date, or no value when it is not one. The numbers are checked
// before they meet the calendar types, which keep a day and a month in 8 bits (day 257 would
// become day 1).
inline std::optional<std::chrono::year_month_day> RealDate(const MDate& date)
{
    if (!IsRealDate(date))
        return std::nullopt;
    return std::chrono::year{date.year} / std::chrono::month{date.month} / std::chrono::day{date.day};
}

// The same as a calendar day.
inline std::optional<CalendarDay> RealDay(const MDate& date)
{
    if (!IsRealDate(date))
        return std::nullopt;
    return CalendarDay{std::chrono::year{date.year} / std::chrono::month{date.month} / std::chrono::day{date.day}};
}
