#include "Coverage.h"

#include "Calendar.h"
#include "InsuranceLength.h"

#include <algorithm>

namespace {

bool Before(const DaySpan& a, const DaySpan& b)
{
    return a.first != b.first ? a.first < b.first : a.index < b.index;
}

int32_t DayNumber(CalendarDay day)
{
    return static_cast<int32_t>(day.time_since_epoch().count());
}

} // namespace

std::vector<DaySpan> RealSpans(const IntervalList& periods)
{
    std::vector<DaySpan> spans;
    spans.reserve(periods.size());
    for (size_t i = 0; i < periods.size(); ++i) {
        const Interval& period = periods[i];
        const auto from = RealDay(period.from);
        const auto to = RealDay(period.to);
        if (!from || !to)
            continue;
        const bool exchange = *to < *from;
        const MonthSplit split
            = SplitIntoMonths(exchange ? period.to : period.from, exchange ? period.from : period.to);
        spans.push_back({DayNumber(std::min(*from, *to)), DayNumber(std::max(*from, *to)), static_cast<uint32_t>(i),
            static_cast<int32_t>(ReckonedDays(split))});
    }
    return spans;
}

void SortByFirstDay(std::vector<DaySpan>& spans)
{
    // Insertion moves each span past the spans it is out of order with: about linear for a list in
    // calendar order with a few exceptions. Past a budget of moves a full sort takes over, so a
    // list in any order costs n log n at most.
    size_t movesLeft = 4 * spans.size() + 64;
    for (size_t i = 1; i < spans.size(); ++i) {
        if (!Before(spans[i], spans[i - 1]))
            continue;
        const DaySpan moving = spans[i];
        size_t j = i;
        for (; j > 0 && Before(moving, spans[j - 1]); --j) {
            if (movesLeft == 0) {
                spans[j] = moving;
                std::sort(spans.begin(), spans.end(), Before);
                return;
            }
            --movesLeft;
            spans[j] = spans[j - 1];
        }
        spans[j] = moving;
    }
}

std::vector<DaySpan> CoveredPieces(const std::vector<DaySpan>& sortedSpans)
{
    std::vector<DaySpan> pieces;
    for (const DaySpan& span : sortedSpans) {
        // Sharing a day joins the piece; starting the day after its end does not.
        if (!pieces.empty() && span.first <= pieces.back().last) {
            if (span.last > pieces.back().last) {
                pieces.back().last = span.last;
                pieces.back().reckoned = -1;
            }
        } else {
            pieces.push_back(span);
        }
    }
    return pieces;
}

int64_t ReckonedDays(const DaySpan& span)
{
    if (span.reckoned >= 0)
        return span.reckoned;
    return ReckonedDays(CalendarDay{std::chrono::days{span.first}}, CalendarDay{std::chrono::days{span.last}});
}
