#include "shared/HistoryText.h"

#include <Riri/Formats.h>

#include <QDate>
#include <QLocale>
#include <QStringList>

namespace HistoryText {

namespace {

struct Caption {
    const char* field;
    const char* caption;
};
constexpr Caption kCaptions[] = {
    {"ItemID", "Item ID"},    {"ItemName", "Item Name"},
    {"SN", "Serial Number"},  {"RoomName", "Room Location"},
    {"Cost", "Cost"},         {"CurValue", "Value"},
    {"Model", "Model"},       {"AccquiredFrom", "Accquired From"},
    {"BuyDate", "Accquired"}, {"Description", "Description"},
    {"Notes", "Notes"},
};

// Long texts (descriptions, notes) shortened for one line.
constexpr qsizetype kLongest = 60;

} // namespace

QString fieldCaption(const QString& field) {
    for (const Caption& caption : kCaptions) {
        if (field == QLatin1String(caption.field)) {
            return QString::fromLatin1(caption.caption);
        }
    }
    return QString();
}

QString value(const QString& field, const QVariant& value) {
    if (value.isNull()) {
        return QStringLiteral("(empty)");
    }
    if (field == QLatin1String("Cost") || field == QLatin1String("CurValue")) {
        return QLocale().toString(value.toDouble(), 'f', 2);
    }
    QString text = value.toString();
    if (field == QLatin1String("BuyDate")) {
        const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
        return date.isValid() ? QLocale().toString(date, Riri::shortDateFormat()) : text;
    }
    if (text.startsWith(QLatin1String("{\\rtf"))) {
        text = text.section(QLatin1Char(' '), 1); // the rich text's words, roughly
    }
    text = text.simplified();
    if (text.isEmpty()) {
        return QStringLiteral("(empty)");
    }
    return text.size() > kLongest ? text.left(kLongest) + QStringLiteral("...") : text;
}

QString when(const QString& stored) {
    const QDateTime time = Riri::parseSqlDateTime(stored);
    if (!time.isValid()) {
        return stored;
    }
    return QLocale().toString(time,
                              Riri::shortDateFormat() + QLatin1Char(' ') + Riri::timeFormat());
}

QString fields(const std::vector<Riri::HistoryFields::Field>& fields) {
    QStringList parts;
    for (const Riri::HistoryFields::Field& field : fields) {
        const QString caption = fieldCaption(field.name);
        if (caption.isEmpty()) {
            continue;
        }
        if (field.isChange) {
            parts << QStringLiteral("%1: %2 -> %3")
                         .arg(caption, value(field.name, field.oldValue),
                              value(field.name, field.value));
        } else if (!field.value.isNull() && !field.value.toString().isEmpty()) {
            // A whole row: its empty fields say nothing.
            parts << QStringLiteral("%1: %2").arg(caption, value(field.name, field.value));
        }
    }
    return parts.join(QStringLiteral("; "));
}

} // namespace HistoryText
