#include "About.h"
#include "ChildProcess.h"
#include "Dateinterval.h"
#include "Win1251.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString Blank = u"  .  .    "_s;

// The day the test windows take for today, so that no result depends on when the tests run.
const QDate FixedToday(2024, 3, 15);

QString Today()
{
    return FixedToday.toString(u"dd.MM.yyyy"_s);
}

template <typename Control> Control* Find(const QWidget& form, const char* name)
{
    auto* control = form.findChild<Control*>(QString::fromLatin1(name));
    if (!control)
        qFatal("missing control: %s", name);
    return control;
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray Ansi(const char* utf8)
{
    return QByteArray::fromStdString(Win1251(utf8));
}

// The lines a list shows, as its model gives them to the view.
QStringList Lines(const QAbstractItemView* list)
{
    QStringList lines;
    for (int i = 0; i < list->model()->rowCount(); ++i)
        lines.append(list->model()->index(i, 0).data().toString());
    return lines;
}

int Count(const QAbstractItemView* list)
{
    return list->model()->rowCount();
}

int SelectedRow(const QAbstractItemView* list)
{
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

// Types a text key by key; QTest::keyClicks knows Latin-1 only.
void TypeText(QWidget* control, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(control, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, control, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
}

// Replaces the text of an edit as a person does: select all, type over it.
void TypeInto(QLineEdit* edit, const QString& text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        TypeText(edit, text);
}

// Pastes a text over the whole text of an edit, as a person does with Ctrl+A, Ctrl+V.
void Paste(QLineEdit* edit, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

// Presses Alt and a letter of the Russian layout in a control.
void AltKey(QWidget* control, QChar letter)
{
    QTest::sendKeyEvent(QTest::Click, control, Qt::Key(letter.toUpper().unicode()), QString(letter), Qt::AltModifier);
}

// The main window over a data file, shown offscreen, with its message boxes recorded instead
// of shown; the controls are found by their names.
struct Window {
    explicit Window(const QString& dataFile)
        : Window(DataFileLocation{dataFile, dataFile, {}})
    {
    }

    explicit Window(const DataFileLocation& location)
    {
        TMainForm::UserDialogs dialogs;
        dialogs.showMessage = [this](QWidget*, const QString& text) {
            messages.append(text);
            if (onMessage)
                onMessage(text);
        };
        dialogs.askRetrySave = [this](QWidget*, const QString& text) {
            retryPrompts.append(text);
            return answerRetry ? answerRetry() : false;
        };
        dialogs.today = [] { return FixedToday; };
        dialogs.askRetryLock = [this](QWidget*, const QString& text) {
            lockPrompts.append(text);
            return answerRetryLock ? answerRetryLock() : false;
        };
        // Another window holding the file is noticed quickly, so that no test waits long.
        dialogs.lockWait = std::chrono::milliseconds(100);
        form = std::make_unique<TMainForm>(location, dialogs);
        AliasEdit = Find<QLineEdit>(*form, "AliasEdit");
        DateTimePickerFrom = Find<QLineEdit>(*form, "DateTimePickerFrom");
        DateTimePickerTo = Find<QLineEdit>(*form, "DateTimePickerTo");
        AddInterval = Find<QPushButton>(*form, "AddInterval");
        UpdateInterval = Find<QPushButton>(*form, "UpdateInterval");
        IntervalsListBox = Find<QListWidget>(*form, "IntervalsListBox");
        ClearButton = Find<QPushButton>(*form, "ClearButton");
        TotalIntervalValue = Find<QLabel>(*form, "TotalIntervalValue");
        SelectedIntervalLabel = Find<QLabel>(*form, "SelectedIntervalLabel");
        SelectedIntervalValue = Find<QLabel>(*form, "SelectedIntervalValue");
        IncomeDate = Find<QLineEdit>(*form, "IncomeDate");
        UnbrokenDate = Find<QLabel>(*form, "UnbrokenDate");
        UnbrokenDateUpdateButton = Find<QPushButton>(*form, "UnbrokenDateUpdateButton");
        SavedListBox = Find<QListView>(*form, "SavedListBox");
        SaveEdit = Find<QLineEdit>(*form, "SaveEdit");
        SaveUserButton = Find<QPushButton>(*form, "SaveUserButton");
        form->show();
        if (!QTest::qWaitForWindowActive(form.get()))
            qWarning("the main window did not become active");
    }

    void AddPeriod(const QString& name, const QString& from, const QString& to)
    {
        TypeInto(AliasEdit, name);
        TypeInto(DateTimePickerFrom, from);
        TypeInto(DateTimePickerTo, to);
        QTest::mouseClick(AddInterval, Qt::LeftButton);
    }

    void ClickLine(QAbstractItemView* list, int row)
    {
        const QRect line = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
    }

    void DoubleClickLine(QAbstractItemView* list, int row)
    {
        const QRect line = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line.center());
    }

    void SaveAs(const QString& name)
    {
        TypeInto(SaveEdit, name);
        QTest::mouseClick(SaveUserButton, Qt::LeftButton);
    }

    void Close() { form->close(); }

    QStringList messages;
    QStringList retryPrompts;
    QStringList lockPrompts;
    std::function<bool()> answerRetryLock;
    std::function<void(const QString&)> onMessage;
    std::function<bool()> answerRetry;
    std::unique_ptr<TMainForm> form;

    QLineEdit* AliasEdit;
    QLineEdit* DateTimePickerFrom;
    QLineEdit* DateTimePickerTo;
    QPushButton* AddInterval;
    QPushButton* UpdateInterval;
    QListWidget* IntervalsListBox;
    QPushButton* ClearButton;
    QLabel* TotalIntervalValue;
    QLabel* SelectedIntervalLabel;
    QLabel* SelectedIntervalValue;
    QLineEdit* IncomeDate;
    QLabel* UnbrokenDate;
    QPushButton* UnbrokenDateUpdateButton;
    QListView* SavedListBox;
    QLineEdit* SaveEdit;
    QPushButton* SaveUserButton;
};

// Lowers the largest file this process may write, so that a write of the data file fails
// with "File too large" even for root; restored when it goes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() { Lift(); }
    bool active() const { return m_active; }
    void Lift()
    {
        if (!m_active)
            return;
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
        m_active = false;
    }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
    bool m_active = false;
};

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void windowFrame();
    void controls_data();
    void controls();
    void tabSequence();
    void accessibility();
    void startUp();
    void defaultDataFileBesideTheExecutable();

    void roadOfTypicalEvent();
    void emptyFieldsGiveABlankPeriod();
    void selectionFillsReadOutsAndFields();
    void everyChangeDropsTheSelection_data();
    void everyChangeDropsTheSelection();
    void updateReplacesTheSelectedPeriod();
    void updateWithoutSelection();
    void deleteKey_data();
    void deleteKey();
    void clearOnEmptyList();
    void hireDateDrivesTheUnbrokenDate();
    void periodNamesWithSeparatorsAreRefused_data();
    void periodNamesWithSeparatorsAreRefused();

    void pastedLineBreaksAreRefused();
    void charactersTheFileCannotCarryNeverEnter_data();
    void charactersTheFileCannotCarryNeverEnter();
    void saveMessages_data();
    void saveMessages();
    void savedNamesAreKeptAsTyped();
    void openRecord();
    void openMissingRecord();
    void deleteRecord_data();
    void deleteRecord();
    void restartRoundTrip();
    void bytesOnDisk();
    void duplicateLinesInTheFile();
    void failedWriteAtClose_data();
    void failedWriteAtClose();
    void unreadableFileIsLeftAlone();
    void folderWithCyrillicAndBlanks();
    void twoWindowsOnOneFile_data();
    void twoWindowsOnOneFile();
    void bothWindowsChangedOneRecord();
    void anotherWindowHoldsTheFile();
    void programFolderNotWritable();
    void pathThroughAFileIsNoFirstStart();
    void skippedLinesAreBackedUp_data();
    void skippedLinesAreBackedUp();
    void quitSignalClosesTheWindow_data();
    void quitSignalClosesTheWindow();

    void keyboardOnlyEntry();
    void shiftEnterMovesForward();
    void enterInHireDateThenOnRecalculate();
    void enterInPeriodListDoesNothing();
    void aboutMenuShowsTheAboutWindow();
    void standardDialogs();

    void editMenu();
    void editMenuCommandsByKeyboard();
    void enterOpensTheSelectedRecord();
    void altKeysOfCaptionsAndButtons();
    void undoRecordChanges_data();
    void undoRecordChanges();
    void undoWorkingListChanges();
    void ctrlZInATextFieldIsTheFieldsOwn();
    void insuranceReadOutControls();
    void insuranceReadOutsFollowEveryChange();
    void findingsMarkTheirLines_data();
    void findingsMarkTheirLines();
    void staleUnbrokenDateIsGreyed();
};

void MainFormTest::windowFrame()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    QCOMPARE(w.form->windowTitle(), u"Калмир 1.0.1"_s);
    QCOMPARE(w.form->centralWidget()->size(), QSize(686, 250));
    QCOMPARE(w.form->minimumSize(), w.form->maximumSize());
    QVERIFY(!w.form->windowIcon().pixmap(32).isNull());

    const auto* menu = Find<QMenuBar>(*w.form, "MainMenu");
    QCOMPARE(w.form->menuBar(), menu);
    const auto* file = Find<QMenu>(*w.form, "File");
    QCOMPARE(file->title(), u"Файл"_s);
    const auto* about = Find<QAction>(*w.form, "About");
    QCOMPARE(about->text(), u"О программе"_s);
    QVERIFY(file->actions().contains(about));
}

void MainFormTest::controls_data()
{
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("pixels");

    const auto row = [](const char* name, const char* parent, QRect bounds, const QString& text = {}, bool bold = false,
                         int pixels = 11) {
        QTest::newRow(name) << QString::fromLatin1(parent) << bounds << text << bold << pixels;
    };
    row("ParamsGroupBox", "Client", {6, 6, 489, 45});
    row("AliasLabel", "ParamsGroupBox", {3, 3, 58, 13}, u"Название:"_s, true);
    row("AliasEdit", "ParamsGroupBox", {3, 20, 129, 21});
    row("DateFromLabel", "ParamsGroupBox", {136, 3, 46, 13}, u"Начало:"_s, true);
    row("DateTimePickerFrom", "ParamsGroupBox", {136, 20, 82, 21}, Blank, false, 13);
    row("DateToLabel", "ParamsGroupBox", {220, 3, 39, 13}, u"Конец:"_s, true);
    row("DateTimePickerTo", "ParamsGroupBox", {220, 20, 82, 21}, Blank, false, 13);
    row("AddInterval", "ParamsGroupBox", {308, 20, 102, 21}, u"Добавить"_s);
    row("UpdateInterval", "Client", {423, 26, 63, 21}, u"Обновить"_s);
    row("IntervalsListBox", "Client", {9, 53, 299, 178});
    row("ClearButton", "Client", {9, 232, 299, 15}, u"Очистить"_s);
    row("CalculatingGroupBox", "Client", {314, 53, 183, 194}, u"Расчет"_s);
    row("TotalIntervalLabel", "CalculatingGroupBox", {4, 14, 109, 13}, u"Совокупный стаж:"_s, true);
    row("TotalIntervalValue", "CalculatingGroupBox", {7, 31, 0, 16}, u"0 дн."_s, false, 13);
    row("SelectedIntervalLabel", "CalculatingGroupBox", {4, 51, 0, 13}, {}, true);
    row("SelectedIntervalValue", "CalculatingGroupBox", {7, 71, 0, 16}, {}, false, 13);
    row("UnBrokenLabel", "CalculatingGroupBox", {4, 152, 140, 13}, u"Дата непрерывного стажа:"_s);
    row("IncomeDate", "CalculatingGroupBox", {4, 169, 78, 21}, Today(), false, 13);
    row("UnbrokenDate", "CalculatingGroupBox", {88, 174, 0, 16}, Today(), true);
    row("UnbrokenDateUpdateButton", "CalculatingGroupBox", {156, 166, 25, 25}, u"@"_s);
    row("SavedGroupBox", "Client", {499, 0, 179, 247}, u"Сохраненные"_s);
    row("SavedListBox", "SavedGroupBox", {3, 16, 172, 198});
    row("SaveEdit", "SavedGroupBox", {3, 215, 143, 21});
    row("SaveUserButton", "SavedGroupBox", {147, 215, 28, 21}, u"+"_s, false, 19);
}

