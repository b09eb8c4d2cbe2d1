#include "Dateinterval.h"

#include "About.h"
#include "Analysis.h"
#include "AnalysisForm.h"
#include "AnalysisText.h"
#include "DataFile.h"
#include "Mnemonics.h"
#include "NameCheck.h"
#include "SavedListModel.h"
#include "ServiceLength.h"
#include "TextConversion.h"
#include "Texts.h"
#include "Totals.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QGroupBox>
#include <QHelpEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleFactory>
#include <QToolTip>

#include <algorithm>

TMainForm* MainForm = nullptr;

namespace {

const char* const DateMask = "99.99.9999; ";
const char* const DateFormat = "dd.MM.yyyy";

constexpr int ClientWidth = 686;
constexpr int ClientHeight = 250;
constexpr int FontPixels = 11;
constexpr int DateFontPixels = 13;
constexpr int ValueFontPixels = 13;
constexpr int PlusFontPixels = 19;

QString Text(const char* text)
{
    return QString::fromUtf8(text);
}

QFont WindowFont(int pixels, bool bold = false)
{
    QFont font;
    // Tahoma where it is installed. DejaVu Sans Condensed is nearly as wide, so the texts fit
    // the same bounds; plain DejaVu Sans is on every Debian desktop.
    font.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

template <typename Control> Control* Place(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(left, top, width, height);
    return control;
}

// A read-out is as wide as its text, so no text is cut. Assistive technology reads it under its
// caption, which its description holds, and hears "пусто" rather than nothing.
void SetCaption(QLabel* label, const QString& text)
{
    label->setText(text);
    label->resize(std::max(label->sizeHint().width(), 1), label->height());
    if (const QString caption = label->accessibleDescription(); !caption.isEmpty())
        label->setAccessibleName(
            Texts::ReadOutName.toString().arg(caption, text.isEmpty() ? Texts::EmptyText.toString() : text));
}

// A date field tells assistive technology its date, or that it is empty, instead of the bare
// separators of its mask.
void DescribeDate(QLineEdit* field)
{
    const QString shown = field->displayText();
    const bool empty = std::none_of(shown.begin(), shown.end(), [](QChar c) { return c.isDigit(); });
    QString spoken = empty ? Texts::EmptyText.toString() : shown;
    while (!empty && spoken.endsWith(u' '))
        spoken.chop(1);
    field->setAccessibleDescription(spoken);
}

// A caption keeps the width the layout gives it, or more when its text needs more.
QLabel* PlaceLabel(QWidget* parent, const char* name, int left, int top, int width, int height, const QString& text,
    bool bold = false, int pixels = FontPixels, QChar mnemonic = {})
{
    auto* label = Place<MnemonicLabel>(parent, name, left, top, width, height);
    label->setFont(WindowFont(pixels, bold));
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->resize(std::max(width, label->sizeHint().width()), height);
    if (!mnemonic.isNull())
        label->SetMnemonic(mnemonic);
    return label;
}

QLineEdit* PlaceDateEdit(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* edit = Place<QLineEdit>(parent, name, left, top, width, height);
    edit->setFont(WindowFont(DateFontPixels));
    edit->setInputMask(Text(DateMask));
    edit->setMaxLength(10);
    return edit;
}

QPushButton* PlaceButton(QWidget* parent, const char* name, int left, int top, int width, int height,
    const QString& text, QChar mnemonic = {})
{
    auto* button = Place<MnemonicButton>(parent, name, left, top, width, height);
    button->setText(text);
    if (!mnemonic.isNull())
        button->SetMnemonic(mnemonic);
    return button;
}

QAction* AddItem(QMenu* menu, const char* name, QStringView text, const QKeySequence& shortcut)
{
    QAction* item = menu->addAction(text.toString());
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(shortcut);
    return item;
}

// The list's one selected line, or -1 when none is selected.
int SelectedRow(const QAbstractItemView* list)
{
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

bool IsEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Trims UTF-16 code units up to U+0020 only: a no-break space is part of the name.
QString TrimControlsAndBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 0x20)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 0x20)
        --last;
    return text.mid(first, last - first);
}

