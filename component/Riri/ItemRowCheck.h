#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>

namespace Riri {

// One row of an import as the writers store it.
struct ImportedItem {
    // The columns of the items' CSV file, in the order an export writes them.
    enum Column {
        ItemId,
        ItemName,
        SerialNumber,
        Model,
        Room,
        OriginalCost,
        CurrentValue,
        AccquiredFrom,
        DateAccquired,
        Description,
        Notes,
        DateAdded,
        DateModified,
        ColumnCount
    };

    // The texts by column; the room is the list's own spelling.
    std::array<QString, ColumnCount> texts;
    double cost = 0;
    double value = 0;
    // The date acquired as ISO 8601 text; buyDateGiven false when the row
    // left it empty (today's date then).
    QString buyDate;
    bool buyDateGiven = false;
    // The Date Added as the writers store it ("2026-12-06 07:05:12"); empty
    // when the row gives none.
    QString addDate;
};

// The add window's checks on the rows of an items CSV file, through the item
// rules: the required fields, the character limits, the room list, the
// amounts and the date.
class ItemRowCheck {
public:
    // Where each column lies in a row (-1 for a column the file lacks), and
    // today's date: a row's date may not lie after it, and an empty date
    // becomes it.
    using Positions = std::array<int, ImportedItem::ColumnCount>;
    ItemRowCheck(const Positions& at, const QDate& today, const QLocale& locale = QLocale())
        : m_at(at), m_today(today), m_locale(locale) {}

    // Checks one row's fields and fills item from them. Returns the reasons
    // the row fails, none when it passes.
    QStringList check(const QStringList& fields, ImportedItem* item) const;

    // A date "2005-03-01", or a date and time "2005-03-01 14:30:00" (or with
    // a T between them), as the writers store it: the date alone when the
    // time is midnight. Empty when the text is none of these. Read without
    // the time zone, which is slow to consult for every row.
    static QString storedDateTime(QStringView text);

private:
    QString field(const QStringList& fields, ImportedItem::Column column) const;

    Positions m_at;
    QDate m_today;
    QLocale m_locale;
};

} // namespace Riri
