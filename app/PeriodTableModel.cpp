#include "PeriodTableModel.h"

#include "AnalysisText.h"
#include "TextConversion.h"
#include "Texts.h"

#include <QApplication>
#include <QStyle>

namespace {

QStringView HeaderText(int column)
{
    switch (column) {
    case PeriodTableModel::NumberColumn:
        return Texts::NumberColumn;
    case PeriodTableModel::NameColumn:
        return Texts::NameColumn;
    case PeriodTableModel::FromColumn:
        return Texts::FromColumn;
    case PeriodTableModel::ToColumn:
        return Texts::ToColumn;
    case PeriodTableModel::DesignedColumn:
        return Texts::DesignedColumn;
    case PeriodTableModel::InsuranceYearsColumn:
        return Texts::InsuranceYearsColumn;
    case PeriodTableModel::InsuranceMonthsColumn:
        return Texts::InsuranceMonthsColumn;
    case PeriodTableModel::InsuranceDaysColumn:
        return Texts::InsuranceDaysColumn;
    case PeriodTableModel::CalendarDaysColumn:
        return Texts::CalendarDaysColumn;
    case PeriodTableModel::FindingsColumn:
        return Texts::FindingsColumn;
    default:
        return {};
    }
}

bool IsNumber(int column)
{
    return column == PeriodTableModel::NumberColumn || column == PeriodTableModel::InsuranceYearsColumn
        || column == PeriodTableModel::InsuranceMonthsColumn || column == PeriodTableModel::InsuranceDaysColumn
        || column == PeriodTableModel::CalendarDaysColumn;
}

} // namespace

PeriodTableModel::PeriodTableModel(QObject* parent)
    : QAbstractTableModel(parent)
    , m_asOf(ToCalendarDay(QDate()))
    , m_warning(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning))
{
}

void PeriodTableModel::SetAnalysis(IntervalList periods, PeriodAnalysis analysis, CalendarDay asOf)
{
    beginResetModel();
    m_periods = std::move(periods);
    m_analysis = std::move(analysis);
    m_asOf = asOf;
    endResetModel();
}

int PeriodTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(std::min(m_periods.size(), m_analysis.rows.size()));
}

int PeriodTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PeriodTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    const auto i = static_cast<std::size_t>(index.row());
    const Interval& period = m_periods[i];
    const PeriodRow& row = m_analysis.rows[i];
    const int column = index.column();

    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter | (IsNumber(column) ? Qt::AlignRight : Qt::AlignLeft));
    if (column == FindingsColumn && role == Qt::DecorationRole)
        return HasFinding(row) ? QVariant(m_warning) : QVariant();
    if (column == FindingsColumn && role == Qt::ToolTipRole && HasFinding(row))
        return FindingTexts(period, row, m_asOf).join(u'\n');
    if (role != Qt::DisplayRole)
        return {};
    switch (column) {
    case NumberColumn:
        return index.row() + 1;
    case NameColumn:
        return FromAnsi(period.name);
    case FromColumn:
        return FromAnsi(DateText(period.from));
    case ToColumn:
        return FromAnsi(DateText(period.to));
    case DesignedColumn:
        return FromAnsi(row.designedText);
    case InsuranceYearsColumn:
        return row.insurance ? QVariant(row.insurance->length.years) : QVariant();
    case InsuranceMonthsColumn:
        return row.insurance ? QVariant(row.insurance->length.months) : QVariant();
    case InsuranceDaysColumn:
        return row.insurance ? QVariant(row.insurance->length.days) : QVariant();
    case CalendarDaysColumn:
        return row.insurance ? QVariant(static_cast<qlonglong>(row.calendarDays)) : QVariant();
    case FindingsColumn:
        return FindingTexts(period, row, m_asOf).join(u"; ");
    default:
        return {};
    }
}

QVariant PeriodTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return HeaderText(section).toString();
}
