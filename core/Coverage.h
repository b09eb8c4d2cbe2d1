#pragma once

#include "MDate.h"

#include <cstdint>
#include <vector>

// The time that periods cover together, as the insurance-service rule takes it: periods that
// share a day make one covered piece, periods that only touch stay two pieces.

// A period with real dates as a stretch of days, ordered: `first` is not after `last`.
struct DaySpan {
    int32_t first = 0; // days since 01.01.1970, as a CalendarDay counts them
    int32_t last = 0;
    uint32_t index = 0; // the period's place in its list
    // ReckonedDays from first to last when known, else -1: a period knows its own, and a covered
    // piece of one period keeps it, so that only pieces that periods share are counted again.
    int32_t reckoned = -1;
};

// The periods of the list with two real dates, in list order, with their reckoned days.
std::vector<DaySpan> RealSpans(const IntervalList& periods);

// Sorts by first day, then by place in the list. Lists are mostly kept in calendar order, so
// spans that are nearly in order are sorted in about linear time; any order costs n log n at most.
void SortByFirstDay(std::vector<DaySpan>& spans);

// The covered pieces of spans sorted by their first day, in calendar order; their `index` is
// that of the piece's first span.
std::vector<DaySpan> CoveredPieces(const std::vector<DaySpan>& sortedSpans);

// The reckoned days of a span or a piece: its own when known, else counted from its days.
int64_t ReckonedDays(const DaySpan& span);
