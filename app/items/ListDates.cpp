#include "items/ListDates.h"

#include <Riri/Formats.h>

namespace {

// The date of a text of the exact form "yyyy-MM-dd"; invalid otherwise.
QDate isoDate(QStringView text) {
    if (text.size() != 10 || text.at(4) != QLatin1Char('-') || text.at(7) != QLatin1Char('-')) {
        return QDate();
    }
    int parts[3] = {0, 0, 0};
    int part = 0;
    for (qsizetype i = 0; i < 10; ++i) {
        if (i == 4 || i == 7) {
            ++part;
            continue;
        }
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9') {
            return QDate();
        }
        parts[part] = parts[part] * 10 + (c - u'0');
    }
    return QDate(parts[0], parts[1], parts[2]);
}

} // namespace

ListDates::ListDates(const QLocale& locale)
    : m_locale(locale), m_format(Riri::shortDateFormat(locale)) {
    // Locales that write other digits than 0 to 9 take the general way.
    if (m_locale.zeroDigit() != QLatin1String("0") || !compile()) {
        m_pieces.clear();
    }
    for (const Piece& piece : m_pieces) {
        const auto form = piece.width == 3 ? QLocale::ShortFormat : QLocale::LongFormat;
        if (piece.field == 'M' && piece.width > 2) {
            for (int month = 1; month <= 12; ++month) {
                m_monthNames << m_locale.monthName(month, form);
            }
        } else if (piece.field == 'd' && piece.width > 2) {
            for (int day = 1; day <= 7; ++day) {
                m_dayNames << m_locale.dayName(day, form);
            }
        }
    }
}

bool ListDates::compile() {
    for (qsizetype i = 0; i < m_format.size();) {
        const QChar c = m_format.at(i);
        qsizetype run = 1;
        while (i + run < m_format.size() && m_format.at(i + run) == c) {
            ++run;
        }
        if (c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) {
            if (run > 4 || (c == QLatin1Char('y') && run != 2 && run != 4)) {
                return false;
            }
            m_pieces.push_back(Piece{static_cast<char>(c.toLatin1()), static_cast<int>(run), {}});
        } else if (c.isLetter() || c == QLatin1Char('\'')) {
            return false; // quoted text or a field this does not write
        } else {
            m_pieces.push_back(Piece{0, 0, m_format.mid(i, run)});
        }
        i += run;
    }
    return true;
}

void ListDates::write(const QDate& date) {
    m_scratch.clear();
    const auto text = [this](const QString& piece) {
        for (QChar c : piece) {
            m_scratch.append(c.unicode());
        }
    };
    const auto number = [this](int value, int digits) {
        char16_t reversed[8];
        int count = 0;
        do {
            reversed[count++] = static_cast<char16_t>(u'0' + value % 10);
            value /= 10;
        } while (value > 0 && count < 8);
        while (count < digits) {
            reversed[count++] = u'0';
        }
        while (count > 0) {
            m_scratch.append(reversed[--count]);
        }
    };
    for (const Piece& piece : m_pieces) {
        switch (piece.field) {
        case 'd':
            if (piece.width <= 2) {
                number(date.day(), piece.width);
            } else {
                text(m_locale.dayName(date.dayOfWeek(), piece.width == 3 ? QLocale::ShortFormat
                                                                         : QLocale::LongFormat));
            }
            break;
        case 'M':
            if (piece.width <= 2) {
                number(date.month(), piece.width);
            } else {
                text(m_locale.monthName(date.month(), piece.width == 3 ? QLocale::ShortFormat
                                                                       : QLocale::LongFormat));
            }
            break;
        case 'y':
            number(piece.width == 2 ? date.year() % 100 : date.year(), piece.width);
            break;
        default:
            text(piece.text);
            break;
        }
    }
}

QStringView ListDates::showView(QStringView stored) {
    if (stored.isEmpty()) {
        return QStringView();
    }
    // A plain date needs no time zone and no general parsing.
    const QDate date = isoDate(stored);
    if (date.isValid() && !m_pieces.empty()) {
        write(date);
        return QStringView(m_scratch.constData(), m_scratch.size());
    }
    const QString key = stored.toString();
    auto found = m_byText.constFind(key);
    if (found == m_byText.constEnd()) {
        const QDate read = date.isValid() ? date : Riri::parseSqlDateTime(key).date();
        found = m_byText.insert(key, read.isValid() ? show(read) : key);
    }
    return found.value();
}

QString ListDates::show(QStringView stored) {
    return showView(stored).toString();
}

QString ListDates::show(const QDate& date) const {
    return m_locale.toString(date, m_format);
}

QDate ListDates::read(const QString& shown) const {
    if (shown.isEmpty()) {
        return QDate();
    }
    return m_locale.toDate(shown, m_format);
}

qint64 ListDates::dayNumber(QStringView shown) {
    if (shown.isEmpty()) {
        return NoDay;
    }
    bool numeric = !m_pieces.empty();
    int day = 0;
    int month = 0;
    int year = 0;
    qsizetype at = 0;
    for (const Piece& piece : m_pieces) {
        if (piece.field == 0) {
            if (!shown.mid(at).startsWith(piece.text)) {
                numeric = false;
                break;
            }
            at += piece.text.size();
            continue;
        }
        if (piece.width > 2 && piece.field != 'y') {
            // A month or weekday name: the longest one the text holds here.
            const QStringList& names = piece.field == 'M' ? m_monthNames : m_dayNames;
            qsizetype found = -1;
            for (qsizetype i = 0; i < names.size(); ++i) {
                if (!names[i].isEmpty() && shown.mid(at).startsWith(names[i]) &&
                    (found < 0 || names[i].size() > names[found].size())) {
                    found = i;
                }
            }
            if (found < 0) {
                numeric = false; // let the locale try
                break;
            }
            at += names[found].size();
            if (piece.field == 'M') {
                month = static_cast<int>(found) + 1;
            }
            continue;
        }
        const int most = piece.field == 'y' ? 4 : 2;
        int value = 0;
        int digits = 0;
        while (at < shown.size() && digits < most && shown.at(at) >= QLatin1Char('0') &&
               shown.at(at) <= QLatin1Char('9')) {
            value = value * 10 + (shown.at(at).unicode() - u'0');
            ++at;
            ++digits;
        }
        if (digits == 0) {
            return NoDay;
        }
        (piece.field == 'd' ? day : piece.field == 'M' ? month : year) = value;
    }
    if (numeric) {
        const QDate date(year, month, day);
        return at == shown.size() && date.isValid() ? date.toJulianDay() : NoDay;
    }
    // Other patterns through the locale, once per distinct text.
    const QString key = shown.toString();
    auto found = m_dayByText.constFind(key);
    if (found == m_dayByText.constEnd()) {
        const QDate date = read(key);
        found = m_dayByText.insert(key, date.isValid() ? date.toJulianDay() : NoDay);
    }
    return found.value();
}
