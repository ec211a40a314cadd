#pragma once

#include "reports/BandLayout.h"

#include <QString>

// What the inventory reports share: paper, width, margins, page header and
// page footer.
namespace ReportSettings {

inline const QString MakerWebAddress = QStringLiteral("www.example.com");

// Landscape letter, report width 14595 twips. Left and right take 500 each
// (1000 beside the width, within the 1245 the paper leaves), the top 1000 and
// the bottom 400.
void initialise(Band::Definition& report, const QString& title, const QString& caption);

// The program's name and the date, bold and centred, at the top of every
// page; a report adds its own rows below them.
Band::Section pageHeader(int height);

// "Page" n "of" N, the program's name and the maker's web address, with the
// six element names given in that order.
Band::Section pageFooter(int height, const QStringList& names, int nameLeft, int nameWidth);

// The bold, centred column headings with the ruled row around them, `top`
// being the row's upper rule.
void addHeadingRow(Band::Section& section, int top, const QStringList& names,
                   const QStringList& texts);

// The ruled box of one item (both reports rule it alike).
void addDetailRules(Band::Section& detail);

} // namespace ReportSettings
