#include "ItemsCsv.h"

#include "AutoBackups.h"
#include "ChangeSource.h"
#include "Connection.h"
#include "CsvRecords.h"
#include "Error.h"
#include "ErrorNumbers.h"
#include "Formats.h"
#include "HistorySchema.h"
#include "ImportStage.h"
#include "InventoryCopy.h"
#include "ItemRowCheck.h"
#include "SafeFile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cerrno>
#include <cstdio>
#include <map>
#include <optional>
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

using Result = ItemsCsv::ImportResult;

[[noreturn]] void failOn(sqlite3* db) {
    throw Error(SafeFile::failureNumber(db),
                SafeFile::failureText(db, InventoryCopy::databasePath()));
}

void addProblem(Result& result, const QString& line) {
    if (result.problems.size() < ItemsCsv::kListedProblems) {
        result.problems.append(line);
    } else {
        ++result.unlistedProblems;
    }
}

// The rows of an import file, one at a time, each checked by the add
// window's rules.
class ImportFile {
public:
    struct Row {
        int line = 0;
        QStringList reasons;
        ImportedItem item;
    };

    explicit ImportFile(const QString& source) : m_file(source), m_reader(&m_file) {
        if (!m_file.open(QIODevice::ReadOnly)) {
            throw Error(kPathFileAccess,
                        QStringLiteral("%1 cannot be read: %2")
                            .arg(QDir::toNativeSeparators(source), m_file.errorString()));
        }
    }

    qint64 size() const { return m_file.size(); }
    qint64 bytesRead() const { return m_reader.bytesRead(); }
    bool notUtf8() const { return m_reader.notUtf8(); }
    bool has(ImportedItem::Column column) const { return m_at[column] >= 0; }

    // Reads the header into the column positions; its problems and unknown
    // columns go to result. False when the rows cannot be read by it.
    bool readHeader(Result& result, const QDate& today) {
        m_at.fill(-1);
        CsvRecords::Record header;
        if (!m_reader.next(&header)) {
            result.problems.append(
                m_reader.notUtf8()
                    ? QStringLiteral("The file is not UTF-8 text.")
                    : QStringLiteral("Line 1: the file is empty; a header row is needed."));
            return false;
        }
        for (int i = 0; i < header.fields.size(); ++i) {
            const QString viewed = header.fields.at(i).trimmed();
            const QString name(viewed.constData(), viewed.size()); // outlives the reader's text
            qsizetype known = -1;
            for (qsizetype k = 0; k < ItemsCsv::columns().size() && known < 0; ++k) {
                if (ItemsCsv::columns().at(k).compare(name, Qt::CaseInsensitive) == 0) {
                    known = k;
                }
            }
            if (known < 0) {
                result.unknownColumns.append(name);
            } else if (m_at[static_cast<size_t>(known)] >= 0) {
                result.problems.append(QStringLiteral("Line %1: the column %2 appears twice.")
                                           .arg(header.line)
                                           .arg(name));
            } else {
                m_at[static_cast<size_t>(known)] = i;
            }
        }
        if (!header.error.isEmpty()) {
            result.problems.append(
                QStringLiteral("Line %1: %2.").arg(header.line).arg(header.error));
        }
        if (m_at[ItemName] < 0) {
            result.problems.append(
                QStringLiteral("Line %1: the header has no Item Name column.").arg(header.line));
        }
        m_width = header.fields.size();
        m_check.emplace(m_at, today);
        return result.problems.isEmpty();
    }

