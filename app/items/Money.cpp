#include "Money.h"

#include <cfloat>
#include <cmath>

namespace Money {

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// True for "-?digits(.digits?)?", the plain form both the database and
// QString::number write.
bool isPlainDecimal(QStringView text) {
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

// The pattern applied to a plain decimal text by decimal arithmetic on its
// digits, so no binary rounding creeps in.
QString formatPlain(QStringView text, const QLocale& locale) {
    bool negative = false;
    if (text.startsWith(QLatin1Char('-'))) {
        negative = true;
        text = text.mid(1);
    }
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const QStringView whole = point < 0 ? text : text.left(point);
    const QStringView fraction = point < 0 ? QStringView() : text.mid(point + 1);

    // Whole digits followed by exactly two decimals.
    QString digits;
    digits.reserve(whole.size() + 3);
    digits.append(whole);
    for (qsizetype i = 0; i < 2; ++i) {
        digits.append(i < fraction.size() ? fraction.at(i) : QLatin1Char('0'));
    }
    if (fraction.size() > 2 && fraction.at(2) >= QLatin1Char('5')) {
        qsizetype i = digits.size() - 1;
        while (i >= 0) {
            if (digits.at(i) == QLatin1Char('9')) {
                digits[i] = QLatin1Char('0');
                --i;
            } else {
                digits[i] = QChar(digits.at(i).unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            digits.prepend(QLatin1Char('1'));
        }
    }
    qsizetype lead = 0;
    while (lead < digits.size() - 3 && digits.at(lead) == QLatin1Char('0')) {
        ++lead;
    }
    const QStringView significant = QStringView(digits).mid(lead);
    bool zero = true;
    for (QChar c : significant) {
        if (c != QLatin1Char('0')) {
            zero = false;
            break;
        }
    }

    const QStringView integer = significant.left(significant.size() - 2);
    const QString group = locale.groupSeparator();
    QString result;
    result.reserve(integer.size() + integer.size() / 3 * group.size() + 6);
    if (negative && !zero) {
        result.append(locale.negativeSign());
    }
    for (qsizetype i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0) {
            result.append(group);
        }
        result.append(integer.at(i));
    }
    result.append(locale.decimalPoint());
    result.append(significant.right(2));
    return result;
}

} // namespace

QString Format(double value, const QLocale& locale) {
    if (!std::isfinite(value)) {
        return locale.toString(value);
    }
    QString text = QString::number(value, 'g', 15);
    if (text.contains(QLatin1Char('e'))) {
        // Very small amounts (all zeros at two decimals) and very large ones.
        text = QString::number(value, 'f', std::fabs(value) < 1.0 ? 17 : 2);
    }
    return formatPlain(text, locale);
}

QString FormatStored(QStringView stored, const QLocale& locale) {
    if (stored.isEmpty()) {
        return QString();
    }
    if (isPlainDecimal(stored)) {
        return formatPlain(stored, locale);
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(stored, &ok);
    return ok ? Format(value, locale) : stored.toString();
}

QString Reformat(const QString& shown, const QLocale& locale) {
    if (shown.isEmpty()) {
        return shown;
    }
    bool ok = false;
    const double value = locale.toDouble(shown, &ok);
    return ok ? Format(value, locale) : shown;
}

bool IsNumber(const QString& text, const QLocale& locale) {
    bool ok = false;
    locale.toDouble(text, &ok);
    return ok;
}

bool ToSingle(const QString& text, float* value, const QLocale& locale) {
    bool ok = false;
    const double number = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(number) || std::fabs(number) > static_cast<double>(FLT_MAX)) {
        return false;
    }
    *value = static_cast<float>(number);
    return true;
}

float RoundToCents(float value, const QLocale& locale) {
    float rounded = value;
    if (!ToSingle(Format(static_cast<double>(value), locale), &rounded, locale)) {
        return value;
    }
    return rounded;
}

} // namespace Money
