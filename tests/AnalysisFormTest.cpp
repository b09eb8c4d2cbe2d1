// moc cannot parse the C++20 library headers that the core uses.
#ifndef Q_MOC_RUN
#include "AnalysisForm.h"
#include "CertificateDocument.h"
#include "Dateinterval.h"
#include "FundPrintout.h"
#endif

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QDate FixedToday(2024, 3, 15);

template <typename Control> Control* Find(const QWidget& form, const char* name)
{
    auto* control = form.findChild<Control*>(QString::fromLatin1(name));
    if (!control)
        qFatal("missing control: %s", name);
    return control;
}

// The analysis window with its dialogs recorded instead of shown.
struct Analysis {
    Analysis()
    {
        AnalysisDialogs dialogs;
        dialogs.showMessage = [this](QWidget*, const QString& text) { messages.append(text); };
        dialogs.pdfFileName = [this](QWidget*, const QString& suggested) {
            suggestedNames.append(suggested);
            return pdfPath;
        };
        dialogs.printPreview = [this](QWidget*, QTextDocument& document) { printed.append(document.toPlainText()); };
        form = std::make_unique<AnalysisForm>(dialogs, FixedToday);
        form->show();
        table = Find<QTableView>(*form, "PeriodTable");
        asOf = Find<QDateEdit>(*form, "AsOfDate");
        hire = Find<QLineEdit>(*form, "HireDate");
        currentJob = Find<QCheckBox>(*form, "CurrentJob");
        explanation = Find<QPlainTextEdit>(*form, "Explanation");
    }