    // The next row that is not blank; false at the end of the file.
    bool next(Row* row) {
        CsvRecords::Record& record = m_record; // its lists keep their room
        for (;;) {
            if (!m_reader.next(&record)) {
                return false;
            }
            // A row with nothing in it (a blank line) is no item.
            if (record.error.isEmpty() && record.fields.size() == 1 &&
                record.fields.first().isEmpty()) {
                continue;
            }
            break;
        }
        row->line = record.line;
        row->reasons.clear();
        if (!record.error.isEmpty()) {
            row->reasons.append(record.error);
        } else if (record.fields.size() != m_width) {
            row->reasons.append(QStringLiteral("it has %1 fields, the header has %2")
                                    .arg(record.fields.size())
                                    .arg(m_width));
        } else {
            row->reasons = m_check->check(record.fields, &row->item);
            row->item.texts[ItemId] =
                m_at[ItemId] < 0 ? QString() : record.fields.at(m_at[ItemId]).trimmed();
        }
        return true;
    }

private:
    QFile m_file;
    CsvFileReader m_reader;
    CsvRecords::Record m_record;
    ItemRowCheck::Positions m_at{};
    qsizetype m_width = 0;
    std::optional<ItemRowCheck> m_check;
};

// The fields of the import that an update compares and writes, as bits.
enum Field : unsigned {
    NameField = 1u << 0,
    SerialField = 1u << 1,
    ModelField = 1u << 2,
    RoomField = 1u << 3,
    CostField = 1u << 4,
    ValueField = 1u << 5,
    FromField = 1u << 6,
    BuyDateField = 1u << 7,
    DescriptionField = 1u << 8,
    NotesField = 1u << 9,
    AddDateField = 1u << 10,
};

struct FieldColumn {
    Field field;
    const char* column;
    ImportedItem::Column csv;
    StagedRow::Text text; // Count for the amounts, which are no text
};
constexpr std::array<FieldColumn, 11> kFields{{
    {NameField, "ItemName", ItemName, StagedRow::Name},
    {SerialField, "SN", SerialNumber, StagedRow::Serial},
    {ModelField, "Model", Model, StagedRow::Model},
    {RoomField, "RoomName", Room, StagedRow::Room},
    {CostField, "Cost", OriginalCost, StagedRow::Count},
    {ValueField, "CurValue", CurrentValue, StagedRow::Count},
    {FromField, "AccquiredFrom", AccquiredFrom, StagedRow::From},
    {BuyDateField, "BuyDate", DateAccquired, StagedRow::BuyDate},
    {DescriptionField, "Description", Description, StagedRow::Description},
    {NotesField, "Notes", Notes, StagedRow::Notes},
    {AddDateField, "AddDate", DateAdded, StagedRow::AddDate},
}};

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A checked row as the store binds it, its texts in UTF-8. They come from a
// file decoded as strict UTF-8, so they hold no unpaired surrogate and
// convert as they are.
class RowStaging {
public:
    void fill(const ImportFile::Row& row, StagedRow* staged) {
        const ImportedItem& item = row.item;
        const std::array<const QString*, StagedRow::Count> from{
            &item.texts[ItemId], &item.texts[ItemName],    &item.texts[SerialNumber],
            &item.texts[Model],  &item.texts[Room],        &item.texts[AccquiredFrom],
            &item.buyDate,       &item.texts[Description], &item.texts[Notes],
            &item.addDate};
        std::array<std::string_view, StagedRow::Count> views;
        for (size_t t = 0; t < from.size(); ++t) {
            m_utf8[t] = from[t]->toUtf8();
            views[t] =
                std::string_view(m_utf8[t].constData(), static_cast<size_t>(m_utf8[t].size()));
        }
        staged->setTexts(views);
        staged->cost = item.cost;
        staged->value = item.value;
        staged->buyDateGiven = item.buyDateGiven;
    }

private:
    std::array<QByteArray, StagedRow::Count> m_utf8;
};

// The items of the inventory, looked up by Item ID one at a time.
class StoredItems {
public:
    // fields: the Field bits of the columns the file has.
    StoredItems(sqlite3* db, unsigned fields) : m_db(db), m_fields(fields) {
        m_find = prepare(db, "SELECT ID,ItemName,SN,Model,RoomName,Cost,CurValue,AccquiredFrom,"
                             "BuyDate,Description,Notes,AddDate FROM tblItems WHERE ItemID = ?");
        Connection::StatementHandle largest = prepare(db, "SELECT MAX(ID) FROM tblItems");
        if (sqlite3_step(largest.get()) == SQLITE_ROW) {
            m_largest = sqlite3_column_int64(largest.get(), 0);
        }
        m_seen.assign(static_cast<size_t>(m_largest) + 1, false);
    }

