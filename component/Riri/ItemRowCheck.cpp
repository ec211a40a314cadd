#include "ItemRowCheck.h"

#include "Formats.h"
#include "ItemRules.h"

namespace Riri {

namespace {

using enum ImportedItem::Column;

// A field's text as the writers store it: without NUL characters, then
// without leading and trailing blanks.
QString storedText(QString text) {
    if (text.contains(QChar(u'\0'))) {
        text.remove(QChar(u'\0'));
    }
    return trimBlanks(text);
}

QString quotedValue(const QString& text) {
    return QLatin1Char('"') + (text.size() > 40 ? text.left(40) + QStringLiteral("...") : text) +
           QLatin1Char('"');
}

} // namespace

QString ItemRowCheck::storedDateTime(QStringView text) {
    if (text.size() != 10 && text.size() != 19) {
        return QString();
    }
    const QDate date = QDate::fromString(text.first(10), Qt::ISODate);
    if (!date.isValid() || text.at(4) != QLatin1Char('-')) {
        return QString();
    }
    if (text.size() == 10) {
        return text.toString();
    }
    const QChar between = text.at(10);
    const auto number = [&](qsizetype at) {
        const QChar tens = text.at(at);
        const QChar ones = text.at(at + 1);
        return tens.isDigit() && ones.isDigit() && tens.unicode() < 128 && ones.unicode() < 128
                   ? (tens.unicode() - u'0') * 10 + (ones.unicode() - u'0')
                   : -1;
    };
    // HH:mm:ss by hand: QTime::fromString with a format is slow for every row.
    const QTime time = text.at(13) == QLatin1Char(':') && text.at(16) == QLatin1Char(':')
                           ? QTime(number(11), number(14), number(17))
                           : QTime();
    if ((between != QLatin1Char(' ') && between != QLatin1Char('T')) || !time.isValid()) {
        return QString();
    }
    // The text is in the stored form already but for the T.
    if (time == QTime(0, 0)) {
        return text.first(10).toString();
    }
    QString stored = text.toString();
    stored[10] = QLatin1Char(' ');
    return stored;
}

QString ItemRowCheck::field(const QStringList& fields, ImportedItem::Column column) const {
    return m_at[column] < 0 ? QString() : storedText(fields.value(m_at[column]));
}

QStringList ItemRowCheck::check(const QStringList& fields, ImportedItem* item) const {
    QStringList reasons;
    const auto limited = [&](ImportedItem::Column column, const char* name, int limit) {
        item->texts[column] = field(fields, column);
        if (item->texts[column].size() > limit) {
            reasons.append(QStringLiteral("%1 is longer than %2 characters")
                               .arg(QLatin1String(name))
                               .arg(limit));
        }
    };
    limited(ItemName, "Item Name", ItemRules::kItemNameLimit);
    if (item->texts[ItemName].isEmpty()) {
        reasons.append(QStringLiteral("Item Name is missing"));
    }
    limited(SerialNumber, "Serial Number", ItemRules::kSerialNumberLimit);
    limited(Model, "Model", ItemRules::kModelLimit);
    const QString room = field(fields, Room);
    item->texts[Room] = ItemRules::roomNamed(room);
    if (room.isEmpty()) {
        reasons.append(QStringLiteral("Room is missing"));
    } else if (item->texts[Room].isEmpty()) {
        reasons.append(QStringLiteral("Room %1 is not one of the %2 rooms")
                           .arg(quotedValue(room))
                           .arg(ItemRules::rooms().size()));
    }
    const QString cost = field(fields, OriginalCost);
    if (!ItemRules::importedAmount(cost, m_locale, &item->cost)) {
        reasons.append(QStringLiteral("Original Cost %1 is not an amount like 1234.50")
                           .arg(quotedValue(cost)));
    }
    const QString value = field(fields, CurrentValue);
    if (!ItemRules::importedAmount(value, m_locale, &item->value)) {
        reasons.append(QStringLiteral("Current Value %1 is not an amount like 1234.50")
                           .arg(quotedValue(value)));
    }
    limited(AccquiredFrom, "Accquired From", ItemRules::kAccquiredFromLimit);
    const QString dateText = field(fields, DateAccquired);
    QDate date = m_today;
    if (!dateText.isEmpty()) {
        date = dateText.size() == 10
                   ? QDate::fromString(dateText, Qt::ISODate)
                   : QDate::fromString(storedDateTime(dateText).left(10), Qt::ISODate);
    }
    if (!date.isValid()) {
        reasons.append(QStringLiteral("Date Accquired %1 is not a date like 2005-03-01")
                           .arg(quotedValue(dateText)));
    } else if (date > m_today) {
        reasons.append(QStringLiteral("Date Accquired %1 is after today").arg(dateText));
    } else if (date < ItemRules::kFirstDate) {
        reasons.append(QStringLiteral("Date Accquired %1 is before %2")
                           .arg(dateText, ItemRules::kFirstDate.toString(Qt::ISODate)));
    }
    item->buyDate = dateText.size() == 10 && date.isValid() ? dateText : date.toString(Qt::ISODate);
    item->buyDateGiven = !dateText.isEmpty();
    const QString added = field(fields, DateAdded);
    item->addDate.clear();
    if (!added.isEmpty()) {
        item->addDate = storedDateTime(added);
        if (item->addDate.isEmpty()) {
            reasons.append(QStringLiteral("Date Added %1 is not a date like 2005-03-01 or "
                                          "2005-03-01T14:30:00")
                               .arg(quotedValue(added)));
        }
    }
    limited(Description, "Description", ItemRules::kRichTextLimit);
    limited(Notes, "Notes", ItemRules::kRichTextLimit);
    return reasons;
}

} // namespace Riri
