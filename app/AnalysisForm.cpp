#include "AnalysisForm.h"

#include "AnalysisText.h"
#include "CertificateDocument.h"
#include "PeriodTableModel.h"
#include "TextConversion.h"
#include "Texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString DateMask = u"99.99.9999; "_s;
const QString DateFormat = u"dd.MM.yyyy"_s;
constexpr int32_t ThresholdYears[] = {5, 8, 15};
// Sizing the columns to their contents looks at this many rows, not at every one of a long list.
constexpr int ColumnSizingRows = 200;
// The frame and margins of a line edit around its text, with room for the cursor.
constexpr int DateFieldPadding = 24;

template <typename Control> Control* Named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QLabel* ValueLabel(const char* name)
{
    auto* label = Named(new QLabel, name);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

// A cell of the copied text: tabs and line ends inside it would break the columns.
QString CellText(const QVariant& value)
{
    QString text = value.toString();
    text.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ');
    return text;
}

QString CaptionWithoutColon(QStringView caption)
{
    return caption.endsWith(u':') ? caption.chopped(1).toString() : caption.toString();
}

} // namespace

QString AskPdfFileName(QWidget* parent, const QString& suggested)
{
    return QFileDialog::getSaveFileName(parent, Texts::SavePdfTitle.toString(), suggested, Texts::PdfFilter.toString());
}

void ShowPrintPreview(QWidget* parent, QTextDocument& document)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(Texts::CertificateTitle.toString());
    QPrintPreviewDialog preview(&printer, parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
        [&document](QPrinter* target) { document.print(target); });
    preview.exec();
}