DataFileLocation DefaultDataFileLocation()
{
    return LocateDataFile(
        QCoreApplication::applicationDirPath(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

TMainForm::UserDialogs TMainForm::StandardDialogs()
{
    UserDialogs dialogs;
    dialogs.showMessage = [](QWidget* parent, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok, parent);
        box.button(QMessageBox::Ok)->setText(Texts::OkText.toString());
        box.exec();
    };
    dialogs.askRetrySave = [](QWidget* parent, const QString& text) {
        QMessageBox box(QMessageBox::Warning, ApplicationTitle(), text, QMessageBox::NoButton, parent);
        QPushButton* retry = box.addButton(Texts::RetryText.toString(), QMessageBox::AcceptRole);
        box.addButton(Texts::CloseWithoutSavingText.toString(), QMessageBox::DestructiveRole);
        box.setDefaultButton(retry);
        // Escape or the close box must not throw the run's records away: only the explicit choice does.
        box.setEscapeButton(retry);
        box.exec();
        return box.clickedButton() == retry;
    };
    dialogs.today = [] { return QDate::currentDate(); };
    dialogs.askRetryLock = [](QWidget* parent, const QString& text) {
        QMessageBox box(QMessageBox::Warning, ApplicationTitle(), text, QMessageBox::NoButton, parent);
        QPushButton* retry = box.addButton(Texts::RetryText.toString(), QMessageBox::AcceptRole);
        QPushButton* later = box.addButton(Texts::LaterText.toString(), QMessageBox::RejectRole);
        box.setDefaultButton(retry);
        // Putting off loses nothing: the record stays in memory for the next write.
        box.setEscapeButton(later);
        box.exec();
        return box.clickedButton() == retry;
    };
    dialogs.pdfFileName = AskPdfFileName;
    dialogs.printPreview = ShowPrintPreview;
    return dialogs;
}

QString TMainForm::ApplicationTitle()
{
    return Texts::ApplicationTitleText.toString();
}

TMainForm::TMainForm(QWidget* parent)
    : TMainForm(DefaultDataFileLocation(), StandardDialogs(), parent)
{
}

TMainForm::TMainForm(const QString& dataFilePath, UserDialogs dialogs, QWidget* parent)
    : TMainForm(DataFileLocation{dataFilePath, dataFilePath, {}}, std::move(dialogs), parent)
{
}

TMainForm::TMainForm(const DataFileLocation& location, UserDialogs dialogs, QWidget* parent)
    : QMainWindow(parent)
    , m_book(location)
    , SavedRecords(m_book.Records())
    , DataFilePath(location.path)
    , m_dialogs(std::move(dialogs))
{
    const UserDialogs standard = StandardDialogs();
    if (!m_dialogs.showMessage)
        m_dialogs.showMessage = standard.showMessage;
    if (!m_dialogs.askRetrySave)
        m_dialogs.askRetrySave = standard.askRetrySave;
    if (!m_dialogs.today)
        m_dialogs.today = standard.today;
    if (!m_dialogs.askRetryLock)
        m_dialogs.askRetryLock = standard.askRetryLock;
    if (m_dialogs.lockWait.count() > 0)
        m_book.SetLockWait(m_dialogs.lockWait);
    if (!m_dialogs.pdfFileName)
        m_dialogs.pdfFileName = standard.pdfFileName;
    if (!m_dialogs.printPreview)
        m_dialogs.printPreview = standard.printPreview;
    CreateControls();
    BindEvents();
    SetTabOrder();
    LoadDataFile();
    FormCreate();
}

void TMainForm::CreateControls()
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(Texts::CaptionText.toString());
    // The icon lives in the resources of the windows library, which a static link does not register by itself.
    Q_INIT_RESOURCE(resources);
    setWindowIcon(QIcon(QStringLiteral(":/icons/kalmir.svg")));
    setFont(WindowFont(FontPixels));

    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    File = MainMenu->addMenu(Texts::FileMenuText.toString());
    File->setObjectName(QStringLiteral("File"));
    DetailedCalculation
        = AddItem(File, "DetailedCalculation", Texts::DetailedCalculationMenuText, QKeySequence(Qt::CTRL | Qt::Key_R));
    About = File->addAction(Texts::AboutMenuText.toString());
    About->setObjectName(QStringLiteral("About"));
    // "Файл" keeps its caption, so its Alt key is a shortcut of its own.
    auto* openFile = new QShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(u'Ф'))), this);
    connect(openFile, &QShortcut::activated, this, [this] { MainMenu->setActiveAction(File->menuAction()); });

    Edit = MainMenu->addMenu(Texts::EditMenuText.toString());
    Edit->setObjectName(QStringLiteral("Edit"));
    Undo = AddItem(Edit, "Undo", Texts::UndoText, QKeySequence(Qt::CTRL | Qt::Key_Z));
    Redo = AddItem(Edit, "Redo", Texts::RedoText, QKeySequence(Qt::CTRL | Qt::Key_Y));
    Edit->addSeparator();
    CorrectPeriod = AddItem(Edit, "CorrectPeriod", Texts::CorrectPeriodText, QKeySequence(Qt::Key_F2));
    ClearList = AddItem(Edit, "ClearList", Texts::ClearListText, QKeySequence(Qt::CTRL | Qt::Key_L));
    Edit->addSeparator();
    GoToSaved = AddItem(Edit, "GoToSaved", Texts::GoToSavedText, QKeySequence(Qt::CTRL | Qt::Key_G));
    SaveRecordItem = AddItem(Edit, "SaveRecordItem", Texts::SaveRecordText, QKeySequence(Qt::CTRL | Qt::Key_S));
    OpenRecordItem = AddItem(Edit, "OpenRecordItem", Texts::OpenRecordText, QKeySequence(Qt::CTRL | Qt::Key_O));
    DeleteRecordItem = AddItem(Edit, "DeleteRecordItem", Texts::DeleteRecordText, QKeySequence(Qt::CTRL | Qt::Key_D));
    setMenuBar(MainMenu);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(client);

    // The captions of the group boxes stand on their frame line, above the controls inside.
    QStyle* groupBoxStyle = QStyleFactory::create(QStringLiteral("Windows"));
    if (groupBoxStyle)
        groupBoxStyle->setParent(this);

    ParamsGroupBox = Place<QGroupBox>(client, "ParamsGroupBox", 6, 6, 489, 45);
    if (groupBoxStyle)
        ParamsGroupBox->setStyle(groupBoxStyle);
    AliasLabel = PlaceLabel(
        ParamsGroupBox, "AliasLabel", 3, 3, 58, 13, Texts::AliasLabelText.toString(), true, FontPixels, u'Н');
    AliasEdit = Place<QLineEdit>(ParamsGroupBox, "AliasEdit", 3, 20, 129, 21);
    DateFromLabel = PlaceLabel(
        ParamsGroupBox, "DateFromLabel", 136, 3, 46, 13, Texts::DateFromLabelText.toString(), true, FontPixels, u'ч');
    DateTimePickerFrom = PlaceDateEdit(ParamsGroupBox, "DateTimePickerFrom", 136, 20, 82, 21);
    DateToLabel = PlaceLabel(
        ParamsGroupBox, "DateToLabel", 220, 3, 39, 13, Texts::DateToLabelText.toString(), true, FontPixels, u'К');
    DateTimePickerTo = PlaceDateEdit(ParamsGroupBox, "DateTimePickerTo", 220, 20, 82, 21);
    AddInterval = PlaceButton(ParamsGroupBox, "AddInterval", 308, 20, 102, 21, Texts::AddIntervalText.toString(), u'Д');
    AliasLabel->setBuddy(AliasEdit);
    DateFromLabel->setBuddy(DateTimePickerFrom);
    DateToLabel->setBuddy(DateTimePickerTo);

    UpdateInterval = PlaceButton(client, "UpdateInterval", 423, 26, 63, 21, Texts::UpdateIntervalText.toString(), u'б');
    IntervalsListBox = Place<QListWidget>(client, "IntervalsListBox", 9, 53, 299, 178);
    IntervalsListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    IntervalsListBox->setUniformItemSizes(true);
    IntervalsListBox->setAccessibleName(Texts::IntervalsListName.toString());
    // A warning icon on a line with a finding keeps to the line's height.
    IntervalsListBox->setIconSize(QSize(FontPixels, FontPixels));
    ClearButton = PlaceButton(client, "ClearButton", 9, 232, 299, 15, Texts::ClearButtonText.toString(), u'О');

    CalculatingGroupBox = Place<QGroupBox>(client, "CalculatingGroupBox", 314, 53, 183, 194);
    CalculatingGroupBox->setTitle(Texts::CalculatingGroupBoxText.toString());
    if (groupBoxStyle)
        CalculatingGroupBox->setStyle(groupBoxStyle);
    TotalIntervalLabel = PlaceLabel(
        CalculatingGroupBox, "TotalIntervalLabel", 4, 14, 109, 13, Texts::TotalIntervalLabelText.toString(), true);
    TotalIntervalValue
        = PlaceLabel(CalculatingGroupBox, "TotalIntervalValue", 7, 31, 4, 16, QString(), false, ValueFontPixels);
    TotalIntervalValue->setAccessibleDescription(Texts::TotalDescription.toString());
    SelectedIntervalLabel = PlaceLabel(CalculatingGroupBox, "SelectedIntervalLabel", 4, 51, 3, 13, QString(), true);
    SelectedIntervalLabel->setAccessibleDescription(Texts::SelectedNameDescription.toString());
    SelectedIntervalValue
        = PlaceLabel(CalculatingGroupBox, "SelectedIntervalValue", 7, 71, 4, 16, QString(), false, ValueFontPixels);
    SelectedIntervalValue->setAccessibleDescription(Texts::SelectedLengthDescription.toString());
    UnBrokenLabel = PlaceLabel(CalculatingGroupBox, "UnBrokenLabel", 4, 152, 140, 13,
        Texts::UnBrokenLabelText.toString(), false, FontPixels, u'т');
    IncomeDate = PlaceDateEdit(CalculatingGroupBox, "IncomeDate", 4, 169, 78, 21);
    IncomeDate->setToolTip(Texts::IncomeDateHintText.toString());
    IncomeDate->setAccessibleName(Texts::IncomeDateHintText.toString());
    UnBrokenLabel->setBuddy(IncomeDate);
    UnbrokenDate = PlaceLabel(CalculatingGroupBox, "UnbrokenDate", 88, 174, 3, 16, QString(), true);
    UnbrokenDate->setAccessibleDescription(Texts::UnbrokenDateDescription.toString());
    UnbrokenDateUpdateButton = PlaceButton(CalculatingGroupBox, "UnbrokenDateUpdateButton", 156, 166, 25, 25,
        Texts::UnbrokenDateUpdateButtonText.toString());
    UnbrokenDateUpdateButton->setAccessibleName(Texts::UnbrokenDateUpdateButtonName.toString());
    // The insurance read-outs stand in the free band between the selected period and the
    // unbroken-service date.
    InsuranceTotalLabel = PlaceLabel(
        CalculatingGroupBox, "InsuranceTotalLabel", 4, 90, 109, 13, Texts::InsuranceTotalLabelText.toString(), true);
    InsuranceTotalValue
        = PlaceLabel(CalculatingGroupBox, "InsuranceTotalValue", 7, 105, 4, 16, QString(), false, ValueFontPixels);
    InsuranceTotalValue->setAccessibleDescription(Texts::InsuranceTotalDescription.toString());
    const QString insuranceHint = Texts::InsuranceMethodText.toString() + u' ' + Texts::InsuranceBasisText.toString();
    InsuranceTotalLabel->setToolTip(insuranceHint);
    InsuranceTotalValue->setToolTip(insuranceHint);
    SickLeaveValue
        = PlaceLabel(CalculatingGroupBox, "SickLeaveValue", 7, 124, 4, 16, QString(), false, ValueFontPixels);
    SickLeaveValue->setAccessibleDescription(Texts::SickLeaveDescription.toString());

    SavedGroupBox = Place<QGroupBox>(client, "SavedGroupBox", 499, 0, 179, 247);
    SavedGroupBox->setTitle(Texts::SavedGroupBoxText.toString());
    if (groupBoxStyle)
        SavedGroupBox->setStyle(groupBoxStyle);
    SavedListBox = Place<QListView>(SavedGroupBox, "SavedListBox", 3, 16, 172, 198);
    m_savedLines = new SavedListModel(SavedListBox);
    SavedListBox->setModel(m_savedLines);
    SavedListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    SavedListBox->setUniformItemSizes(true);
    SavedListBox->setAccessibleName(Texts::SavedListName.toString());
    SaveEdit = Place<QLineEdit>(SavedGroupBox, "SaveEdit", 3, 215, 143, 21);
    SaveEdit->setAccessibleName(Texts::SaveEditName.toString());
    SaveUserButton
        = PlaceButton(SavedGroupBox, "SaveUserButton", 147, 215, 28, 21, Texts::SaveUserButtonText.toString());
    SaveUserButton->setFont(WindowFont(PlusFontPixels));
    SaveUserButton->setAccessibleName(Texts::SaveUserButtonName.toString());

    // The menu bar stands above the client area, which keeps its fixed size.
    setFixedSize(ClientWidth, ClientHeight + MainMenu->sizeHint().height());
    if (const QScreen* desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());
}

