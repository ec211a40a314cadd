#include "ItemsCsv.h"

#include "AutoBackups.h"
#include "Connection.h"
#include "Error.h"
#include "Formats.h"
#include "InventoryCopy.h"
#include "ItemRules.h"
#include "SafeFile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace Riri {

namespace {

enum Column {
    ItemId,
    ItemName,
    SerialNumber,
    Model,
    Room,
    OriginalCost,
    CurrentValue,
    AccquiredFrom,
    DateAccquired,
    Description,
    Notes,
    DateAdded,
    DateModified,
    ColumnCount
};

constexpr int kPathFileAccess = 75;

// ---- export ----------------------------------------------------------------

void appendField(std::string& out, const char* text, int bytes) {
    bool quote = false;
    for (int i = 0; i < bytes; ++i) {
        const char c = text[i];
        if (c == ',' || c == '"' || c == '\r' || c == '\n') {
            quote = true;
            break;
        }
    }
    if (!quote) {
        out.append(text, static_cast<size_t>(bytes));
        return;
    }
    out.push_back('"');
    for (int i = 0; i < bytes; ++i) {
        if (text[i] == '"') {
            out.push_back('"');
        }
        out.push_back(text[i]);
    }
    out.push_back('"');
}

void appendAmount(std::string& out, sqlite3_stmt* stmt, int column) {
    const int type = sqlite3_column_type(stmt, column);
    if (type == SQLITE_NULL) {
        return;
    }
    if (type == SQLITE_TEXT || type == SQLITE_BLOB) {
        appendField(out, reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                    sqlite3_column_bytes(stmt, column));
        return;
    }
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, "%.2f", sqlite3_column_double(stmt, column));
    if (n == 5 && std::string_view(buffer, 5) == "-0.00") {
        out.append("0.00");
        return;
    }
    out.append(buffer, static_cast<size_t>(n));
}

// A stored date and time "2026-12-06 07:05:12" as ISO 8601
// "2026-12-06T07:05:12"; a date alone stays as it is.
void appendDate(std::string& out, sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    const int bytes = sqlite3_column_bytes(stmt, column);
    if (text == nullptr) {
        return;
    }
    if (bytes == 19 && text[10] == ' ') {
        out.append(text, 10);
        out.push_back('T');
        out.append(text + 11, 8);
        return;
    }
    appendField(out, text, bytes);
}