// Every control stands where the layout puts it, with its text and font. A label is as wide as
// its text (at least as wide as the layout gives it), so a wider fallback font cuts no text.
void MainFormTest::controls()
{
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    QFETCH(QString, parent);
    QFETCH(QRect, bounds);
    QFETCH(QString, text);
    QFETCH(bool, bold);
    QFETCH(int, pixels);

    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    auto* control = w.form->findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(u"missing: "_s + name));
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->font().pixelSize(), pixels);
    QCOMPARE(control->font().bold(), bold);
    QVERIFY(control->font().families().contains(u"Tahoma"_s));

    if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->text(), text);
        QCOMPARE(label->pos(), bounds.topLeft());
        QCOMPARE(label->height(), bounds.height());
        QVERIFY(label->width() >= bounds.width());
        QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(text), "text cut");
        QVERIFY2(label->geometry().right() < label->parentWidget()->width(), "label leaves its parent");
        return;
    }
    QCOMPARE(control->geometry(), bounds);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        QCOMPARE(edit->displayText(), text);
    else if (auto* button = qobject_cast<QPushButton*>(control)) {
        QCOMPARE(button->text(), text);
        QVERIFY2(button->fontMetrics().horizontalAdvance(text) <= button->width() - 4, "text cut");
    } else if (auto* box = qobject_cast<QGroupBox*>(control))
        QCOMPARE(box->title(), text);
}

void MainFormTest::tabSequence()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    QCOMPARE(QApplication::focusWidget(), w.IncomeDate);

    const QStringList expected{u"UnbrokenDateUpdateButton"_s, u"AliasEdit"_s, u"DateTimePickerFrom"_s,
        u"DateTimePickerTo"_s, u"AddInterval"_s, u"IntervalsListBox"_s, u"IncomeDate"_s};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(visited, expected);

    for (const char* noStop : {"UpdateInterval", "ClearButton", "SavedListBox", "SaveEdit", "SaveUserButton"})
        QCOMPARE(Find<QWidget>(*w.form, noStop)->focusPolicy(), Qt::ClickFocus);
    QTest::mouseClick(w.SaveEdit, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), w.SaveEdit);
}

// What a screen reader says for each control: what the control is or does, then what it holds;
// an empty read-out or date field says "пусто", not nothing or the separators of its mask.
void MainFormTest::accessibility()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    struct Case {
        const char* control;
        QString name;
        QString description;
    };
    const auto check = [&](const QList<Case>& cases) {
        for (const Case& c : cases) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Find<QWidget>(*w.form, c.control));
            QVERIFY2(accessible, c.control);
            QCOMPARE(accessible->text(QAccessible::Name), c.name);
            QCOMPARE(accessible->text(QAccessible::Description), c.description);
        }
    };
    check({
        {"AliasEdit", u"Название:"_s, {}},
        {"DateTimePickerFrom", u"Начало:"_s, u"пусто"_s},
        {"DateTimePickerTo", u"Конец:"_s, u"пусто"_s},
        {"IncomeDate", u"Дата приема"_s, Today()},
        {"SaveEdit", u"Название записи"_s, {}},
        {"IntervalsListBox", u"Периоды"_s, {}},
        {"SavedListBox", u"Сохраненные записи"_s, {}},
        {"UnbrokenDateUpdateButton", u"Пересчитать дату непрерывного стажа"_s, {}},
        {"SaveUserButton", u"Сохранить запись"_s, {}},
        {"AddInterval", u"Добавить"_s, {}},
        {"TotalIntervalValue", u"Совокупный стаж: 0 дн."_s, u"Совокупный стаж"_s},
        {"SelectedIntervalLabel", u"Выбранный период: пусто"_s, u"Выбранный период"_s},
        {"SelectedIntervalValue", u"Стаж выбранного периода: пусто"_s, u"Стаж выбранного периода"_s},
        {"UnbrokenDate", u"Дата непрерывного стажа: "_s + Today(), u"Дата непрерывного стажа"_s},
    });
    QCOMPARE(w.IncomeDate->toolTip(), u"Дата приема"_s);

    // The names follow what the controls show.
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);
    w.ClickLine(w.IntervalsListBox, 0);
    TypeInto(w.DateTimePickerTo, u"3108"_s);
    check({
        {"DateTimePickerFrom", u"Начало:"_s, u"01.09.1995"_s},
        {"DateTimePickerTo", u"Конец:"_s, u"31.08."_s},
        {"TotalIntervalValue", u"Совокупный стаж: 6 л., 0 мес., 0 дн."_s, u"Совокупный стаж"_s},
        {"SelectedIntervalLabel", u"Выбранный период: Завод"_s, u"Выбранный период"_s},
        {"SelectedIntervalValue", u"Стаж выбранного периода: 6 л., 0 мес., 0 дн."_s, u"Стаж выбранного периода"_s},
        {"UnbrokenDate", u"Дата непрерывного стажа: 15.03.2018"_s, u"Дата непрерывного стажа"_s},
    });
    TypeInto(w.IncomeDate, QString());
    check({
        {"IncomeDate", u"Дата приема"_s, u"пусто"_s},
        {"SelectedIntervalLabel", u"Выбранный период: пусто"_s, u"Выбранный период"_s},
    });
}

void MainFormTest::startUp()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    QCOMPARE(w.IncomeDate->displayText(), Today());
    QCOMPARE(w.UnbrokenDate->text(), Today());
    QCOMPARE(w.TotalIntervalValue->text(), u"0 дн."_s);
    QCOMPARE(w.IntervalsListBox->count(), 0);
    QCOMPARE(Count(w.SavedListBox), 0);
    for (QLineEdit* date : {w.DateTimePickerFrom, w.DateTimePickerTo}) {
        QCOMPARE(date->displayText(), Blank);
        QCOMPARE(date->maxLength(), 10);
    }
    QVERIFY(w.messages.isEmpty());

    // A first start writes an empty data file at close, so that the file exists from then on.
    w.Close();
    QCOMPARE(ReadBytes(dir.filePath(u"u.ini"_s)), QByteArray());
}

void MainFormTest::defaultDataFileBesideTheExecutable()
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(u"u.ini"_s);
    if (QFile::exists(path))
        QSKIP("a data file already stands beside the test executable");
    WriteBytes(path, Ansi("Рядом|\r\n"));
    {
        TMainForm form;
        QCOMPARE(Lines(Find<QListView>(form, "SavedListBox")), QStringList{u"Рядом"_s});
    }
    QFile::remove(path);
}

void MainFormTest::roadOfTypicalEvent()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    TypeInto(w.IncomeDate, u"15.06.2020"_s);
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);

    QCOMPARE(Lines(w.IntervalsListBox), QStringList{u"(01.09.1995-31.08.2001) Завод"_s});
    QCOMPARE(w.TotalIntervalValue->text(), u"6 л., 0 мес., 0 дн."_s);
    QCOMPARE(w.UnbrokenDate->text(), u"15.06.2014"_s);
    QCOMPARE(w.SelectedIntervalLabel->text(), QString());
    QCOMPARE(w.SelectedIntervalValue->text(), QString());
    QCOMPARE(SelectedRow(w.IntervalsListBox), -1);
    // The edit fields keep their texts: a second click appends the same period again.
    QCOMPARE(w.AliasEdit->text(), u"Завод"_s);
    QTest::mouseClick(w.AddInterval, Qt::LeftButton);
    QCOMPARE(Lines(w.IntervalsListBox),
        (QStringList{u"(01.09.1995-31.08.2001) Завод"_s, u"(01.09.1995-31.08.2001) Завод"_s}));
    QCOMPARE(w.TotalIntervalValue->text(), u"12 л., 0 мес., 1 дн."_s);
    QVERIFY(w.messages.isEmpty());
}

void MainFormTest::emptyFieldsGiveABlankPeriod()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    QTest::mouseClick(w.AddInterval, Qt::LeftButton);
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{u"(  .  .    -  .  .    ) "_s});
    QVERIFY(w.messages.isEmpty());
}

void MainFormTest::selectionFillsReadOutsAndFields()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    TypeInto(w.IncomeDate, u"15.06.2020"_s);
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);
    w.AddPeriod(u"Школа"_s, u"01.01.2002"_s, u"31.12.2002"_s);
    const QString total = w.TotalIntervalValue->text();
    const QString unbroken = w.UnbrokenDate->text();

    w.ClickLine(w.IntervalsListBox, 0);
    QCOMPARE(w.SelectedIntervalLabel->text(), u"Завод"_s);
    QCOMPARE(w.SelectedIntervalValue->text(), u"6 л., 0 мес., 0 дн."_s);
    QCOMPARE(w.AliasEdit->text(), u"Завод"_s);
    QCOMPARE(w.DateTimePickerFrom->displayText(), u"01.09.1995"_s);
    QCOMPARE(w.DateTimePickerTo->displayText(), u"31.08.2001"_s);

    QTest::keyClick(w.IntervalsListBox, Qt::Key_Down);
    QCOMPARE(SelectedRow(w.IntervalsListBox), 1);
    QCOMPARE(w.SelectedIntervalLabel->text(), u"Школа"_s);
    QCOMPARE(w.SelectedIntervalValue->text(), u"1 л., 0 мес., 0 дн."_s);
    QCOMPARE(w.AliasEdit->text(), u"Школа"_s);
    QCOMPARE(w.DateTimePickerFrom->displayText(), u"01.01.2002"_s);

    // A click on the line already selected fills the fields again after they were edited.
    TypeInto(w.AliasEdit, u"правка"_s);
    w.ClickLine(w.IntervalsListBox, 1);
    QCOMPARE(w.AliasEdit->text(), u"Школа"_s);

    QCOMPARE(w.TotalIntervalValue->text(), total);
    QCOMPARE(w.UnbrokenDate->text(), unbroken);
    QCOMPARE(w.IntervalsListBox->count(), 2);

    // Selecting a line and adding appends a copy of that period.
    QTest::mouseClick(w.AddInterval, Qt::LeftButton);
    QCOMPARE(Lines(w.IntervalsListBox).last(), u"(01.01.2002-31.12.2002) Школа"_s);
}

void MainFormTest::everyChangeDropsTheSelection_data()
{
    QTest::addColumn<std::function<void(Window&)>>("change");
    QTest::addColumn<int>("linesAfter");
    QTest::newRow("add") << std::function<void(Window&)>([](Window& w) {
        QTest::mouseClick(w.AddInterval, Qt::LeftButton);
    }) << 3;
    QTest::newRow("update") << std::function<void(Window&)>([](Window& w) {
        QTest::mouseClick(w.UpdateInterval, Qt::LeftButton);
    }) << 2;
    QTest::newRow("delete") << std::function<void(Window&)>([](Window& w) {
        QTest::keyClick(w.IntervalsListBox, Qt::Key_Delete);
    }) << 1;
    QTest::newRow("clear") << std::function<void(Window&)>([](Window& w) {
        QTest::mouseClick(w.ClearButton, Qt::LeftButton);
    }) << 0;
    QTest::newRow("hire date typed") << std::function<void(Window&)>([](Window& w) {
        QTest::keyClick(w.IncomeDate, Qt::Key_Backspace);
    }) << 2;
    QTest::newRow("@") << std::function<void(Window&)>([](Window& w) {
        QTest::mouseClick(w.UnbrokenDateUpdateButton, Qt::LeftButton);
    }) << 2;
}

