#pragma once

#include "Analysis.h"

#include <QString>
#include <QTextDocument>

class QPagedPaintDevice;

// What a certificate is about besides the periods and their analysis.
struct CertificateHeading {
    QString recordName; // empty when no saved record is open
    CalendarDay calculatedOn; // the "as of" date of the analysis
    QString hireText; // the hire date as typed
};

// The printed calculation that HR files with the personnel record: a title, the record name,
// the date of the calculation, the table of periods with both lengths, both totals with their
// method and legal basis, the sick-leave percentage and the threshold dates. One HTML document
// serves the print preview, the printer and the PDF file alike.
class CertificateDocument {
public:
    // `analysis` is AnalysePeriods of `periods` as of heading.calculatedOn.
    CertificateDocument(const IntervalList& periods, const PeriodAnalysis& analysis, const CertificateHeading& heading);

    QTextDocument& document() { return m_document; }
    const QTextDocument& document() const { return m_document; }

    // Lays the document out on the device's pages and paints them.
    void Print(QPagedPaintDevice& device) const;
    // Writes the document as an A4 PDF file, replacing the file only when the whole of it was
    // written. False with the reason when the file cannot be written.
    bool SavePdf(const QString& path, QString* error) const;

private:
    QTextDocument m_document;
};

// The document's HTML, as the constructor sets it.
QString CertificateHtml(const IntervalList& periods, const PeriodAnalysis& analysis, const CertificateHeading& heading);
