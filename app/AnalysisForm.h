#pragma once

// moc cannot parse the C++20 library headers that the core uses, and needs none of their types.
#ifndef Q_MOC_RUN
#include "Analysis.h"
#endif

#include <QDate>
#include <QDialog>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CertificateDocument;
class PeriodTableModel;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTextDocument;

// The file dialog and the print preview that the analysis window opens. The standard ones are
// the platform's modal dialogs; tests put in their own so that nothing waits for a person.
struct AnalysisDialogs {
    // A message with one OK button, as the main window shows it.
    std::function<void(QWidget* parent, const QString& text)> showMessage;
    // The path to save the certificate to, starting from a suggested one; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& suggested)> pdfFileName;
    // Shows the certificate in a print preview, from which the user prints it.
    std::function<void(QWidget* parent, QTextDocument& document)> printPreview;
};
QString AskPdfFileName(QWidget* parent, const QString& suggested);
void ShowPrintPreview(QWidget* parent, QTextDocument& document);

// The analysis window, "Подробный расчет": the table of the periods with both lengths and their
// findings, how the selected period's insurance line came about, both totals, the overlaps and
// gaps, and as of a date ("На дату", today at first) the sick-leave percentage and the dates on
// which the thresholds are reached with the current job from the hire date. It prints the
// certificate, saves it as PDF and copies the table with the totals as tab-separated text.
// It shows a copy of the periods: the main window gives it new ones when its list changes.
class AnalysisForm : public QDialog {
    Q_OBJECT

public:
    AnalysisForm(AnalysisDialogs dialogs, const QDate& today, QWidget* parent = nullptr);
    ~AnalysisForm() override;

    // The periods to show, the hire date as typed in the main window, and the name of the saved
    // record they are (empty when none). Recounts as of the date shown in "На дату".
    void SetPeriods(const IntervalList& periods, const QString& hireText, const QString& recordName);

    void PrintClick();
    void SavePdfClick();
    void CopyClick();

    // The table (header row first) and the totals, one line each, cells separated by tabs.
    QString ClipboardText() const;
    // The certificate of what the window shows.
    std::unique_ptr<CertificateDocument> Certificate() const;

private:
    void Analyse();
    void ShowTotals();
    void ShowSelectedPeriod();
    CalendarDay AsOf() const;

    AnalysisDialogs m_dialogs;
    IntervalList m_periods;
    QString m_recordName;

    PeriodTableModel* m_model;
    QDateEdit* AsOfDate;
    QLineEdit* HireDate;
    QCheckBox* CurrentJob;
    QLabel* CurrentJobNote;
    QTableView* PeriodTable;
    QPlainTextEdit* Explanation;
    QLabel* DesignedTotalValue;
    QLabel* InsuranceTotalValue;
    QLabel* CalendarDaysValue;
    QLabel* OverlapDaysValue;
    QListWidget* GapsList;
    QLabel* InsuranceAsOfCaption;
    QLabel* InsuranceAsOfValue;
    QLabel* SickLeaveValue;
    std::vector<QLabel*> m_thresholdValues;
    QPushButton* PrintButton;
    QPushButton* SavePdfButton;
    QPushButton* CopyButton;
    QPushButton* CloseButton;
};