void MainFormTest::everyChangeDropsTheSelection()
{
    QFETCH(std::function<void(Window&)>, change);
    QFETCH(int, linesAfter);
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);
    w.AddPeriod(u"Школа"_s, u"01.01.2002"_s, u"31.12.2002"_s);
    w.ClickLine(w.IntervalsListBox, 1);
    QCOMPARE(w.SelectedIntervalLabel->text(), u"Школа"_s);

    change(w);
    QCOMPARE(w.IntervalsListBox->count(), linesAfter);
    QCOMPARE(SelectedRow(w.IntervalsListBox), -1);
    QCOMPARE(w.SelectedIntervalLabel->text(), QString());
    QCOMPARE(w.SelectedIntervalValue->text(), QString());
    // The refill was no selection: the edit fields keep the selected period's texts.
    QCOMPARE(w.AliasEdit->text(), u"Школа"_s);
    QVERIFY(w.messages.isEmpty());

    QTest::mouseClick(w.UpdateInterval, Qt::LeftButton);
    QCOMPARE(w.messages, QStringList{u"Выберите строку для коррекции"_s});
}

void MainFormTest::updateReplacesTheSelectedPeriod()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);
    w.AddPeriod(u"Школа"_s, u"01.01.2002"_s, u"31.12.2002"_s);
    w.ClickLine(w.IntervalsListBox, 0);
    TypeInto(w.AliasEdit, u"Фабрика"_s);
    TypeInto(w.DateTimePickerTo, u"31.08.1996"_s);
    QTest::mouseClick(w.UpdateInterval, Qt::LeftButton);
    QCOMPARE(Lines(w.IntervalsListBox),
        (QStringList{u"(01.09.1995-31.08.1996) Фабрика"_s, u"(01.01.2002-31.12.2002) Школа"_s}));
    QCOMPARE(w.TotalIntervalValue->text(), u"2 л., 0 мес., 1 дн."_s);
    QVERIFY(w.messages.isEmpty());
}

void MainFormTest::updateWithoutSelection()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    TypeInto(w.IncomeDate, u"15.06.2020"_s);
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);
    TypeInto(w.AliasEdit, u"Другое"_s);
    QTest::mouseClick(w.UpdateInterval, Qt::LeftButton);
    QCOMPARE(w.messages, QStringList{u"Выберите строку для коррекции"_s});
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{u"(01.09.1995-31.08.2001) Завод"_s});
    QCOMPARE(w.TotalIntervalValue->text(), u"6 л., 0 мес., 0 дн."_s);
    QCOMPARE(w.AliasEdit->text(), u"Другое"_s);
}

void MainFormTest::deleteKey_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Delete") << Qt::KeyboardModifiers();
    QTest::newRow("Shift+Delete") << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("Ctrl+Delete") << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("Alt+Delete") << Qt::KeyboardModifiers(Qt::AltModifier);
}

void MainFormTest::deleteKey()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    QTest::keyClick(w.IntervalsListBox, Qt::Key_Delete, modifiers); // on an empty list
    w.AddPeriod(u"A"_s, u"01.01.2000"_s, u"31.12.2000"_s);
    w.AddPeriod(u"B"_s, u"01.01.2001"_s, u"31.12.2001"_s);
    w.AddPeriod(u"C"_s, u"01.01.2002"_s, u"31.12.2002"_s);
    QTest::keyClick(w.IntervalsListBox, Qt::Key_Delete, modifiers); // nothing selected
    QCOMPARE(w.IntervalsListBox->count(), 3);

    w.ClickLine(w.IntervalsListBox, 0);
    QTest::keyClick(w.IntervalsListBox, Qt::Key_Delete, modifiers);
    QCOMPARE(Lines(w.IntervalsListBox), (QStringList{u"(01.01.2001-31.12.2001) B"_s, u"(01.01.2002-31.12.2002) C"_s}));
    QCOMPARE(w.TotalIntervalValue->text(), u"2 л., 0 мес., 1 дн."_s);
    QCOMPARE(SelectedRow(w.IntervalsListBox), -1);
    // Removing the line selects no neighbour: the fields keep the deleted period's texts.
    QCOMPARE(w.AliasEdit->text(), u"A"_s);
    QVERIFY(w.messages.isEmpty());
}

void MainFormTest::clearOnEmptyList()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    TypeInto(w.IncomeDate, u"15.06.2020"_s);
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);
    QTest::mouseClick(w.ClearButton, Qt::LeftButton);
    QCOMPARE(w.IntervalsListBox->count(), 0);
    QCOMPARE(w.TotalIntervalValue->text(), u"0 дн."_s);
    QCOMPARE(w.UnbrokenDate->text(), u"15.06.2020"_s);

    TypeInto(w.IncomeDate, QString());
    QTest::mouseClick(w.ClearButton, Qt::LeftButton);
    QCOMPARE(w.TotalIntervalValue->text(), u"0 дн."_s);
    QCOMPARE(w.UnbrokenDate->text(), u"15.06.2020"_s);
    QCOMPARE(w.AliasEdit->text(), u"Завод"_s);
    QCOMPARE(w.DateTimePickerFrom->displayText(), u"01.09.1995"_s);
    QCOMPARE(w.DateTimePickerTo->displayText(), u"31.08.2001"_s);
    QVERIFY(w.messages.isEmpty());
}

void MainFormTest::hireDateDrivesTheUnbrokenDate()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);
    TypeInto(w.IncomeDate, u"15.06.2020"_s);
    QCOMPARE(w.UnbrokenDate->text(), u"15.06.2014"_s);

    // Cleared or partly typed, the hire date cannot be used: the last date stays.
    TypeInto(w.IncomeDate, QString());
    QCOMPARE(w.IncomeDate->displayText(), Blank);
    QCOMPARE(w.UnbrokenDate->text(), u"15.06.2014"_s);
    TypeText(w.IncomeDate, u"1506"_s);
    QCOMPARE(w.IncomeDate->displayText(), u"15.06.    "_s);
    QCOMPARE(w.UnbrokenDate->text(), u"15.06.2014"_s);
    // Every keystroke recalculates: the last one completes the date.
    TypeText(w.IncomeDate, u"2021"_s);
    QCOMPARE(w.UnbrokenDate->text(), u"15.06.2015"_s);
    // Not a real date: unchanged.
    TypeInto(w.IncomeDate, u"31.02.2020"_s);
    QCOMPARE(w.UnbrokenDate->text(), u"15.06.2015"_s);
    QVERIFY(w.messages.isEmpty());
}

void MainFormTest::periodNamesWithSeparatorsAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("comma") << u"Завод, цех"_s << u"Недопустимый символ в названии «,»"_s;
    QTest::newRow("ampersand") << u"&Завод"_s << u"Недопустимый символ в названии «&»"_s;
    QTest::newRow("bar") << u"Завод|"_s << u"Недопустимый символ в названии «|»"_s;
}

void MainFormTest::periodNamesWithSeparatorsAreRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);
    const QString total = w.TotalIntervalValue->text();

    TypeInto(w.AliasEdit, name);
    QTest::mouseClick(w.AddInterval, Qt::LeftButton);
    QCOMPARE(w.messages, QStringList{message});
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{u"(01.09.1995-31.08.2001) Завод"_s});

    w.ClickLine(w.IntervalsListBox, 0);
    TypeInto(w.AliasEdit, name);
    QTest::mouseClick(w.UpdateInterval, Qt::LeftButton);
    QCOMPARE(w.messages.size(), 2);
    QCOMPARE(w.messages.last(), message);
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{u"(01.09.1995-31.08.2001) Завод"_s});
    QCOMPARE(w.TotalIntervalValue->text(), total);
    QCOMPARE(w.AliasEdit->text(), name);
}

// A single-line edit keeps the line breaks of a pasted text; in a name they would split its
// record in the data file.
void MainFormTest::pastedLineBreaksAreRefused()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    Window w(path);
    Paste(w.AliasEdit, u"За\r\nвод"_s);
    QCOMPARE(w.AliasEdit->text(), u"За\r\nвод"_s);
    QTest::mouseClick(w.AddInterval, Qt::LeftButton);
    QCOMPARE(w.IntervalsListBox->count(), 0);
    Paste(w.SaveEdit, u"Иванов\n"_s);
    QCOMPARE(w.SaveEdit->text(), u"Иванов\n"_s);
    QTest::mouseClick(w.SaveUserButton, Qt::LeftButton);
    QCOMPARE(w.messages,
        (QStringList{u"Недопустимый символ в названии «U+000D»"_s, u"Недопустимый символ в названии «U+000A»"_s}));
    QCOMPARE(Count(w.SavedListBox), 0);
}

void MainFormTest::charactersTheFileCannotCarryNeverEnter_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("Kazakh") << u"Қасымов"_s << u"Недопустимый символ в названии «Қ»"_s;
    QTest::newRow("Kazakh, another letter") << u"Ғасымов"_s << u"Недопустимый символ в названии «Ғ»"_s;
    QTest::newRow("Tatar") << u"Гөлнара Әхмәтова"_s << u"Недопустимый символ в названии «ө»"_s;
    QTest::newRow("Chinese") << u"王伟"_s << u"Недопустимый символ в названии «王»"_s;
    QTest::newRow("beyond 16 bits") << u"Иванов 😀"_s << u"Недопустимый символ в названии «😀»"_s;
    QTest::newRow("Latin with diaeresis") << u"Müller"_s << u"Недопустимый символ в названии «ü»"_s;
    QTest::newRow("separator first") << u"a,Қ"_s << u"Недопустимый символ в названии «,»"_s;
}

// Every way a typed or pasted text enters the records refuses what Windows-1251 and the data
// file cannot carry, so that two people's names never fall into one record; the dates take
// digits only. The data file written at close holds exactly what was accepted.
void MainFormTest::charactersTheFileCannotCarryNeverEnter()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    const QByteArray before = Ansi("Иванов|Завод,01.09.1995,31.08.2001&\r\n");
    WriteBytes(path, before);
    Window w(path);
    w.AddPeriod(u"Школа"_s, u"01.01.2002"_s, u"31.12.2002"_s);

    Paste(w.AliasEdit, name);
    QCOMPARE(w.AliasEdit->text(), name);
    QTest::mouseClick(w.AddInterval, Qt::LeftButton);
    w.ClickLine(w.IntervalsListBox, 0);
    Paste(w.AliasEdit, name);
    QTest::mouseClick(w.UpdateInterval, Qt::LeftButton);
    Paste(w.SaveEdit, name);
    QTest::mouseClick(w.SaveUserButton, Qt::LeftButton);
    QTest::keyClick(w.SaveEdit, Qt::Key_Return);
    QTest::keyClick(w.SaveEdit, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(w.messages, QStringList(5, message));
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{u"(01.01.2002-31.12.2002) Школа"_s});
    QCOMPARE(Lines(w.SavedListBox), QStringList{u"Иванов"_s});

    for (QLineEdit* date : {w.DateTimePickerFrom, w.DateTimePickerTo}) {
        Paste(date, name + u"01.02.2003"_s);
        for (const QChar c : date->displayText())
            QVERIFY2(c.isDigit() || c == u'.' || c == u' ', qPrintable(date->displayText()));
    }
    w.Close();
    QCOMPARE(ReadBytes(path), before);
}

