#include "Totals.h"

#include "Calendar.h"

#include <chrono>
#include <cstdio>

namespace {

using namespace std::chrono;

bool InServiceYears(int64_t year)
{
    return year >= 1 && year <= 9999;
}

// More days than the years 1..9999 hold: any offset beyond it leaves them, so it is refused
// before the calendar arithmetic sees it.
constexpr double MaxOffsetDays = 4'000'000;

} // namespace

AnsiString IntervalLine(const Interval& interval)
{
    return '(' + DateText(interval.from) + '-' + DateText(interval.to) + ") " + interval.name;
}

std::optional<AnsiString> UnbrokenServiceDate(const AnsiString& hireText, const ServiceLength& normalisedTotal)
{
    const std::optional<year_month_day> hire = RealDate(MDate(hireText));
    if (!hire)
        return std::nullopt;
    const year_month_day hireDate = *hire;

    const int64_t movedYear = int64_t{static_cast<int>(hireDate.year())} - normalisedTotal.years;
    if (!InServiceYears(movedYear))
        return std::nullopt;
    year_month_day moved = year{static_cast<int>(movedYear)} / hireDate.month() / hireDate.day();
    if (!moved.ok()) // 29 February in a common year
        moved = year{static_cast<int>(movedYear)} / hireDate.month() / last;

    const double offsetDays = normalisedTotal.months * AverageMonthDays + normalisedTotal.days;
    if (offsetDays < -MaxOffsetDays || offsetDays > MaxOffsetDays)
        return std::nullopt;
    const auto offset = static_cast<int64_t>(offsetDays);
    const year_month_day result{sys_days{moved} - days{offset}};
    if (!InServiceYears(static_cast<int>(result.year())))
        return std::nullopt;

    char text[16];
    std::snprintf(text, sizeof text, "%02u.%02u.%04d", static_cast<unsigned>(result.day()),
        static_cast<unsigned>(result.month()), static_cast<int>(result.year()));
    return AnsiString(text);
}

Totals CalculateTotals(const IntervalList& periods, const AnsiString& hireText)
{
    Totals totals;
    totals.lines.reserve(periods.size());
    for (const Interval& period : periods) {
        totals.lines.push_back(IntervalLine(period));
        AddLength(totals.total, IntervalLength(period.from, period.to));
    }
    totals.totalText = LengthText(totals.total);
    // The normalised total, not the sum, moves the hire date back.
    totals.unbrokenDate = UnbrokenServiceDate(hireText, totals.total);
    return totals;
}
