// moc cannot parse the C++20 library headers that the core uses.
#ifndef Q_MOC_RUN
#include "PeriodTableModel.h"
#include "FundPrintout.h"
#include "Win1251.h"
#endif

#include <QIcon>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace std::chrono;

namespace {

const CalendarDay AsOf = sys_days{2024y / March / 15};

QVariant Cell(const PeriodTableModel& model, int row, int column, int role = Qt::DisplayRole)
{
    return model.data(model.index(row, column), role);
}

} // namespace

class PeriodTableModelTest : public QObject {
    Q_OBJECT

private slots:
    void headers();
    void fundPrintoutRows();
    void fundPrintoutTotals();
    void findings_data();
    void findings();
    void periodOutsideTheInsuranceCount();
    void newAnalysisResetsTheViews();
};

void PeriodTableModelTest::headers()
{
    PeriodTableModel model;
    QCOMPARE(model.columnCount(), 10);
    QCOMPARE(model.rowCount(), 0);
    QStringList headers;
    for (int column = 0; column < model.columnCount(); ++column)
        headers.append(model.headerData(column, Qt::Horizontal).toString());
    QCOMPARE(headers,
        (QStringList{u"№"_s, u"Название"_s, u"Начало"_s, u"Конец"_s, u"Совокупный стаж"_s, u"Страховой: лет"_s,
            u"Страховой: мес."_s, u"Страховой: дн."_s, u"Календарных дней"_s, u"Замечания"_s}));
    QVERIFY(!model.headerData(model.columnCount(), Qt::Horizontal).isValid());
}

// Each line of the Fund's printout, as the Fund prints it, beside the designed length.
void PeriodTableModelTest::fundPrintoutRows()
{
    const IntervalList periods = FundPrintout();
    PeriodTableModel model;
    model.SetAnalysis(periods, AnalysePeriods(periods, "", AsOf), AsOf);
    QCOMPARE(model.rowCount(), 6);
    for (int row = 0; row < model.rowCount(); ++row) {
        const FundLine& line = FundLines[static_cast<std::size_t>(row)];
        const QByteArray name = line.name;
        QCOMPARE(Cell(model, row, PeriodTableModel::NumberColumn), QVariant(row + 1));
        QCOMPARE(Cell(model, row, PeriodTableModel::NameColumn).toString(), QString::fromUtf8(line.name));
        QCOMPARE(Cell(model, row, PeriodTableModel::FromColumn).toString(), QString::fromLatin1(line.from));
        QCOMPARE(Cell(model, row, PeriodTableModel::ToColumn).toString(), QString::fromLatin1(line.to));
        QCOMPARE(Cell(model, row, PeriodTableModel::DesignedColumn).toString(), QString::fromUtf8(line.designed));
        QCOMPARE(Cell(model, row, PeriodTableModel::InsuranceYearsColumn).toInt(), line.years);
        QCOMPARE(Cell(model, row, PeriodTableModel::InsuranceMonthsColumn).toInt(), line.months);
        QCOMPARE(Cell(model, row, PeriodTableModel::InsuranceDaysColumn).toInt(), line.days);
        QCOMPARE(Cell(model, row, PeriodTableModel::CalendarDaysColumn).toInt(), line.calendarDays);
        QCOMPARE(Cell(model, row, PeriodTableModel::FindingsColumn).toString(), QString());
        QVERIFY2(!Cell(model, row, PeriodTableModel::FindingsColumn, Qt::DecorationRole).isValid(), name);
        // Numbers stand right, as in a spreadsheet; texts left.
        QCOMPARE(Cell(model, row, PeriodTableModel::InsuranceDaysColumn, Qt::TextAlignmentRole)
                     .value<Qt::Alignment>()
                     .testFlag(Qt::AlignRight),
            true);
        QCOMPARE(Cell(model, row, PeriodTableModel::NameColumn, Qt::TextAlignmentRole)
                     .value<Qt::Alignment>()
                     .testFlag(Qt::AlignLeft),
            true);

        const InsuranceLine& insurance = *model.analysis().rows[static_cast<std::size_t>(row)].insurance;
        QCOMPARE(insurance.wholeMonths, line.wholeMonths);
        QCOMPARE(insurance.partialDays, line.partialDays);
    }
    QVERIFY(!model.index(6, 0).isValid());
    QVERIFY(!Cell(model, 0, PeriodTableModel::ColumnCount).isValid());
}