void MainFormTest::saveMessages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("linesAfter");
    QTest::addColumn<QString>("editAfter");
    QTest::addColumn<QByteArray>("fileAfter");

    const QStringList before{u"Иванов"_s};
    const QByteArray old = Ansi("Иванов|Старое,01.01.1990,31.12.1990&\r\n");
    const QByteArray periods = Ansi("|Завод,01.09.1995,31.08.2001&\r\n");
    QTest::newRow("empty") << QString() << false << u"Введите название записи"_s << before << QString() << old;
    QTest::newRow("blanks by Enter") << u"   "_s << true << u"Введите название записи"_s << before << u"   "_s << old;
    QTest::newRow("comma") << u"a,b"_s << false << u"Недопустимый символ в названии «,»"_s << before << u"a,b"_s << old;
    QTest::newRow("ampersand first") << u"&a"_s << false << u"Недопустимый символ в названии «&»"_s << before << u"&a"_s
                                     << old;
    QTest::newRow("bar last by Enter") << u"a|"_s << true << u"Недопустимый символ в названии «|»"_s << before
                                       << u"a|"_s << old;
    QTest::newRow("new") << u"Петров"_s << false << u"Информация добавлена"_s << QStringList{u"Иванов"_s, u"Петров"_s}
                         << QString() << old + Ansi("Петров") + periods;
    QTest::newRow("new by Enter") << u"Петров"_s << true << u"Информация добавлена"_s
                                  << QStringList{u"Иванов"_s, u"Петров"_s} << QString()
                                  << old + Ansi("Петров") + periods;
    QTest::newRow("no-break space is a name")
        << u"\u00A0"_s << false << u"Информация добавлена"_s << QStringList{u"Иванов"_s, u"\u00A0"_s} << QString()
        << QByteArray("\xA0") + periods + old;
    QTest::newRow("existing") << u"Иванов"_s << false << u"Информация изменена"_s << before << QString()
                              << Ansi("Иванов") + periods;
    QTest::newRow("existing by Enter") << u"Иванов"_s << true << u"Информация изменена"_s << before << QString()
                                       << Ansi("Иванов") + periods;
}

// Each message of the save command and the state it leaves; the file written at close shows
// what the records hold.
void MainFormTest::saveMessages()
{
    QFETCH(QString, name);
    QFETCH(bool, byEnter);
    QFETCH(QString, message);
    QFETCH(QStringList, linesAfter);
    QFETCH(QString, editAfter);
    QFETCH(QByteArray, fileAfter);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    WriteBytes(path, Ansi("Иванов|Старое,01.01.1990,31.12.1990&\r\n"));
    Window w(path);
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);
    QStringList linesAtMessage;
    w.onMessage = [&](const QString&) { linesAtMessage = Lines(w.SavedListBox); };

    TypeInto(w.SaveEdit, name);
    if (byEnter)
        QTest::keyClick(w.SaveEdit, Qt::Key_Return, Qt::ShiftModifier);
    else
        QTest::mouseClick(w.SaveUserButton, Qt::LeftButton);

    QCOMPARE(w.messages, QStringList{message});
    QCOMPARE(linesAtMessage, linesAfter);
    QCOMPARE(Lines(w.SavedListBox), linesAfter);
    QCOMPARE(w.SaveEdit->text(), editAfter);
    // Saving leaves the period list and the read-outs alone.
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{u"(01.09.1995-31.08.2001) Завод"_s});
    QCOMPARE(w.TotalIntervalValue->text(), u"6 л., 0 мес., 0 дн."_s);

    w.Close();
    QCOMPARE(ReadBytes(path), fileAfter);
}

// Names are keys as typed: blanks around a name and another letter case make other records.
void MainFormTest::savedNamesAreKeptAsTyped()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    Window w(path);
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);
    const QStringList names{u"Иванов"_s, u" Иванов "_s, u"иванов"_s};
    for (const QString& name : names)
        w.SaveAs(name);
    QCOMPARE(w.messages, QStringList(3, u"Информация добавлена"_s));
    QCOMPARE(Lines(w.SavedListBox), names);
    w.Close();
    QCOMPARE(ReadBytes(path),
        Ansi(" Иванов |Завод,01.09.1995,31.08.2001&\r\n"
             "Иванов|Завод,01.09.1995,31.08.2001&\r\n"
             "иванов|Завод,01.09.1995,31.08.2001&\r\n"));
}

void MainFormTest::openRecord()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    WriteBytes(path, Ansi("Иванов|Завод,01.09.1995,31.08.2001&Школа,01.01.2002,31.12.2002&\r\n"));
    Window w(path);
    TypeInto(w.IncomeDate, u"15.06.2020"_s);
    w.AddPeriod(u"Другое"_s, u"01.01.2010"_s, u"31.12.2010"_s);
    w.ClickLine(w.IntervalsListBox, 0);

    w.DoubleClickLine(w.SavedListBox, 0);
    QVERIFY(w.messages.isEmpty());
    QCOMPARE(w.SaveEdit->text(), u"Иванов"_s);
    QCOMPARE(Lines(w.IntervalsListBox),
        (QStringList{u"(01.09.1995-31.08.2001) Завод"_s, u"(01.01.2002-31.12.2002) Школа"_s}));
    QCOMPARE(SelectedRow(w.IntervalsListBox), -1);
    QCOMPARE(w.SelectedIntervalLabel->text(), QString());
    QCOMPARE(w.TotalIntervalValue->text(), u"7 л., 0 мес., 1 дн."_s);
    QCOMPARE(w.UnbrokenDate->text(), u"14.06.2013"_s);
    // Opening writes neither the period fields nor the hire date, and leaves the record's line selected.
    QCOMPARE(w.AliasEdit->text(), u"Другое"_s);
    QCOMPARE(w.DateTimePickerFrom->displayText(), u"01.01.2010"_s);
    QCOMPARE(w.IncomeDate->displayText(), u"15.06.2020"_s);
    QCOMPARE(SelectedRow(w.SavedListBox), 0);

    // Opened, changed and saved under the name it brought along: the record is replaced.
    QTest::mouseClick(w.AddInterval, Qt::LeftButton);
    QTest::keyClick(w.SaveEdit, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(w.messages, QStringList{u"Информация изменена"_s});
    QCOMPARE(Count(w.SavedListBox), 1);
    // Later edits do not reach the saved copy.
    QTest::mouseClick(w.ClearButton, Qt::LeftButton);
    w.DoubleClickLine(w.SavedListBox, 0);
    QCOMPARE(w.IntervalsListBox->count(), 3);
    QCOMPARE(Lines(w.IntervalsListBox).last(), u"(01.01.2010-31.12.2010) Другое"_s);
}

// A name on two lines of the file is listed twice but is one record.
void MainFormTest::openMissingRecord()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    WriteBytes(path, Ansi("X|A,01.01.2000,02.02.2000&\r\nX|B,03.03.2000,04.04.2000&\r\n"));
    Window w(path);
    QCOMPARE(Lines(w.SavedListBox), (QStringList{u"X"_s, u"X"_s}));
    w.DoubleClickLine(w.SavedListBox, 1);
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{u"(03.03.2000-04.04.2000) B"_s});

    w.ClickLine(w.SavedListBox, 0);
    QTest::keyClick(w.SavedListBox, Qt::Key_Delete);
    QCOMPARE(Lines(w.SavedListBox), QStringList{u"X"_s});
    TypeInto(w.SaveEdit, u"набрано"_s);
    w.DoubleClickLine(w.SavedListBox, 0);
    QCOMPARE(w.messages, QStringList{u"Запись не найдена"_s});
    QCOMPARE(w.IntervalsListBox->count(), 0);
    QCOMPARE(w.TotalIntervalValue->text(), u"0 дн."_s);
    QCOMPARE(w.SaveEdit->text(), u"набрано"_s);
    QCOMPARE(Lines(w.SavedListBox), QStringList{u"X"_s});

    // Its line goes without a word, though no record stands behind it.
    QTest::keyClick(w.SavedListBox, Qt::Key_Delete);
    QCOMPARE(Count(w.SavedListBox), 0);
    QCOMPARE(w.messages.size(), 1);
    w.Close();
    QCOMPARE(ReadBytes(path), QByteArray());
}

void MainFormTest::deleteRecord_data()
{
    deleteKey_data();
}

void MainFormTest::deleteRecord()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    WriteBytes(path, "A|\r\nB|P,01.01.2000,31.12.2000&\r\nC|\r\n");
    Window w(path);
    QTest::keyClick(w.SavedListBox, Qt::Key_Delete, modifiers); // nothing selected
    QCOMPARE(Count(w.SavedListBox), 3);
    w.DoubleClickLine(w.SavedListBox, 1);
    TypeInto(w.SaveEdit, u"имя"_s);

    QTest::keyClick(w.SavedListBox, Qt::Key_Delete, modifiers);
    QCOMPARE(Lines(w.SavedListBox), (QStringList{u"A"_s, u"C"_s}));
    QCOMPARE(SelectedRow(w.SavedListBox), -1);
    // A second Delete finds no selected line and takes nothing more.
    QTest::keyClick(w.SavedListBox, Qt::Key_Delete, modifiers);
    QCOMPARE(Count(w.SavedListBox), 2);
    // The working list of the deleted record and the name field stay.
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{u"(01.01.2000-31.12.2000) P"_s});
    QCOMPARE(w.SaveEdit->text(), u"имя"_s);
    QVERIFY(w.messages.isEmpty());
    w.Close();
    QCOMPARE(ReadBytes(path), QByteArray("A|\r\nC|\r\n"));
}

// Saved in any order, the records come back after a restart in byte order of their names.
void MainFormTest::restartRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    const QStringList typed{u"Б"_s, u"A"_s, u"а"_s, u"1"_s, u"Ё"_s};
    {
        Window w(path);
        for (const QString& name : typed) {
            w.AddPeriod(name + u"-работа"_s, u"01.01.2000"_s, u"31.12.2000"_s);
            w.SaveAs(name);
        }
        QCOMPARE(Lines(w.SavedListBox), typed);
        w.Close();
    }
    Window w(path);
    QCOMPARE(Lines(w.SavedListBox), (QStringList{u"1"_s, u"A"_s, u"Ё"_s, u"Б"_s, u"а"_s}));
    w.DoubleClickLine(w.SavedListBox, 3);
    QCOMPARE(w.SaveEdit->text(), u"Б"_s);
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{u"(01.01.2000-31.12.2000) Б-работа"_s});
    w.DoubleClickLine(w.SavedListBox, 4);
    QCOMPARE(w.IntervalsListBox->count(), 3);
    QVERIFY(w.messages.isEmpty());
}

void MainFormTest::bytesOnDisk()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    Window w(path);
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);
    w.SaveAs(u"Иванов"_s);
    w.Close();
    QCOMPARE(ReadBytes(path), QByteArray("\xC8\xE2\xE0\xED\xEE\xE2|\xC7\xE0\xE2\xEE\xE4,01.09.1995,31.08.2001&\r\n"));
}

// Lines out of key order are listed in file order, a repeated name as often as it stands;
// the close writes one line per name in key order, with the periods of its last line.
void MainFormTest::duplicateLinesInTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    WriteBytes(path, Ansi("Я|\r\n\r\nА|a,1.1.2000,2.2.2000&\nЯ|b,3.3.2000,4.4.2000&\r\nбез черты\r\nБ|"));
    Window w(path);
    QCOMPARE(Lines(w.SavedListBox), (QStringList{u"Я"_s, u"А"_s, u"Я"_s, u"Б"_s}));
    QVERIFY(w.messages.isEmpty());
    w.Close();
    QCOMPARE(ReadBytes(path), Ansi("А|a,1.1.2000,2.2.2000&\r\nБ|\r\nЯ|b,3.3.2000,4.4.2000&\r\n"));
}

