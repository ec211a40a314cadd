#include "ListDates.h"

#include "Formats.h"

ListDates::ListDates(const QLocale& locale)
    : m_locale(locale), m_format(Riri::ShortDateFormat(locale)) {}

QString ListDates::Show(QStringView stored) {
    if (stored.isEmpty()) {
        return QString();
    }
    const QString key = stored.toString();
    const auto found = m_shown.constFind(key);
    if (found != m_shown.constEnd()) {
        return found.value();
    }
    const QDateTime value = Riri::ParseSqlDateTime(key);
    const QString shown = value.isValid() ? Show(value.date()) : key;
    m_shown.insert(key, shown);
    return shown;
}

QString ListDates::Show(const QDate& date) const {
    return m_locale.toString(date, m_format);
}

QDate ListDates::Read(const QString& shown) const {
    if (shown.isEmpty()) {
        return QDate();
    }
    return m_locale.toDate(shown, m_format);
}