class OutputFile {
public:
    OutputFile(const QString& temporary, const QString& target) : m_target(target) {
        m_file = std::fopen(QFile::encodeName(temporary).constData(), "wb");
        if (m_file == nullptr) {
            throw Error(kPathFileAccess, SafeFile::writeFailure(errno, target));
        }
    }
    ~OutputFile() {
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(const std::string& data) {
        if (!data.empty() && std::fwrite(data.data(), 1, data.size(), m_file) != data.size()) {
            fail();
        }
    }
    void close() {
        const bool flushed = std::fflush(m_file) == 0;
        const int error = errno;
        std::FILE* file = std::exchange(m_file, nullptr);
        if (std::fclose(file) != 0 || !flushed) {
            throw Error(SQLITE_FULL, SafeFile::writeFailure(flushed ? errno : error, m_target));
        }
    }

private:
    [[noreturn]] void fail() {
        const int error = errno;
        throw Error(SQLITE_FULL, SafeFile::writeFailure(error, m_target));
    }

    std::FILE* m_file = nullptr;
    QString m_target;
};

// ---- import ----------------------------------------------------------------

struct Record {
    int line = 0;
    QStringList fields;
    QString error;
};

// Splits RFC 4180 text into records. A record ends at CR LF, LF or CR
// outside quotes; quoted fields keep their line breaks and "" stands for a
// quote. A quote inside an unquoted field is taken as it is.
QList<Record> parseRecords(const QString& text) {
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
                const qsizetype start = i;
                qsizetype runStart = start;
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
                if (closed && i < n && p[i] != QLatin1Char(',') && p[i] != QLatin1Char('\r') &&
                    p[i] != QLatin1Char('\n')) {
                    record.error = QStringLiteral("text follows the closing quote of field %1")
                                       .arg(record.fields.size() + 1);
                    while (i < n && p[i] != QLatin1Char(',') && p[i] != QLatin1Char('\r') &&
                           p[i] != QLatin1Char('\n')) {
                        ++i;
                    }
                }
            } else {
                const qsizetype start = i;
                while (i < n && p[i] != QLatin1Char(',') && p[i] != QLatin1Char('\r') &&
                       p[i] != QLatin1Char('\n')) {
                    ++i;
                }
                // A view into the file's text, without a copy: the text
                // outlives the records and every item made from them.
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

// A field's text as the writers store it: without NUL characters, then
// without leading and trailing blanks.
QString storedText(QString text) {
    if (text.contains(QChar(u'\0'))) {
        text.remove(QChar(u'\0'));
    }
    return trimBlanks(text);
}

// A plain amount rounded to whole cents by its digits, half a cent away
// from zero, as the item windows round a typed amount. False when it is no
// amount, or when it lies beyond the largest amount the writers keep with its
// exact cents.
bool amountValue(const QString& text, double* value) {
    if (text.isEmpty()) {
        *value = 0;
        return true;
    }
    if (!ItemRules::isPlainAmount(text)) {
        return false;
    }
    const bool negative = text.startsWith(QLatin1Char('-'));
    std::int64_t cents = 0;
    int wholeDigits = 0;
    int decimals = -1; // -1 until the point
    bool roundUp = false;
    for (qsizetype i = negative ? 1 : 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'.') {
            decimals = 0;
            continue;
        }
        const int digit = c - u'0';
        if (decimals < 0) {
            if ((cents > 0 || digit > 0) && ++wholeDigits > 13) {
                return false;
            }
            cents = cents * 10 + digit;
        } else if (decimals < 2) {
            cents = cents * 10 + digit;
            ++decimals;
        } else {
            roundUp = roundUp || (decimals == 2 && digit >= 5);
            decimals = 3;
        }
    }
    for (int d = std::max(decimals, 0); d < 2; ++d) {
        cents *= 10;
    }
    if (roundUp) {
        ++cents;
    }
    if (cents > 999999999999999) {
        return false;
    }
    *value = cents == 0 ? 0.0 : (negative ? -1.0 : 1.0) * static_cast<double>(cents) / 100.0;
    return true;
}

QString quotedValue(const QString& text) {
    return QLatin1Char('"') + (text.size() > 40 ? text.left(40) + QStringLiteral("...") : text) +
           QLatin1Char('"');
}

struct Item {
    QString texts[ColumnCount];
    double cost = 0;
    double value = 0;
    QString buyDate;
};

// The add window's checks on one row; the reasons it fails, or none.
QStringList checkRow(const std::array<int, ColumnCount>& at, const QStringList& fields, Item* item,
                     const QDate& today) {
    QStringList reasons;
    const auto field = [&](Column column) {
        return at[column] < 0 ? QString() : storedText(fields.value(at[column]));
    };
    const auto limited = [&](Column column, const char* name, int limit) {
        item->texts[column] = field(column);
        if (item->texts[column].size() > limit) {
            reasons.append(QStringLiteral("%1 is longer than %2 characters")
                               .arg(QLatin1String(name))
                               .arg(limit));
        }
    };
    limited(ItemName, "Item Name", ItemRules::kItemNameLimit);
    if (item->texts[ItemName].isEmpty()) {
        reasons.append(QStringLiteral("Item Name is missing"));
    }
    limited(SerialNumber, "Serial Number", ItemRules::kSerialNumberLimit);
    limited(Model, "Model", ItemRules::kModelLimit);
    const QString room = field(Room);
    item->texts[Room] = ItemRules::roomNamed(room);
    if (room.isEmpty()) {
        reasons.append(QStringLiteral("Room is missing"));
    } else if (item->texts[Room].isEmpty()) {
        reasons.append(QStringLiteral("Room %1 is not one of the %2 rooms")
                           .arg(quotedValue(room))
                           .arg(ItemRules::rooms().size()));
    }
    const QString cost = field(OriginalCost);
    if (!amountValue(cost, &item->cost)) {
        reasons.append(QStringLiteral("Original Cost %1 is not an amount like 1234.50")
                           .arg(quotedValue(cost)));
    }
    const QString value = field(CurrentValue);
    if (!amountValue(value, &item->value)) {
        reasons.append(QStringLiteral("Current Value %1 is not an amount like 1234.50")
                           .arg(quotedValue(value)));
    }
    limited(AccquiredFrom, "Accquired From", ItemRules::kAccquiredFromLimit);
    const QString dateText = field(DateAccquired);
    QDate date = today;
    if (!dateText.isEmpty()) {
        date = QDate::fromString(dateText, Qt::ISODate);
        if (!date.isValid()) {
            date = parseSqlDateTime(dateText).date();
        }
    }
    if (!date.isValid()) {
        reasons.append(QStringLiteral("Date Accquired %1 is not a date like 2005-03-01")
                           .arg(quotedValue(dateText)));
    } else if (date > today) {
        reasons.append(QStringLiteral("Date Accquired %1 is after today").arg(dateText));
    } else if (date < ItemRules::kFirstDate) {
        reasons.append(QStringLiteral("Date Accquired %1 is before %2")
                           .arg(dateText, ItemRules::kFirstDate.toString(Qt::ISODate)));
    }
    item->buyDate = dateText.size() == 10 && date.isValid() ? dateText : date.toString(Qt::ISODate);
    limited(Description, "Description", ItemRules::kRichTextLimit);
    limited(Notes, "Notes", ItemRules::kRichTextLimit);
    return reasons;
}

// Binds a text kept alive by the caller until the row is stored. The
// texts come from a file decoded as strict UTF-8, so they hold no unpaired
// surrogate and convert as they are.
void bindText(sqlite3_stmt* stmt, int index, const QString& text, QByteArray& bytes) {
    bytes = text.toUtf8();
    sqlite3_bind_text(stmt, index, bytes.constData(), static_cast<int>(bytes.size()),
                      SQLITE_STATIC);
}

void store(const std::vector<Item>& items) {
    Connection con;
    con.setConnectionString(QStringLiteral("Data Source=") +
                            connectionValue(InventoryCopy::databasePath()) + QLatin1Char(';'));
    con.Open();
    con.requireWritable();
    sqlite3* db = con.handle();
    // Room in memory for the pages of the table and its identifier index
    // while many rows go in (64 MiB; the default holds 2).
    sqlite3_exec(db, "PRAGMA cache_size=-65536", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    try {
        // The write lock first, so the numbering read below stays true.
        con.Execute(QStringLiteral("BEGIN IMMEDIATE"));
        const std::shared_ptr<Recordset> largest =
            con.Execute(QStringLiteral("SELECT MAX(ID) AS [NewItemID] FROM tblItems"));
        qint64 number = largest ? largest->Field(0).toLongLong() : 0;
        if (sqlite3_prepare_v2(db,
                               "INSERT INTO tblItems (ItemID,ItemName,SN,Model,RoomName,Cost,"
                               "CurValue,BuyDate,AccquiredFrom,Description,Notes,AddDate) "
                               "VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
                               -1, &insert, nullptr) != SQLITE_OK) {
            throw Error(SafeFile::failureNumber(db),
                        SafeFile::failureText(db, InventoryCopy::databasePath()));
        }
        const QByteArray now = sqlNow().toUtf8();
        char id[32];
        std::array<QByteArray, 9> bytes;
        for (const Item& item : items) {
            const int idBytes = std::snprintf(id, sizeof id, "A-%lld", ++number);
            sqlite3_bind_text(insert, 1, id, idBytes, SQLITE_TRANSIENT);
            bindText(insert, 2, item.texts[ItemName], bytes[0]);
            bindText(insert, 3, item.texts[SerialNumber], bytes[1]);
            bindText(insert, 4, item.texts[Model], bytes[2]);
            bindText(insert, 5, item.texts[Room], bytes[3]);
            sqlite3_bind_double(insert, 6, item.cost);
            sqlite3_bind_double(insert, 7, item.value);
            bindText(insert, 8, item.buyDate, bytes[4]);
            bindText(insert, 9, item.texts[AccquiredFrom], bytes[5]);
            bindText(insert, 10, item.texts[Description], bytes[6]);
            bindText(insert, 11, item.texts[Notes], bytes[7]);
            sqlite3_bind_text(insert, 12, now.constData(), static_cast<int>(now.size()),
                              SQLITE_STATIC);
            if (sqlite3_step(insert) != SQLITE_DONE) {
                throw Error(SafeFile::failureNumber(db),
                            SafeFile::failureText(db, InventoryCopy::databasePath()));
            }
            sqlite3_reset(insert);
        }
        sqlite3_finalize(std::exchange(insert, nullptr));
        con.CommitTrans();
        con.Close();
    } catch (const Error&) {
        sqlite3_finalize(insert);
        if (con.isOpen()) {
            con.Close(); // rolls the transaction back
        }
        throw;
    }
}

} // namespace

const QStringList& ItemsCsv::columns() {
    static const QStringList names{
        QStringLiteral("Item ID"),        QStringLiteral("Item Name"),
        QStringLiteral("Serial Number"),  QStringLiteral("Model"),
        QStringLiteral("Room"),           QStringLiteral("Original Cost"),
        QStringLiteral("Current Value"),  QStringLiteral("Accquired From"),
        QStringLiteral("Date Accquired"), QStringLiteral("Description"),
        QStringLiteral("Notes"),          QStringLiteral("Date Added"),
        QStringLiteral("Date Modified")};
    return names;
}

qint64 ItemsCsv::exportItems(const QString& target) {
    Connection con;
    con.setConnectionString(QStringLiteral("Data Source=") +
                            connectionValue(InventoryCopy::databasePath()) + QLatin1Char(';'));
    con.setReadOnly(true);
    con.Open();
    sqlite3* db = con.handle();
    const QString temporary = SafeFile::makeTemporary(target);
    qint64 count = 0;
    sqlite3_stmt* stmt = nullptr;
    try {
        OutputFile file(temporary, target);
        std::string out;
        out.reserve(1 << 20);
        out.append("\xEF\xBB\xBF");
        out.append(columns().join(QLatin1Char(',')).toStdString());
        out.append("\r\n");
        if (sqlite3_prepare_v2(db,
                               "SELECT ItemID,ItemName,SN,Model,RoomName,Cost,CurValue,"
                               "AccquiredFrom,BuyDate,Description,Notes,AddDate,ModDate "
                               "FROM tblItems ORDER BY ID",
                               -1, &stmt, nullptr) != SQLITE_OK) {
            throw Error(SafeFile::failureNumber(db),
                        SafeFile::failureText(db, InventoryCopy::databasePath()));
        }
        int rc = SQLITE_OK;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            for (int c = 0; c < ColumnCount; ++c) {
                if (c > 0) {
                    out.push_back(',');
                }
                if (c == OriginalCost || c == CurrentValue) {
                    appendAmount(out, stmt, c);
                } else if (c == DateAccquired || c == DateAdded || c == DateModified) {
                    appendDate(out, stmt, c);
                } else {
                    appendField(out, reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                sqlite3_column_bytes(stmt, c));
                }
            }
            out.append("\r\n");
            ++count;
            if (out.size() >= (1u << 20)) {
                file.write(out);
                out.clear();
            }
        }
        if (rc != SQLITE_DONE) {
            throw Error(SafeFile::failureNumber(db),
                        SafeFile::failureText(db, InventoryCopy::databasePath()));
        }
        sqlite3_finalize(std::exchange(stmt, nullptr));
        con.Close();
        file.write(out);
        file.close();
        SafeFile::syncFile(temporary);
        SafeFile::commit(temporary, target);
    } catch (const Error&) {
        sqlite3_finalize(stmt);
        SafeFile::discard(temporary);
        throw;
    }
    return count;
}

