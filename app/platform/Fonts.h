#pragma once

#include <QFont>
#include <QString>

// The fonts the windows and reports name. The names stay in the code; the
// substitutes installed with the program stand in for them on Linux.
namespace Fonts {

inline const QString Verdana = QStringLiteral("Verdana");
inline const QString Arial = QStringLiteral("Arial");
inline const QString ComicSansMS = QStringLiteral("Comic Sans MS");
inline const QString MSSansSerif = QStringLiteral("MS Sans Serif");

// Registers DejaVu Sans for Verdana and MS Sans Serif, Liberation Sans for
// Arial and Comic Neue for Comic Sans MS. Call once after the application
// object exists.
void registerSubstitutes();

// A font by name and point size (9.75 and 27.75 points are kept exactly).
QFont make(const QString& family, qreal points, bool bold = false);

} // namespace Fonts