void MainFormTest::failedWriteAtClose_data()
{
    QTest::addColumn<bool>("retry");
    QTest::newRow("try again") << true;
    QTest::newRow("close without saving") << false;
}

// A write that fails is never silent. During the run: one message with the file and the
// reason, and the record stays in memory. At close: the file and the reason with the choice to
// try again; closing without saving leaves the previous file whole.
void MainFormTest::failedWriteAtClose()
{
    QFETCH(bool, retry);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    const QByteArray previous = "A|\r\n";
    WriteBytes(path, previous);
    Window w(path);
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);

    FileSizeLimit limit(static_cast<rlim_t>(previous.size()));
    QVERIFY(limit.active());
    w.SaveAs(u"Иванов"_s);
    QCOMPARE(w.messages.size(), 2);
    QCOMPARE(w.messages.first(), u"Информация добавлена"_s);
    const QString& failure = w.messages.last();
    QVERIFY2(failure.contains(QDir::toNativeSeparators(path)), qPrintable(failure));
    QVERIFY2(failure.split(u'\n').size() > 2 && !failure.split(u'\n')[1].trimmed().isEmpty(), qPrintable(failure));
    QCOMPARE(ReadBytes(path), previous);
    QCOMPARE(Lines(w.SavedListBox), (QStringList{u"A"_s, u"Иванов"_s}));

    w.answerRetry = [&] {
        if (retry)
            limit.Lift();
        return retry;
    };
    w.Close();
    limit.Lift();

    QCOMPARE(w.retryPrompts.size(), 1);
    const QString& prompt = w.retryPrompts.first();
    QVERIFY2(prompt.contains(QDir::toNativeSeparators(path)), qPrintable(prompt));
    // The reason stands on the line after the file name.
    const QStringList promptLines = prompt.split(u'\n');
    QVERIFY2(promptLines.size() > 2 && !promptLines[1].trimmed().isEmpty(), qPrintable(prompt));
    QVERIFY(!w.form->isVisible());
    QCOMPARE(ReadBytes(path), retry ? "A|\r\n" + Ansi("Иванов|Завод,01.09.1995,31.08.2001&\r\n") : previous);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"u.ini"_s});
}

// An existing data file that cannot be read is reported once at start and never written; the
// records saved in the run go to a recovery file beside it, which the close names.
void MainFormTest::unreadableFileIsLeftAlone()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    QVERIFY(QDir().mkpath(path + u"/inside"_s));
    Window w(path);
    QCOMPARE(w.messages.size(), 1);
    QVERIFY2(w.messages.first().contains(QDir::toNativeSeparators(path)), qPrintable(w.messages.first()));
    QCOMPARE(Count(w.SavedListBox), 0);

    w.SaveAs(u"Иванов"_s);
    QCOMPARE(w.messages.size(), 2);
    const QString recovery = dir.filePath(u"u.ini.recovery"_s);
    QCOMPARE(ReadBytes(recovery), Ansi("Иванов|\r\n"));
    w.SaveAs(u"Петров"_s);
    w.Close();
    QCOMPARE(w.messages.size(), 4);
    QVERIFY2(w.messages.last().contains(QDir::toNativeSeparators(recovery)), qPrintable(w.messages.last()));
    QVERIFY(w.retryPrompts.isEmpty());
    QVERIFY(QFileInfo(path + u"/inside"_s).isDir());
    QCOMPARE(ReadBytes(recovery), Ansi("Иванов|\r\nПетров|\r\n"));
}

void MainFormTest::folderWithCyrillicAndBlanks()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"Мои записи/стаж 2024"_s);
    QVERIFY(QDir().mkpath(folder));
    const QString path = QDir(folder).filePath(u"u.ini"_s);
    WriteBytes(path, Ansi("Иванов|\r\n"));
    {
        Window w(path);
        QCOMPARE(Lines(w.SavedListBox), QStringList{u"Иванов"_s});
        w.SaveAs(u"Петров"_s);
        w.Close();
        QVERIFY(w.retryPrompts.isEmpty());
    }
    QCOMPARE(ReadBytes(path), Ansi("Иванов|\r\nПетров|\r\n"));
    Window again(path);
    QCOMPARE(Lines(again.SavedListBox), (QStringList{u"Иванов"_s, u"Петров"_s}));
}

void MainFormTest::twoWindowsOnOneFile_data()
{
    QTest::addColumn<std::function<void(Window&, Window&)>>("steps");
    QTest::addColumn<QByteArray>("fileAfter");
    using Steps = std::function<void(Window&, Window&)>;
    const QByteArray both = Ansi("Иванов|\r\nПетров|\r\nСтарый|\r\n");
    QTest::newRow("saves in both, closes in order") << Steps([](Window& a, Window& b) {
        a.SaveAs(u"Иванов"_s);
        b.SaveAs(u"Петров"_s);
        a.Close();
        b.Close();
    }) << both;
    QTest::newRow("saves in both, closes the other way") << Steps([](Window& a, Window& b) {
        b.SaveAs(u"Петров"_s);
        a.SaveAs(u"Иванов"_s);
        b.Close();
        a.Close();
    }) << both;
    QTest::newRow("a save after the other closed") << Steps([](Window& a, Window& b) {
        b.SaveAs(u"Петров"_s);
        b.Close();
        a.SaveAs(u"Иванов"_s);
        a.Close();
    }) << both;
    QTest::newRow("a delete stays deleted") << Steps([](Window& a, Window& b) {
        a.ClickLine(a.SavedListBox, 0);
        QTest::keyClick(a.SavedListBox, Qt::Key_Delete);
        b.SaveAs(u"Петров"_s);
        a.Close();
        b.Close();
    }) << Ansi("Петров|\r\n");
    QTest::newRow("a delete after the other's save") << Steps([](Window& a, Window& b) {
        b.SaveAs(u"Петров"_s);
        a.ClickLine(a.SavedListBox, 0);
        QTest::keyClick(a.SavedListBox, Qt::Key_Delete);
        b.Close();
        a.Close();
    }) << Ansi("Петров|\r\n");
}

// Two windows on one data file: every record saved in either survives, in any order of saves,
// deletes and closes, and a deleted record does not come back. Each window's list follows its
// own commands; the other's records are listed at the next start.
void MainFormTest::twoWindowsOnOneFile()
{
    QFETCH(std::function<void(Window&, Window&)>, steps);
    QFETCH(QByteArray, fileAfter);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    WriteBytes(path, Ansi("Старый|\r\n"));
    Window a(path);
    Window b(path);
    steps(a, b);
    QCOMPARE(ReadBytes(path), fileAfter);
    QVERIFY(a.messages.filter(u"другом окне"_s).isEmpty());
    QVERIFY(b.messages.filter(u"другом окне"_s).isEmpty());
    QVERIFY(!Lines(a.SavedListBox).contains(u"Петров"_s));
    QVERIFY(!Lines(b.SavedListBox).contains(u"Иванов"_s));
    Window next(path);
    QCOMPARE(Count(next.SavedListBox), fileAfter.count('\n'));
}

// A record both windows changed keeps the version of the window that saved last; the other's
// is kept under a name of its own, and that window is told once which.
void MainFormTest::bothWindowsChangedOneRecord()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    WriteBytes(path, Ansi("Иванов|Старое,01.01.1990,31.12.1990&\r\n"));
    Window a(path);
    Window b(path);
    a.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);
    a.SaveAs(u"Иванов"_s);
    b.AddPeriod(u"Школа"_s, u"01.09.2001"_s, u"15.06.2010"_s);
    b.SaveAs(u"Иванов"_s);
    QCOMPARE(a.messages, QStringList{u"Информация изменена"_s});
    QCOMPARE(b.messages.size(), 2);
    QCOMPARE(b.messages.first(), u"Информация изменена"_s);
    QVERIFY2(
        b.messages.last().contains(u"«Иванов» — вариант другого окна: «Иванов (2)»"_s), qPrintable(b.messages.last()));
    QCOMPARE(Lines(b.SavedListBox), QStringList{u"Иванов"_s});
    a.Close();
    b.Close();
    QCOMPARE(
        ReadBytes(path), Ansi("Иванов|Школа,01.09.2001,15.06.2010&\r\nИванов (2)|Завод,01.09.1995,31.08.2001&\r\n"));
    QCOMPARE(a.messages.size(), 1);
    QCOMPARE(b.messages.size(), 2);
}

// Another window holding the data file: the question with a retry; put off, the record stays
// in memory and reaches the file with the next write.
void MainFormTest::anotherWindowHoldsTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    WriteBytes(path, "A|\r\n");
    Window w(path);
    QLockFile other(path + u".lock"_s);
    QVERIFY(other.tryLock(0));
    w.SaveAs(u"Иванов"_s);
    QCOMPARE(w.lockPrompts.size(), 1);
    QVERIFY2(w.lockPrompts.first().contains(QDir::toNativeSeparators(path)), qPrintable(w.lockPrompts.first()));
    QCOMPARE(w.messages, QStringList{u"Информация добавлена"_s});
    QCOMPARE(ReadBytes(path), QByteArray("A|\r\n"));

    // Retried after the other window let go.
    w.answerRetryLock = [&] {
        other.unlock();
        return true;
    };
    w.SaveAs(u"Петров"_s);
    QCOMPARE(w.lockPrompts.size(), 2);
    QCOMPARE(ReadBytes(path), "A|\r\n" + Ansi("Иванов|\r\nПетров|\r\n"));

    // At close the question is the close's own.
    w.answerRetryLock = nullptr;
    QVERIFY(other.tryLock(0));
    w.ClickLine(w.SavedListBox, 0);
    QTest::keyClick(w.SavedListBox, Qt::Key_Delete);
    QCOMPARE(w.lockPrompts.size(), 3);
    w.answerRetry = [&] {
        other.unlock();
        return true;
    };
    w.Close();
    QCOMPARE(w.retryPrompts.size(), 1);
    QCOMPARE(ReadBytes(path), Ansi("Иванов|\r\nПетров|\r\n"));
}

// A program folder the user cannot write: the records are kept in the per-user folder, the
// records beside the program move there at the first write, and the About window names the file.
void MainFormTest::programFolderNotWritable()
{
    QTemporaryDir dir;
    const QString program = dir.filePath(u"program"_s);
    const QString user = dir.filePath(u"user/Калмир"_s);
    QVERIFY(QDir().mkpath(program));
    WriteBytes(program + u"/u.ini"_s, Ansi("Рядом|\r\n"));
    const auto notWritable = [](const QString&) { return false; };
    {
        Window w(LocateDataFile(program, user, notWritable));
        QCOMPARE(w.form->DataFileInUse(), user + u"/u.ini"_s);
        QCOMPARE(Lines(w.SavedListBox), QStringList{u"Рядом"_s});
        w.SaveAs(u"Иванов"_s);
        QCOMPARE(w.messages, QStringList{u"Информация добавлена"_s});
        QCOMPARE(ReadBytes(user + u"/u.ini"_s), Ansi("Иванов|\r\nРядом|\r\n"));
        w.Close();

        TAboutForm about(w.form.get());
        about.ShowDataFilePath(w.form->DataFileInUse());
        const auto* label = Find<QLabel>(about, "DataFileLabel");
        QVERIFY2(label->toolTip().contains(QDir::toNativeSeparators(user + u"/u.ini"_s)), qPrintable(label->toolTip()));
    }
    QCOMPARE(ReadBytes(program + u"/u.ini"_s), Ansi("Рядом|\r\n"));
    Window again(LocateDataFile(program, user, notWritable));
    QCOMPARE(Lines(again.SavedListBox), (QStringList{u"Иванов"_s, u"Рядом"_s}));
}

