#pragma once

#include "MDate.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

// A length of service. A length from IntervalLength is not yet normalised:
// its days may exceed a month until LengthText converts them.
struct ServiceLength {
    int32_t years = 0;
    int32_t months = 0;
    int32_t days = 0;
};

// The average month that turns surplus days into months, as written: not 365.2425 / 12.
constexpr double AverageMonthDays = 30.4368499;

// Days of a month 1..12, leap years by the Gregorian rule.
// A month outside 1..12 counts as 31 days, the longest month, so a borrow from it never goes below zero.
inline int DaysInMonth(uint16_t year, uint16_t month);

// The inclusive length of a period: a period that starts and ends on one day lasts 0, 0, 1.
// The dates are ordered first, so exchanging them gives the same length. Never fails.
inline ServiceLength IntervalLength(const MDate& from, const MDate& to);

// Adds a length to a running total and carries whole years out of the months; days are summed as they come.
void AddLength(ServiceLength& total, const ServiceLength& length);

// Normalises the length in place (days above the average month become months, months become years),
// then renders it as "Y л., M мес., D дн." in Windows-1251, leaving out years, and months when there
// are neither years nor months.
AnsiString LengthText(ServiceLength& length);

// The same as LengthText, written into `text` in place of what it held: a text that has room keeps
// its storage, so rendering many lengths again allocates nothing.
void WriteLengthText(ServiceLength& length, AnsiString& text);

// DaysInMonth and IntervalLength are defined here, and IntervalLength always inlined, so that every
// loop over a list's periods runs the steps in place: a call per period costs the recalculation
// more than twice what the steps cost.

inline int DaysInMonth(uint16_t year, uint16_t month)
{
    // By leap year, then month; index 0 stands for every month outside 1..12.
    static constexpr int days[2][13] = {
        {31, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
        {31, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    };
    const bool leap = (year % 4 == 0) & ((year % 100 != 0) | (year % 400 == 0));
    return days[leap][month <= 12 ? month : 0];
}

// The month before the end date's month, for a borrow that the end month cannot cover.
int DaysInMonthBefore(uint16_t year, uint16_t month);

[[gnu::always_inline]] inline ServiceLength IntervalLength(const MDate& from, const MDate& to)
{
    // Only the numbers take part, ordered by year, month and day; the texts are not copied.
    const bool exchange = std::tie(to.year, to.month, to.day) < std::tie(from.year, from.month, from.day);
    const MDate& a = exchange ? to : from;
    const MDate& b = exchange ? from : to;

    int32_t y = 0;
    int32_t m = 0;
    int32_t d = 0;
    if (a.year < b.year)
        y = b.year - a.year;
    if (a.month < b.month) {
        m = b.month - a.month;
    } else if (a.month > b.month) {
        // A start month more than a year above the end month (only a month above 12 does that)
        // takes no more than the one year it borrows.
        m = std::max(b.month + 12 - a.month, 0);
        --y;
    } else if (a.day > b.day) {
        m = 12;
        --y;
    }
    if (a.day < b.day) {
        d = b.day - a.day;
    } else if (a.day > b.day) {
        // The borrowed month is the end date's own month, not the month before it...
        d = b.day + DaysInMonth(b.year, b.month) - a.day;
        // ...unless that is too short to cover the start day (31.01 to 01.02): then the month before
        // it gives the true count. Day numbers beyond any month stop at zero.
        if (d < 0)
            d = std::max(b.day + DaysInMonthBefore(b.year, b.month) - a.day, 0);
        if (m > 0)
            --m;
        else
            --y;
    }
    return ServiceLength{y, m, d + 1};
}