    qint64 largest() const { return m_largest; }

    // The record number of the item with the row's Item ID (0 when none) and
    // the fields of the row that differ from it. *again is true when an
    // earlier row named the same item.
    qint64 find(const StagedRow& row, unsigned* differ, bool* again) {
        const std::string_view id = row.texts[StagedRow::Id];
        *differ = 0;
        *again = false;
        if (id.empty() || m_largest == 0) {
            return 0;
        }
        sqlite3_stmt* find = m_find.get();
        sqlite3_bind_text(find, 1, id.data(), static_cast<int>(id.size()), SQLITE_STATIC);
        const int rc = sqlite3_step(find);
        if (rc != SQLITE_ROW) {
            sqlite3_reset(find);
            if (rc != SQLITE_DONE) {
                failOn(m_db);
            }
            return 0;
        }
        const qint64 number = sqlite3_column_int64(find, 0);
        if (number >= 0 && number <= m_largest) {
            *again = m_seen[static_cast<size_t>(number)];
            m_seen[static_cast<size_t>(number)] = true;
        }
        for (size_t f = 0; f < kFields.size(); ++f) {
            const FieldColumn& field = kFields[f];
            if ((m_fields & field.field) != 0 &&
                differs(find, static_cast<int>(f) + 1, field, row)) {
                *differ |= field.field;
            }
        }
        sqlite3_reset(find);
        return number;
    }

private:
    static bool differs(sqlite3_stmt* find, int column, const FieldColumn& field,
                        const StagedRow& row) {
        const std::string_view stored = columnText(find, column);
        switch (field.field) {
        case CostField:
        case ValueField: {
            const double value = field.field == CostField ? row.cost : row.value;
            // No amount (NULL) reads as 0, as the export writes it empty.
            return sqlite3_column_double(find, column) != value;
        }
        case BuyDateField:
            // An empty date keeps the item's own.
            return row.buyDateGiven && ItemRowCheck::storedDateTime(utf8(stored)).left(10) !=
                                           utf8(row.texts[StagedRow::BuyDate]);
        case AddDateField: {
            const std::string_view added = row.texts[StagedRow::AddDate];
            return !added.empty() && ItemRowCheck::storedDateTime(utf8(stored)) != utf8(added);
        }
        default:
            return stored != row.texts[field.text];
        }
    }

    sqlite3* m_db;
    unsigned m_fields;
    Connection::StatementHandle m_find;
    qint64 m_largest = 0;
    std::vector<bool> m_seen;
};

// What one checked row does to the inventory.
enum class RowKind { Again, New, Changed, Unchanged };

RowKind classify(StoredItems& stored, const StagedRow& row, qint64* number, unsigned* differ) {
    bool again = false;
    *number = stored.find(row, differ, &again);
    if (again) {
        return RowKind::Again;
    }
    if (*number == 0) {
        return RowKind::New;
    }
    return *differ == 0 ? RowKind::Unchanged : RowKind::Changed;
}

void openInventory(Connection& con, bool readOnly) {
    con.setConnectionString(QStringLiteral("Data Source=") +
                            connectionValue(InventoryCopy::databasePath()) + QLatin1Char(';'));
    con.setReadOnly(readOnly);
    con.Open();
}

[[noreturn]] void cancelled(const QString& what) {
    throw Error(ErrorNumber::Cancelled, what);
}

// The table of the import's connection that holds each item it changes as
// it was before, for the history.
constexpr const char* kOldItems = "temp.tblImportOldItems";