// A path that goes through a regular file fails with "not a directory": that is no first
// start. It is reported, and the run's records are kept in a recovery file that the close names.
void MainFormTest::pathThroughAFileIsNoFirstStart()
{
    QTemporaryDir dir;
    const QString regular = dir.filePath(u"regular"_s);
    WriteBytes(regular, "not a folder");
    const QString path = regular + u"/u.ini"_s;
    const QString user = dir.filePath(u"user"_s);
    Window w(DataFileLocation{path, path, user});
    QCOMPARE(w.messages.size(), 1);
    QVERIFY2(w.messages.first().contains(QDir::toNativeSeparators(path)), qPrintable(w.messages.first()));
    w.SaveAs(u"Иванов"_s);
    w.Close();
    QCOMPARE(w.messages.size(), 3);
    const QString recovery = user + u"/u.ini.recovery"_s;
    QVERIFY2(w.messages.last().contains(QDir::toNativeSeparators(recovery)), qPrintable(w.messages.last()));
    QCOMPARE(ReadBytes(recovery), Ansi("Иванов|\r\n"));
    QCOMPARE(ReadBytes(regular), QByteArray("not a folder"));
}

void MainFormTest::skippedLinesAreBackedUp_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("CR alone") << Ansi("Иванов|Завод,01.09.1995,31.08.2001&\rПетров|\r")
                              << QStringList{u"Иванов"_s, u"Петров"_s};
    QTest::newRow("unreadable lines") << Ansi("Иванов|\r\nкаракули\r\nПетров|\r\n")
                                      << QStringList{u"Иванов"_s, u"Петров"_s};
}

// Before the first write that would drop what the reader skipped, the file as it was is copied
// beside it; the close says where.
void MainFormTest::skippedLinesAreBackedUp()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, listed);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    WriteBytes(path, bytes);
    Window w(path);
    QCOMPARE(Lines(w.SavedListBox), listed);
    QVERIFY(w.messages.isEmpty());
    w.SaveAs(u"Сидоров"_s);
    const QString backup = dir.filePath(u"u.ini.bak"_s);
    QCOMPARE(ReadBytes(backup), bytes);
    QCOMPARE(w.messages, QStringList{u"Информация добавлена"_s});
    w.Close();
    QCOMPARE(w.messages.size(), 2);
    QVERIFY2(w.messages.last().contains(QDir::toNativeSeparators(backup)), qPrintable(w.messages.last()));
    QVERIFY(ReadBytes(path).contains(Ansi("Сидоров|\r\n")));
}

void MainFormTest::quitSignalClosesTheWindow_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
    QTest::newRow("SIGINT") << SIGINT;
}

// A running program told to end closes its window the normal way: the record that another
// window's lock kept in memory reaches the file in the close, and the program ends with 0.
void MainFormTest::quitSignalClosesTheWindow()
{
    QFETCH(int, signal);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    WriteBytes(path, "A|\r\n");
    QLockFile other(path + u".lock"_s);
    QVERIFY(other.tryLock(0));
    ChildProcess program(WINDOW_PROCESS, {path.toStdString()});
    QVERIFY(program.started());
    QStringList lines;
    for (std::string line; (line = program.ReadLine(std::chrono::seconds(20))) != "saved";) {
        QVERIFY2(!line.empty(), qPrintable(lines.join(u'|')));
        lines.append(QString::fromStdString(line));
    }
    QCOMPARE(lines, (QStringList{u"message: Информация добавлена"_s, u"busy"_s}));
    QCOMPARE(ReadBytes(path), QByteArray("A|\r\n"));

    other.unlock();
    program.Signal(signal);
    const std::optional<int> status = program.Wait(std::chrono::seconds(20));
    QVERIFY2(status, "the program did not end");
    QVERIFY(WIFEXITED(*status));
    QCOMPARE(WEXITSTATUS(*status), 0);
    QCOMPARE(program.ReadLine(std::chrono::seconds(5)), std::string("closed"));
    QCOMPARE(ReadBytes(path), "A|\r\n" + Ansi("Иванов|\r\n"));
}

// Name, Enter, start date, Enter, end date, Enter, and Enter on "Добавить": no mouse needed.
void MainFormTest::keyboardOnlyEntry()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    QCOMPARE(QApplication::focusWidget(), w.IncomeDate);
    QTest::keyClick(w.IncomeDate, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.AliasEdit);

    TypeText(QApplication::focusWidget(), u"Завод"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.DateTimePickerFrom);
    TypeText(QApplication::focusWidget(), u"01091995"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(QApplication::focusWidget(), w.DateTimePickerTo);
    TypeText(QApplication::focusWidget(), u"31082001"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.AddInterval);
    QCOMPARE(w.IntervalsListBox->count(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{u"(01.09.1995-31.08.2001) Завод"_s});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(w.IntervalsListBox->count(), 2);
    QCOMPARE(QApplication::focusWidget(), w.AddInterval);
}

void MainFormTest::shiftEnterMovesForward()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    const QList<std::pair<QWidget*, QWidget*>> steps{{w.AliasEdit, w.DateTimePickerFrom},
        {w.DateTimePickerFrom, w.DateTimePickerTo}, {w.DateTimePickerTo, w.AddInterval},
        {w.IncomeDate, w.UnbrokenDateUpdateButton}};
    for (const auto& [from, to] : steps) {
        for (Qt::KeyboardModifiers modifiers :
            {Qt::KeyboardModifiers(Qt::ShiftModifier), Qt::ControlModifier | Qt::AltModifier}) {
            from->setFocus();
            QTest::keyClick(from, Qt::Key_Return, modifiers);
            QCOMPARE(QApplication::focusWidget()->objectName(), to->objectName());
        }
    }
    QCOMPARE(w.IntervalsListBox->count(), 0);
}

void MainFormTest::enterInHireDateThenOnRecalculate()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);
    w.ClickLine(w.IntervalsListBox, 0);
    QCOMPARE(w.SelectedIntervalLabel->text(), u"Завод"_s);

    QTest::mouseClick(w.IncomeDate, Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.UnbrokenDateUpdateButton);
    QCOMPARE(w.SelectedIntervalLabel->text(), u"Завод"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(SelectedRow(w.IntervalsListBox), -1);
    QCOMPARE(w.SelectedIntervalLabel->text(), QString());
    QCOMPARE(w.IntervalsListBox->count(), 1);
}

void MainFormTest::enterInPeriodListDoesNothing()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);
    w.AddPeriod(u"Школа"_s, u"01.01.2002"_s, u"31.12.2002"_s);
    w.ClickLine(w.IntervalsListBox, 0);
    QCOMPARE(QApplication::focusWidget(), w.IntervalsListBox);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(w.IntervalsListBox, key);
    QCOMPARE(QApplication::focusWidget(), w.IntervalsListBox);
    QCOMPARE(SelectedRow(w.IntervalsListBox), 0);
    QCOMPARE(w.IntervalsListBox->count(), 2);
    QCOMPARE(w.SelectedIntervalLabel->text(), u"Завод"_s);
}

void MainFormTest::aboutMenuShowsTheAboutWindow()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    auto* about = Find<QAction>(*w.form, "About");
    about->trigger(); // no About window yet: nothing happens

    AboutForm = new TAboutForm(w.form.get());
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = QApplication::activeModalWidget() == AboutForm;
        AboutForm->reject();
    });
    about->trigger();
    QVERIFY(shown);
    QVERIFY(!AboutForm->isVisible());
    QCOMPARE(w.form->windowTitle(), u"Калмир 1.0.1"_s);
    AboutForm = nullptr;
}

// The real message boxes behind the recorded ones: the application title, the text, and only
// the buttons the user is meant to have; Escape at a failed save means "try again".
void MainFormTest::standardDialogs()
{
    const TMainForm::UserDialogs dialogs = TMainForm::StandardDialogs();
    QString title;
    QString text;
    QStringList buttons;
    const auto readBox = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        buttons.clear();
        for (QAbstractButton* button : box->buttons())
            buttons.append(button->text());
    };

    QTimer::singleShot(0, [&] {
        readBox();
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
    });
    dialogs.showMessage(nullptr, u"Запись не найдена"_s);
    QCOMPARE(title, u"Программа расчета стажа"_s);
    QCOMPARE(text, u"Запись не найдена"_s);
    QCOMPARE(buttons, QStringList{u"ОК"_s});

    QTimer::singleShot(0, [&] {
        readBox();
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
    });
    QVERIFY(dialogs.askRetrySave(nullptr, u"не удалось записать файл"_s));
    QCOMPARE(title, u"Программа расчета стажа"_s);
    buttons.sort();
    QCOMPARE(buttons, (QStringList{u"Закрыть без сохранения"_s, u"Повторить"_s}));

    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == u"Закрыть без сохранения"_s)
                button->click();
        }
    });
    QVERIFY(!dialogs.askRetrySave(nullptr, u"не удалось записать файл"_s));

    // Putting a write off loses nothing: Escape means "later".
    QTimer::singleShot(0, [&] {
        readBox();
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
    });
    QVERIFY(!dialogs.askRetryLock(nullptr, u"занят"_s));
    QCOMPARE(title, u"Программа расчета стажа"_s);
    buttons.sort();
    QCOMPARE(buttons, (QStringList{u"Отложить"_s, u"Повторить"_s}));
    QTimer::singleShot(0, [&] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
    QVERIFY(dialogs.askRetryLock(nullptr, u"занят"_s));
}

// "Правка" stands after "Файл" and holds the commands outside the tab sequence, each with its key.
void MainFormTest::editMenu()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    const auto* bar = Find<QMenuBar>(*w.form, "MainMenu");
    auto* file = Find<QMenu>(*w.form, "File");
    auto* edit = Find<QMenu>(*w.form, "Edit");
    QCOMPARE(bar->actions(), (QList<QAction*>{file->menuAction(), edit->menuAction()}));
    QCOMPARE(edit->title(), u"&Правка"_s);

    QStringList items;
    for (const QAction* item : edit->actions()) {
        if (!item->isSeparator())
            items << item->objectName() + u' ' + item->text() + u' ' + item->shortcut().toString();
    }
    QCOMPARE(items,
        (QStringList{u"Undo Отменить Ctrl+Z"_s, u"Redo Повторить Ctrl+Y"_s,
            u"CorrectPeriod Исправить выбранный период F2"_s, u"ClearList Очистить список Ctrl+L"_s,
            u"GoToSaved Перейти к сохраненным записям Ctrl+G"_s, u"SaveRecordItem Сохранить запись Ctrl+S"_s,
            u"OpenRecordItem Открыть выбранную запись Ctrl+O"_s,
            u"DeleteRecordItem Удалить выбранную запись Ctrl+D"_s}));
    // Nothing to take back yet.
    QVERIFY(!Find<QAction>(*w.form, "Undo")->isEnabled());
    QVERIFY(!Find<QAction>(*w.form, "Redo")->isEnabled());

    // "Файл" keeps its caption and still opens by Alt.
    AltKey(w.IncomeDate, u'ф');
    QTRY_VERIFY(file->isVisible());
    file->hide();
}