AnalysisForm::AnalysisForm(AnalysisDialogs dialogs, const QDate& today, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(std::move(dialogs))
    , m_model(new PeriodTableModel(this))
{
    setObjectName(u"AnalysisForm"_s);
    setWindowTitle(Texts::AnalysisCaption.toString());
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    AsOfDate = Named(new QDateEdit(today), "AsOfDate");
    AsOfDate->setDisplayFormat(DateFormat);
    AsOfDate->setCalendarPopup(true);
    AsOfDate->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    HireDate = Named(new QLineEdit, "HireDate");
    HireDate->setInputMask(DateMask);
    HireDate->setMaxLength(10);
    // As wide as a date, like the hire-date field of the main window.
    HireDate->setMaximumWidth(HireDate->fontMetrics().horizontalAdvance(u"00.00.0000"_s) + DateFieldPadding);
    CurrentJob = Named(new QCheckBox(Texts::CurrentJobText.toString()), "CurrentJob");
    CurrentJob->setChecked(true);
    CurrentJobNote = Named(new QLabel(Texts::CurrentJobNotUsableText.toString()), "CurrentJobNote");
    CurrentJobNote->setVisible(false);
    auto* asOfLabel = new QLabel(Texts::AsOfLabelText.toString());
    asOfLabel->setBuddy(AsOfDate);
    auto* hireLabel = new QLabel(Texts::HireDateLabelText.toString());
    hireLabel->setBuddy(HireDate);
    auto* dates = new QHBoxLayout;
    for (QWidget* control : std::initializer_list<QWidget*>{asOfLabel, AsOfDate, hireLabel, HireDate, CurrentJob})
        dates->addWidget(control);
    dates->addWidget(CurrentJobNote, 1);

    PeriodTable = Named(new QTableView, "PeriodTable");
    PeriodTable->setModel(m_model);
    PeriodTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    PeriodTable->setSelectionMode(QAbstractItemView::SingleSelection);
    PeriodTable->verticalHeader()->hide();
    PeriodTable->horizontalHeader()->setStretchLastSection(true);
    PeriodTable->horizontalHeader()->setResizeContentsPrecision(ColumnSizingRows);
    PeriodTable->setAccessibleName(Texts::CertificatePeriodsTitle.toString());

    Explanation = Named(new QPlainTextEdit, "Explanation");
    Explanation->setReadOnly(true);
    Explanation->setPlaceholderText(Texts::ExplanationPrompt.toString());
    auto* explanationBox = new QGroupBox(Texts::ExplanationTitle.toString());
    (new QVBoxLayout(explanationBox))->addWidget(Explanation);

    DesignedTotalValue = ValueLabel("DesignedTotalValue");
    InsuranceTotalValue = ValueLabel("InsuranceTotalValue");
    CalendarDaysValue = ValueLabel("CalendarDaysValue");
    OverlapDaysValue = ValueLabel("OverlapDaysValue");
    GapsList = Named(new QListWidget, "GapsList");
    GapsList->setUniformItemSizes(true);
    GapsList->setAccessibleName(CaptionWithoutColon(Texts::GapsCaption));
    InsuranceAsOfCaption = Named(new QLabel, "InsuranceAsOfCaption");
    InsuranceAsOfValue = ValueLabel("InsuranceAsOfValue");
    SickLeaveValue = ValueLabel("SickLeaveValue");
    SickLeaveValue->setToolTip(Texts::SickLeaveMethodText.toString());
    auto* totalsBox = new QGroupBox(Texts::TotalsTitle.toString());
    auto* totals = new QFormLayout(totalsBox);
    totals->addRow(Texts::DesignedTotalCaption.toString(), DesignedTotalValue);
    totals->addRow(Texts::InsuranceTotalCaption.toString(), InsuranceTotalValue);
    totals->addRow(Texts::CalendarDaysCaption.toString(), CalendarDaysValue);
    totals->addRow(Texts::OverlapDaysCaption.toString(), OverlapDaysValue);
    // The gaps take the whole width of the box: a line holds two dates and the days.
    totals->addRow(new QLabel(Texts::GapsCaption.toString()));
    totals->addRow(GapsList);
    totals->addRow(InsuranceAsOfCaption, InsuranceAsOfValue);
    totals->addRow(Texts::SickLeaveCaption.toString(), SickLeaveValue);
    for (const int32_t years : ThresholdYears) {
        auto* value = ValueLabel("ThresholdValue");
        value->setObjectName(u"Threshold%1Value"_s.arg(years));
        totals->addRow(Texts::ThresholdCaption.toString().arg(years).arg(YearsWord(years)), value);
        m_thresholdValues.push_back(value);
    }
    InsuranceTotalValue->setToolTip(
        Texts::InsuranceMethodText.toString() + u'\n' + Texts::InsuranceBasisText.toString());
    DesignedTotalValue->setToolTip(Texts::DesignedMethodText.toString());

    auto* below = new QWidget;
    auto* belowLayout = new QHBoxLayout(below);
    belowLayout->setContentsMargins(0, 0, 0, 0);
    belowLayout->addWidget(explanationBox, 1);
    belowLayout->addWidget(totalsBox, 1);
    auto* splitter = Named(new QSplitter(Qt::Vertical), "AnalysisSplitter");
    splitter->addWidget(PeriodTable);
    splitter->addWidget(below);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);

    PrintButton = Named(new QPushButton(Texts::PrintButtonText.toString()), "PrintButton");
    SavePdfButton = Named(new QPushButton(Texts::SavePdfButtonText.toString()), "SavePdfButton");
    CopyButton = Named(new QPushButton(Texts::CopyButtonText.toString()), "CopyButton");
    CloseButton = Named(new QPushButton(Texts::CloseButtonText.toString()), "CloseButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {PrintButton, SavePdfButton, CopyButton, CloseButton}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(dates);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
    resize(1100, 680);

    connect(AsOfDate, &QDateEdit::dateChanged, this, &AnalysisForm::Analyse);
    connect(HireDate, &QLineEdit::textChanged, this, &AnalysisForm::Analyse);
    connect(CurrentJob, &QCheckBox::toggled, this, &AnalysisForm::Analyse);
    connect(PeriodTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        &AnalysisForm::ShowSelectedPeriod);
    connect(PrintButton, &QPushButton::clicked, this, &AnalysisForm::PrintClick);
    connect(SavePdfButton, &QPushButton::clicked, this, &AnalysisForm::SavePdfClick);
    connect(CopyButton, &QPushButton::clicked, this, &AnalysisForm::CopyClick);
    connect(CloseButton, &QPushButton::clicked, this, &AnalysisForm::close);

    Analyse();
}

AnalysisForm::~AnalysisForm() = default;

void AnalysisForm::SetPeriods(const IntervalList& periods, const QString& hireText, const QString& recordName)
{
    m_periods = periods;
    m_recordName = recordName;
    {
        // One recount for the whole change, not one for the hire date and another for the list.
        const QSignalBlocker quiet(HireDate);
        HireDate->setText(hireText);
    }
    Analyse();
}

CalendarDay AnalysisForm::AsOf() const
{
    return ToCalendarDay(AsOfDate->date());
}

void AnalysisForm::Analyse()
{
    const int selected = PeriodTable->currentIndex().row();
    const AnsiString hire = CurrentJob->isChecked() ? ToAnsi(HireDate->displayText()) : AnsiString();
    std::vector<int32_t> thresholds(std::begin(ThresholdYears), std::end(ThresholdYears));
    m_model->SetAnalysis(m_periods, AnalysePeriods(m_periods, hire, AsOf(), thresholds), AsOf());
    PeriodTable->resizeColumnsToContents();
    if (selected >= 0 && selected < m_model->rowCount())
        PeriodTable->selectRow(selected);
    ShowSelectedPeriod();
    ShowTotals();
}

void AnalysisForm::ShowTotals()
{
    const PeriodAnalysis& analysis = m_model->analysis();
    DesignedTotalValue->setText(FromAnsi(analysis.designedTotalText));
    InsuranceTotalValue->setText(LengthString(analysis.insuranceTotal));
    CalendarDaysValue->setText(QString::number(analysis.calendarDays));
    OverlapDaysValue->setText(QString::number(analysis.overlapDays));
    GapsList->clear();
    if (analysis.gaps.empty())
        GapsList->addItem(Texts::NoGapsText.toString());
    for (const Gap& gap : analysis.gaps)
        GapsList->addItem(GapText(gap));
    InsuranceAsOfCaption->setText(Texts::InsuranceAsOfCaption.toString().arg(DayText(AsOf())));
    InsuranceAsOfValue->setText(LengthString(analysis.insuranceAsOf));
    SickLeaveValue->setText(SickLeaveText(analysis));
    CurrentJobNote->setVisible(CurrentJob->isChecked() && !analysis.currentJobCounted);
    for (std::size_t i = 0; i < m_thresholdValues.size() && i < analysis.thresholds.size(); ++i)
        m_thresholdValues[i]->setText(ThresholdText(analysis.thresholds[i]));
}

void AnalysisForm::ShowSelectedPeriod()
{
    const int row = PeriodTable->currentIndex().row();
    if (row < 0 || row >= m_model->rowCount()) {
        Explanation->clear();
        return;
    }
    const auto i = static_cast<std::size_t>(row);
    Explanation->setPlainText(ExplanationText(i + 1, m_model->periods()[i], m_model->analysis().rows[i]));
}

std::unique_ptr<CertificateDocument> AnalysisForm::Certificate() const
{
    const CertificateHeading heading{m_recordName, AsOf(), HireDate->displayText()};
    return std::make_unique<CertificateDocument>(m_model->periods(), m_model->analysis(), heading);
}

void AnalysisForm::PrintClick()
{
    const std::unique_ptr<CertificateDocument> certificate = Certificate();
    m_dialogs.printPreview(this, certificate->document());
}

void AnalysisForm::SavePdfClick()
{
    const QString name = m_recordName.isEmpty() ? Texts::PdfDefaultName.toString() : m_recordName + u".pdf"_s;
    const QString path = m_dialogs.pdfFileName(this, QDir::home().filePath(name));
    if (path.isEmpty())
        return;
    QString error;
    if (!Certificate()->SavePdf(path, &error))
        m_dialogs.showMessage(this, Texts::PdfFailedMessage.toString().arg(QDir::toNativeSeparators(path), error));
}

void AnalysisForm::CopyClick()
{
    QApplication::clipboard()->setText(ClipboardText());
}

QString AnalysisForm::ClipboardText() const
{
    QStringList lines;
    QStringList cells;
    for (int column = 0; column < m_model->columnCount(); ++column)
        cells.append(CellText(m_model->headerData(column, Qt::Horizontal)));
    lines.append(cells.join(u'\t'));
    for (int row = 0; row < m_model->rowCount(); ++row) {
        cells.clear();
        for (int column = 0; column < m_model->columnCount(); ++column)
            cells.append(CellText(m_model->data(m_model->index(row, column))));
        lines.append(cells.join(u'\t'));
    }
    lines.append(QString());

    const PeriodAnalysis& analysis = m_model->analysis();
    const auto total = [&](QStringView caption, const QString& value) {
        lines.append(CaptionWithoutColon(caption) + u'\t' + CellText(value));
    };
    total(Texts::DesignedTotalCaption, FromAnsi(analysis.designedTotalText));
    total(Texts::InsuranceTotalCaption, LengthString(analysis.insuranceTotal));
    total(Texts::CalendarDaysCaption, QString::number(analysis.calendarDays));
    total(Texts::OverlapDaysCaption, QString::number(analysis.overlapDays));
    total(Texts::GapsCaption, GapsText(analysis.gaps));
    total(InsuranceAsOfCaption->text(), LengthString(analysis.insuranceAsOf));
    total(Texts::SickLeaveCaption, SickLeaveText(analysis));
    for (const ThresholdDate& threshold : analysis.thresholds)
        total(Texts::ThresholdCaption.toString().arg(threshold.years).arg(YearsWord(threshold.years)),
            ThresholdText(threshold));
    return lines.join(u'\n') + u'\n';
}