void TMainForm::BindEvents()
{
    connect(AddInterval, &QPushButton::clicked, this, &TMainForm::AddIntervalClick);
    // A change of the selection by mouse or arrow keys, and a click on the line already selected.
    connect(IntervalsListBox, &QListWidget::itemSelectionChanged, this, &TMainForm::IntervalsListBoxClick);
    connect(IntervalsListBox, &QListWidget::itemClicked, this, &TMainForm::IntervalsListBoxClick);
    connect(UpdateInterval, &QPushButton::clicked, this, &TMainForm::UpdateIntervalClick);
    connect(ClearButton, &QPushButton::clicked, this, &TMainForm::ClearButtonClick);
    connect(IncomeDate, &QLineEdit::textChanged, this, &TMainForm::IncomeDateChange);
    connect(UnbrokenDateUpdateButton, &QPushButton::clicked, this, &TMainForm::UnbrokenDateUpdateButtonClick);
    connect(SaveUserButton, &QPushButton::clicked, this, &TMainForm::SaveUserButtonClick);
    connect(SavedListBox, &QListView::doubleClicked, this, &TMainForm::SavedListBoxDblClick);
    connect(About, &QAction::triggered, this, &TMainForm::AboutClick);
    connect(Undo, &QAction::triggered, this, &TMainForm::UndoClick);
    connect(Redo, &QAction::triggered, this, &TMainForm::RedoClick);
    connect(CorrectPeriod, &QAction::triggered, this, &TMainForm::UpdateIntervalClick);
    connect(ClearList, &QAction::triggered, this, &TMainForm::ClearButtonClick);
    connect(GoToSaved, &QAction::triggered, this, &TMainForm::GoToSavedClick);
    connect(SaveRecordItem, &QAction::triggered, this, &TMainForm::SaveRecordItemClick);
    connect(OpenRecordItem, &QAction::triggered, this, &TMainForm::SavedListBoxDblClick);
    connect(DeleteRecordItem, &QAction::triggered, this, &TMainForm::DeleteSelectedRecord);
    UpdateHistoryItems();
    for (QLineEdit* date : {DateTimePickerFrom, DateTimePickerTo, IncomeDate}) {
        connect(date, &QLineEdit::textChanged, this, [date] { DescribeDate(date); });
        DescribeDate(date);
    }
    connect(DetailedCalculation, &QAction::triggered, this, &TMainForm::DetailedCalculationClick);
    IntervalsListBox->viewport()->installEventFilter(this);

    for (QObject* control :
        std::initializer_list<QObject*>{AliasEdit, DateTimePickerFrom, DateTimePickerTo, IncomeDate, IntervalsListBox,
            SavedListBox, SaveEdit, AddInterval, UpdateInterval, ClearButton, UnbrokenDateUpdateButton, SaveUserButton})
        control->installEventFilter(this);
}

