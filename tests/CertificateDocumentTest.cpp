// moc cannot parse the C++20 library headers that the core uses.
#ifndef Q_MOC_RUN
#include "CertificateDocument.h"
#include "FundPrintout.h"
#include "Win1251.h"
#endif

#include <QPageSize>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace std::chrono;

namespace {

const CalendarDay AsOf = sys_days{2024y / March / 15};

QString Run(const QString& program, const QStringList& arguments)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return u"<"_s + program + u" (poppler-utils) is not installed: run scripts/deps.sh>"_s;
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return u"<"_s + program + u" failed>"_s;
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class CertificateDocumentTest : public QObject {
    Q_OBJECT

private slots:
    void holdsEverythingHrFiles();
    void withoutRecordOrHireDate();
    void namesAreNotMarkup();
    void pdfIsA4AndReadable();
    void pdfToAFolderThatIsNotThere();
};

void CertificateDocumentTest::holdsEverythingHrFiles()
{
    const IntervalList periods = FundPrintout();
    const PeriodAnalysis analysis = AnalysePeriods(periods, "01.10.2000", AsOf);
    const CertificateDocument certificate(periods, analysis, {u"Иванов И. И."_s, AsOf, u"01.10.2000"_s});
    const QString text = certificate.document().toPlainText();
    QVERIFY(text.startsWith(u"Расчет страхового стажа"_s));
    for (const QString& expected : {u"Запись: Иванов И. И."_s, u"Дата расчета: 15.03.2024"_s,
             u"Дата приема на текущую работу: 01.10.2000"_s, u"Страховой стаж: 11 л., 8 мес., 28 дн."_s,
             u"Совокупный стаж: 11 л., 8 мес., 25 дн."_s, u"Социальный фонд"_s, u"№ 585н"_s, u"№ 1015"_s,
             u"30,4368499"_s, u"Перерывы между периодами: с 21.10.1975 по 01.11.1975 — 12 дн."_s, u"255-ФЗ"_s,
             u"Пособие по временной нетрудоспособности: 100 % среднего заработка"_s,
             u"5 лет страхового стажа: достигнут до даты приема"_s, u"15 лет страхового стажа: "_s})
        QVERIFY2(text.contains(expected), qPrintable(expected));

    // One table: a header, a row per period with both lengths, and the totals row.
    const QString html = certificate.document().toHtml();
    QCOMPARE(html.count(u"<table"_s), 1);
    for (const FundLine& line : FundLines) {
        for (const char* cell : {line.name, line.from, line.to, line.designed})
            QVERIFY2(text.contains(QString::fromUtf8(cell)), cell);
        QVERIFY(text.contains(QString::number(line.calendarDays)));
    }
    QVERIFY(text.contains(u"Итого"_s));
}

void CertificateDocumentTest::withoutRecordOrHireDate()
{
    const PeriodAnalysis analysis = AnalysePeriods({}, "  .  .    ", AsOf);
    const CertificateDocument certificate({}, analysis, {QString(), AsOf, u"  .  .    "_s});
    const QString text = certificate.document().toPlainText();
    QVERIFY(!text.contains(u"Запись:"_s));
    QVERIFY(!text.contains(u"Дата приема"_s));
    QVERIFY(text.contains(u"Периодов нет."_s));
    QVERIFY(text.contains(u"Страховой стаж на 15.03.2024 без текущей работы: 0 дн."_s));
    QVERIFY(text.contains(u"60 % среднего заработка, не больше МРОТ"_s));
    QVERIFY(text.contains(u"8 лет страхового стажа: не определить: текущая работа не учтена"_s));
}

void CertificateDocumentTest::namesAreNotMarkup()
{
    const IntervalList periods{
        Interval(Win1251("<b>ООО \"Рога & копыта\"</b>"), MDate("01.01.2020"), MDate("31.12.2020"))};
    const CertificateDocument certificate(periods, AnalysePeriods(periods, "", AsOf), {u"<i>Петров</i>"_s, AsOf, {}});
    const QString text = certificate.document().toPlainText();
    QVERIFY(text.contains(u"<b>ООО \"Рога & копыта\"</b>"_s));
    QVERIFY(text.contains(u"Запись: <i>Петров</i>"_s));
}

void CertificateDocumentTest::pdfIsA4AndReadable()
{
    const IntervalList periods = FundPrintout();
    const CertificateDocument certificate(
        periods, AnalysePeriods(periods, "01.10.2000", AsOf), {u"Иванов"_s, AsOf, u"01.10.2000"_s});
    QTemporaryDir dir;
    const QString path = dir.filePath(u"справка.pdf"_s);
    QString error;
    QVERIFY2(certificate.SavePdf(path, &error), qPrintable(error));

    const QString info = Run(u"pdfinfo"_s, {path});
    QVERIFY2(info.contains(u"(A4)"_s), qPrintable(info));
    QVERIFY2(info.contains(u"Расчет страхового стажа"_s), qPrintable(info)); // the title
    const QString text = Run(u"pdftotext"_s, {path, u"-"_s}).simplified();
    for (const QString& expected : {u"Расчет страхового стажа"_s, u"Запись: Иванов"_s, u"Трест"_s, u"Банк"_s,
             u"18.10.1999"_s, u"Страховой стаж: 11 л., 8 мес., 28 дн."_s, u"Совокупный стаж: 11 л., 8 мес., 25 дн."_s})
        QVERIFY2(text.contains(expected), qPrintable(expected + u" missing from: "_s + text));
}

void CertificateDocumentTest::pdfToAFolderThatIsNotThere()
{
    const CertificateDocument certificate({}, AnalysePeriods({}, "", AsOf), {QString(), AsOf, {}});
    QTemporaryDir dir;
    const QString path = dir.filePath(u"нет/справка.pdf"_s);
    QString error;
    QVERIFY(!certificate.SavePdf(path, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(CertificateDocumentTest)
#include "CertificateDocumentTest.moc"