// Writes the rows: new items inserted, changed ones updated in the fields
// that differ, through a statement for each set of fields. The connection's
// triggers are off (a trigger run per row costs an import more than its
// rows): each changed item is first copied as it was into kOldItems, and the
// history of the whole import is written by two statements at its end.
class ImportWriter {
public:
    ImportWriter(sqlite3* db, qint64 largest) : m_db(db), m_number(largest) {
        m_insert = prepare(db, "INSERT INTO tblItems (ItemID,ItemName,SN,Model,RoomName,Cost,"
                               "CurValue,BuyDate,AccquiredFrom,Description,Notes,AddDate) "
                               "VALUES (?,?,?,?,?,?,?,?,?,?,?,?)");
        m_keepOld = prepare(
            db, (std::string("INSERT INTO ") + kOldItems + " SELECT * FROM tblItems WHERE ID = ?")
                    .c_str());
        m_now = sqlNow().toUtf8();
    }

    void add(const StagedRow& row) {
        sqlite3_stmt* insert = m_insert.get();
        char id[32];
        const int idBytes = std::snprintf(id, sizeof id, "A-%lld", ++m_number);
        sqlite3_bind_text(insert, 1, id, idBytes, SQLITE_TRANSIENT);
        bind(insert, 2, row.texts[StagedRow::Name]);
        bind(insert, 3, row.texts[StagedRow::Serial]);
        bind(insert, 4, row.texts[StagedRow::Model]);
        bind(insert, 5, row.texts[StagedRow::Room]);
        sqlite3_bind_double(insert, 6, row.cost);
        sqlite3_bind_double(insert, 7, row.value);
        bind(insert, 8, row.texts[StagedRow::BuyDate]);
        bind(insert, 9, row.texts[StagedRow::From]);
        bind(insert, 10, row.texts[StagedRow::Description]);
        bind(insert, 11, row.texts[StagedRow::Notes]);
        const std::string_view added = row.texts[StagedRow::AddDate];
        bind(insert, 12,
             added.empty() ? std::string_view(m_now.constData(), static_cast<size_t>(m_now.size()))
                           : added);
        step(insert);
    }

    void update(qint64 number, unsigned differ, const StagedRow& row) {
        sqlite3_bind_int64(m_keepOld.get(), 1, number);
        step(m_keepOld.get());
        sqlite3_stmt* update = statementFor(differ);
        int index = 0;
        for (const FieldColumn& field : kFields) {
            if ((differ & field.field) == 0) {
                continue;
            }
            ++index;
            if (field.field == CostField || field.field == ValueField) {
                sqlite3_bind_double(update, index, field.field == CostField ? row.cost : row.value);
            } else {
                bind(update, index, row.texts[field.text]);
            }
        }
        bind(update, ++index,
             std::string_view(m_now.constData(), static_cast<size_t>(m_now.size())));
        sqlite3_bind_int64(update, ++index, number);
        step(update);
    }

private:
    // The row's texts outlive the statement's step.
    static void bind(sqlite3_stmt* statement, int index, std::string_view text) {
        sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_STATIC);
    }

    sqlite3_stmt* statementFor(unsigned differ) {
        auto found = m_updates.find(differ);
        if (found == m_updates.end()) {
            std::string sql = "UPDATE tblItems SET ";
            for (const FieldColumn& field : kFields) {
                if ((differ & field.field) != 0) {
                    sql += field.column;
                    sql += "=?,";
                }
            }
            sql += "ModDate=? WHERE ID=?";
            found = m_updates.emplace(differ, prepare(m_db, sql.c_str())).first;
        }
        return found->second.get();
    }

    void step(sqlite3_stmt* statement) {
        if (sqlite3_step(statement) != SQLITE_DONE) {
            failOn(m_db);
        }
        sqlite3_reset(statement);
    }

    sqlite3* m_db;
    qint64 m_number;
    QByteArray m_now;
    Connection::StatementHandle m_insert;
    Connection::StatementHandle m_keepOld;
    std::map<unsigned, Connection::StatementHandle> m_updates;
};

// The Field bits of the columns the file has.
unsigned fieldsOf(const ImportFile& file) {
    unsigned fields = 0;
    for (const FieldColumn& field : kFields) {
        if (file.has(field.csv)) {
            fields |= field.field;
        }
    }
    return fields;
}