void TMainForm::SetTabOrder()
{
    const QList<QWidget*> order{IncomeDate, UnbrokenDateUpdateButton, AliasEdit, DateTimePickerFrom, DateTimePickerTo,
        AddInterval, IntervalsListBox, UpdateInterval, ClearButton, SavedListBox, SaveEdit, SaveUserButton};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    // These take the focus by click only; Tab and Enter pass them by.
    for (QWidget* control :
        std::initializer_list<QWidget*>{UpdateInterval, ClearButton, SavedListBox, SaveEdit, SaveUserButton})
        control->setFocusPolicy(Qt::ClickFocus);
    IncomeDate->setFocus();
}

void TMainForm::ShowMessage(const QString& text)
{
    m_dialogs.showMessage(this, text);
}

void TMainForm::AddIntervalClick()
{
    const MDate from(ToAnsi(DateTimePickerFrom->displayText()));
    const MDate to(ToAnsi(DateTimePickerTo->displayText()));
    const QString name = AliasEdit->text();
    if (const auto refused = FirstRefusedCharacter(name)) {
        ShowMessage(RefusedCharacterMessage(*refused));
        return;
    }
    ChangeWorkingList(WorkingList.size(), 0, {Interval(ToAnsi(name), from, to)});
    Recalculate();
}

