#pragma once

#include <QLocale>
#include <QStringView>
#include <QValidator>

class QLineEdit;

// The character limit of a money box, counted as the user reads an amount:
// digits, the decimal separator, the sign and anything else count, the
// thousands separators, the currency sign ("$" or the locale's) and blanks do
// not. So "1,234,567.89" is ten characters, as "1234567.89" is, and typing
// stops at the limit however the amount is grouped. A text the program puts
// in the box is not checked; when it is longer, the user can shorten it but
// not lengthen it.
class AmountLength : public QValidator {
    Q_OBJECT
public:
    // Checks what is typed into box, which owns it.
    AmountLength(int limit, QLineEdit* box);

    // The characters of text that count against the limit.
    static qsizetype counted(QStringView text, const QLocale& locale = QLocale());

    State validate(QString& input, int& pos) const override;

    // The raw length the box allows, room for the separators and a currency
    // sign around the counted characters.
    static constexpr int kBoxLength = 32;

private:
    int m_limit;
    qsizetype m_length = 0;
};
