#include "CsvRecords.h"

namespace Riri {

namespace {

bool endsField(QChar c) {
    return c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

} // namespace

QList<CsvRecords::Record> CsvRecords::read(const QString& text) {
    QList<Record> records;
    qsizetype i = 0;
    int line = 1;
    while (i < text.size()) {
        Record record;
        readRecord(text.constData(), text.size(), &i, &line, &record, true);
        records.append(std::move(record));
    }
    return records;
}

void CsvRecords::readRecord(const QChar* p, qsizetype n, qsizetype* at, int* lineAt, Record* out,
                            bool share) {
    qsizetype i = *at;
    int line = *lineAt;
    Record& record = *out;
    record.fields.clear();
    record.error.clear();
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
                    (p[i] == QLatin1Char('\r') && (i + 1 >= n || p[i + 1] != QLatin1Char('\n')))) {
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
            // A view into the text, without a copy, where the caller keeps it.
            field =
                share ? QString::fromRawData(p + start, i - start) : QString(p + start, i - start);
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
    *at = i;
    *lineAt = line;
}

bool CsvFileReader::readMore() {
    if (m_atEnd) {
        return false;
    }
    constexpr qint64 kPiece = 1 << 20;
    const QByteArray bytes = m_file->read(kPiece);
    if (bytes.isEmpty()) {
        m_atEnd = true;
        return false;
    }
    m_bytesRead += bytes.size();
    // Keep only what is not read yet, then add the piece.
    if (m_at > 0) {
        m_text.remove(0, m_at);
        m_at = 0;
    }
    m_text += m_decoder.decode(bytes);
    if (m_decoder.hasError()) {
        m_notUtf8 = true;
        m_atEnd = true;
        return false;
    }
    return true;
}

bool CsvFileReader::next(CsvRecords::Record* record) {
    for (;;) {
        if (m_notUtf8) {
            return false;
        }
        if (m_at < m_text.size()) {
            // A record is whole when text follows it, or when the file ends
            // with it; otherwise a longer piece is read and it is read again.
            qsizetype at = m_at;
            int line = m_line;
            CsvRecords::readRecord(m_text.constData(), m_text.size(), &at, &line, record, true);
            if (at < m_text.size() || m_atEnd) {
                m_at = at;
                m_line = line;
                return true;
            }
        } else if (m_atEnd) {
            return false;
        }
        if (!readMore() && !m_atEnd) {
            return false;
        }
        if (m_notUtf8) {
            return false;
        }
    }
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
