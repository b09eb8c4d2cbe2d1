#pragma once

#include "MDate.h"

#include <array>

// The Social Fund's own printout of six periods, the one official worked example: each line as
// the Fund prints it, the designed length beside it, and the totals.
struct FundLine {
    const char* name; // UTF-8
    const char* from;
    const char* to;
    int wholeMonths;
    int partialDays;
    int years, months, days; // the insurance line
    const char* designed; // LengthText of IntervalLength, UTF-8
    int calendarDays;
};

inline constexpr std::array<FundLine, 6> FundLines{{
    {"Завод", "30.07.1975", "20.10.1975", 2, 22, 0, 2, 22, "2 мес., 22 дн.", 83},
    {"Трест", "02.11.1975", "04.11.1977", 23, 33, 2, 0, 3, "2 л., 0 мес., 3 дн.", 734},
    {"НИИ", "05.08.1983", "03.08.1988", 59, 30, 5, 0, 0, "4 л., 11 мес., 30 дн.", 1826},
    {"Кооператив", "04.08.1988", "31.12.1990", 28, 28, 2, 4, 28, "2 л., 4 мес., 28 дн.", 880},
    {"Фирма", "01.01.1991", "13.03.1992", 14, 13, 1, 2, 13, "1 л., 2 мес., 13 дн.", 438},
    {"Банк", "18.10.1999", "08.09.2000", 10, 22, 0, 10, 22, "10 мес., 21 дн.", 327},
}};
inline constexpr const char* FundInsuranceTotal = "11 л., 8 мес., 28 дн.";
inline constexpr const char* FundDesignedTotal = "11 л., 8 мес., 25 дн.";

// The six periods as a working list, names in Windows-1251.
IntervalList FundPrintout();
