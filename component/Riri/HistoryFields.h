#pragma once

#include "RiriExport.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <vector>

namespace Riri {

// The fields of one history row (see HistorySchema): read from its packed
// text, each value as SQLite's quote() wrote it. Reading is strict: a text
// that is not exactly that form (another program may have written the row)
// reads as no fields at all, so nothing it holds ever reaches a statement.
class RIRI_EXPORT HistoryFields {
public:
    struct Field {
        QString name;
        QVariant oldValue; // a change's old value; null for a whole row
        QVariant value;    // the new value, or the row's value
        bool isChange = false;
    };

    // The fields that make up an item's version, in tblItems' order (the
    // dates the writers stamp are not part of it).
    static const QStringList& itemFields();
    // Cost and CurValue: read back as numbers.
    static bool isAmount(const QString& field);

    static std::optional<std::vector<Field>> parse(const QString& packed);
    // The value of one field of a whole row, null when absent.
    static QVariant valueOf(const std::vector<Field>& fields, const QString& name);
    // A value as an SQL literal: NULL, a number, a quoted text or X'..'.
    static QString literal(const QVariant& value);
};

} // namespace Riri