    QString Value(const char* name) const { return Find<QLabel>(*form, name)->text(); }
    void Click(const char* button) const { QTest::mouseClick(Find<QPushButton>(*form, button), Qt::LeftButton); }
    void ClickRow(int row) const
    {
        const QRect cell = table->visualRect(table->model()->index(row, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }

    QStringList messages;
    QStringList suggestedNames;
    QStringList printed;
    QString pdfPath;
    std::unique_ptr<AnalysisForm> form;
    QTableView* table;
    QDateEdit* asOf;
    QLineEdit* hire;
    QCheckBox* currentJob;
    QPlainTextEdit* explanation;
};

// Closes whatever modal dialog is open when the check runs, so that a test fails instead of
// waiting for a person.
void CloseModalLater(std::function<void(QWidget*)> check, bool& done)
{
    QTimer::singleShot(0, [check, &done] {
        QWidget* modal = QApplication::activeModalWidget();
        check(modal);
        done = true;
        if (modal)
            modal->close();
    });
}

} // namespace

class AnalysisFormTest : public QObject {
    Q_OBJECT

private slots:
    void opensFromTheMenuAndCloses();
    void followsTheWorkingList();
    void layoutResizes();
    void fundPrintout();
    void explainsTheSelectedPeriod();
    void asOfDateHireDateAndCurrentJob();
    void copyPutsTabSeparatedText();
    void savePdf();
    void savePdfCancelledOrFailing();
    void printShowsTheCertificate();
    void standardDialogsOpenAndClose();
};

void AnalysisFormTest::opensFromTheMenuAndCloses()
{
    QTemporaryDir dir;
    TMainForm::UserDialogs dialogs;
    dialogs.today = [] { return FixedToday; };
    TMainForm main(dir.filePath(u"u.ini"_s), dialogs);
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    auto* action = Find<QAction>(main, "DetailedCalculation");
    QCOMPARE(action->text(), u"Подробный расчет..."_s);
    QCOMPARE(action->shortcut(), QKeySequence(u"Ctrl+R"_s));
    QVERIFY(Find<QMenu>(main, "File")->actions().contains(action));
    QVERIFY(!main.findChild<AnalysisForm*>());

    // The shortcut opens it from any field of the main window.
    QTest::keyClick(Find<QLineEdit>(main, "AliasEdit"), Qt::Key_R, Qt::ControlModifier);
    auto* form = main.findChild<AnalysisForm*>(u"AnalysisForm"_s);
    QVERIFY(form);
    QVERIFY(form->isVisible());
    QVERIFY(!form->isModal());
    QCOMPARE(form->windowTitle(), u"Подробный расчет стажа"_s);
    QCOMPARE(Find<QLineEdit>(*form, "HireDate")->displayText(), u"15.03.2024"_s);
    QCOMPARE(Find<QDateEdit>(*form, "AsOfDate")->date(), FixedToday);

    QTest::mouseClick(Find<QPushButton>(*form, "CloseButton"), Qt::LeftButton);
    QVERIFY(!form->isVisible());
    action->trigger();
    QCOMPARE(main.findChildren<AnalysisForm*>().size(), 1);
    QVERIFY(form->isVisible());
    QTest::keyClick(form, Qt::Key_Escape);
    QVERIFY(!form->isVisible());
}

// While it is open, the window shows the working list as it changes, and names the record it is.
void AnalysisFormTest::followsTheWorkingList()
{
    QTemporaryDir dir;
    TMainForm::UserDialogs dialogs;
    dialogs.today = [] { return FixedToday; };
    dialogs.showMessage = [](QWidget*, const QString&) {};
    TMainForm main(dir.filePath(u"u.ini"_s), dialogs);
    main.show();
    const auto add = [&](const QString& name, const QString& from, const QString& to) {
        Find<QLineEdit>(main, "AliasEdit")->setText(name);
        Find<QLineEdit>(main, "DateTimePickerFrom")->setText(from);
        Find<QLineEdit>(main, "DateTimePickerTo")->setText(to);
        QTest::mouseClick(Find<QPushButton>(main, "AddInterval"), Qt::LeftButton);
    };
    add(u"Завод"_s, u"01.07.2016"_s, u"30.06.2021"_s);
    Find<QAction>(main, "DetailedCalculation")->trigger();
    auto* form = Find<AnalysisForm>(main, "AnalysisForm");
    auto* table = Find<QTableView>(*form, "PeriodTable");
    QCOMPARE(table->model()->rowCount(), 1);
    QCOMPARE(Find<QLabel>(*form, "InsuranceTotalValue")->text(), u"5 л., 0 мес., 0 дн."_s);

    add(u"Школа"_s, u"01.01.2000"_s, u"31.12.2000"_s);
    QCOMPARE(table->model()->rowCount(), 2);
    QCOMPARE(Find<QLabel>(*form, "InsuranceTotalValue")->text(), u"6 л., 0 мес., 0 дн."_s);
    Find<QLineEdit>(main, "IncomeDate")->setText(u"01.03.2024"_s);
    QCOMPARE(Find<QLineEdit>(*form, "HireDate")->displayText(), u"01.03.2024"_s);

    // Saved and open, the list is that record; changed, it is no longer.
    Find<QLineEdit>(main, "SaveEdit")->setText(u"Иванов"_s);
    QTest::mouseClick(Find<QPushButton>(main, "SaveUserButton"), Qt::LeftButton);
    auto* saved = Find<QListView>(main, "SavedListBox");
    saved->setCurrentIndex(saved->model()->index(0, 0));
    main.SavedListBoxDblClick();
    QVERIFY(form->Certificate()->document().toPlainText().contains(u"Запись: Иванов"_s));
    add(u"Фирма"_s, u"01.01.2022"_s, u"31.12.2022"_s);
    QVERIFY(!form->Certificate()->document().toPlainText().contains(u"Запись:"_s));

    // Hidden, it is left alone.
    form->close();
    QTest::mouseClick(Find<QPushButton>(main, "ClearButton"), Qt::LeftButton);
    QCOMPARE(table->model()->rowCount(), 3);
}

void AnalysisFormTest::layoutResizes()
{
    Analysis a;
    QVERIFY(a.form->layout());
    QVERIFY(a.form->minimumSize() != a.form->maximumSize());
    const QSize before = a.table->size();
    a.form->resize(a.form->width() + 200, a.form->height() + 150);
    QTRY_VERIFY(a.table->width() > before.width());
    QVERIFY(a.table->height() > before.height());
    // Every button's text fits.
    for (QPushButton* button : a.form->findChildren<QPushButton*>())
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) < button->width(), qPrintable(button->text()));
}