void PeriodTableModelTest::fundPrintoutTotals()
{
    const IntervalList periods = FundPrintout();
    PeriodTableModel model;
    model.SetAnalysis(periods, AnalysePeriods(periods, "", AsOf), AsOf);
    const PeriodAnalysis& analysis = model.analysis();
    QCOMPARE(analysis.insuranceTotal.years, 11);
    QCOMPARE(analysis.insuranceTotal.months, 8);
    QCOMPARE(analysis.insuranceTotal.days, 28);
    QCOMPARE(QString::fromStdString(analysis.designedTotalText), QString::fromStdString(Win1251(FundDesignedTotal)));
    QCOMPARE(analysis.calendarDays, 83 + 734 + 1826 + 880 + 438 + 327);
    QCOMPARE(analysis.overlapDays, 0);
    QCOMPARE(analysis.gaps.size(), std::size_t(3));
}

void PeriodTableModelTest::findings_data()
{
    QTest::addColumn<QStringList>("dates"); // from, to, from, to...
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("finding");
    QTest::newRow("start not real") << QStringList{u"31.02.2020"_s, u"31.03.2020"_s} << 0
                                    << u"Дата начала 31.02.2020 не существует в календаре"_s;
    QTest::newRow("end untouched") << QStringList{u"01.01.2020"_s, u"  .  .    "_s} << 0
                                   << u"Дата окончания   .  .     не существует в календаре"_s;
    QTest::newRow("end before start") << QStringList{u"31.12.2020"_s, u"01.01.2020"_s} << 0
                                      << u"Конец периода раньше начала"_s;
    QTest::newRow("in the future") << QStringList{u"01.01.2024"_s, u"31.12.2024"_s} << 0
                                   << u"Дата периода позже даты расчета 15.03.2024"_s;
    QTest::newRow("overlap") << QStringList{u"01.01.2020"_s, u"31.12.2020"_s, u"01.06.2020"_s, u"31.08.2021"_s} << 1
                             << u"Пересекается с периодом 1 на 214 дн."_s;
}

// A period with a finding says so in its findings cell, its tooltip, and with a warning icon.
void PeriodTableModelTest::findings()
{
    QFETCH(QStringList, dates);
    QFETCH(int, row);
    QFETCH(QString, finding);
    IntervalList periods;
    for (qsizetype i = 0; i + 1 < dates.size(); i += 2)
        periods.emplace_back("p", MDate(dates[i].toStdString()), MDate(dates[i + 1].toStdString()));
    PeriodTableModel model;
    model.SetAnalysis(periods, AnalysePeriods(periods, "", AsOf), AsOf);

    QVERIFY2(Cell(model, row, PeriodTableModel::FindingsColumn).toString().contains(finding),
        qPrintable(Cell(model, row, PeriodTableModel::FindingsColumn).toString()));
    QVERIFY(Cell(model, row, PeriodTableModel::FindingsColumn, Qt::ToolTipRole).toString().contains(finding));
    QVERIFY(!Cell(model, row, PeriodTableModel::FindingsColumn, Qt::DecorationRole).value<QIcon>().isNull());
    // The other cells of the row carry no tooltip or icon of their own.
    QVERIFY(!Cell(model, row, PeriodTableModel::NameColumn, Qt::DecorationRole).isValid());
}

void PeriodTableModelTest::periodOutsideTheInsuranceCount()
{
    const IntervalList periods{Interval("p", MDate("31.02.2020"), MDate("31.03.2020"))};
    PeriodTableModel model;
    model.SetAnalysis(periods, AnalysePeriods(periods, "", AsOf), AsOf);
    QCOMPARE(Cell(model, 0, PeriodTableModel::DesignedColumn).toString(), u"1 мес., 1 дн."_s);
    for (const int column : {PeriodTableModel::InsuranceYearsColumn, PeriodTableModel::InsuranceMonthsColumn,
             PeriodTableModel::InsuranceDaysColumn, PeriodTableModel::CalendarDaysColumn})
        QVERIFY2(!Cell(model, 0, column).isValid(), qPrintable(model.headerData(column, Qt::Horizontal).toString()));
}

void PeriodTableModelTest::newAnalysisResetsTheViews()
{
    PeriodTableModel model;
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    const IntervalList periods = FundPrintout();
    model.SetAnalysis(periods, AnalysePeriods(periods, "", AsOf), AsOf);
    QCOMPARE(reset.count(), 1);
    model.SetAnalysis({}, AnalysePeriods({}, "", AsOf), AsOf);
    QCOMPARE(reset.count(), 2);
    QCOMPARE(model.rowCount(), 0);
}

QTEST_MAIN(PeriodTableModelTest)
#include "PeriodTableModelTest.moc"
