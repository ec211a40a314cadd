#pragma once

#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <string>
#include <string_view>

namespace Riri {

// Records of comma-separated values as RFC 4180 describes them: fields
// separated by commas, records ended by a line break, a field that holds a
// comma, a quote or a line break enclosed in quotes with its own quotes
// doubled. Reading takes decoded text; writing appends UTF-8 bytes to a
// buffer that the caller writes out.
class CsvRecords {
public:
    struct Record {
        // The line of the text the record begins on, counted from 1.
        int line = 0;
        QStringList fields;
        // What is wrong with the record's quoting; empty when nothing is.
        QString error;
    };

    // Splits the text into records. A record ends at CR LF, LF or CR outside
    // quotes; quoted fields keep their line breaks and "" stands for a
    // quote. A quote inside an unquoted field is taken as it is. Unquoted
    // fields share the text's characters, so the text must outlive the
    // records and every copy of their fields.
    static QList<Record> read(const QString& text);

    // Reads one record from p[*at] on (n characters in all), advancing *at
    // past it and *line to the line after it. Unquoted fields share the
    // characters when `share` is true and are copied otherwise.
    static void readRecord(const QChar* p, qsizetype n, qsizetype* at, int* line, Record* record,
                           bool share);

    // Appends one field, enclosed in quotes only where it needs them.
    static void appendField(std::string& out, std::string_view utf8);
    // Appends the separator before every field but a record's first.
    static void appendSeparator(std::string& out) { out.push_back(','); }
    // Ends a record with CR LF.
    static void endRecord(std::string& out) { out.append("\r\n"); }
};

// The records of a UTF-8 file read a piece at a time, so that only the
// record at hand is held in memory, never the whole file. A byte-order mark
// at the start is skipped.
class CsvFileReader {
public:
    // The file must be open for reading and outlive the reader.
    explicit CsvFileReader(QIODevice* file) : m_file(file) {}

    // The next record; false at the end of the file or at bytes that are
    // not UTF-8 (notUtf8() tells which). Unquoted fields share the reader's
    // text: they are valid until the next call, and a field kept longer
    // must be copied.
    bool next(CsvRecords::Record* record);
    bool notUtf8() const { return m_notUtf8; }
    // The bytes read so far, for progress.
    qint64 bytesRead() const { return m_bytesRead; }

private:
    // Appends the next piece of the file to the text; false at its end.
    bool readMore();

    QIODevice* m_file;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    QString m_text;
    qsizetype m_at = 0;
    int m_line = 1;
    qint64 m_bytesRead = 0;
    bool m_atEnd = false;
    bool m_notUtf8 = false;
};

} // namespace Riri
