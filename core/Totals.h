#pragma once

#include "MDate.h"
#include "ServiceLength.h"

#include <optional>

// The period list's line: "(" start "-" end ") " name, the dates as their texts.
AnsiString IntervalLine(const Interval& interval);

// The unbroken-service date: the hire date moved back by the normalised total, first by
// whole calendar years (29 February becomes 28 February), then by the months at the average
// month length plus the days, cut to whole days. Gives "DD.MM.YYYY", or no value when the hire
// text is not a real date in years 1..9999 or the result would leave those years; the window
// then leaves its read-out as it was.
std::optional<AnsiString> UnbrokenServiceDate(const AnsiString& hireText, const ServiceLength& normalisedTotal);
