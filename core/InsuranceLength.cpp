#include "InsuranceLength.h"

#include "Coverage.h"

#include <algorithm>

using namespace std::chrono;

namespace {

constexpr int64_t MonthDays = 30;
constexpr int64_t YearDays = 12 * MonthDays;

// The split on plain numbers of two real dates, the first not after the last. The same steps
// hold when both days lie in one month: there are no months between, and a month covered from
// its first to its last day is the one whole month.
MonthSplit Split(int firstYear, int firstMonth, int firstDay, int lastYear, int lastMonth, int lastDay)
{
    MonthSplit split;
    split.firstMonth = year{firstYear} / month{static_cast<unsigned>(firstMonth)};
    split.lastMonth = year{lastYear} / month{static_cast<unsigned>(lastMonth)};
    const bool fromItsFirst = firstDay == 1;
    const bool toItsLast = lastDay == DaysInMonth(static_cast<uint16_t>(lastYear), static_cast<uint16_t>(lastMonth));
    const int32_t monthsApart = (lastYear - firstYear) * 12 + lastMonth - firstMonth;
    if (monthsApart == 0) {
        split.wholeMonths = fromItsFirst && toItsLast;
        split.firstMonthDays = split.wholeMonths ? 0 : lastDay - firstDay + 1;
        return split;
    }
    split.wholeMonths = monthsApart - 1 + fromItsFirst + toItsLast;
    split.firstMonthDays = fromItsFirst
        ? 0
        : DaysInMonth(static_cast<uint16_t>(firstYear), static_cast<uint16_t>(firstMonth)) - firstDay + 1;
    split.lastMonthDays = toItsLast ? 0 : lastDay;
    return split;
}

} // namespace

MonthSplit SplitIntoMonths(const year_month_day& first, const year_month_day& last)
{
    return Split(static_cast<int>(first.year()), static_cast<int>(static_cast<unsigned>(first.month())),
        static_cast<int>(static_cast<unsigned>(first.day())), static_cast<int>(last.year()),
        static_cast<int>(static_cast<unsigned>(last.month())), static_cast<int>(static_cast<unsigned>(last.day())));
}

MonthSplit SplitIntoMonths(const MDate& first, const MDate& last)
{
    return Split(first.year, first.month, first.day, last.year, last.month, last.day);
}

int64_t ReckonedDays(const MonthSplit& split)
{
    return split.wholeMonths * MonthDays + split.firstMonthDays + split.lastMonthDays;
}

int64_t ReckonedDays(CalendarDay first, CalendarDay last)
{
    return ReckonedDays(SplitIntoMonths(year_month_day{first}, year_month_day{last}));
}

ServiceLength InsuranceService(int64_t reckonedDays)
{
    return ServiceLength{static_cast<int32_t>(reckonedDays / YearDays),
        static_cast<int32_t>(reckonedDays / MonthDays % 12), static_cast<int32_t>(reckonedDays % MonthDays)};
}

std::optional<ServiceLength> InsuranceLength(const MDate& from, const MDate& to)
{
    if (!IsRealDate(from) || !IsRealDate(to))
        return std::nullopt;
    const bool exchange = to < from;
    return InsuranceService(ReckonedDays(SplitIntoMonths(exchange ? to : from, exchange ? from : to)));
}

ServiceLength InsuranceTotal(const IntervalList& periods)
{
    std::vector<DaySpan> spans = RealSpans(periods);
    SortByFirstDay(spans);
    int64_t reckoned = 0;
    for (const DaySpan& piece : CoveredPieces(spans))
        reckoned += ReckonedDays(piece);
    return InsuranceService(reckoned);
}
