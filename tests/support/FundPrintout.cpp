#include "FundPrintout.h"

#include "Win1251.h"

IntervalList FundPrintout()
{
    IntervalList periods;
    for (const FundLine& line : FundLines)
        periods.emplace_back(Win1251(line.name), MDate(line.from), MDate(line.to));
    return periods;
}