QString inventoryChanged(const QString& source) {
    return QStringLiteral("The inventory changed since %1 was checked; nothing was imported. "
                          "Import the file again.")
        .arg(QDir::toNativeSeparators(source));
}

// How often, in rows, a long pass reports its progress.
constexpr qint64 kProgressStep = 512;

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

qint64 ItemsCsv::exportItems(const QString& target, const Progress& progress) {
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
        qint64 whole = 0;
        if (progress) {
            Connection::StatementHandle counting = prepare(db, "SELECT count(*) FROM tblItems");
            if (sqlite3_step(counting.get()) == SQLITE_ROW) {
                whole = sqlite3_column_int64(counting.get(), 0);
            }
        }
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
            if (count % kProgressStep == 0 && !goOn(progress, count, whole)) {
                cancelled(QStringLiteral("The export was cancelled; no file was written."));
            }
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
        if (!goOn(progress, count, std::max(whole, count))) {
            cancelled(QStringLiteral("The export was cancelled; no file was written."));
        }
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

QString ItemsCsv::ImportResult::counts() const {
    const auto counted = [](qint64 count, const char* one, const char* many) {
        return count == 1 ? QStringLiteral("1 %1").arg(QLatin1String(one))
                          : QStringLiteral("%1 %2").arg(count).arg(QLatin1String(many));
    };
    return counted(newItems, "new item", "new items") + QStringLiteral(", ") +
           counted(changedItems, "changed item", "changed items") + QStringLiteral(", ") +
           counted(unchangedRows, "unchanged row", "unchanged rows");
}

// The checked rows of a plan and the fields its file has.
struct ItemsCsv::Staged {
    Staged(const QString& folder, unsigned fileFields) : rows(folder), fields(fileFields) {}
    ImportStage rows;
    unsigned fields;
};

ItemsCsv::ImportResult ItemsCsv::planImport(const QString& source, const Progress& progress) {
    ImportResult result;
    result.source = source;
    result.checkedOn = QDate::currentDate();
    ImportFile file(source);
    if (!file.readHeader(result, result.checkedOn)) {
        return result;
    }
    // Beside the inventory, where the store has room to write anyway.
    auto staged = std::make_shared<Staged>(QFileInfo(InventoryCopy::databasePath()).absolutePath(),
                                           fieldsOf(file));
    Connection con;
    openInventory(con, true);
    StoredItems stored(con.handle(), staged->fields);
    RowStaging staging;
    ImportFile::Row row;
    StagedRow checked;
    qint64 count = 0;
    while (file.next(&row)) {
        if (row.reasons.isEmpty()) {
            staging.fill(row, &checked);
            qint64 number = 0;
            unsigned differ = 0;
            switch (classify(stored, checked, &number, &differ)) {
            case RowKind::Again:
                row.reasons.append(QStringLiteral("Item ID %1 is on an earlier row too")
                                       .arg(row.item.texts[ItemId]));
                break;
            case RowKind::New:
                ++result.newItems;
                break;
            case RowKind::Changed:
                ++result.changedItems;
                break;
            case RowKind::Unchanged:
                ++result.unchangedRows;
                break;
            }
        }
        if (!row.reasons.isEmpty()) {
            addProblem(result, QStringLiteral("Line %1: %2.")
                                   .arg(row.line)
                                   .arg(row.reasons.join(QLatin1String("; "))));
        } else if (result.ok()) {
            // Once a row fails nothing is stored, so nothing more is kept.
            staged->rows.add(checked);
        }
        if (++count % kProgressStep == 0 && !goOn(progress, file.bytesRead(), file.size())) {
            cancelled(QStringLiteral("The import was cancelled while its file was read."));
        }
    }
    if (file.notUtf8()) {
        result.problems.prepend(QStringLiteral("The file is not UTF-8 text."));
    }
    con.Close();
    if (result.ok()) {
        staged->rows.finish();
        result.staged = std::move(staged);
    }
    if (!goOn(progress, file.size(), file.size())) {
        cancelled(QStringLiteral("The import was cancelled while its file was read."));
    }
    return result;
}

ItemsCsv::ImportResult ItemsCsv::storeImport(const ImportResult& plan, const Progress& progress) {
    ImportResult result = plan;
    if (!plan.ok()) {
        return result;
    }
    const qint64 whole = plan.rows();
    if (plan.newItems + plan.changedItems == 0) {
        goOn(progress, whole, whole);
        return result;
    }
    if (!plan.staged) {
        throw Error(kPathFileAccess,
                    QStringLiteral("The rows of %1 were not kept; check the file again.")
                        .arg(QDir::toNativeSeparators(plan.source)));
    }
    AutoBackups::make(AutoBackups::Kind::BeforeImport);
    Connection con;
    openInventory(con, false);
    con.requireWritable();
    sqlite3* db = con.handle();
    // Room in memory for the pages of the table and its identifier index
    // while many rows go in (64 MiB; the default holds 2).
    sqlite3_exec(db, "PRAGMA cache_size=-65536", nullptr, nullptr, nullptr);
    try {
        // The write lock first, so the numbering and the items compared stay
        // as they are read.
        con.Execute(QStringLiteral("BEGIN IMMEDIATE"));
        con.nameSource(ChangeSource::effective(ChangeSource::Import));
        // Off until the connection closes at the end of the import; the
        // statements below stand in for the item triggers
        // (HistorySchema::itemWriteTriggers), the only ones an addition or a
        // change of an item fires.
        sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
        con.Execute(QStringLiteral("CREATE TEMP TABLE %1 AS SELECT * FROM tblItems WHERE 0")
                        .arg(QLatin1String(kOldItems)));
        const qint64 lastBefore =
            con.Execute(QStringLiteral("SELECT coalesce(max(ID), 0) FROM tblItems"))
                ->Field(0)
                .toLongLong();
        std::optional<StoredItems> stored(std::in_place, db, plan.staged->fields);
        std::optional<ImportWriter> writer(std::in_place, db, stored->largest());
        ImportStage::Reader rows(plan.staged->rows);
        StagedRow row;
        ImportResult again;
        qint64 done = 0;
        while (rows.next(&row)) {
            qint64 number = 0;
            unsigned differ = 0;
            switch (classify(*stored, row, &number, &differ)) {
            case RowKind::Again:
                throw Error(kPathFileAccess, inventoryChanged(plan.source));
            case RowKind::New:
                writer->add(row);
                ++again.newItems;
                break;
            case RowKind::Changed:
                writer->update(number, differ, row);
                ++again.changedItems;
                break;
            case RowKind::Unchanged:
                ++again.unchangedRows;
                break;
            }
            if (++done % kProgressStep == 0 && !goOn(progress, done, whole)) {
                cancelled(QStringLiteral("The import was cancelled; nothing was imported."));
            }
        }
        if (again.newItems != plan.newItems || again.changedItems != plan.changedItems ||
            again.unchangedRows != plan.unchangedRows) {
            throw Error(kPathFileAccess, inventoryChanged(plan.source));
        }
        if (!goOn(progress, done, whole)) {
            cancelled(QStringLiteral("The import was cancelled; nothing was imported."));
        }
        writer.reset();
        stored.reset();
        con.Execute(HistorySchema::bulkChanged(QLatin1String(kOldItems)));
        con.Execute(HistorySchema::bulkAdded(lastBefore));
        con.CommitTrans();
        con.Close();
    } catch (const Error&) {
        if (con.isOpen()) {
            con.Close(); // rolls the transaction back
        }
        throw;
    }
    result.stored = plan.newItems + plan.changedItems;
    return result;
}

ItemsCsv::ImportResult ItemsCsv::importItems(const QString& source, const Progress& progress) {
    const ImportResult plan = planImport(source);
    return plan.ok() ? storeImport(plan, progress) : plan;
}

} // namespace Riri