void TMainForm::IntervalsListBoxClick()
{
    const int i = SelectedRow(IntervalsListBox);
    if (i < 0 || static_cast<size_t>(i) >= WorkingList.size())
        return;
    const Interval& period = WorkingList[static_cast<size_t>(i)];
    SetCaption(SelectedIntervalLabel, FromAnsi(period.name));
    ServiceLength length = IntervalLength(period.from, period.to);
    SetCaption(SelectedIntervalValue, FromAnsi(LengthText(length)));
    DateTimePickerFrom->setText(FromAnsi(DateText(period.from)));
    DateTimePickerTo->setText(FromAnsi(DateText(period.to)));
    AliasEdit->setText(FromAnsi(period.name));
}

void TMainForm::UpdateIntervalClick()
{
    const int i = SelectedRow(IntervalsListBox);
    if (i <= -1 || static_cast<size_t>(i) >= WorkingList.size()) {
        ShowMessage(Texts::SelectLineMessage.toString());
        return;
    }
    const QString name = AliasEdit->text();
    if (const auto refused = FirstRefusedCharacter(name)) {
        ShowMessage(RefusedCharacterMessage(*refused));
        return;
    }
    ChangeWorkingList(static_cast<size_t>(i), 1,
        {Interval(ToAnsi(name), MDate(ToAnsi(DateTimePickerFrom->displayText())),
            MDate(ToAnsi(DateTimePickerTo->displayText())))});
    Recalculate();
}

void TMainForm::IntervalsListBoxKeyDown(int key)
{
    if (key != Qt::Key_Delete)
        return;
    const int i = SelectedRow(IntervalsListBox);
    if (i < 0 || static_cast<size_t>(i) >= WorkingList.size())
        return;
    ChangeWorkingList(static_cast<size_t>(i), 1, {});
    {
        const QSignalBlocker quiet(IntervalsListBox);
        delete IntervalsListBox->takeItem(i);
    }
    Recalculate();
}

void TMainForm::ClearButtonClick()
{
    ChangeWorkingList(0, WorkingList.size(), {});
    Recalculate();
}

void TMainForm::IncomeDateChange()
{
    Recalculate();
}

void TMainForm::UnbrokenDateUpdateButtonClick()
{
    Recalculate();
}

void TMainForm::FormCreate()
{
    IncomeDate->setText(m_dialogs.today().toString(Text(DateFormat)));
}