// Each command of "Правка" by its key, wherever the focus is.
void MainFormTest::editMenuCommandsByKeyboard()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    WriteBytes(path, Ansi("Иванов|Завод,01.09.1995,31.08.2001&\r\nПетров|\r\n"));
    Window w(path);
    w.AddPeriod(u"A"_s, u"01.01.2000"_s, u"31.12.2000"_s);
    w.AddPeriod(u"B"_s, u"01.01.2001"_s, u"31.12.2001"_s);

    w.ClickLine(w.IntervalsListBox, 0);
    TypeInto(w.AliasEdit, u"C"_s);
    QTest::keyClick(w.AliasEdit, Qt::Key_F2);
    QCOMPARE(Lines(w.IntervalsListBox), (QStringList{u"(01.01.2000-31.12.2000) C"_s, u"(01.01.2001-31.12.2001) B"_s}));
    QTest::keyClick(w.AliasEdit, Qt::Key_F2); // no line selected any more
    QCOMPARE(w.messages, QStringList{u"Выберите строку для коррекции"_s});

    QTest::keyClick(w.AliasEdit, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(w.IntervalsListBox->count(), 0);
    QCOMPARE(w.TotalIntervalValue->text(), u"0 дн."_s);

    QTest::keyClick(w.AliasEdit, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), w.SavedListBox);
    QCOMPARE(SelectedRow(w.SavedListBox), 0);
    QTest::keyClick(w.SavedListBox, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{u"(01.09.1995-31.08.2001) Завод"_s});
    QCOMPARE(w.SaveEdit->text(), u"Иванов"_s);

    // With a name in the field, Ctrl+S is "+".
    QTest::keyClick(w.SavedListBox, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(w.messages.last(), u"Информация изменена"_s);
    QCOMPARE(w.SaveEdit->text(), QString());
    // Without one, it brings the focus to the field, where Enter saves.
    QTest::keyClick(w.SavedListBox, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(w.messages.size(), 2);
    QCOMPARE(QApplication::focusWidget(), w.SaveEdit);
    TypeText(w.SaveEdit, u"Сидоров"_s);
    QTest::keyClick(w.SaveEdit, Qt::Key_Return);
    QCOMPARE(w.messages.last(), u"Информация добавлена"_s);

    QTest::keyClick(w.SaveEdit, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(SelectedRow(w.SavedListBox), 0); // the selection it had stays
    w.ClickLine(w.SavedListBox, 1);
    QTest::keyClick(w.SavedListBox, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(Lines(w.SavedListBox), (QStringList{u"Иванов"_s, u"Сидоров"_s}));
    QTest::keyClick(w.SavedListBox, Qt::Key_D, Qt::ControlModifier); // nothing selected
    QCOMPARE(Count(w.SavedListBox), 2);
    QCOMPARE(w.messages.size(), 3);

    // The designed tab sequence is left as it was.
    QTest::keyClick(w.SavedListBox, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.IncomeDate);

    w.Close();
    QCOMPARE(ReadBytes(path), Ansi("Иванов|Завод,01.09.1995,31.08.2001&\r\nСидоров|Завод,01.09.1995,31.08.2001&\r\n"));
}

void MainFormTest::enterOpensTheSelectedRecord()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    WriteBytes(path, Ansi("Иванов|Завод,01.09.1995,31.08.2001&\r\nПетров|Школа,01.01.2002,31.12.2002&\r\n"));
    Window w(path);
    QTest::keyClick(w.SavedListBox, Qt::Key_Return); // nothing selected
    QCOMPARE(w.IntervalsListBox->count(), 0);
    w.ClickLine(w.SavedListBox, 0);
    QTest::keyClick(w.SavedListBox, Qt::Key_Down);
    QTest::keyClick(w.SavedListBox, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{u"(01.01.2002-31.12.2002) Школа"_s});
    QCOMPARE(w.SaveEdit->text(), u"Петров"_s);
    QCOMPARE(QApplication::focusWidget(), w.SavedListBox);
    QVERIFY(w.messages.isEmpty());
}

// Alt and the underlined letter: a caption moves the focus to its field, a button is pressed
// and the focus stays. The texts stay as they are (the controls test reads them).
void MainFormTest::altKeysOfCaptionsAndButtons()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    const QList<std::pair<QChar, QWidget*>> captions{
        {u'н', w.AliasEdit}, {u'ч', w.DateTimePickerFrom}, {u'к', w.DateTimePickerTo}, {u'т', w.IncomeDate}};
    for (const auto& [letter, field] : captions) {
        AltKey(QApplication::focusWidget(), letter);
        QCOMPARE(QApplication::focusWidget(), field);
    }

    w.AliasEdit->setFocus();
    TypeText(w.AliasEdit, u"Завод"_s);
    AltKey(w.AliasEdit, u'д');
    QCOMPARE(w.IntervalsListBox->count(), 1);
    QCOMPARE(QApplication::focusWidget(), w.AliasEdit);
    AltKey(w.AliasEdit, u'б');
    QCOMPARE(w.messages, QStringList{u"Выберите строку для коррекции"_s});
    AltKey(w.AliasEdit, u'о');
    QCOMPARE(w.IntervalsListBox->count(), 0);
    QCOMPARE(QApplication::focusWidget(), w.AliasEdit);
}

void MainFormTest::undoRecordChanges_data()
{
    QTest::addColumn<int>("undos");
    QTest::addColumn<int>("redos");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("file");
    const QByteArray oldIvanov = Ansi("Иванов|Завод,01.09.1995,31.08.2001&\r\n");
    const QByteArray newIvanov = Ansi("Иванов|Школа,01.01.2002,31.12.2002&\r\n");
    const QByteArray petrov = Ansi("Петров|Школа,01.01.2002,31.12.2002&\r\n");
    QTest::newRow("all done") << 0 << 0 << QStringList{u"Петров"_s} << petrov;
    QTest::newRow("delete taken back") << 1 << 0 << QStringList{u"Иванов"_s, u"Петров"_s} << newIvanov + petrov;
    QTest::newRow("overwrite taken back") << 2 << 0 << QStringList{u"Иванов"_s, u"Петров"_s} << oldIvanov + petrov;
    QTest::newRow("new record taken back") << 3 << 0 << QStringList{u"Иванов"_s} << oldIvanov;
    QTest::newRow("all taken back, made again") << 3 << 3 << QStringList{u"Петров"_s} << petrov;
    QTest::newRow("two made again") << 3 << 2 << QStringList{u"Иванов"_s, u"Петров"_s} << newIvanov + petrov;
}

// A new record, an overwrite and a delete, taken back one at a time and made again; what the
// records hold then is what the data file gets.
void MainFormTest::undoRecordChanges()
{
    QFETCH(int, undos);
    QFETCH(int, redos);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, file);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    WriteBytes(path, Ansi("Иванов|Завод,01.09.1995,31.08.2001&\r\n"));
    Window w(path);
    w.AddPeriod(u"Школа"_s, u"01.01.2002"_s, u"31.12.2002"_s);
    w.SaveAs(u"Петров"_s);
    w.SaveAs(u"Иванов"_s);
    w.ClickLine(w.SavedListBox, 0);
    QTest::keyClick(w.SavedListBox, Qt::Key_Delete);
    const QStringList messages = w.messages;

    for (int i = 0; i < undos; ++i)
        QTest::keyClick(w.SavedListBox, Qt::Key_Z, Qt::ControlModifier);
    for (int i = 0; i < redos; ++i)
        QTest::keyClick(w.SavedListBox, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Lines(w.SavedListBox), lines);
    QCOMPARE(w.messages, messages);
    // The records changed, the working list did not.
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{u"(01.01.2002-31.12.2002) Школа"_s});
    QCOMPARE(Find<QAction>(*w.form, "Redo")->isEnabled(), undos > redos);
    w.Close();
    QCOMPARE(ReadBytes(path), file);
}

// Every change of the working list, taken back step by step and made again, each time with
// the read-outs recalculated.
void MainFormTest::undoWorkingListChanges()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    WriteBytes(path, Ansi("Иванов|Завод,01.09.1995,31.08.2001&\r\n"));
    Window w(path);
    const QString a = u"(01.01.2000-31.12.2000) A"_s;
    const QString b = u"(01.01.2001-31.12.2001) B"_s;
    const QString b2 = u"(01.01.2001-31.12.2001) B2"_s;
    const QString c = u"(01.01.2002-31.12.2002) C"_s;
    const QString zavod = u"(01.09.1995-31.08.2001) Завод"_s;
    w.AddPeriod(u"A"_s, u"01.01.2000"_s, u"31.12.2000"_s);
    w.AddPeriod(u"B"_s, u"01.01.2001"_s, u"31.12.2001"_s);
    w.AddPeriod(u"C"_s, u"01.01.2002"_s, u"31.12.2002"_s);
    w.ClickLine(w.IntervalsListBox, 1);
    TypeInto(w.AliasEdit, u"B2"_s);
    QTest::mouseClick(w.UpdateInterval, Qt::LeftButton);
    w.ClickLine(w.IntervalsListBox, 0);
    QTest::keyClick(w.IntervalsListBox, Qt::Key_Delete);
    QTest::mouseClick(w.ClearButton, Qt::LeftButton);
    w.DoubleClickLine(w.SavedListBox, 0);
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{zavod});

    const QList<QStringList> back{{}, {b2, c}, {a, b2, c}, {a, b, c}, {a, b}, {a}, {}};
    for (const QStringList& expected : back) {
        if (w.IntervalsListBox->count() > 0)
            w.ClickLine(w.IntervalsListBox, 0); // a selection, which the undo drops
        w.IntervalsListBox->setFocus();
        QTest::keyClick(w.IntervalsListBox, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Lines(w.IntervalsListBox), expected);
        QCOMPARE(SelectedRow(w.IntervalsListBox), -1);
    }
    QVERIFY(!Find<QAction>(*w.form, "Undo")->isEnabled());
    QCOMPARE(w.TotalIntervalValue->text(), u"0 дн."_s);

    for (qsizetype i = back.size() - 2; i >= 0; --i) {
        QTest::keyClick(w.IntervalsListBox, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Lines(w.IntervalsListBox), back[i]);
    }
    QTest::keyClick(w.IntervalsListBox, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{zavod});
    QCOMPARE(w.TotalIntervalValue->text(), u"6 л., 0 мес., 0 дн."_s);
    QVERIFY(!Find<QAction>(*w.form, "Redo")->isEnabled());
    QVERIFY(w.messages.isEmpty());
}

