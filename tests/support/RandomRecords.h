#pragma once

#include "MDate.h"

#include <cstddef>
#include <random>

// Random contents for round trips through the data file, within what its format can carry:
// any byte but "," "&" "|", CR, LF and the zero byte.
AnsiString RandomText(std::mt19937& random, size_t minLength, size_t maxLength);

// A date text as the fields give it, an untouched field, or any other text the format carries;
// never empty, since a date with an empty text is written as 0.0.0.
AnsiString RandomDateText(std::mt19937& random);

// Up to maxCount periods with random names and date texts.
IntervalList RandomPeriods(std::mt19937& random, int maxCount);

// Inputs for the parsers: bytes of every kind, the separators, digits, blanks and signs most of
// all, and now and then a dd.mm.yyyy date with one byte changed, so that both the parsers' fast
// way for that form and its near misses are reached. Up to maxLength bytes.
AnsiString RandomParserText(std::mt19937& random, size_t maxLength);
