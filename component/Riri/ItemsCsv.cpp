#include "ItemsCsv.h"

#include "AutoBackups.h"
#include "Connection.h"
#include "CsvRecords.h"
#include "Error.h"
#include "Formats.h"
#include "InventoryCopy.h"
#include "ItemRowCheck.h"
#include "SafeFile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <cstdio>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace Riri {

namespace {

using enum ImportedItem::Column;

constexpr int kPathFileAccess = 75;

// ---- export ----------------------------------------------------------------

// A column's text as the statement returns it, UTF-8 as stored.
std::string_view columnText(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text == nullptr
               ? std::string_view()
               : std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(stmt, column)));
}

void appendAmount(std::string& out, sqlite3_stmt* stmt, int column) {
    const int type = sqlite3_column_type(stmt, column);
    if (type == SQLITE_NULL) {
        return;
    }
    if (type == SQLITE_TEXT || type == SQLITE_BLOB) {
        CsvRecords::appendField(out, columnText(stmt, column));
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
    const std::string_view text = columnText(stmt, column);
    if (text.size() == 19 && text[10] == ' ') {
        out.append(text.substr(0, 10));
        out.push_back('T');
        out.append(text.substr(11, 8));
        return;
    }
    CsvRecords::appendField(out, text);
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

// A statement on the inventory, finalized when it goes.
Connection::StatementHandle prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &prepared, nullptr) != SQLITE_OK) {
        throw Error(SafeFile::failureNumber(db),
                    SafeFile::failureText(db, InventoryCopy::databasePath()));
    }
    return Connection::StatementHandle(prepared);
}

// ---- import ----------------------------------------------------------------

// Binds a text kept alive by the caller until the row is stored. The
// texts come from a file decoded as strict UTF-8, so they hold no unpaired
// surrogate and convert as they are.
void bindText(sqlite3_stmt* stmt, int index, const QString& text, QByteArray& bytes) {
    bytes = text.toUtf8();
    sqlite3_bind_text(stmt, index, bytes.constData(), static_cast<int>(bytes.size()),
                      SQLITE_STATIC);
}

void store(const std::vector<ImportedItem>& items) {
    Connection con;
    con.setConnectionString(QStringLiteral("Data Source=") +
                            connectionValue(InventoryCopy::databasePath()) + QLatin1Char(';'));
    con.Open();
    con.requireWritable();
    sqlite3* db = con.handle();
    // Room in memory for the pages of the table and its identifier index
    // while many rows go in (64 MiB; the default holds 2).
    sqlite3_exec(db, "PRAGMA cache_size=-65536", nullptr, nullptr, nullptr);
    try {
        // The write lock first, so the numbering read below stays true.
        con.Execute(QStringLiteral("BEGIN IMMEDIATE"));
        const std::shared_ptr<Recordset> largest =
            con.Execute(QStringLiteral("SELECT MAX(ID) AS [NewItemID] FROM tblItems"));
        qint64 number = largest ? largest->Field(0).toLongLong() : 0;
        Connection::StatementHandle statement =
            prepare(db, "INSERT INTO tblItems (ItemID,ItemName,SN,Model,RoomName,Cost,"
                        "CurValue,BuyDate,AccquiredFrom,Description,Notes,AddDate) "
                        "VALUES (?,?,?,?,?,?,?,?,?,?,?,?)");
        sqlite3_stmt* insert = statement.get();
        const QByteArray now = sqlNow().toUtf8();
        char id[32];
        std::array<QByteArray, 9> bytes;
        for (const ImportedItem& item : items) {
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
        statement.reset();
        con.CommitTrans();
        con.Close();
    } catch (const Error&) {
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
    try {
        OutputFile file(temporary, target);
        std::string out;
        out.reserve(1 << 20);
        out.append("\xEF\xBB\xBF");
        for (qsizetype c = 0; c < columns().size(); ++c) {
            if (c > 0) {
                CsvRecords::appendSeparator(out);
            }
            CsvRecords::appendField(out, columns().at(c).toStdString());
        }
        CsvRecords::endRecord(out);
        Connection::StatementHandle statement =
            prepare(db, "SELECT ItemID,ItemName,SN,Model,RoomName,Cost,CurValue,"
                        "AccquiredFrom,BuyDate,Description,Notes,AddDate,ModDate "
                        "FROM tblItems ORDER BY ID");
        sqlite3_stmt* stmt = statement.get();
        int rc = SQLITE_OK;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            for (int c = 0; c < ColumnCount; ++c) {
                if (c > 0) {
                    CsvRecords::appendSeparator(out);
                }
                if (c == OriginalCost || c == CurrentValue) {
                    appendAmount(out, stmt, c);
                } else if (c == DateAccquired || c == DateAdded || c == DateModified) {
                    appendDate(out, stmt, c);
                } else {
                    CsvRecords::appendField(out, columnText(stmt, c));
                }
            }
            CsvRecords::endRecord(out);
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
        statement.reset();
        con.Close();
        file.write(out);
        file.close();
        SafeFile::syncFile(temporary);
        SafeFile::commit(temporary, target);
    } catch (const Error&) {
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
    const QList<CsvRecords::Record> records = CsvRecords::read(text);
    if (records.isEmpty()) {
        result.problems.append(
            QStringLiteral("Line 1: the file is empty; a header row is needed."));
        return result;
    }

    // The header: columns by name, case ignored.
    ItemRowCheck::Positions at{};
    at.fill(-1);
    const CsvRecords::Record& header = records.first();
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

    const ItemRowCheck rowCheck(at, QDate::currentDate());
    const qsizetype width = header.fields.size();
    std::vector<ImportedItem> items;
    items.reserve(static_cast<size_t>(records.size()));
    for (qsizetype r = 1; r < records.size(); ++r) {
        const CsvRecords::Record& record = records.at(r);
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
            ImportedItem item;
            reasons = rowCheck.check(record.fields, &item);
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