// In a text field Ctrl+Z is the field's own undo; the menu item and the key elsewhere take back
// the last change of the list.
void MainFormTest::ctrlZInATextFieldIsTheFieldsOwn()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    w.AddPeriod(u"A"_s, u"01.01.2000"_s, u"31.12.2000"_s);
    w.ClickLine(w.IntervalsListBox, 0);
    QTest::keyClick(w.IntervalsListBox, Qt::Key_Delete);
    QCOMPARE(w.IntervalsListBox->count(), 0);

    w.AliasEdit->setFocus();
    TypeText(w.AliasEdit, u"xyz"_s);
    QCOMPARE(w.AliasEdit->text(), u"Axyz"_s);
    QTest::keyClick(w.AliasEdit, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY2(w.AliasEdit->text() != u"Axyz"_s, qPrintable(w.AliasEdit->text()));
    QTest::keyClick(w.AliasEdit, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(w.IntervalsListBox->count(), 0);

    Find<QAction>(*w.form, "Undo")->trigger();
    QCOMPARE(Lines(w.IntervalsListBox), QStringList{u"(01.01.2000-31.12.2000) A"_s});
    QTest::keyClick(w.IntervalsListBox, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.IntervalsListBox->count(), 0);
}

// The insurance read-outs stand in the free band of "Расчет", under the selected period and
// above the unbroken-service date, and a long total still fits the group.
void MainFormTest::insuranceReadOutControls()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    w.AddPeriod(u"Век"_s, u"01.01.1900"_s, u"31.12.1999"_s);
    const struct {
        const char* name;
        QPoint position;
        int height;
        QString text;
        bool bold;
        int pixels;
        QString description;
    } cases[] = {
        {"InsuranceTotalLabel", {4, 90}, 13, u"Страховой стаж:"_s, true, 11, {}},
        {"InsuranceTotalValue", {7, 105}, 16, u"100 л., 0 мес., 0 дн."_s, false, 13, u"Страховой стаж"_s},
        {"SickLeaveValue", {7, 124}, 16, u"Больничный: 100 %"_s, false, 13, u"Процент пособия"_s},
    };
    auto* group = Find<QGroupBox>(*w.form, "CalculatingGroupBox");
    const int selectedBottom = Find<QLabel>(*w.form, "SelectedIntervalValue")->geometry().bottom();
    const int unbrokenTop = Find<QLabel>(*w.form, "UnBrokenLabel")->geometry().top();
    for (const auto& c : cases) {
        auto* label = Find<QLabel>(*w.form, c.name);
        QCOMPARE(label->parentWidget(), group);
        QCOMPARE(label->pos(), c.position);
        QCOMPARE(label->height(), c.height);
        QCOMPARE(label->text(), c.text);
        QCOMPARE(label->font().bold(), c.bold);
        QCOMPARE(label->font().pixelSize(), c.pixels);
        QVERIFY(label->font().families().contains(u"Tahoma"_s));
        QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(c.text), c.name);
        QVERIFY2(label->geometry().right() < group->width(), c.name);
        QVERIFY2(label->geometry().top() > selectedBottom && label->geometry().bottom() < unbrokenTop, c.name);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(label);
        QVERIFY(accessible);
        if (!c.description.isEmpty())
            QCOMPARE(accessible->text(QAccessible::Description), c.description);
    }
    // The tooltips say how each figure is counted and on which legal basis.
    const QString insuranceHint = Find<QLabel>(*w.form, "InsuranceTotalValue")->toolTip();
    for (const QString& part : {u"отработанный полностью"_s, u"30 дней"_s, u"один раз"_s, u"№ 585н"_s, u"№ 1015"_s})
        QVERIFY2(insuranceHint.contains(part), qPrintable(part));
    QCOMPARE(Find<QLabel>(*w.form, "InsuranceTotalLabel")->toolTip(), insuranceHint);
    const QString sickLeaveHint = Find<QLabel>(*w.form, "SickLeaveValue")->toolTip();
    QVERIFY(sickLeaveHint.contains(u"255-ФЗ"_s));
    QVERIFY(sickLeaveHint.contains(u"Стаж взят на сегодня, 15.03.2024, вместе с текущей работой от даты приема."_s));
    // The designed controls keep their places.
    QCOMPARE(Find<QLabel>(*w.form, "UnBrokenLabel")->pos(), QPoint(4, 152));
    QCOMPARE(Find<QLineEdit>(*w.form, "IncomeDate")->geometry(), QRect(4, 169, 78, 21));
}

// Both read-outs are rebuilt by every recalculation: the insurance total of the list alone,
// the sick-leave percentage as of today with the current job from the hire date.
void MainFormTest::insuranceReadOutsFollowEveryChange()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"u.ini"_s);
    WriteBytes(path, Ansi("Иванов|Завод,01.07.2016,30.06.2021&\r\n"));
    Window w(path);
    auto* total = Find<QLabel>(*w.form, "InsuranceTotalValue");
    auto* sickLeave = Find<QLabel>(*w.form, "SickLeaveValue");
    const auto check = [&](const char* step, const QString& expectedTotal, const QString& expectedSickLeave) {
        QVERIFY2(total->text() == expectedTotal, qPrintable(QString::fromLatin1(step) + u": "_s + total->text()));
        QVERIFY2(sickLeave->text() == expectedSickLeave,
            qPrintable(QString::fromLatin1(step) + u": "_s + sickLeave->text()));
    };

    // Hired today: one day of service, under six months.
    check("start", u"0 дн."_s, u"Больничный: 60 %"_s);
    QVERIFY(sickLeave->toolTip().contains(u"не больше МРОТ"_s));
    // Five years exactly by the Fund's rule; the designed total reads 4 y 11 m 30 d.
    w.AddPeriod(u"Завод"_s, u"01.07.2016"_s, u"30.06.2021"_s);
    check("add", u"5 л., 0 мес., 0 дн."_s, u"Больничный: 80 %"_s);
    QCOMPARE(w.TotalIntervalValue->text(), u"4 л., 11 мес., 30 дн."_s);
    QVERIFY(!sickLeave->toolTip().contains(u"МРОТ"_s));
    w.ClickLine(w.IntervalsListBox, 0);
    TypeInto(w.DateTimePickerFrom, u"01.03.2015"_s);
    TypeInto(w.DateTimePickerTo, u"28.02.2023"_s);
    QTest::mouseClick(w.UpdateInterval, Qt::LeftButton);
    check("update", u"8 л., 0 мес., 0 дн."_s, u"Больничный: 100 %"_s);
    w.AddPeriod(u"Школа"_s, u"01.01.2000"_s, u"31.12.2000"_s);
    check("second add", u"9 л., 0 мес., 0 дн."_s, u"Больничный: 100 %"_s);
    w.ClickLine(w.IntervalsListBox, 0);
    QTest::keyClick(w.IntervalsListBox, Qt::Key_Delete);
    check("delete", u"1 л., 0 мес., 0 дн."_s, u"Больничный: 60 %"_s);
    // Four years of the current job: 15.03.2020 to 15.03.2024 is 4 y 0 m 2 d.
    TypeInto(w.IncomeDate, u"15.03.2020"_s);
    check("hire date", u"1 л., 0 мес., 0 дн."_s, u"Больничный: 80 %"_s);
    TypeInto(w.IncomeDate, u"31.02.2020"_s);
    check("hire date not real", u"1 л., 0 мес., 0 дн."_s, u"Больничный: 60 %"_s);
    QVERIFY(sickLeave->toolTip().contains(u"Текущая работа не учтена"_s));
    TypeInto(w.IncomeDate, u"15.03.2020"_s);
    QTest::mouseClick(w.ClearButton, Qt::LeftButton);
    check("clear", u"0 дн."_s, u"Больничный: 60 %"_s);
    w.DoubleClickLine(w.SavedListBox, 0);
    // The record's period and the current job overlap from 15.03.2020: counted once, 7 y 8 m 15 d.
    check("open", u"5 л., 0 мес., 0 дн."_s, u"Больничный: 80 %"_s);
    QVERIFY(w.messages.isEmpty());
}

void MainFormTest::findingsMarkTheirLines_data()
{
    QTest::addColumn<QStringList>("dates"); // from, to of each period
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("toolTip"); // empty: no finding
    QTest::newRow("nothing wrong") << QStringList{u"01.01.2020"_s, u"31.12.2020"_s} << 0 << QString();
    QTest::newRow("start not real") << QStringList{u"31.02.2020"_s, u"31.03.2020"_s} << 0
                                    << u"Дата начала 31.02.2020 не существует в календаре, "
                                       u"период не входит в страховой стаж"_s;
    QTest::newRow("end untouched") << QStringList{u"01.01.2020"_s, Blank} << 0
                                   << u"Дата окончания   .  .     не существует в календаре, "
                                      u"период не входит в страховой стаж"_s;
    QTest::newRow("end before start") << QStringList{u"31.12.2020"_s, u"01.01.2020"_s} << 0
                                      << u"Конец периода раньше начала"_s;
    QTest::newRow("in the future") << QStringList{u"01.01.2024"_s, u"31.12.2024"_s} << 0
                                   << u"Дата периода позже даты расчета 15.03.2024"_s;
    QTest::newRow("overlap, first line") << QStringList{u"01.01.2020"_s, u"31.12.2020"_s, u"01.06.2020"_s,
        u"31.08.2021"_s} << 0 << u"Пересекается с периодом 2 на 214 дн."_s;
    QTest::newRow("overlap, second line") << QStringList{u"01.01.2020"_s, u"31.12.2020"_s, u"01.06.2020"_s,
        u"31.08.2021"_s} << 1 << u"Пересекается с периодом 1 на 214 дн."_s;
    QTest::newRow("touching periods") << QStringList{u"01.01.2020"_s, u"31.03.2020"_s, u"01.04.2020"_s, u"30.04.2020"_s}
                                      << 1 << QString();
}

// A line whose period has a finding carries a warning icon and a tooltip that names it; its
// text stays as it is.
void MainFormTest::findingsMarkTheirLines()
{
    QFETCH(QStringList, dates);
    QFETCH(int, line);
    QFETCH(QString, toolTip);
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    QStringList lines;
    for (qsizetype i = 0; i + 1 < dates.size(); i += 2) {
        w.AddPeriod(u"Завод"_s, dates[i], dates[i + 1]);
        lines.append(u"("_s + dates[i] + u"-"_s + dates[i + 1] + u") Завод"_s);
    }
    QCOMPARE(Lines(w.IntervalsListBox), lines);
    const QListWidgetItem* item = w.IntervalsListBox->item(line);
    QCOMPARE(item->icon().isNull(), toolTip.isEmpty());
    QCOMPARE(item->toolTip(), QString());
    // The tooltip is written when the pointer rests on the line.
    const QRect rect = w.IntervalsListBox->visualItemRect(item);
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    QHelpEvent help(QEvent::ToolTip, rect.center(), w.IntervalsListBox->viewport()->mapToGlobal(rect.center()));
    QApplication::sendEvent(w.IntervalsListBox->viewport(), &help);
    QCOMPARE(QToolTip::isVisible(), !toolTip.isEmpty());
    if (!toolTip.isEmpty())
        QCOMPARE(QToolTip::text(), toolTip);
    // The icon keeps to the height of a line.
    QVERIFY(w.IntervalsListBox->iconSize().height() <= 13);

    // Mended, the line loses its mark on the next recalculation.
    QTest::mouseClick(w.ClearButton, Qt::LeftButton);
    w.AddPeriod(u"Завод"_s, u"01.01.2020"_s, u"31.12.2020"_s);
    QVERIFY(w.IntervalsListBox->item(0)->icon().isNull());
}

// When the hire date cannot be used, the unbroken-service date keeps its text, greyed, and
// its tooltip says why it was not updated.
void MainFormTest::staleUnbrokenDateIsGreyed()
{
    QTemporaryDir dir;
    Window w(dir.filePath(u"u.ini"_s));
    w.AddPeriod(u"Завод"_s, u"01.09.1995"_s, u"31.08.2001"_s);
    TypeInto(w.IncomeDate, u"15.06.2020"_s);
    QCOMPARE(w.UnbrokenDate->text(), u"15.06.2014"_s);
    QVERIFY(w.UnbrokenDate->isEnabled());
    QCOMPARE(w.UnbrokenDate->toolTip(), QString());
    const QPalette& palette = w.UnbrokenDate->palette();
    QVERIFY(palette.color(QPalette::Disabled, QPalette::WindowText)
        != palette.color(QPalette::Active, QPalette::WindowText));

    const QString staleHint = u"Дата непрерывного стажа не пересчитана: дата приема не распознана или слишком "
                              u"ранняя. Показана дата, посчитанная раньше, для прежних данных."_s;
    for (const QString& hire : {u"31.02.2020"_s, QString(), u"15.06.0005"_s}) {
        TypeInto(w.IncomeDate, hire);
        QCOMPARE(w.UnbrokenDate->text(), u"15.06.2014"_s);
        QVERIFY2(!w.UnbrokenDate->isEnabled(), qPrintable(hire));
        QCOMPARE(w.UnbrokenDate->toolTip(), staleHint);
    }
    TypeInto(w.IncomeDate, u"15.06.2021"_s);
    QCOMPARE(w.UnbrokenDate->text(), u"15.06.2015"_s);
    QVERIFY(w.UnbrokenDate->isEnabled());
    QCOMPARE(w.UnbrokenDate->toolTip(), QString());
}

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
