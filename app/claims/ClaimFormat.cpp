#include "claims/ClaimFormat.h"

#include <Riri/Formats.h>
#include <Riri/ItemRules.h>

#include <QDate>
#include <QLocale>

namespace ClaimFormat {

QString money(qint64 cents) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    const quint64 magnitude =
        cents < 0 ? quint64{0} - static_cast<quint64>(cents) : static_cast<quint64>(cents);
    const QString text =
        QStringLiteral("$") + locale.toString(magnitude / 100) + locale.decimalPoint() +
        QStringLiteral("%1").arg(static_cast<int>(magnitude % 100), 2, 10, QLatin1Char('0'));
    return cents < 0 ? locale.negativeSign() + text : text;
}

QString date(const QString& iso) {
    const QDate day = QDate::fromString(iso.left(10), Qt::ISODate);
    return day.isValid() ? QLocale().toString(day, Riri::shortDateFormat()) : iso;
}

bool parseMoney(const QString& text, qint64* cents) {
    const QLocale locale;
    QString plain;
    for (const QChar c : text.trimmed()) {
        if (c == locale.groupSeparator().front() || c == QLatin1Char('$') || c.isSpace()) {
            continue;
        }
        plain.append(c == locale.decimalPoint().front() ? QLatin1Char('.') : c);
    }
    std::int64_t value = 0;
    if (!Riri::ItemRules::roundToCents(plain, &value) || !Riri::ItemRules::isStorable(value)) {
        return false;
    }
    *cents = value;
    return true;
}

} // namespace ClaimFormat
