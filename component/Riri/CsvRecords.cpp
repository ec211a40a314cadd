#include "CsvRecords.h"

namespace Riri {

namespace {

bool endsField(QChar c) {
    return c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

} // namespace

QList<CsvRecords::Record> CsvRecords::read(const QString& text) {
    QList<Record> records;
    const QChar* p = text.constData();
    const qsizetype n = text.size();
    qsizetype i = 0;
    int line = 1;
    while (i < n) {
        Record record;
        record.line = line;
        for (;;) {
            QString field;
            if (i < n && p[i] == QLatin1Char('"')) {
                ++i;
                bool closed = false;
                qsizetype runStart = i;
                while (i < n) {
                    if (p[i] == QLatin1Char('"')) {
                        field.append(p + runStart, i - runStart);
                        if (i + 1 < n && p[i + 1] == QLatin1Char('"')) {
                            field.append(QLatin1Char('"'));
                            i += 2;
                            runStart = i;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    if (p[i] == QLatin1Char('\n') ||
                        (p[i] == QLatin1Char('\r') &&
                         (i + 1 >= n || p[i + 1] != QLatin1Char('\n')))) {
                        ++line;
                    }
                    ++i;
                }
                if (!closed) {
                    field.append(p + runStart, i - runStart);
                    record.error = QStringLiteral("a quoted field is not closed");
                }
                if (closed && i < n && !endsField(p[i])) {
                    record.error = QStringLiteral("text follows the closing quote of field %1")
                                       .arg(record.fields.size() + 1);
                    while (i < n && !endsField(p[i])) {
                        ++i;
                    }
                }
            } else {
                const qsizetype start = i;
                while (i < n && !endsField(p[i])) {
                    ++i;
                }
                // A view into the text, without a copy.
                field = QString::fromRawData(p + start, i - start);
            }
            record.fields.append(field);
            if (i < n && p[i] == QLatin1Char(',')) {
                ++i;
                continue;
            }
            break;
        }
        if (i < n && p[i] == QLatin1Char('\r')) {
            ++i;
        }
        if (i < n && p[i] == QLatin1Char('\n')) {
            ++i;
        }
        ++line;
        records.append(std::move(record));
    }
    return records;
}

void CsvRecords::appendField(std::string& out, std::string_view utf8) {
    bool quote = false;
    for (const char c : utf8) {
        if (c == ',' || c == '"' || c == '\r' || c == '\n') {
            quote = true;
            break;
        }
    }
    if (!quote) {
        out.append(utf8);
        return;
    }
    out.push_back('"');
    for (const char c : utf8) {
        if (c == '"') {
            out.push_back('"');
        }
        out.push_back(c);
    }
    out.push_back('"');
}

} // namespace Riri
