#pragma once

#include "RiriExport.h"

#include <QString>
#include <QStringList>

namespace Riri {

// The items as a spreadsheet file: RFC 4180 comma-separated values in UTF-8
// (written with a byte-order mark, read with or without one), a header row,
// fields quoted where needed and line breaks inside fields kept. Amounts are
// plain decimals with a point, dates ISO 8601.
class RIRI_EXPORT ItemsCsv {
public:
    // The columns, by header name, in the order an export writes them.
    static const QStringList& columns();

    // Writes every item to target, through a temporary file beside it that
    // is renamed onto the name only when complete. Returns the number of
    // items written; throws Riri::Error (a full disk named as such).
    static qint64 exportItems(const QString& target);

    struct ImportResult {
        // The items stored; 0 when any row was refused.
        qint64 stored = 0;
        // Header names that are no column of the items; ignored.
        QStringList unknownColumns;
        // One line per refused row: "Line 7: <reason>". Nothing is stored
        // when there is any.
        QStringList problems;
        bool ok() const { return problems.isEmpty(); }
    };

    // Reads source and, when every row passes the add window's checks,
    // stores all rows as new items in one transaction, numbered on from the
    // largest item number. An automatic copy of the inventory is made first.
    // A file that cannot be read, or a failing store, throws Riri::Error.
    static ImportResult importItems(const QString& source);
};

} // namespace Riri
