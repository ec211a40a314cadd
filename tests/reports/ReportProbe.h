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

// A page as text, one line per drawn element in drawing order: its section,
// its name, its rectangle in twips (left,top widthxheight), then for a text
// its font size, weight, alignment and text (line breaks written as \n), for
// a rule the word "rule". Compared against the checked-in files under
// expected/ so that a change to any position, font or text shows up at once.
QString pageDump(const BandReport& report, int page);

// Compares a page dump with expected/<name> in the source tree. On a
// difference, `difference` receives the first differing lines, numbered.
// With QUORVANE_REGENERATE=1 in the environment the dump is written to that
// file instead (after a deliberate layout change) and the call succeeds.
bool matchesExpected(const QString& dump, const QString& name, QString* difference);

// The pages of a PDF file as pdftotext reads them (layout kept), or an empty
// list when it could not be read.
QStringList PdfPages(const QString& path);

} // namespace ReportProbe
