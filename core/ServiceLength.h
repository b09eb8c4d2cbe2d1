#pragma once

#include "MDate.h"

#include <cstdint>

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
int DaysInMonth(uint16_t year, uint16_t month);

// The inclusive length of a period: a period that starts and ends on one day lasts 0, 0, 1.
// The dates are ordered first, so exchanging them gives the same length. Never fails.
ServiceLength IntervalLength(MDate from, MDate to);

// Adds a length to a running total and carries whole years out of the months; days are summed as they come.
void AddLength(ServiceLength& total, const ServiceLength& length);

// Normalises the length in place (days above the average month become months, months become years),
// then renders it as "Y л., M мес., D дн." in Windows-1251, leaving out years, and months when there
// are neither years nor months.
AnsiString LengthText(ServiceLength& length);
