#include "Formats.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace Riri {

QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' ')) {
        ++begin;
    }
    while (end > begin && text.at(end - 1) == QLatin1Char(' ')) {
        --end;
    }
    return begin == 0 && end == text.size() ? text : text.mid(begin, end - begin);
}

QString sqlDate(const QDateTime& value) {
    const QTime time = value.time();
    if (!time.isValid() || time == QTime(0, 0)) {
        return value.date().toString(Qt::ISODate);
    }
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString sqlNow() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString sqlNumber(double value) {
    if (!std::isfinite(value)) {
        // Not a number SQLite can hold; the statement fails instead of storing it.
        return std::isnan(value) ? QStringLiteral("NaN")
                                 : QString::fromLatin1(value < 0 ? "-Inf" : "Inf");
    }
    if (value == 0.0) {
        return QStringLiteral("0");
    }
    // Fifteen significant digits; the general form already drops trailing zeros.
    QString text = QString::number(value, 'g', 15);
    if (!text.contains(QLatin1Char('e'))) {
        return text;
    }
    // Very large or very small: the same digits written out in full.
    const double rounded = text.toDouble();
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(rounded))));
    text = QString::number(rounded, 'f', std::max(0, 14 - exponent));
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

QDateTime parseSqlDateTime(const QString& text) {
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

QString shortDateFormat(const QLocale& locale) {
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy"))) {
        format.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yyyy"));
    }
    return format;
}

QString timeFormat(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.simplified();
}

} // namespace Riri
