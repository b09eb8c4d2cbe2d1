#include "ServiceLength.h"

#include <algorithm>

namespace {

// The order of dates as one number: year, then month, then day.
uint64_t Key(const MDate& date)
{
    return uint64_t{date.year} << 32 | uint64_t{date.month} << 16 | date.day;
}

// Totals wrap like the 32-bit counters they are instead of overflowing, whatever the input.
int32_t WrappingAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// Carries whole years out of the months; the same as subtracting 12 while months reach 12.
void CarryMonths(ServiceLength& length)
{
    if (length.months >= 24) {
        length.years = WrappingAdd(length.years, length.months / 12);
        length.months %= 12;
        return;
    }
    // One period's months carry at most one year into a total, about every other period:
    // arithmetic, not a jump.
    const int32_t carry = length.months >= 12;
    length.years = WrappingAdd(length.years, carry);
    length.months -= 12 * carry;
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
    // By leap year, then month; index 0 stands for every month outside 1..12.
    static constexpr int days[2][13] = {
        {31, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
        {31, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    };
    // Bitwise, not short-circuit, and a lookup: no jumps in the recalculation's inner loop.
    const bool leap = (year % 4 == 0) & ((year % 100 != 0) | (year % 400 == 0));
    return days[leap][month <= 12 ? month : 0];
}

ServiceLength IntervalLength(MDate from, MDate to)
{
    // Only the numbers take part, ordered by year, month and day. With real periods every
    // comparison goes either way, so the steps are written as selections and bitwise arithmetic
    // rather than jumps: the recalculation runs this for every period on every keystroke.
    const uint64_t fromKey = Key(from);
    const uint64_t toKey = Key(to);
    const bool exchange = toKey < fromKey;
    const uint64_t start = exchange ? toKey : fromKey;
    const uint64_t end = exchange ? fromKey : toKey;
    const int32_t startYear = static_cast<uint16_t>(start >> 32);
    const int32_t startMonth = static_cast<uint16_t>(start >> 16);
    const int32_t startDay = static_cast<uint16_t>(start);
    const int32_t endYear = static_cast<uint16_t>(end >> 32);
    const int32_t endMonth = static_cast<uint16_t>(end >> 16);
    const int32_t endDay = static_cast<uint16_t>(end);

    const int32_t monthDiff = endMonth - startMonth;
    const int32_t dayDiff = endDay - startDay;
    const bool dayBorrow = dayDiff < 0;
    // A later start month, or the same month with a later start day, takes a year into months.
    const bool yearBorrow = (monthDiff < 0) | ((monthDiff == 0) & dayBorrow);

    int32_t y = std::max(endYear - startYear, 0) - yearBorrow;
    // A start month more than a year above the end month (only a month above 12 does that)
    // takes no more than the one year it borrows.
    int32_t m = std::max(monthDiff + 12 * yearBorrow, 0);

    // The borrowed month is the end date's own month, not the month before it...
    const int32_t borrowed = dayDiff + DaysInMonth(static_cast<uint16_t>(endYear), static_cast<uint16_t>(endMonth));
    int32_t d = dayBorrow ? borrowed : dayDiff;
    // ...unless that is too short to cover the start day (31.01 to 01.02): then the month before
    // it gives the true count. Day numbers beyond any month stop at zero.
    if (d < 0)
        d = std::max(dayDiff + DaysInMonthBefore(static_cast<uint16_t>(endYear), static_cast<uint16_t>(endMonth)), 0);
    const bool fromMonths = m > 0;
    m -= dayBorrow & fromMonths;
    y -= dayBorrow & !fromMonths;

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
