#pragma once

#include "reports/BandReport.h"

#include <QString>
#include <QStringList>
#include <vector>

// Reading what a laid-out report prints, page by page.
namespace ReportProbe {

// The texts of one element on one page, in drawing order.
QStringList Texts(const BandReport& report, int page, const QString& element,
                  Band::SectionKind section);
// The texts of one element over every page.
QStringList AllTexts(const BandReport& report, const QString& element, Band::SectionKind section);
// The first text item of an element on a page (a null rect when missing).
Band::DrawItem First(const BandReport& report, int page, const QString& element,
                     Band::SectionKind section);

// The pages of a PDF file as pdftotext reads them (layout kept), or an empty
// list when it could not be read.
QStringList PdfPages(const QString& path);

} // namespace ReportProbe
