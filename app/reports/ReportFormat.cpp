#include "reports/ReportFormat.h"

#include <Riri/Formats.h>

#include <QDate>
#include <cmath>

namespace ReportFormat {

QString dateSeparator(const QLocale& locale) {
    const QString pattern = locale.dateFormat(QLocale::ShortFormat);
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            continue;
        }
        if (!quoted && !c.isLetter() && !c.isSpace()) {
            return QString(c);
        }
    }
    return QStringLiteral("/");
}

QString formatMoney(double value, const QLocale& locale) {
    QLocale grouped = locale;
    grouped.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    // Round half away from zero to cents first, so that 2.675 stored as a
    // double just below it still prints as the amount the user typed.
    const double cents = std::round(value * 100.0);
    const double rounded = cents / 100.0;
    if (cents == 0.0) {
        return QStringLiteral("$") + grouped.toString(0.0, 'f', 2);
    }
    const QString digits = grouped.toString(std::fabs(rounded), 'f', 2);
    return (rounded < 0 ? grouped.negativeSign() : QString()) + QStringLiteral("$") + digits;
}

QString formatShortDate(const QDate& date, const QLocale& locale) {
    const QString sep = dateSeparator(locale);
    return QString::number(date.month()) + sep + QString::number(date.day()) + sep +
           QString::number(date.year());
}

QString formatLongDate(const QDate& date, const QLocale& locale) {
    return locale.toString(date, QLocale::LongFormat);
}

QString apply(const QString& format, const QString& stored, const QLocale& locale) {
    if (stored.isEmpty() || format.isEmpty()) {
        return stored;
    }
    if (format == Money) {
        bool ok = false;
        const double value = stored.trimmed().toDouble(&ok);
        return ok && std::isfinite(value) ? formatMoney(value, locale) : stored;
    }
    if (format == ShortDate) {
        const QDateTime when = Riri::parseSqlDateTime(stored);
        return when.isValid() ? formatShortDate(when.date(), locale) : stored;
    }
    if (format == Whole) {
        bool ok = false;
        const double value = stored.trimmed().toDouble(&ok);
        return ok && std::isfinite(value)
                   ? QString::number(static_cast<qint64>(std::llround(value)))
                   : stored;
    }
    return stored;
}

} // namespace ReportFormat