void AnalysisFormTest::fundPrintout()
{
    Analysis a;
    a.form->SetPeriods(FundPrintout(), u"  .  .    "_s, QString());
    QCOMPARE(a.table->model()->rowCount(), 6);
    QCOMPARE(a.table->model()->index(2, 1).data().toString(), u"НИИ"_s);
    QCOMPARE(a.Value("DesignedTotalValue"), QString::fromUtf8(FundDesignedTotal));
    QCOMPARE(a.Value("InsuranceTotalValue"), QString::fromUtf8(FundInsuranceTotal));
    QCOMPARE(a.Value("CalendarDaysValue"), u"4288"_s);
    QCOMPARE(a.Value("OverlapDaysValue"), u"0"_s);
    auto* gaps = Find<QListWidget>(*a.form, "GapsList");
    QCOMPARE(gaps->count(), 3);
    QCOMPARE(gaps->item(0)->text(), u"с 21.10.1975 по 01.11.1975 — 12 дн."_s);
    // No hire date: the current job is not counted, the thresholds cannot be dated.
    QVERIFY(Find<QLabel>(*a.form, "CurrentJobNote")->isVisible());
    QCOMPARE(a.Value("InsuranceAsOfValue"), QString::fromUtf8(FundInsuranceTotal));
    QCOMPARE(a.Value("SickLeaveValue"), u"100 % среднего заработка"_s);
    QCOMPARE(a.Value("Threshold15Value"), u"не определить: текущая работа не учтена"_s);
    QCOMPARE(a.Value("InsuranceAsOfCaption"), u"Страховой стаж на 15.03.2024:"_s);
}

void AnalysisFormTest::explainsTheSelectedPeriod()
{
    Analysis a;
    a.form->SetPeriods(FundPrintout(), QString(), QString());
    QCOMPARE(a.explanation->toPlainText(), QString());
    QCOMPARE(a.explanation->placeholderText(), u"Выберите период в таблице."_s);

    a.ClickRow(0);
    const QString first = a.explanation->toPlainText();
    QVERIFY2(first.contains(u"Полные календарные месяцы: август 1975 – сентябрь 1975, всего 2"_s), qPrintable(first));
    QVERIFY(first.contains(u"июль 1975 — 2 дн., октябрь 1975 — 20 дн.; всего 22 дн."_s));

    QTest::keyClick(a.table, Qt::Key_Down);
    QVERIFY(a.explanation->toPlainText().startsWith(u"Период 2: 02.11.1975 – 04.11.1977."_s));

    // A new count keeps the selected period and its explanation.
    a.asOf->setDate(QDate(2023, 1, 1));
    QCOMPARE(a.table->currentIndex().row(), 1);
    QVERIFY(a.explanation->toPlainText().startsWith(u"Период 2:"_s));
    // A shorter list drops it.
    const IntervalList fund = FundPrintout();
    a.form->SetPeriods(IntervalList(fund.begin(), fund.begin() + 1), QString(), QString());
    QCOMPARE(a.explanation->toPlainText(), QString());
}