void TMainForm::FormClose()
{
    SaveDataFile();
}

void TMainForm::SaveUserButtonClick()
{
    const QString typed = SaveEdit->text();
    if (TrimControlsAndBlanks(typed).isEmpty()) {
        ShowMessage(Texts::EnterNameMessage.toString());
        return;
    }
    // The untrimmed text is the key, so a line end at either end counts as well.
    if (const auto refused = FirstRefusedCharacter(typed)) {
        ShowMessage(RefusedCharacterMessage(*refused));
        return;
    }
    SaveRecord();
}

void TMainForm::SaveEditKeyDown(int key)
{
    if (IsEnter(key))
        SaveUserButtonClick();
}

void TMainForm::SavedListBoxDblClick()
{
    const int i = SelectedRow(SavedListBox);
    if (i < 0)
        return;
    OpenRecord(ToAnsi(m_savedLines->Line(i)));
}

void TMainForm::SavedListBoxKeyDown(int key)
{
    if (key == Qt::Key_Delete)
        DeleteSelectedRecord();
    else if (IsEnter(key))
        SavedListBoxDblClick();
}

void TMainForm::DeleteSelectedRecord()
{
    const int i = SelectedRow(SavedListBox);
    if (i < 0)
        return;
    RecordChange change;
    change.line = m_savedLines->Line(i);
    change.key = ToAnsi(change.line);
    change.row = i;
    change.lineBefore = true;
    if (const std::optional<RecordView> found = SavedRecords.Find(change.key))
        change.before = PeriodsOf(*found);
    DeleteRecord(change.key);
    m_savedLines->RemoveLine(i);
    // The line is gone, and with it the selection: a second Delete must not take another record.
    SavedListBox->clearSelection();
    m_history.Record(std::move(change));
    UpdateHistoryItems();
}

void TMainForm::AboutClick()
{
    if (AboutForm)
        AboutForm->exec();
}

void TMainForm::AliasEditKeyDown(int key)
{
    if (IsEnter(key))
        FocusNextTabStop();
}

void TMainForm::DateTimePickerFromKeyDown(int key)
{
    if (IsEnter(key))
        FocusNextTabStop();
}

void TMainForm::DateTimePickerToKeyDown(int key)
{
    if (IsEnter(key))
        FocusNextTabStop();
}

void TMainForm::DetailedCalculationClick()
{
    if (!m_analysisForm)
        m_analysisForm = new AnalysisForm(
            {m_dialogs.showMessage, m_dialogs.pdfFileName, m_dialogs.printPreview}, m_dialogs.today(), this);
    m_analysisForm->SetPeriods(WorkingList, IncomeDate->displayText(), OpenRecordName());
    m_analysisForm->show();
    m_analysisForm->raise();
    m_analysisForm->activateWindow();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && watched == IntervalsListBox->viewport())
        return ShowFindingsToolTip(static_cast<const QHelpEvent&>(*event));
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    const auto* keyEvent = static_cast<const QKeyEvent*>(event);
    const int key = keyEvent->key();
    // The key handlers look at the key alone and pass it on.
    if (watched == AliasEdit)
        AliasEditKeyDown(key);
    else if (watched == DateTimePickerFrom || watched == IncomeDate)
        DateTimePickerFromKeyDown(key);
    else if (watched == DateTimePickerTo)
        DateTimePickerToKeyDown(key);
    else if (watched == IntervalsListBox)
        IntervalsListBoxKeyDown(key);
    else if (watched == SavedListBox)
        SavedListBoxKeyDown(key);
    else if (watched == SaveEdit)
        SaveEditKeyDown(key);
    else if (auto* button = qobject_cast<QPushButton*>(watched)) {
        // Outside a dialog a Qt button ignores Enter; here a focused button is pressed by Enter
        // without modifiers, so that a period can be entered with the keyboard alone.
        if (IsEnter(key) && (keyEvent->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            button->click();
            return true;
        }
    }
    return false;
}

void TMainForm::SaveRecord()
{
    RecordChange change;
    change.line = SaveEdit->text();
    change.key = ToAnsi(change.line);
    if (const std::optional<RecordView> found = SavedRecords.Find(change.key); !found) {
        change.row = m_savedLines->rowCount();
        change.lineAfter = true;
        m_savedLines->InsertLine(change.row, change.line);
        ShowMessage(Texts::RecordAddedMessage.toString());
    } else {
        change.before = PeriodsOf(*found);
        ShowMessage(Texts::RecordChangedMessage.toString());
    }
    change.after = WorkingList;
    PutRecord(change.key, WorkingList);
    m_history.Record(std::move(change));
    UpdateHistoryItems();
    SaveEdit->clear();
}

