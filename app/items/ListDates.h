#pragma once

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringView>

// Dates as the item lists show them: the locale's short date with a
// four-digit year, so that a date read back from a row keeps its century.
class ListDates {
public:
    explicit ListDates(const QLocale& locale = QLocale());

    // A stored date ("2005-03-01", or with a time of day) as list text. An
    // empty text stays empty; a text that is no date is shown as it is.
    QString Show(QStringView stored);
    // The date a list text shows; invalid when it cannot be read.
    QDate Read(const QString& shown) const;
    // A date as list text.
    QString Show(const QDate& date) const;

private:
    QLocale m_locale;
    QString m_format;
    // Many items share a date; each distinct stored text is formatted once.
    QHash<QString, QString> m_shown;
};