ItemsCsv::ImportResult ItemsCsv::importItems(const QString& source) {
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Error(kPathFileAccess,
                    QStringLiteral("%1 cannot be read: %2")
                        .arg(QDir::toNativeSeparators(source), file.errorString()));
    }
    const QByteArray bytes = file.readAll();
    file.close();

    ImportResult result;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        result.problems.append(QStringLiteral("The file is not UTF-8 text."));
        return result;
    }
    QList<Record> records = parseRecords(text);
    if (records.isEmpty()) {
        result.problems.append(
            QStringLiteral("Line 1: the file is empty; a header row is needed."));
        return result;
    }

    // The header: columns by name, case ignored.
    std::array<int, ColumnCount> at{};
    at.fill(-1);
    const Record& header = records.first();
    for (int i = 0; i < header.fields.size(); ++i) {
        const QString viewed = header.fields.at(i).trimmed();
        const QString name(viewed.constData(), viewed.size()); // outlives the text
        qsizetype known = -1;
        for (qsizetype k = 0; k < columns().size() && known < 0; ++k) {
            if (columns().at(k).compare(name, Qt::CaseInsensitive) == 0) {
                known = k;
            }
        }
        if (known < 0) {
            result.unknownColumns.append(name);
        } else if (at[static_cast<size_t>(known)] >= 0) {
            result.problems.append(
                QStringLiteral("Line %1: the column %2 appears twice.").arg(header.line).arg(name));
        } else {
            at[static_cast<size_t>(known)] = i;
        }
    }
    if (!header.error.isEmpty()) {
        result.problems.append(QStringLiteral("Line %1: %2.").arg(header.line).arg(header.error));
    }
    if (at[ItemName] < 0) {
        result.problems.append(
            QStringLiteral("Line %1: the header has no Item Name column.").arg(header.line));
    }
    if (!result.problems.isEmpty()) {
        return result;
    }

    const QDate today = QDate::currentDate();
    const qsizetype width = header.fields.size();
    std::vector<Item> items;
    items.reserve(static_cast<size_t>(records.size()));
    for (qsizetype r = 1; r < records.size(); ++r) {
        const Record& record = records.at(r);
        // A row with nothing in it (a blank line) is no item.
        if (record.error.isEmpty() && record.fields.size() == 1 &&
            record.fields.first().isEmpty()) {
            continue;
        }
        QStringList reasons;
        if (!record.error.isEmpty()) {
            reasons.append(record.error);
        } else if (record.fields.size() != width) {
            reasons.append(QStringLiteral("it has %1 fields, the header has %2")
                               .arg(record.fields.size())
                               .arg(width));
        } else {
            Item item;
            reasons = checkRow(at, record.fields, &item, today);
            if (reasons.isEmpty()) {
                items.push_back(std::move(item));
            }
        }
        if (!reasons.isEmpty()) {
            result.problems.append(QStringLiteral("Line %1: %2.")
                                       .arg(record.line)
                                       .arg(reasons.join(QLatin1String("; "))));
        }
    }
    if (!result.problems.isEmpty()) {
        return result;
    }
    if (!items.empty()) {
        AutoBackups::make(AutoBackups::Kind::BeforeImport);
        store(items);
    }
    result.stored = static_cast<qint64>(items.size());
    return result;
}

} // namespace Riri
