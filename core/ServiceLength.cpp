#include "ServiceLength.h"

#include <algorithm>

namespace {

// Totals wrap like the 32-bit counters they are instead of overflowing, whatever the input.
int32_t WrappingAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// Carries whole years out of the months; the same as subtracting 12 while months reach 12.
void CarryMonths(ServiceLength& length)
{
    if (length.months >= 12) {
        length.years = WrappingAdd(length.years, length.months / 12);
        length.months %= 12;
    }
}

// The month before the end date's month, for a borrow that the end month cannot cover.
int DaysInMonthBefore(uint16_t year, uint16_t month)
{
    if (month >= 2 && month <= 12)
        return DaysInMonth(year, static_cast<uint16_t>(month - 1));
    return 31; // December of the year before, or a month outside the calendar
}

} // namespace

int DaysInMonth(uint16_t year, uint16_t month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 31;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month == 2 && leap ? 29 : days[month - 1];
}

ServiceLength IntervalLength(MDate from, MDate to)
{
    if (to < from)
        std::swap(from, to);
    const MDate& a = from;
    const MDate& b = to;

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
        // ...unless that is too short to cover the start day (31.01 to 01.02): then the month
        // before it gives the true count. Day numbers beyond any month stop at zero.
        if (d < 0)
            d = std::max(b.day + DaysInMonthBefore(b.year, b.month) - a.day, 0);
        if (m > 0)
            --m;
        else
            --y;
    }

    return ServiceLength{y, m, d + 1};
}

void AddLength(ServiceLength& total, const ServiceLength& length)
{
    total.years = WrappingAdd(total.years, length.years);
    total.months = WrappingAdd(total.months, length.months);
    total.days = WrappingAdd(total.days, length.days);
    CarryMonths(total);
}

AnsiString LengthText(ServiceLength& length)
{
    // Repeated subtraction, rounded at every step, not a division: the boundary days must come out
    // exactly as the average month rounds them.
    double days = length.days;
    while (days > AverageMonthDays) {
        days -= AverageMonthDays;
        length.months = WrappingAdd(length.months, 1);
    }
    CarryMonths(length);
    length.days = static_cast<int32_t>(days);

    AnsiString text;
    if (length.years > 0)
        text += std::to_string(length.years) + " \xEB., "; // "л., "
    if (length.years > 0 || length.months != 0)
        text += std::to_string(length.months) + " \xEC\xE5\xF1., "; // "мес., "
    text += std::to_string(length.days) + " \xE4\xED."; // "дн."
    return text;
}