// The "as of" date, the hire date and whether the current job counts drive the sick-leave
// percentage and the threshold dates.
void AnalysisFormTest::asOfDateHireDateAndCurrentJob()
{
    Analysis a;
    // 5 years of insurance service exactly, before the hire date.
    a.form->SetPeriods({Interval("p", MDate("01.07.2016"), MDate("30.06.2021"))}, u"01.07.2021"_s, QString());
    QVERIFY(!Find<QLabel>(*a.form, "CurrentJobNote")->isVisible());
    QCOMPARE(a.Value("InsuranceTotalValue"), u"5 л., 0 мес., 0 дн."_s);
    QCOMPARE(a.Value("Threshold5Value"), u"достигнут до даты приема"_s);
    // The current job, 01.07.2021 to 15.03.2024: 2 y 8 m 15 d, and 8 years after 3 years of it.
    QCOMPARE(a.Value("InsuranceAsOfValue"), u"7 л., 8 мес., 15 дн."_s);
    QCOMPARE(a.Value("SickLeaveValue"), u"80 % среднего заработка"_s);
    QCOMPARE(a.Value("Threshold8Value"), u"30.06.2024"_s);
    QCOMPARE(a.Value("Threshold15Value"), u"30.06.2031"_s);

    a.asOf->setDate(QDate(2024, 6, 30));
    QCOMPARE(a.Value("InsuranceAsOfCaption"), u"Страховой стаж на 30.06.2024:"_s);
    QCOMPARE(a.Value("InsuranceAsOfValue"), u"8 л., 0 мес., 0 дн."_s);
    QCOMPARE(a.Value("SickLeaveValue"), u"100 % среднего заработка"_s);

    a.currentJob->click();
    QCOMPARE(a.Value("InsuranceAsOfValue"), u"5 л., 0 мес., 0 дн."_s);
    QCOMPARE(a.Value("SickLeaveValue"), u"80 % среднего заработка"_s);
    QCOMPARE(a.Value("Threshold8Value"), u"не определить: текущая работа не учтена"_s);
    QVERIFY(!Find<QLabel>(*a.form, "CurrentJobNote")->isVisible());
    a.currentJob->click();

    // A hire date typed in this window counts here alone.
    a.hire->selectAll();
    QTest::keyClicks(a.hire, u"01012024"_s);
    QCOMPARE(a.hire->displayText(), u"01.01.2024"_s);
    // 35 whole months and 30 days of December: 30 days make a month.
    QCOMPARE(a.Value("Threshold8Value"), u"30.12.2026"_s);
    a.hire->selectAll();
    QTest::keyClicks(a.hire, u"31022024"_s);
    QVERIFY(Find<QLabel>(*a.form, "CurrentJobNote")->isVisible());
    QCOMPARE(a.Value("SickLeaveValue"), u"80 % среднего заработка"_s);
}

void AnalysisFormTest::copyPutsTabSeparatedText()
{
    Analysis a;
    a.form->SetPeriods({Interval("A\tB", MDate("01.01.2020"), MDate("31.12.2020")),
                           Interval("C", MDate("01.06.2020"), MDate("31.08.2021")),
                           Interval("D", MDate("31.02.2022"), MDate("01.03.2022"))},
        u"  .  .    "_s, QString());
    QGuiApplication::clipboard()->clear();
    a.Click("CopyButton");
    const QString expected
        = u"№\tНазвание\tНачало\tКонец\tСовокупный стаж\tСтраховой: лет\tСтраховой: мес.\tСтраховой: дн.\t"
          u"Календарных дней\tЗамечания\n"
          u"1\tA B\t01.01.2020\t31.12.2020\t1 л., 0 мес., 0 дн.\t1\t0\t0\t366\tПересекается с периодом 2 на 214 дн.\n"
          u"2\tC\t01.06.2020\t31.08.2021\t1 л., 3 мес., 0 дн.\t1\t3\t0\t457\tПересекается с периодом 1 на 214 дн.\n"
          u"3\tD\t31.02.2022\t01.03.2022\t2 дн.\t\t\t\t\tДата начала 31.02.2022 не существует в календаре, "
          u"период не входит в страховой стаж\n"
          u"\n"
          u"Совокупный стаж\t2 л., 3 мес., 3 дн.\n"
          u"Страховой стаж\t1 л., 8 мес., 0 дн.\n"
          u"Календарных дней\t609\n"
          u"Дней в пересечениях (учтены один раз)\t214\n"
          u"Перерывы\tнет\n"
          u"Страховой стаж на 15.03.2024\t1 л., 8 мес., 0 дн.\n"
          u"Пособие по болезни\t60 % среднего заработка\n"
          u"5 лет стажа\tне определить: текущая работа не учтена\n"
          u"8 лет стажа\tне определить: текущая работа не учтена\n"
          u"15 лет стажа\tне определить: текущая работа не учтена\n"_s;
    const QString copied = QGuiApplication::clipboard()->text();
    QCOMPARE(copied.split(u'\n'), expected.split(u'\n'));
}

