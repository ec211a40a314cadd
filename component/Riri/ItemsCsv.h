#pragma once

#include "Progress.h"
#include "RiriExport.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>

namespace Riri {

// The items as a spreadsheet file: RFC 4180 comma-separated values in UTF-8
// (written with a byte-order mark, read with or without one), a header row,
// fields quoted where needed and line breaks inside fields kept. Amounts are
// plain decimals with a point, dates ISO 8601.
class RIRI_EXPORT ItemsCsv {
    struct Staged;

public:
    // The columns, by header name, in the order an export writes them.
    static const QStringList& columns();

    // Writes every item to target, through a temporary file beside it that
    // is renamed onto the name only when complete. Returns the number of
    // items written; throws Riri::Error (a full disk named as such). The
    // progress hears of the rows written of all; a cancel removes the
    // temporary file, leaves no target and throws ErrorNumber::Cancelled.
    static qint64 exportItems(const QString& target, const Progress& progress = {});

    // What an import does or did. A row whose Item ID is an item of the
    // inventory changes that item (only the fields that differ are written,
    // with the date modified); a row without one, or with one the inventory
    // lacks, adds a new item numbered on from the largest item number.
    struct ImportResult {
        // The file and the day its rows were checked against.
        QString source;
        QDate checkedOn;
        qint64 newItems = 0;
        qint64 changedItems = 0;
        qint64 unchangedRows = 0;
        // The items added or changed; 0 until the plan is stored.
        qint64 stored = 0;
        // Header names that are no column of the items; ignored.
        QStringList unknownColumns;
        // One line per refused row, "Line 7: <reason>", the first
        // kListedProblems of them; unlistedProblems counts the rest. Nothing
        // is stored when there is any.
        QStringList problems;
        qint64 unlistedProblems = 0;
        // The checked rows of an ok() plan, kept (on disk, not in memory)
        // for storeImport; shared by the plan's copies.
        std::shared_ptr<const Staged> staged;
        bool ok() const { return problems.isEmpty(); }
        qint64 rows() const { return newItems + changedItems + unchangedRows; }
        // "2 new items, 1 changed item, 0 unchanged rows".
        QString counts() const;
    };
    static constexpr int kListedProblems = 100;

    // Reads and checks every row of source against the add window's rules
    // and counts what a store would do, writing nothing to the inventory.
    // The checked rows are kept in an unnamed file beside the inventory
    // until the plan goes; in memory only the counts, the Item IDs seen and
    // the problems, so a file of any size takes little memory. The progress
    // hears of the bytes read of the file's size. A file that cannot be
    // read, or rows that cannot be kept, throw Riri::Error.
    static ImportResult planImport(const QString& source, const Progress& progress = {});

    // Stores a plan that is ok(): an automatic copy of the inventory first
    // (when anything changes), then the rows the plan checked, in one
    // transaction; the file is not read again, so what is stored is what
    // the plan counted. The progress hears of the rows done of all; a cancel
    // rolls back, leaves the inventory as it was and throws
    // ErrorNumber::Cancelled. An inventory changed since the plan so that
    // the counts differ, or a failing store, throws Riri::Error with nothing
    // stored.
    static ImportResult storeImport(const ImportResult& plan, const Progress& progress = {});

    // planImport, then storeImport when the plan is ok, without asking.
    static ImportResult importItems(const QString& source, const Progress& progress = {});
};

} // namespace Riri