void TMainForm::OpenRecord(const AnsiString& name)
{
    IntervalList periods;
    if (const std::optional<RecordView> found = SavedRecords.Find(name)) {
        periods = PeriodsOf(*found);
        SaveEdit->setText(FromAnsi(name));
    } else {
        ShowMessage(Texts::RecordNotFoundMessage.toString());
    }
    ChangeWorkingList(0, WorkingList.size(), std::move(periods));
    Recalculate();
}

void TMainForm::DeleteRecord(const AnsiString& name)
{
    if (!SavedRecords.Contains(name))
        return;
    m_book.Erase(name);
    WriteChanges();
}

void TMainForm::PutRecord(const AnsiString& key, IntervalList periods)
{
    m_book.Save(key, periods);
    WriteChanges();
}

PeriodsChange TMainForm::SplicePeriods(size_t index, size_t count, IntervalList inserted)
{
    PeriodsChange change;
    change.index = index;
    const auto first = WorkingList.begin() + static_cast<std::ptrdiff_t>(index);
    const auto last = first + static_cast<std::ptrdiff_t>(count);
    change.removed.assign(std::make_move_iterator(first), std::make_move_iterator(last));
    const auto at = WorkingList.erase(first, last);
    WorkingList.insert(at, inserted.begin(), inserted.end());
    change.inserted = std::move(inserted);
    return change;
}

void TMainForm::ChangeWorkingList(size_t index, size_t count, IntervalList inserted)
{
    PeriodsChange change = SplicePeriods(index, count, std::move(inserted));
    if (change.removed.empty() && change.inserted.empty())
        return;
    m_history.Record(std::move(change));
    UpdateHistoryItems();
}

void TMainForm::ApplyStep(const EditStep& step)
{
    if (const auto* periods = std::get_if<PeriodsChange>(&step)) {
        SplicePeriods(periods->index, periods->removed.size(), periods->inserted);
        Recalculate();
        return;
    }
    const auto& record = std::get<RecordChange>(step);
    if (record.lineBefore && !record.lineAfter)
        m_savedLines->RemoveLine(record.row);
    else if (!record.lineBefore && record.lineAfter)
        m_savedLines->InsertLine(record.row, record.line);
    if (record.after)
        PutRecord(record.key, *record.after);
    else
        DeleteRecord(record.key);
}

void TMainForm::UndoClick()
{
    if (const EditStep* step = m_history.Undo())
        ApplyStep(*step);
    UpdateHistoryItems();
}

void TMainForm::RedoClick()
{
    if (const EditStep* step = m_history.Redo())
        ApplyStep(*step);
    UpdateHistoryItems();
}

void TMainForm::UpdateHistoryItems()
{
    Undo->setEnabled(m_history.CanUndo());
    Redo->setEnabled(m_history.CanRedo());
}

void TMainForm::GoToSavedClick()
{
    SavedListBox->setFocus(Qt::ShortcutFocusReason);
    if (SelectedRow(SavedListBox) < 0 && m_savedLines->rowCount() > 0)
        SavedListBox->setCurrentIndex(m_savedLines->index(0));
}

void TMainForm::SaveRecordItemClick()
{
    if (TrimControlsAndBlanks(SaveEdit->text()).isEmpty() && !SaveEdit->hasFocus()) {
        SaveEdit->setFocus(Qt::ShortcutFocusReason);
        SaveEdit->selectAll();
        return;
    }
    SaveUserButtonClick();
}

void TMainForm::Recalculate()
{
    const Totals totals = CalculateTotals(WorkingList, ToAnsi(IncomeDate->displayText()));
    {
        // The refill drops the selection; that is no selection by the user.
        const QSignalBlocker quiet(IntervalsListBox);
        IntervalsListBox->clear();
        IntervalsListBox->addItems(FromAnsi(totals.lines));
    }
    SetCaption(TotalIntervalValue, FromAnsi(totals.totalText));
    UpdateUnbrokenDate(totals.unbrokenDate);
    SetCaption(SelectedIntervalLabel, QString());
    SetCaption(SelectedIntervalValue, QString());
    ShowInsuranceReadOuts(!totals.unbrokenDate);
}

