#include "InsuranceByHand.h"

#include <algorithm>
#include <cstdio>
#include <map>

using namespace std::chrono;

std::optional<CalendarDay> CalendarDayByHand(const MDate& date)
{
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31)
        return std::nullopt;
    const year_month_day real{year{date.year}, month{date.month}, day{date.day}};
    if (!real.ok())
        return std::nullopt;
    return CalendarDay{real};
}

std::vector<Stretch> StretchesByHand(const IntervalList& periods)
{
    std::vector<Stretch> stretches;
    for (const Interval& period : periods) {
        const auto from = CalendarDayByHand(period.from);
        const auto to = CalendarDayByHand(period.to);
        if (from && to)
            stretches.push_back({std::min(*from, *to), std::max(*from, *to)});
    }
    return stretches;
}

std::vector<Stretch> JoinByHand(std::vector<Stretch> stretches)
{
    for (bool joined = true; joined;) {
        joined = false;
        for (size_t a = 0; a < stretches.size() && !joined; ++a) {
            for (size_t b = a + 1; b < stretches.size() && !joined; ++b) {
                Stretch& x = stretches[a];
                const Stretch& y = stretches[b];
                if (x.first <= y.last && y.first <= x.last) {
                    x = {std::min(x.first, y.first), std::max(x.last, y.last)};
                    stretches.erase(stretches.begin() + static_cast<std::ptrdiff_t>(b));
                    joined = true;
                }
            }
        }
    }
    return stretches;
}

std::vector<Stretch> CutByHand(const std::vector<Stretch>& stretches, CalendarDay day)
{
    std::vector<Stretch> cut;
    for (const Stretch& stretch : stretches) {
        if (stretch.first <= day)
            cut.push_back({stretch.first, std::min(stretch.last, day)});
    }
    return cut;
}

int64_t ReckonByHand(const std::vector<Stretch>& stretches)
{
    int64_t reckoned = 0;
    for (const Stretch& stretch : stretches) {
        std::map<year_month, unsigned> daysInMonth;
        for (CalendarDay d = stretch.first; d <= stretch.last; d += days{1}) {
            const year_month_day date{d};
            ++daysInMonth[date.year() / date.month()];
        }
        for (const auto& [month, covered] : daysInMonth) {
            const unsigned length = static_cast<unsigned>(year_month_day_last{month / last}.day());
            reckoned += covered == length ? 30 : covered;
        }
    }
    return reckoned;
}

ServiceLength ServiceByHand(int64_t reckoned)
{
    ServiceLength service;
    service.months = static_cast<int32_t>(reckoned / 30);
    service.days = static_cast<int32_t>(reckoned % 30);
    service.years = service.months / 12;
    service.months %= 12;
    return service;
}

ServiceLength InsuranceTotalByHand(const IntervalList& periods)
{
    return ServiceByHand(ReckonByHand(JoinByHand(StretchesByHand(periods))));
}

AnsiString DayText(CalendarDay day)
{
    const year_month_day date{day};
    char text[16];
    std::snprintf(text, sizeof text, "%02u.%02u.%04d", static_cast<unsigned>(date.day()),
        static_cast<unsigned>(date.month()), static_cast<int>(date.year()));
    return text;
}

Interval Period(const AnsiString& from, const AnsiString& to)
{
    return Interval("", MDate(from), MDate(to));
}

IntervalList RandomDatedPeriods(std::mt19937& random, int maxCount)
{
    const CalendarDay base{year{2019} / 12 / 1};
    std::uniform_int_distribution<int> start(0, 900);
    std::uniform_int_distribution<int> span(0, 120);
    std::uniform_int_distribution<int> kind(0, 19);
    IntervalList periods;
    for (int n = std::uniform_int_distribution<int>(0, maxCount)(random); n > 0; --n) {
        const CalendarDay first = base + days{start(random)};
        const CalendarDay last = first + days{span(random)};
        const int k = kind(random);
        if (k == 0)
            periods.push_back(Period("31.02.2021", DayText(last)));
        else if (k == 1)
            periods.push_back(Period(DayText(last), DayText(first)));
        else if (k < 5 && !periods.empty())
            periods.push_back(Period(DayText(*CalendarDayByHand(periods.back().to) + days{1}), DayText(last)));
        else
            periods.push_back(Period(DayText(first), DayText(last)));
    }
    return periods;
}
