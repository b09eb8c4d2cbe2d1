#pragma once

#include "MDate.h"

#include <cstdint>
#include <utility>

// The parsers' rules written out plainly with SplitText, piece by piece, as their steps read: what
// the fast date and record-line parsers are held against, in the tests and in the fuzzer.

struct PlainDate {
    uint16_t day = 0;
    uint16_t month = 0;
    uint16_t year = 0;
    bool invalid = false;
};

// The separator is "/" if the text holds one, else ",", else "."; fewer than three pieces are
// invalid; the first three pieces are day, month and year, each a decimal number modulo 65536.
PlainDate PlainDateRule(const AnsiString& text);

// The name before the first "|", then every "&"-piece of the text up to a second "|" with at least
// three ","-fields as a period; every field ends at a zero byte. An empty name is no record.
std::pair<AnsiString, IntervalList> PlainRecordLine(const AnsiString& line);
