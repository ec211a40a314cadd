#include "items/AmountLength.h"

#include <QLineEdit>

AmountLength::AmountLength(int limit, QLineEdit* box) : QValidator(box), m_limit(limit) {
    // The box's text has already changed when an edit is validated, so the
    // length before it is kept here.
    connect(box, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_length = counted(text, locale()); });
}

qsizetype AmountLength::counted(QStringView text, const QLocale& locale) {
    const QString group = locale.groupSeparator();
    const QString currency = locale.currencySymbol();
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size();) {
        const QStringView rest = text.mid(i);
        if (!group.isEmpty() && rest.startsWith(group)) {
            i += group.size();
        } else if (!currency.isEmpty() && rest.startsWith(currency)) {
            i += currency.size();
        } else if (rest.front() == QLatin1Char('$') || rest.front().isSpace()) {
            ++i;
        } else {
            ++count;
            ++i;
        }
    }
    return count;
}

QValidator::State AmountLength::validate(QString& input, int& pos) const {
    Q_UNUSED(pos);
    return counted(input, locale()) > std::max<qsizetype>(m_limit, m_length) ? Invalid : Acceptable;
}
