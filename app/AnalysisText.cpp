#include "AnalysisText.h"

#include "TextConversion.h"
#include "Texts.h"

#include <algorithm>

using namespace std::chrono;
using namespace Qt::StringLiterals;

namespace {

// The overlaps a finding names one by one; a period that shares days with many says how many more.
constexpr std::size_t NamedOverlaps = 3;

QString DateOf(const MDate& date)
{
    return FromAnsi(DateText(date));
}

} // namespace

CalendarDay ToCalendarDay(const QDate& date)
{
    if (!date.isValid() || date.year() < 1)
        return sys_days{year{1} / January / 1};
    if (date.year() > 9999)
        return sys_days{year{9999} / December / 31};
    return sys_days{year{date.year()} / static_cast<unsigned>(date.month()) / static_cast<unsigned>(date.day())};
}

QDate ToQDate(CalendarDay day)
{
    const year_month_day date{day};
    return QDate(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
        static_cast<int>(static_cast<unsigned>(date.day())));
}

QString DayText(CalendarDay day)
{
    return ToQDate(day).toString(QStringLiteral("dd.MM.yyyy"));
}

QString MonthText(year_month month)
{
    return Texts::MonthNames[static_cast<unsigned>(month.month()) - 1].toString() + u' '
        + QString::number(static_cast<int>(month.year()));
}

QString LengthString(const ServiceLength& length)
{
    ServiceLength shown = length;
    return FromAnsi(LengthText(shown));
}

QString YearsWord(int32_t years)
{
    const int32_t lastTwo = std::abs(years) % 100;
    const int32_t last = lastTwo % 10;
    if (lastTwo >= 11 && lastTwo <= 14)
        return Texts::YearWords[2].toString();
    if (last == 1)
        return Texts::YearWords[0].toString();
    if (last >= 2 && last <= 4)
        return Texts::YearWords[1].toString();
    return Texts::YearWords[2].toString();
}

QStringList FindingTexts(const Interval& period, const PeriodRow& row, CalendarDay asOf)
{
    QStringList findings;
    const QString notCounted = u", "_s + Texts::NotCountedFinding.toString();
    if (row.fromNotReal)
        findings.append(Texts::FromNotRealFinding.toString().arg(DateOf(period.from)) + notCounted);
    if (row.toNotReal)
        findings.append(Texts::ToNotRealFinding.toString().arg(DateOf(period.to)) + notCounted);
    if (row.endBeforeStart)
        findings.append(Texts::EndBeforeStartFinding.toString());
    if (row.afterAsOf)
        findings.append(Texts::AfterAsOfFinding.toString().arg(DayText(asOf)));
    const std::size_t named = std::min(row.overlaps.size(), NamedOverlaps);
    for (std::size_t i = 0; i < named; ++i) {
        const Overlap& overlap = row.overlaps[i];
        findings.append(Texts::OverlapFinding.toString().arg(overlap.other + 1).arg(overlap.days));
    }
    // The analysis lists a few of the overlaps and counts them all.
    const std::size_t all = std::max(row.overlapCount, row.overlaps.size());
    if (all > named)
        findings.append(Texts::MoreOverlapsFinding.toString().arg(all - named));
    return findings;
}

bool HasFinding(const PeriodRow& row)
{
    return row.fromNotReal || row.toNotReal || row.endBeforeStart || row.afterAsOf || !row.overlaps.empty()
        || row.overlapCount > 0;
}

QString ExplanationText(std::size_t number, const Interval& period, const PeriodRow& row)
{
    QStringList lines;
    lines.append(Texts::ExplainPeriodText.toString().arg(number).arg(DateOf(period.from), DateOf(period.to)));
    if (!row.insurance) {
        lines.append(Texts::ExplainNotCountedText.toString());
    } else {
        const InsuranceLine& line = *row.insurance;
        if (!line.firstWholeMonth)
            lines.append(Texts::ExplainNoWholeMonthText.toString());
        else if (line.wholeMonths == 1)
            lines.append(Texts::ExplainOneWholeMonthText.toString().arg(MonthText(*line.firstWholeMonth)));
        else
            lines.append(Texts::ExplainWholeMonthsText.toString()
                             .arg(MonthText(*line.firstWholeMonth), MonthText(*line.lastWholeMonth))
                             .arg(line.wholeMonths));
        if (line.partialMonths.empty()) {
            lines.append(Texts::ExplainNoPartialDaysText.toString());
        } else {
            QStringList partial;
            for (const PartialMonth& month : line.partialMonths)
                partial.append(Texts::ExplainPartialMonthText.toString().arg(MonthText(month.month)).arg(month.days));
            lines.append(Texts::ExplainPartialDaysText.toString().arg(partial.join(u", "_s)).arg(line.partialDays));
        }
        const int32_t daysAsMonths = line.partialDays / 30;
        const int32_t months = line.wholeMonths + daysAsMonths;
        lines.append(Texts::ExplainDaysToMonthsText.toString()
                         .arg(line.partialDays)
                         .arg(daysAsMonths)
                         .arg(line.partialDays % 30)
                         .arg(months)
                         .arg(months / 12)
                         .arg(months % 12));
        lines.append(Texts::ExplainLineText.toString().arg(LengthString(line.length)));
    }
    lines.append(Texts::ExplainDesignedText.toString().arg(FromAnsi(row.designedText)));
    if (row.gapBefore)
        lines.append(Texts::ExplainGapBeforeText.toString().arg(GapText(*row.gapBefore)));
    if (!row.overlaps.empty())
        lines.append(Texts::ExplainOverlapText.toString());
    return lines.join(u'\n');
}

QString GapText(const Gap& gap)
{
    return Texts::GapText.toString().arg(DayText(gap.after + days{1}), DayText(gap.before - days{1})).arg(gap.days);
}

QString GapsText(const std::vector<Gap>& gaps)
{
    if (gaps.empty())
        return Texts::NoGapsText.toString();
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(gaps.size()));
    for (const Gap& gap : gaps)
        texts.append(GapText(gap));
    return texts.join(u"; "_s);
}

QString ThresholdText(const ThresholdDate& threshold)
{
    if (threshold.reachedBeforeHire)
        return Texts::ThresholdBeforeHireText.toString();
    if (!threshold.date)
        return Texts::ThresholdNoHireText.toString();
    return DayText(*threshold.date);
}

QString SickLeaveText(const PeriodAnalysis& analysis)
{
    const QStringView text = analysis.underSixMonths ? Texts::SickLeaveCappedText : Texts::SickLeaveValueText;
    return text.toString().arg(analysis.sickLeavePercent);
}
