#pragma once

#include "MDate.h"
#include "ServiceLength.h"

#include <optional>
#include <vector>

// The period list's line: "(" start "-" end ") " name, the dates as their texts.
AnsiString IntervalLine(const Interval& interval);

// The unbroken-service date: the hire date moved back by the normalised total, first by
// whole calendar years (29 February becomes 28 February), then by the months at the average
// month length plus the days, cut to whole days. Gives "DD.MM.YYYY", or no value when the hire
// text is not a real date in years 1..9999 or the result would leave those years; the window
// then leaves its read-out as it was.
std::optional<AnsiString> UnbrokenServiceDate(const AnsiString& hireText, const ServiceLength& normalisedTotal);

// What the main window shows of its working list and hire date.
struct Totals {
    std::vector<AnsiString> lines; // IntervalLine of every period, in list order
    ServiceLength total; // the sum of every period's IntervalLength, normalised by LengthText
    AnsiString totalText; // LengthText of the sum: "Совокупный стаж"
    std::optional<AnsiString> unbrokenDate; // UnbrokenServiceDate of the normalised total
};

// The main window's arithmetic in one go: the lines, the total and the unbroken-service date of
// the periods with the hire date as typed. Never fails.
Totals CalculateTotals(const IntervalList& periods, const AnsiString& hireText);
