#include "items/Money.h"

#include <Riri/ItemRules.h>

#include <QVarLengthArray>
#include <algorithm>
#include <cmath>

namespace Money {

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// True for "-?digits(.digits?)?", the plain form both the database and
// QString::number write.
bool isPlainDecimal(QStringView text) {
    return Riri::ItemRules::isPlainAmount(text);
}

} // namespace

Pattern::Pattern(const QLocale& locale)
    : m_locale(locale), m_group(locale.groupSeparator()), m_point(locale.decimalPoint()),
      m_minus(locale.negativeSign()) {}

QString Pattern::toString(const Buffer& buffer) {
    return QString(reinterpret_cast<const QChar*>(buffer.constData()), buffer.size());
}

// The pattern applied to a plain decimal text by decimal arithmetic on its
// digits, so no binary rounding creeps in.
void Pattern::writePlain(QStringView text, Buffer& out) const {
    bool negative = false;
    if (text.startsWith(QLatin1Char('-'))) {
        negative = true;
        text = text.mid(1);
    }
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const QStringView whole = point < 0 ? text : text.left(point);
    const QStringView fraction = point < 0 ? QStringView() : text.mid(point + 1);

    // One spare place in front for a carry, then the whole digits and
    // exactly two decimals.
    QVarLengthArray<char16_t, 64> digits;
    digits.append(u'0');
    for (QChar c : whole) {
        digits.append(c.unicode());
    }
    for (qsizetype i = 0; i < 2; ++i) {
        digits.append(i < fraction.size() ? fraction.at(i).unicode() : u'0');
    }
    if (fraction.size() > 2 && fraction.at(2) >= QLatin1Char('5')) {
        for (qsizetype i = digits.size() - 1; i >= 0; --i) {
            if (digits[i] == u'9') {
                digits[i] = u'0';
            } else {
                ++digits[i];
                break;
            }
        }
    }
    qsizetype lead = 0;
    while (lead < digits.size() - 3 && digits[lead] == u'0') {
        ++lead;
    }
    bool zero = true;
    for (qsizetype i = lead; i < digits.size(); ++i) {
        zero = zero && digits[i] == u'0';
    }

    const auto append = [&out](const QString& text) {
        for (QChar c : text) {
            out.append(c.unicode());
        }
    };
    const qsizetype integerEnd = digits.size() - 2;
    out.clear();
    if (negative && !zero) {
        append(m_minus);
    }
    for (qsizetype i = lead; i < integerEnd; ++i) {
        if (i > lead && (integerEnd - i) % 3 == 0) {
            append(m_group);
        }
        out.append(digits[i]);
    }
    append(m_point);
    out.append(digits[integerEnd]);
    out.append(digits[integerEnd + 1]);
}

QString Pattern::format(double value) const {
    if (!std::isfinite(value)) {
        return m_locale.toString(value);
    }
    QString text = QString::number(value, 'g', 15);
    if (text.contains(QLatin1Char('e'))) {
        // Very small amounts (all zeros at two decimals) and very large ones.
        text = QString::number(value, 'f', std::fabs(value) < 1.0 ? 17 : 2);
    }
    Buffer out;
    writePlain(text, out);
    return toString(out);
}

QString Pattern::formatStored(QStringView stored) const {
    if (stored.isEmpty()) {
        return QString();
    }
    if (isPlainDecimal(stored)) {
        Buffer out;
        writePlain(stored, out);
        return toString(out);
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(stored, &ok);
    return ok ? format(value) : stored.toString();
}

QStringView Pattern::storedView(QStringView stored) {
    if (stored.isEmpty()) {
        return QStringView();
    }
    if (isPlainDecimal(stored)) {
        writePlain(stored, m_scratch);
    } else {
        const QString shown = formatStored(stored);
        m_scratch.clear();
        for (QChar c : shown) {
            m_scratch.append(c.unicode());
        }
    }
    return QStringView(m_scratch.constData(), m_scratch.size());
}

QString Pattern::reformat(const QString& shown) const {
    if (shown.isEmpty()) {
        return shown;
    }
    bool ok = false;
    const double value = m_locale.toDouble(shown, &ok);
    return ok ? format(value) : shown;
}

bool isNumber(const QString& text, const QLocale& locale) {
    bool ok = false;
    locale.toDouble(text, &ok);
    return ok;
}

bool roundToCents(double value, std::int64_t* cents) {
    return Riri::ItemRules::roundNumberToCents(value, cents);
}

bool toAmount(const QString& text, double* value, const QLocale& locale) {
    return Riri::ItemRules::typedAmount(text, locale, value);
}

bool shownCents(QStringView shown, std::int64_t* cents, const QLocale& locale) {
    return Pattern(locale).cents(shown, cents);
}

bool Pattern::cents(QStringView shown, std::int64_t* cents) const {
    const QString& minus = m_minus;
    const QString& group = m_group;
    const QString& point = m_point;
    bool negative = false;
    if (!minus.isEmpty() && shown.startsWith(minus)) {
        negative = true;
        shown = shown.mid(minus.size());
    } else if (shown.startsWith(QLatin1Char('-'))) {
        negative = true;
        shown = shown.mid(1);
    }
    // At most 16 whole digits, so the cents always fit.
    std::int64_t value = 0;
    int wholeDigits = 0;
    int decimals = -1; // -1 until the decimal separator
    for (qsizetype i = 0; i < shown.size();) {
        const QChar c = shown.at(i);
        if (isDigit(c)) {
            if (decimals < 0) {
                if (++wholeDigits > 16) {
                    return false;
                }
            } else if (++decimals > 2) {
                return false;
            }
            value = value * 10 + (c.unicode() - u'0');
            ++i;
        } else if (decimals < 0 && wholeDigits > 0 && !point.isEmpty() &&
                   shown.mid(i).startsWith(point)) {
            decimals = 0;
            i += point.size();
        } else if (decimals < 0 && wholeDigits > 0 && !group.isEmpty() &&
                   shown.mid(i).startsWith(group)) {
            i += group.size();
        } else {
            return false;
        }
    }
    if (wholeDigits == 0) {
        return false;
    }
    for (int d = std::max(decimals, 0); d < 2; ++d) {
        value *= 10;
    }
    *cents = negative ? -value : value;
    return true;
}

QString formatCents(std::int64_t cents, const QLocale& locale) {
    // Plain decimal text first ("-1234.05"), then the pattern by its digits.
    const std::uint64_t magnitude = cents < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(cents)
                                              : static_cast<std::uint64_t>(cents);
    QString plain = QString::number(magnitude / 100) + QLatin1Char('.');
    const auto rest = static_cast<int>(magnitude % 100);
    plain += QLatin1Char(static_cast<char>('0' + rest / 10));
    plain += QLatin1Char(static_cast<char>('0' + rest % 10));
    if (cents < 0) {
        plain.prepend(QLatin1Char('-'));
    }
    return Pattern(locale).formatStored(plain);
}

} // namespace Money