void AnalysisFormTest::savePdf()
{
    const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
    QVERIFY2(!pdftotext.isEmpty(), "pdftotext (poppler-utils) is not installed: run scripts/deps.sh");
    QTemporaryDir dir;
    Analysis a;
    a.pdfPath = dir.filePath(u"справка.pdf"_s);
    a.form->SetPeriods(FundPrintout(), u"01.10.2000"_s, u"Иванов"_s);
    a.Click("SavePdfButton");
    QVERIFY(a.messages.isEmpty());
    QCOMPARE(a.suggestedNames.size(), 1);
    QVERIFY(a.suggestedNames.first().endsWith(u"Иванов.pdf"_s));

    QFile pdf(a.pdfPath);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
    QProcess process;
    process.start(pdftotext, {u"-layout"_s, a.pdfPath, u"-"_s});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    const QString text = QString::fromUtf8(process.readAllStandardOutput()).simplified();
    for (const QString& expected : {u"Расчет страхового стажа"_s, u"Запись: Иванов"_s, u"Дата расчета: 15.03.2024"_s,
             u"Кооператив"_s, u"30.07.1975"_s, u"08.09.2000"_s, u"Страховой стаж: 11 л., 8 мес., 28 дн."_s,
             u"Совокупный стаж: 11 л., 8 мес., 25 дн."_s, u"585н"_s, u"255-ФЗ"_s})
        QVERIFY2(text.contains(expected), qPrintable(expected + u" missing from: "_s + text));
    for (const FundLine& line : FundLines)
        QVERIFY2(text.contains(QString::fromUtf8(line.name)), line.name);
}

void AnalysisFormTest::savePdfCancelledOrFailing()
{
    QTemporaryDir dir;
    Analysis a;
    a.form->SetPeriods(FundPrintout(), QString(), QString());
    a.pdfPath.clear(); // the dialog was cancelled
    a.Click("SavePdfButton");
    QVERIFY(a.suggestedNames.first().endsWith(u"Справка о стаже.pdf"_s));
    QVERIFY(a.messages.isEmpty());
    QVERIFY(QDir(dir.path()).isEmpty());

    a.pdfPath = dir.filePath(u"нет такой папки/справка.pdf"_s);
    a.Click("SavePdfButton");
    QCOMPARE(a.messages.size(), 1);
    QVERIFY2(a.messages.first().startsWith(u"Не удалось записать файл "_s + QDir::toNativeSeparators(a.pdfPath)),
        qPrintable(a.messages.first()));
    QVERIFY(!QFile::exists(a.pdfPath));
}

void AnalysisFormTest::printShowsTheCertificate()
{
    Analysis a;
    a.form->SetPeriods(FundPrintout(), u"01.10.2000"_s, QString());
    a.Click("PrintButton");
    QCOMPARE(a.printed.size(), 1);
    const QString& text = a.printed.first();
    QVERIFY(text.contains(u"Расчет страхового стажа"_s));
    QVERIFY(!text.contains(u"Запись:"_s));
    QVERIFY(text.contains(u"Трест"_s));
    QVERIFY(text.contains(u"Дата приема на текущую работу: 01.10.2000"_s));
}

// The real file dialog and print preview open as modal dialogs, and close.
void AnalysisFormTest::standardDialogsOpenAndClose()
{
    QTemporaryDir dir;
    bool done = false;
    CloseModalLater(
        [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), u"Сохранить справку в PDF"_s);
            QVERIFY(dialog->nameFilters().contains(u"Документ PDF (*.pdf)"_s));
        },
        done);
    QCOMPARE(AskPdfFileName(nullptr, dir.filePath(u"a.pdf"_s)), QString());
    QVERIFY(done);

    done = false;
    QTextDocument document(u"Расчет страхового стажа"_s);
    CloseModalLater([&](QWidget* modal) { QVERIFY(qobject_cast<QPrintPreviewDialog*>(modal)); }, done);
    ShowPrintPreview(nullptr, document);
    QVERIFY(done);
}

QTEST_MAIN(AnalysisFormTest)
#include "AnalysisFormTest.moc"
