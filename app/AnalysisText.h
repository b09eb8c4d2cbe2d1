#pragma once

#include "Analysis.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <chrono>

// The analysis of a period list put into the words that the main window, the analysis window
// and the certificate show, so that all three say the same thing the same way.

// A calendar day of the windows' calendar, and back. A QDate outside years 1..9999 gives the
// nearest day inside them; an invalid one the first.
CalendarDay ToCalendarDay(const QDate& date);
QDate ToQDate(CalendarDay day);

// "DD.MM.YYYY".
QString DayText(CalendarDay day);
// "август 1975".
QString MonthText(std::chrono::year_month month);
// A length as the main window shows a total: "5 л., 0 мес., 0 дн.".
QString LengthString(const ServiceLength& length);
// The form of "год" that goes with a number: 1 год, 2 года, 5 лет.
QString YearsWord(int32_t years);

// What is wrong with a period, one sentence each, in a fixed order: unreal dates, an end before
// the start, a date after the "as of" date, then the overlaps (at most a few named, the rest
// counted, by their numbers in the list from 1). Empty when nothing is wrong.
QStringList FindingTexts(const Interval& period, const PeriodRow& row, CalendarDay asOf);
// Whether FindingTexts has anything to say, without writing it.
bool HasFinding(const PeriodRow& row);

// How the period's insurance line came about: the whole calendar months, the partial days of
// which months, how the days turned into months, and the designed length beside it.
// `number` is the period's number in the list, from 1.
QString ExplanationText(std::size_t number, const Interval& period, const PeriodRow& row);

// "с 21.10.1975 по 01.11.1975 — 12 дн.": the uncovered days of a gap.
QString GapText(const Gap& gap);
// Every gap, "; " between them, or "нет".
QString GapsText(const std::vector<Gap>& gaps);
// The date a threshold is reached, or why there is none.
QString ThresholdText(const ThresholdDate& threshold);
// "80 % среднего заработка", with the minimum-wage cap under six months of service.
QString SickLeaveText(const PeriodAnalysis& analysis);
