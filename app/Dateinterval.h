#pragma once

// moc cannot parse the C++20 library headers that the core uses, and needs none of their types.
#ifndef Q_MOC_RUN
#include "Analysis.h"
#include "EditHistory.h"
#include "MDate.h"
#include "RecordBook.h"
#include "SavedRecords.h"

#include <chrono>
#endif

#include <QDate>
#include <QMainWindow>
#include <QString>

#include <functional>
#include <optional>

class AnalysisForm;
class QAction;
class QCloseEvent;
class QEvent;
class QHelpEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QTextDocument;
class SavedListModel;

// The main window: the working list of periods with its read-outs, the hire date with the
// unbroken-service date, and the saved records that the data file keeps from run to run.
// It owns all of the program's state. The data file is read once by the constructor, and
// written after every save and delete of a record and when the window closes, merged with what
// other windows on the same file wrote meanwhile. A data file that exists but cannot be read is
// reported at start and never written; the records saved in the run go to a recovery file, which
// the close names. A write that fails during the run is reported and tried again at the next
// one; a write that fails at close is reported, with the choice to try again or to close
// without saving.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // How the window speaks to the user. The standard ones are modal message boxes; tests put
    // in their own to record the texts and answer without a modal loop.
    struct UserDialogs {
        // A message with one OK button; returns when the user has closed it.
        std::function<void(QWidget* parent, const QString& text)> showMessage;
        // The data file could not be written at close: true to try again, false to close
        // without saving.
        std::function<bool(QWidget* parent, const QString& text)> askRetrySave;
        // Today's date, as the window's calendar: the hire date it starts with. The standard one
        // is the system's; tests fix the day so that no result depends on when they run.
        std::function<QDate()> today;
        // The analysis window's file dialog for the PDF certificate (empty: cancelled) and its
        // print preview.
        std::function<QString(QWidget* parent, const QString& suggested)> pdfFileName;
        std::function<void(QWidget* parent, QTextDocument& document)> printPreview;
        // Another window held the data file longer than lockWait while a record was written:
        // true to try again, false to leave the record in memory for the next write.
        std::function<bool(QWidget* parent, const QString& text)> askRetryLock;
        // How long another window may hold the data file before the user is asked; zero: the
        // standard few seconds.
        std::chrono::milliseconds lockWait{0};
    };
    static UserDialogs StandardDialogs();

    // The caption of every message box, and the application's name.
    static QString ApplicationTitle();

    // Keeps its records in "u.ini" in the executable's folder, or in the per-user data folder
    // when the executable's folder is not writable (LocateDataFile).
    explicit TMainForm(QWidget* parent = nullptr);
    // Keeps its records in the given data file; a dialog left empty is the standard one.
    explicit TMainForm(const QString& dataFilePath, UserDialogs dialogs = StandardDialogs(), QWidget* parent = nullptr);
    explicit TMainForm(
        const DataFileLocation& location, UserDialogs dialogs = StandardDialogs(), QWidget* parent = nullptr);

    // The data file the records are written to.
    const QString& DataFileInUse() const { return DataFilePath; }

    // Shows a text in a message box with the application title and one OK button: the one way
    // the window reports a problem the user can fix.
    void ShowMessage(const QString& text);

    // Handlers, named after their control and event. The key handlers take the Qt key code alone
    // and never look at the modifiers: Shift+Delete deletes, Shift+Enter moves forward.
    void AddIntervalClick();
    void IntervalsListBoxClick();
    void UpdateIntervalClick();
    void IntervalsListBoxKeyDown(int key);
    void ClearButtonClick();
    void IncomeDateChange();
    void UnbrokenDateUpdateButtonClick();
    void FormCreate();
    void FormClose();
    void SaveUserButtonClick();
    void SaveEditKeyDown(int key);
    void SavedListBoxDblClick();
    void SavedListBoxKeyDown(int key);
    void AboutClick();
    void AliasEditKeyDown(int key);
    void DateTimePickerFromKeyDown(int key);
    void DateTimePickerToKeyDown(int key);
    // "Подробный расчет...": the analysis window for the working list.
    void DetailedCalculationClick();

    // The menu "Правка": the commands that lie outside the tab sequence, by keyboard, and the
    // way back. Ctrl+Z and Ctrl+Y act on the records and the working list only while the focus
    // is not in a text field: there the field's own undo takes them.
    void UndoClick();
    void RedoClick();
    // Moves the focus to the saved list, its first line selected when none was.
    void GoToSavedClick();
    // "+" when the name field holds a name; otherwise the focus moves to the name field, where
    // Enter saves.
    void SaveRecordItemClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Routes the keys of the controls to their key-down handlers and lets a focused button
    // react to Enter.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void BindEvents();
    void SetTabOrder();

    void SaveRecord();
    void OpenRecord(const AnsiString& name);
    void DeleteRecord(const AnsiString& name);
    // Stores the periods as the record `key`, in place of the one there was: with DeleteRecord,
    // the one way every command and its undo changes the records.
    void PutRecord(const AnsiString& key, IntervalList periods);
    // At `index`, replaces `count` periods of the working list by `inserted` and gives the change
    // back: the one way the working list changes, for the commands and for their undo.
    PeriodsChange SplicePeriods(size_t index, size_t count, IntervalList inserted);
    // The same for a command: the change is recorded for undo, when it changed anything.
    void ChangeWorkingList(size_t index, size_t count, IntervalList inserted);
    // Applies a step of the history and shows its result.
    void ApplyStep(const EditStep& step);
    void UpdateHistoryItems();
    // Delete on the saved list, or its item in the menu: the selected line and its record go.
    void DeleteSelectedRecord();
    void Recalculate();
    void UpdateUnbrokenDate(const std::optional<AnsiString>& date);
    // The insurance read-outs, the findings on the period lines, and the unbroken-service date
    // greyed when it could not be updated; the last step of Recalculate.
    void ShowInsuranceReadOuts(bool unbrokenDateStale);
    // The tooltip of a period line with a finding: what is wrong with the period. False for a
    // line without one, which keeps no tooltip.
    bool ShowFindingsToolTip(const QHelpEvent& event);
    // The saved record that the working list is, unchanged, by the name in SaveEdit; empty if none.
    QString OpenRecordName() const;
    void LoadDataFile();
    void SaveDataFile();
    // A record command ends with the write of the data file, as the close would write it.
    void WriteChanges();
    void ReportKeptVersions(const BookWrite& write);
    // Enter in an entry field: the focus moves forward to the next tab stop.
    void FocusNextTabStop();

    QMenuBar* MainMenu;
    QMenu* File;
    QAction* DetailedCalculation;
    QAction* About;
    QMenu* Edit;
    QAction* Undo;
    QAction* Redo;
    QAction* CorrectPeriod;
    QAction* ClearList;
    QAction* GoToSaved;
    QAction* SaveRecordItem;
    QAction* OpenRecordItem;
    QAction* DeleteRecordItem;
    QGroupBox* ParamsGroupBox;
    QLabel* AliasLabel;
    QLineEdit* AliasEdit;
    QLabel* DateFromLabel;
    QLineEdit* DateTimePickerFrom;
    QLabel* DateToLabel;
    QLineEdit* DateTimePickerTo;
    QPushButton* AddInterval;
    QPushButton* UpdateInterval;
    QListWidget* IntervalsListBox;
    QPushButton* ClearButton;
    QGroupBox* CalculatingGroupBox;
    QLabel* TotalIntervalLabel;
    QLabel* TotalIntervalValue;
    QLabel* SelectedIntervalLabel;
    QLabel* SelectedIntervalValue;
    QLabel* UnBrokenLabel;
    QLineEdit* IncomeDate;
    QLabel* UnbrokenDate;
    QPushButton* UnbrokenDateUpdateButton;
    QLabel* InsuranceTotalLabel;
    QLabel* InsuranceTotalValue;
    QLabel* SickLeaveValue;
    QGroupBox* SavedGroupBox;
    QListView* SavedListBox;
    SavedListModel* m_savedLines; // SavedListBox's lines
    QLineEdit* SaveEdit;
    QPushButton* SaveUserButton;

    IntervalList WorkingList;
    RecordBook m_book;
    // The book's records: changed only through the book, which writes them.
    const RecordTable& SavedRecords;
    const QString DataFilePath; // a file-system path: never converted to Windows-1251

    UserDialogs m_dialogs;
    EditHistory m_history;
    AnalysisForm* m_analysisForm = nullptr; // made when first opened
    // The analysis behind the insurance read-outs, renewed in place by every Recalculate.
    PeriodAnalysis m_readOutAnalysis;
    CalendarDay m_readOutDay; // the day it was counted as of
};

// The program's one main window; the application entry creates it.
extern TMainForm* MainForm;
