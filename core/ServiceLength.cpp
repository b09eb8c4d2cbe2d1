#include "ServiceLength.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace {

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

} // namespace

int DaysInMonthBefore(uint16_t year, uint16_t month)
{
    if (month >= 2 && month <= 12)
        return DaysInMonth(year, static_cast<uint16_t>(month - 1));
    return 31; // December of the year before, or a month outside the calendar
}

void AddLength(ServiceLength& total, const ServiceLength& length)
{
    total.years = WrappingAdd(total.years, length.years);
    total.months = WrappingAdd(total.months, length.months);
    total.days = WrappingAdd(total.days, length.days);
    CarryMonths(total);
}

void WriteLengthText(ServiceLength& length, AnsiString& text)
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

    // Written into one buffer and copied once: a list's every line renders its length.
    char buffer[64];
    char* at = buffer;
    char* const end = buffer + sizeof buffer;
    const auto put = [&](std::string_view piece) { at = std::copy(piece.begin(), piece.end(), at); };
    if (length.years > 0) {
        at = std::to_chars(at, end, length.years).ptr;
        put(" \xEB., "); // "л., "
    }
    if (length.years > 0 || length.months != 0) {
        at = std::to_chars(at, end, length.months).ptr;
        put(" \xEC\xE5\xF1., "); // "мес., "
    }
    at = std::to_chars(at, end, length.days).ptr;
    put(" \xE4\xED."); // "дн."
    text.assign(buffer, static_cast<size_t>(at - buffer));
}

AnsiString LengthText(ServiceLength& length)
{
    AnsiString text;
    WriteLengthText(length, text);
    return text;
}