void TMainForm::ShowInsuranceReadOuts(bool unbrokenDateStale)
{
    const CalendarDay today = ToCalendarDay(m_dialogs.today());
    const QString hireText = IncomeDate->displayText();
    const AnsiString hire = ToAnsi(hireText);
    AnalysePeriods(WorkingList, hire, today, {}, m_readOutAnalysis);
    const PeriodAnalysis& analysis = m_readOutAnalysis;

    SetCaption(InsuranceTotalValue, LengthString(analysis.insuranceTotal));
    SetCaption(SickLeaveValue, Texts::SickLeaveLineText.toString().arg(analysis.sickLeavePercent));
    QString sickLeaveHint = Texts::SickLeaveMethodText.toString() + u' '
        + (analysis.currentJobCounted ? Texts::SickLeaveTodayText.toString().arg(DayText(today))
                                      : Texts::SickLeaveWithoutCurrentJobText.toString());
    if (analysis.underSixMonths)
        sickLeaveHint += u' ' + Texts::SickLeaveCapText.toString();
    SickLeaveValue->setToolTip(sickLeaveHint);

    // The line's text stays as it is; an icon marks a period with a finding, and its tooltip,
    // written when it is asked for, names the finding: a long list would otherwise build every
    // text on every keystroke.
    m_readOutDay = today;
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    const std::size_t lines
        = std::min({WorkingList.size(), analysis.rows.size(), std::size_t(IntervalsListBox->count())});
    for (std::size_t i = 0; i < lines; ++i) {
        if (HasFinding(analysis.rows[i]))
            IntervalsListBox->item(static_cast<int>(i))->setIcon(warning);
    }

    // UpdateUnbrokenDate left its text as it was: greyed, and the tooltip says why.
    UnbrokenDate->setEnabled(!unbrokenDateStale);
    UnbrokenDate->setToolTip(unbrokenDateStale ? Texts::UnbrokenDateStaleHint.toString() : QString());

    if (m_analysisForm && m_analysisForm->isVisible())
        m_analysisForm->SetPeriods(WorkingList, hireText, OpenRecordName());
}

bool TMainForm::ShowFindingsToolTip(const QHelpEvent& event)
{
    const int row = IntervalsListBox->indexAt(event.pos()).row();
    if (row < 0 || static_cast<std::size_t>(row) >= std::min(WorkingList.size(), m_readOutAnalysis.rows.size()))
        return false;
    const auto i = static_cast<std::size_t>(row);
    const QStringList findings = FindingTexts(WorkingList[i], m_readOutAnalysis.rows[i], m_readOutDay);
    if (findings.isEmpty())
        return false;
    QToolTip::showText(event.globalPos(), findings.join(u'\n'), IntervalsListBox->viewport(),
        IntervalsListBox->visualRect(IntervalsListBox->model()->index(row, 0)));
    return true;
}

QString TMainForm::OpenRecordName() const
{
    const QString name = SaveEdit->text();
    const std::optional<RecordView> found = SavedRecords.Find(ToAnsi(name));
    if (!found)
        return QString();
    // The list is the record's when it would stand in the data file as the same bytes.
    return SameRecord(*found, WorkingList) ? name : QString();
}

void TMainForm::UpdateUnbrokenDate(const std::optional<AnsiString>& date)
{
    // No date leaves the read-out as it was.
    if (date)
        SetCaption(UnbrokenDate, FromAnsi(*date));
}

void TMainForm::LoadDataFile()
{
    DataFileResult result;
    m_savedLines->AppendNames([&](const NameSink& append) { result = m_book.Load(append); });
    if (!result.ok())
        ShowMessage(Texts::ReadFailedMessage.toString().arg(Native(m_book.Location().readPath), result.reason));
}

void TMainForm::SaveDataFile()
{
    for (;;) {
        const BookWrite result = m_book.Write();
        if (result.ok()) {
            ReportKeptVersions(result);
            break;
        }
        if (!m_dialogs.askRetrySave(this, Texts::WriteFailedMessage.toString().arg(Native(result.path), result.reason)))
            break;
    }
    if (const QStringList& backups = m_book.BackupPaths(); !backups.isEmpty()) {
        QStringList shown;
        for (const QString& backup : backups)
            shown.append(Native(backup));
        ShowMessage(Texts::BackupMadeMessage.toString().arg(Native(DataFilePath), shown.join(u'\n')));
    }
    if (!m_book.RecoveryPath().isEmpty())
        ShowMessage(Texts::RecoveryFileMessage.toString().arg(Native(DataFilePath), Native(m_book.RecoveryPath())));
}

void TMainForm::WriteChanges()
{
    for (;;) {
        const BookWrite result = m_book.Write();
        if (result.state == BookWrite::State::Busy) {
            // Put off, the changes wait in memory for the next write: the user knows already.
            if (m_dialogs.askRetryLock(this, Texts::DataFileBusyQuestion.toString().arg(Native(result.path))))
                continue;
            return;
        }
        if (!result.ok())
            ShowMessage(Texts::WriteFailedDuringRunMessage.toString().arg(Native(result.path), result.reason));
        ReportKeptVersions(result);
        return;
    }
}

void TMainForm::ReportKeptVersions(const BookWrite& write)
{
    if (write.kept.empty())
        return;
    QStringList lines;
    for (const KeptVersion& kept : write.kept)
        lines.append(Texts::KeptVersionLine.toString().arg(FromAnsi(kept.name), FromAnsi(kept.keptAs)));
    ShowMessage(Texts::KeptVersionsMessage.toString().arg(lines.join(u'\n')));
}

void TMainForm::FocusNextTabStop()
{
    focusNextChild();
}
