#include "ItemRules.h"

#include <QHash>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace Riri::ItemRules {

const QStringList& rooms() {
    static const QStringList list{QStringLiteral("Attic"),
                                  QStringLiteral("Back Porch"),
                                  QStringLiteral("Back Yard"),
                                  QStringLiteral("Bathroom 2"),
                                  QStringLiteral("Bathroom 3"),
                                  QStringLiteral("Bathroom 4"),
                                  QStringLiteral("Bathroom 5"),
                                  QStringLiteral("Bathroom 6"),
                                  QStringLiteral("BedRoom 2"),
                                  QStringLiteral("BedRoom 3"),
                                  QStringLiteral("BedRoom 4"),
                                  QStringLiteral("BedRoom 5"),
                                  QStringLiteral("BedRoom 6"),
                                  QStringLiteral("Breakfast Room"),
                                  QStringLiteral("Den"),
                                  QStringLiteral("Dining Room"),
                                  QStringLiteral("Family Room"),
                                  QStringLiteral("Foyer"),
                                  QStringLiteral("Front Porch"),
                                  QStringLiteral("Front Yard"),
                                  QStringLiteral("Game Room"),
                                  QStringLiteral("Garage"),
                                  QStringLiteral("Kitchen"),
                                  QStringLiteral("Laundry Room"),
                                  QStringLiteral("Living Room"),
                                  QStringLiteral("Master Bathroom"),
                                  QStringLiteral("Master Bedroom"),
                                  QStringLiteral("Mud Room"),
                                  QStringLiteral("Pantry"),
                                  QStringLiteral("Play Room"),
                                  QStringLiteral("Side Porch"),
                                  QStringLiteral("Side Yard"),
                                  QStringLiteral("Storage Room"),
                                  QStringLiteral("Utility Room"),
                                  QStringLiteral("Other")};
    return list;
}

QString roomNamed(QStringView text) {
    // By the case-folded name, as a case-insensitive comparison folds it:
    // looked up for every row of an import.
    static const QHash<QString, QString> byFolded = [] {
        QHash<QString, QString> names;
        for (const QString& room : rooms()) {
            names.insert(room.toCaseFolded(), room);
        }
        return names;
    }();
    static const QHash<QString, QString> byName = [] {
        QHash<QString, QString> names;
        for (const QString& room : rooms()) {
            names.insert(room, room);
        }
        return names;
    }();
    // The list's own spelling first, without making a string.
    const auto exact = byName.constFind(QString::fromRawData(text.data(), text.size()));
    return exact != byName.constEnd() ? *exact : byFolded.value(text.toString().toCaseFolded());
}

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

bool isPlainAmount(QStringView text) {
    qsizetype i = 0;
    if (i < text.size() && text.at(i) == QLatin1Char('-')) {
        ++i;
    }
    const qsizetype firstDigit = i;
    while (i < text.size() && isDigit(text.at(i))) {
        ++i;
    }
    if (i == firstDigit) {
        return false;
    }
    if (i < text.size() && text.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < text.size() && isDigit(text.at(i))) {
            ++i;
        }
    }
    return i == text.size();
}

bool roundToCents(QStringView plain, std::int64_t* cents) {
    if (!isPlainAmount(plain)) {
        return false;
    }
    const bool negative = plain.startsWith(QLatin1Char('-'));
    std::int64_t result = 0;
    int wholeDigits = 0;
    int decimals = -1; // -1 until the point
    bool roundUp = false;
    for (qsizetype i = negative ? 1 : 0; i < plain.size(); ++i) {
        const char16_t c = plain.at(i).unicode();
        if (c == u'.') {
            decimals = 0;
            continue;
        }
        const int digit = c - u'0';
        if (decimals < 0) {
            // At most sixteen whole digits, so the cents always fit.
            if ((result > 0 || digit > 0) && ++wholeDigits > 16) {
                return false;
            }
            result = result * 10 + digit;
        } else if (decimals < 2) {
            result = result * 10 + digit;
            ++decimals;
        } else {
            // Only the third decimal decides: half a cent and more goes away
            // from zero.
            roundUp = roundUp || (decimals == 2 && digit >= 5);
            decimals = 3;
        }
    }
    for (int d = std::max(decimals, 0); d < 2; ++d) {
        result *= 10;
    }
    if (roundUp) {
        ++result;
    }
    *cents = negative ? -result : result;
    return true;
}

double amountOf(std::int64_t cents) {
    return cents == 0 ? 0.0 : static_cast<double>(cents) / 100.0;
}

bool roundNumberToCents(double value, std::int64_t* cents) {
    if (!std::isfinite(value)) {
        return false;
    }
    char digits[400];
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
    if (error != std::errc()) {
        return false;
    }
    return roundToCents(QString::fromLatin1(digits, end - digits), cents);
}

bool typedAmount(const QString& text, const QLocale& locale, double* value) {
    bool ok = false;
    const double number = locale.toDouble(text, &ok);
    std::int64_t cents = 0;
    if (!ok || !roundNumberToCents(number, &cents) || !isStorable(cents)) {
        return false;
    }
    *value = amountOf(cents);
    return true;
}

namespace {

bool isBlank(QChar c) {
    return c.isSpace();
}

// The text without the currency sign before or after the number and the
// blanks beside it; a sign before the currency sign stays in front. Empty
// when the text carries no currency sign.
QString withoutCurrency(QStringView text, const QString& symbol) {
    QString sign;
    QStringView rest = text;
    if (rest.startsWith(QLatin1Char('-')) || rest.startsWith(QLatin1Char('+'))) {
        sign = rest.first(1).toString();
        rest = rest.mid(1).trimmed();
    }
    if (!symbol.isEmpty() && rest.startsWith(symbol)) {
        return sign + rest.mid(symbol.size()).trimmed().toString();
    }
    if (sign.isEmpty() && !symbol.isEmpty() && rest.endsWith(symbol)) {
        return rest.chopped(symbol.size()).trimmed().toString();
    }
    return QString();
}

} // namespace

bool importedAmount(const QString& text, const QLocale& locale, double* value) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        *value = 0;
        return true;
    }
    const auto read = [&](const QString& number) {
        if (number.isEmpty() || isBlank(number.front()) || isBlank(number.back())) {
            return false;
        }
        std::int64_t cents = 0;
        if (roundToCents(number, &cents)) {
            if (!isStorable(cents)) {
                return false;
            }
            *value = amountOf(cents);
            return true;
        }
        return typedAmount(number, locale, value);
    };
    if (read(trimmed)) {
        return true;
    }
    for (const QString& symbol : {locale.currencySymbol(), QStringLiteral("$")}) {
        if (read(withoutCurrency(trimmed, symbol))) {
            return true;
        }
    }
    return false;
}

} // namespace Riri::ItemRules
