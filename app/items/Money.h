#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>
#include <cstdint>

// Amounts as the item windows and their lists show and read them: the money
// pattern "###,###,#0.#0" (thousands grouped with the locale's separator, at
// least one digit before the decimal separator, exactly two after it, no
// currency sign), and the locale's numeric test. "The locale" is the
// program's default locale, the user's own unless the program set another.
namespace Money {

// The pattern with one locale's separators, for formatting many amounts.
class Pattern {
public:
    explicit Pattern(const QLocale& locale = QLocale());

    // 1234.5 gives "1,234.50", 0 gives "0.00". The value is first taken to
    // fifteen significant digits, then rounded half away from zero to cents,
    // so 12.345 gives 12.35 although its binary value lies just below.
    QString format(double value) const;
    // A stored amount (the database's own text of a number, "1234.5" or
    // "1.0e+20") in the pattern. An empty text stays empty; a text that is
    // no number is shown as it is.
    QString formatStored(QStringView stored) const;
    // A shown amount ("1,234.50") formatted with the pattern again. An empty
    // text stays empty; a text the locale does not read as a number stays.
    QString reformat(const QString& shown) const;
    // As formatStored, without making a string: the view stays valid until
    // the next call.
    QStringView storedView(QStringView stored);
    // A shown amount as whole cents, as shownCents below reads it.
    bool cents(QStringView shown, std::int64_t* cents) const;

private:
    using Buffer = QVarLengthArray<char16_t, 64>;
    void writePlain(QStringView text, Buffer& out) const;
    static QString toString(const Buffer& buffer);

    QLocale m_locale;
    QString m_group;
    QString m_point;
    QString m_minus;
    Buffer m_scratch;
};

inline QString format(double value, const QLocale& locale = QLocale()) {
    return Pattern(locale).format(value);
}
inline QString formatStored(QStringView stored, const QLocale& locale = QLocale()) {
    return Pattern(locale).formatStored(stored);
}
inline QString reformat(const QString& shown, const QLocale& locale = QLocale()) {
    return Pattern(locale).reformat(shown);
}

// The locale's numeric test: digits with an optional sign, decimal separator,
// thousands separators and exponent.
bool isNumber(const QString& text, const QLocale& locale = QLocale());

// Reads the text as an amount rounded to whole cents (see roundToCents).
// False when the locale does not read it as a number, or when the rounded
// amount is not finite or lies beyond the item rules' largest amount either
// way ("1e39", "inf", "nan", "10000000000000").
bool toAmount(const QString& text, double* value, const QLocale& locale = QLocale());

// The amount rounded to two decimals, half a cent away from zero by the
// amount's own digits (the shortest decimal that reads back as the same
// value, rounded by Riri::ItemRules::roundToCents): 12.346 becomes 12.35,
// 2.675 becomes 2.68 although the double nearest 2.675 lies just below it.
// False, leaving `cents` alone, when the amount has more than sixteen whole
// digits or is not finite.
bool roundToCents(double value, std::int64_t* cents);

// Reads a shown amount ("1,234.50", "-3.00": the pattern with the locale's
// separators) as whole cents. False for an empty text and for a text that is
// not in the pattern.
bool shownCents(QStringView shown, std::int64_t* cents, const QLocale& locale = QLocale());

// Whole cents in the pattern: 123450 gives "1,234.50", -5 gives "-0.05".
QString formatCents(std::int64_t cents, const QLocale& locale = QLocale());

} // namespace Money
