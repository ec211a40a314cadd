#pragma once

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>
#include <limits>
#include <vector>

// Dates as the item lists show them: the locale's short date with a
// four-digit year, so that a date read back from a row keeps its century.
class ListDates {
public:
    explicit ListDates(const QLocale& locale = QLocale());

    // A stored date ("2005-03-01", or with a time of day) as list text. An
    // empty text stays empty; a text that is no date is shown as it is.
    QString show(QStringView stored);
    // As show, without making a string: the view stays valid until the next
    // call.
    QStringView showView(QStringView stored);
    // A date as list text.
    QString show(const QDate& date) const;
    // The date a list text shows; invalid when it cannot be read.
    QDate read(const QString& shown) const;
    // The day number (Julian day) of the date a list text shows, for ordering
    // many rows by date; NoDay when it is empty or cannot be read. Texts in
    // the plain numeric pattern are read without the locale's general parser.
    static constexpr qint64 NoDay = std::numeric_limits<qint64>::min();
    qint64 dayNumber(QStringView shown);

private:
    // One piece of the date pattern: a field (day, month, year, weekday) of
    // a given width, or literal text.
    struct Piece {
        char field; // 'd', 'M', 'y' or 0 for literal text
        int width;
        QString text;
    };
    bool compile();
    void write(const QDate& date);

    QLocale m_locale;
    QString m_format;
    // The pattern taken apart once, so that a list of many dates is written
    // without the locale's general formatter; empty when the pattern holds
    // anything this does not cover, and the general formatter is used.
    std::vector<Piece> m_pieces;
    QVarLengthArray<char16_t, 32> m_scratch;
    QHash<QString, QString> m_byText;
    QHash<QString, qint64> m_dayByText;
    // The month and weekday names the pattern writes, when it writes names.
    QStringList m_monthNames;
    QStringList m_dayNames;
};
