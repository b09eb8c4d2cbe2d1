#include "CertificateDocument.h"

#include "AnalysisText.h"
#include "TextConversion.h"
#include "Texts.h"

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

// Fine enough for print; the page is laid out in points all the same.
constexpr int PdfResolution = 300;
// The document itself keeps a margin of 2 cm inside the printable area of the page.
constexpr qreal PageMarginMillimetres = 0;
constexpr qreal FontPoints = 10;
constexpr qreal TablePoints = 9;

QString Escaped(QStringView text)
{
    return text.toString().toHtmlEscaped();
}

QString Paragraph(const QString& text)
{
    return u"<p>"_s + text.toHtmlEscaped() + u"</p>"_s;
}

QString Cell(const QString& text, bool number = false)
{
    return (number ? u"<td align=\"right\">"_s : u"<td>"_s) + text.toHtmlEscaped() + u"</td>"_s;
}

// A date keeps to one line.
QString DateCell(const MDate& date)
{
    return u"<td style=\"white-space: nowrap\">"_s + FromAnsi(DateText(date)).toHtmlEscaped() + u"</td>"_s;
}

QString HeaderCell(QStringView text, int percent)
{
    return u"<th width=\"%1%\">"_s.arg(percent) + Escaped(text) + u"</th>"_s;
}

QString PeriodsTable(const IntervalList& periods, const PeriodAnalysis& analysis, CalendarDay asOf)
{
    QString html = u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\" "
                   u"style=\"border-collapse: collapse; font-size: %1pt\"><thead><tr>"_s.arg(TablePoints);
    // The dates and lengths keep to one or two lines; names and findings take what is left.
    const std::pair<QStringView, int> columns[] = {{Texts::NumberColumn, 4}, {Texts::NameColumn, 14},
        {Texts::FromColumn, 13}, {Texts::ToColumn, 13}, {Texts::DesignedColumn, 15}, {Texts::InsuranceColumn, 15},
        {Texts::CalendarDaysColumn, 12}, {Texts::FindingsColumn, 14}};
    for (const auto& [header, percent] : columns)
        html += HeaderCell(header, percent);
    html += u"</tr></thead>"_s;
    for (std::size_t i = 0; i < periods.size() && i < analysis.rows.size(); ++i) {
        const Interval& period = periods[i];
        const PeriodRow& row = analysis.rows[i];
        html += u"<tr>"_s + Cell(QString::number(i + 1), true) + Cell(FromAnsi(period.name)) + DateCell(period.from)
            + DateCell(period.to) + Cell(FromAnsi(row.designedText))
            + Cell(row.insurance ? LengthString(row.insurance->length) : QString())
            + Cell(row.insurance ? QString::number(row.calendarDays) : QString(), true)
            + Cell(FindingTexts(period, row, asOf).join(u"; "_s)) + u"</tr>"_s;
    }
    html += u"<tr><td></td>"_s + u"<td colspan=\"3\"><b>"_s + Escaped(Texts::CertificateTotalRow) + u"</b></td>"_s
        + u"<td><b>"_s + FromAnsi(analysis.designedTotalText).toHtmlEscaped() + u"</b></td>"_s + u"<td><b>"_s
        + LengthString(analysis.insuranceTotal).toHtmlEscaped() + u"</b></td>"_s
        + Cell(QString::number(analysis.calendarDays), true) + u"<td></td></tr>"_s;
    return html + u"</table>"_s;
}

} // namespace

QString CertificateHtml(const IntervalList& periods, const PeriodAnalysis& analysis, const CertificateHeading& heading)
{
    QString html = u"<html><body>"_s;
    html += u"<h2 align=\"center\">"_s + Escaped(Texts::CertificateTitle) + u"</h2>"_s;
    if (!heading.recordName.isEmpty())
        html += Paragraph(Texts::CertificateRecordText.toString().arg(heading.recordName));
    html += Paragraph(Texts::CertificateDateText.toString().arg(DayText(heading.calculatedOn)));
    if (analysis.currentJobCounted)
        html += Paragraph(Texts::CertificateHireText.toString().arg(heading.hireText));

    html += u"<h3>"_s + Escaped(Texts::CertificatePeriodsTitle) + u"</h3>"_s;
    if (periods.empty())
        html += Paragraph(Texts::CertificateNoPeriodsText.toString());
    else
        html += PeriodsTable(periods, analysis, heading.calculatedOn);

    html += u"<h3>"_s + Escaped(Texts::CertificateTotalsTitle) + u"</h3>"_s;
    html += u"<p><b>"_s + Escaped(Texts::InsuranceTotalCaption) + u" "_s
        + LengthString(analysis.insuranceTotal).toHtmlEscaped() + u"</b></p>"_s;
    html += Paragraph(Texts::InsuranceMethodText.toString());
    html += Paragraph(Texts::InsuranceBasisText.toString());
    html += u"<p><b>"_s + Escaped(Texts::DesignedTotalCaption) + u" "_s
        + FromAnsi(analysis.designedTotalText).toHtmlEscaped() + u"</b></p>"_s;
    html += Paragraph(Texts::DesignedMethodText.toString());
    html += Paragraph(Texts::CertificateOverlapsText.toString().arg(analysis.calendarDays).arg(analysis.overlapDays));
    html += Paragraph(Texts::CertificateGapsText.toString().arg(GapsText(analysis.gaps)));

    html += u"<h3>"_s + Escaped(Texts::CertificateSickLeaveTitle) + u"</h3>"_s;
    const QStringView asOfText
        = analysis.currentJobCounted ? Texts::CertificateAsOfText : Texts::CertificateAsOfWithoutJobText;
    html += Paragraph(asOfText.toString().arg(DayText(heading.calculatedOn), LengthString(analysis.insuranceAsOf)));
    html += Paragraph(Texts::CertificateSickLeaveText.toString().arg(SickLeaveText(analysis)));
    html += Paragraph(Texts::SickLeaveMethodText.toString());
    for (const ThresholdDate& threshold : analysis.thresholds)
        html += Paragraph(Texts::CertificateThresholdText.toString()
                              .arg(threshold.years)
                              .arg(YearsWord(threshold.years), ThresholdText(threshold)));

    html += u"<p></p>"_s + Paragraph(Texts::CertificateSignature.toString());
    html += u"<p><small>"_s + Escaped(Texts::CertificateFooter) + u"</small></p>"_s;
    return html + u"</body></html>"_s;
}

CertificateDocument::CertificateDocument(
    const IntervalList& periods, const PeriodAnalysis& analysis, const CertificateHeading& heading)
{
    QFont font;
    font.setFamilies({u"Tahoma"_s, u"DejaVu Sans"_s});
    font.setPointSizeF(FontPoints);
    m_document.setDefaultFont(font);
    m_document.setHtml(CertificateHtml(periods, analysis, heading));
}

void CertificateDocument::Print(QPagedPaintDevice& device) const
{
    m_document.print(&device);
}

bool CertificateDocument::SavePdf(const QString& path, QString* error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(PdfResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
            QMarginsF(PageMarginMillimetres, PageMarginMillimetres, PageMarginMillimetres, PageMarginMillimetres),
            QPageLayout::Millimeter));
        writer.setTitle(Texts::CertificateTitle.toString());
        writer.setCreator(Texts::CaptionText.toString());
        Print(writer);
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
