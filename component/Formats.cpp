#include "Formats.h"

#include <QRegularExpression>
#include <cmath>

namespace Riri {

QString SqlDate(const QDateTime& value) {
    const QTime time = value.time();
    if (!time.isValid() || time == QTime(0, 0)) {
        return value.date().toString(Qt::ISODate);
    }
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString SqlNow() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString SqlNumber(float value) {
    if (!std::isfinite(value)) {
        // Not a number SQLite can hold; the statement fails instead of storing it.
        return std::isnan(value) ? QStringLiteral("NaN")
                                 : QString::fromLatin1(value < 0 ? "-Inf" : "Inf");
    }
    const double v = static_cast<double>(value);
    if (v == 0.0) {
        return QStringLiteral("0");
    }
    // Round to seven significant digits first, as the single-precision text does.
    const double rounded = QString::number(v, 'g', 7).toDouble();
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(rounded))));
    const int decimals = std::max(0, 6 - exponent);
    QString text = QString::number(rounded, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0'))) {
            text.chop(1);
        }
        if (text.endsWith(QLatin1Char('.'))) {
            text.chop(1);
        }
    }
    return text;
}

QDateTime ParseSqlDateTime(const QString& text) {
    const QString t = text.trimmed();
    QDateTime dt = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid()) {
        dt = QDateTime::fromString(t, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    }
    if (!dt.isValid()) {
        const QDate d = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
        if (d.isValid()) {
            dt = QDateTime(d, QTime(0, 0));
        }
    }
    return dt;
}

QString ShortDateFormat(const QLocale& locale) {
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy"))) {
        format.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yyyy"));
    }
    return format;
}

QString TimeFormat(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.simplified();
}

} // namespace Riri
