#pragma once

// moc cannot parse the C++20 library headers that the core uses, and needs none of their types.
#ifndef Q_MOC_RUN
#include "Analysis.h"
#endif

#include <QAbstractTableModel>
#include <QIcon>

// The periods of a list with their analysis, one row per period in list order: the number, the
// name, both dates as typed, the designed length, the insurance line in years, months and days,
// the calendar days and the findings. The model keeps its own copy of both; views repaint when
// SetAnalysis gives it new ones.
class PeriodTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        NumberColumn,
        NameColumn,
        FromColumn,
        ToColumn,
        DesignedColumn,
        InsuranceYearsColumn,
        InsuranceMonthsColumn,
        InsuranceDaysColumn,
        CalendarDaysColumn,
        FindingsColumn,
        ColumnCount
    };

    explicit PeriodTableModel(QObject* parent = nullptr);

    // `analysis` is AnalysePeriods of `periods` as of `asOf`: one row per period.
    void SetAnalysis(IntervalList periods, PeriodAnalysis analysis, CalendarDay asOf);
    const IntervalList& periods() const { return m_periods; }
    const PeriodAnalysis& analysis() const { return m_analysis; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // Display: texts, and numbers as numbers; a period that takes no part in the insurance
    // figures shows none there. Tooltip and a warning icon on the findings of a period.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    IntervalList m_periods;
    PeriodAnalysis m_analysis;
    CalendarDay m_asOf;
    QIcon m_warning;
};
