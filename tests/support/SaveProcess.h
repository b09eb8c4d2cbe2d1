#pragma once

#include "MDate.h"

// The periods the save process saves, so that a test knows the file it would write.
inline IntervalList SaveProcessPeriods()
{
    return {Interval("Work", MDate("01.01.2000"), MDate("31.12.2000"))};
}
