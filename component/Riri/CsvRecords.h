#pragma once

#include <QList>
#include <QString>
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

    // Appends one field, enclosed in quotes only where it needs them.
    static void appendField(std::string& out, std::string_view utf8);
    // Appends the separator before every field but a record's first.
    static void appendSeparator(std::string& out) { out.push_back(','); }
    // Ends a record with CR LF.
    static void endRecord(std::string& out) { out.append("\r\n"); }
};

} // namespace Riri
