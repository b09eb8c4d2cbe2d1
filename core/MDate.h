#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

// 8-bit text holding Windows-1251 bytes: names, date texts and the data file.
using AnsiString = std::string;

// A date as typed: the three numbers read from its text, and the text itself,
// kept byte for byte. Never validated against the calendar.
struct MDate {
    uint16_t year;
    uint16_t month;
    uint16_t day;
    uint8_t invalid; // set when the text gave fewer than three fields; nothing reads it
    AnsiString text;

    // Never fails. The separator is "/" if the text holds one, else ",", else ".";
    // the pieces are day, month and year, each read as a decimal number modulo 65536.
    explicit MDate(const AnsiString& text);
};

// Dates compare by year, then month, then day; the text and the flag take no part.
bool operator==(const MDate& a, const MDate& b);
std::strong_ordering operator<=>(const MDate& a, const MDate& b);

// One employment period. `from` may lie after `to`.
struct Interval {
    AnsiString name;
    MDate from;
    MDate to;

    Interval(AnsiString name, MDate from, MDate to);
};

using IntervalList = std::vector<Interval>;

// Cuts a text at every separator. Never fails: a text without the separator gives
// no pieces at all; the piece after the last separator always counts, even empty.
std::vector<AnsiString> SplitText(const AnsiString& text, char separator);

// The date's text when it has one, otherwise day.month.year without leading zeros.
AnsiString DateText(const MDate& date);
