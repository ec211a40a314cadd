// Measures the inventory's whole-file operations on a 100,000-item inventory
// against the same work done the plain way, and prints named figures:
//   backup.ratio_100k  verified backup vs `sqlite3 FILE ".backup COPY"`
//   import.ratio_100k  CSV import vs inserting the same rows with the SQLite
//                      API in one transaction
//   export.ratio_100k  CSV export vs reading with the SQLite API and writing
//                      the same CSV text with plain stdio
// Each side runs five times, taking turns with the other; the best time
// counts. Then, in a child process of its own, the peak resident memory
// (VmHWM) of each of the two on a 1,000,000-item inventory:
//   export.rss_mb_1m   exporting it to CSV
//   import.rss_mb_1m   importing that file into an empty inventory
// The peak is reset (/proc/self/clear_refs) before each, so the work of
// preparing the inventory does not count.
//
// bench_safety [--rows N] [--rss-rows N]

#include <Riri/ComponentFolder.h>
#include <Riri/InventoryCopy.h>
#include <Riri/InventorySchema.h>
#include <Riri/ItemsCsv.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sqlite3.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

void check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", what, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        std::exit(1);
    }
}

// The best of five runs of each side, the two sides taking turns so that
// both meet the same load of the machine.
std::pair<double, double> bestOf(const std::function<void()>& before,
                                 const std::function<void()>& ours,
                                 const std::function<void()>& plain) {
    double fastest[2] = {1e300, 1e300};
    for (int round = 0; round < 5; ++round) {
        int side = 0;
        for (const std::function<void()>* work : {&ours, &plain}) {
            if (before) {
                before();
            }
            QElapsedTimer timer;
            timer.start();
            (*work)();
            fastest[side] =
                std::min(fastest[side], static_cast<double>(timer.nsecsElapsed()) / 1e6);
            ++side;
        }
    }
    return {fastest[0], fastest[1]};
}

void freshDatabase(const QString& pristine, const QString& path) {
    QFile::remove(path);
    if (!QFile::copy(pristine, path)) {
        std::fprintf(stderr, "cannot copy the empty database\n");
        std::exit(1);
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

void seed(const QString& path, int rows) {
    sqlite3* db = nullptr;
    check(sqlite3_open(path.toUtf8().constData(), &db), db, "open");
    const QByteArray sql =
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO tblItems (ItemID, ItemName, SN, Model, RoomName, Cost, CurValue, "
            "BuyDate, AccquiredFrom, Description, Notes, AddDate) SELECT 'A-' || i, "
            "'Item ' || i || ' O''Brien''s lamp', 'SN-' || (i * 7919), 'Model X' || (i % 97), "
            "'Kitchen', (i % 5000) + 0.25, (i % 3000) + 0.5, '2005-03-01', 'Bob''s Store, Main "
            "St.', 'A brass lamp with a \"green\" shade, bought for the living room; it works "
            "well and has no scratches.', 'Receipt in the blue folder.', '2026-12-06 07:05:12' "
            "FROM n;")
            .arg(rows)
            .toUtf8();
    check(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), db, "seed");
    sqlite3_close(db);
}

// The plain export: the same CSV text written with stdio.
void putField(std::FILE* out, const char* text, int bytes) {
    bool quote = false;
    for (int i = 0; i < bytes && !quote; ++i) {
        quote = text[i] == ',' || text[i] == '"' || text[i] == '\r' || text[i] == '\n';
    }
    if (!quote) {
        std::fwrite(text, 1, static_cast<size_t>(bytes), out);
        return;
    }
    std::fputc('"', out);
    for (int i = 0; i < bytes; ++i) {
        if (text[i] == '"') {
            std::fputc('"', out);
        }
        std::fputc(text[i], out);
    }
    std::fputc('"', out);
}

void plainExport(const QString& database, const QString& target) {
    sqlite3* db = nullptr;
    check(sqlite3_open_v2(database.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), db,
          "open");
    std::FILE* out = std::fopen(target.toUtf8().constData(), "wb");
    std::fputs("\xEF\xBB\xBF", out);
    std::fputs(Riri::ItemsCsv::columns().join(QLatin1Char(',')).toUtf8().constData(), out);
    std::fputs("\r\n", out);
    sqlite3_stmt* stmt = nullptr;
    check(sqlite3_prepare_v2(db,
                             "SELECT ItemID,ItemName,SN,Model,RoomName,Cost,CurValue,AccquiredFrom,"
                             "BuyDate,Description,Notes,AddDate,ModDate FROM tblItems ORDER BY ID",
                             -1, &stmt, nullptr),
          db, "prepare");
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < 13; ++c) {
            if (c > 0) {
                std::fputc(',', out);
            }
            if (c == 5 || c == 6) {
                std::fprintf(out, "%.2f", sqlite3_column_double(stmt, c));
            } else {
                std::string text(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c))
                                     ? reinterpret_cast<const char*>(sqlite3_column_text(stmt, c))
                                     : "");
                if (c == 11 && text.size() == 19) {
                    text[10] = 'T';
                }
                putField(out, text.data(), static_cast<int>(text.size()));
            }
        }
        std::fputs("\r\n", out);
    }
    sqlite3_finalize(stmt);
    std::fclose(out);
    sqlite3_close(db);
}

struct Row {
    std::string text[9];
    double cost = 0;
    double value = 0;
};

std::vector<Row> rowsOf(const QString& database) {
    std::vector<Row> rows;
    sqlite3* db = nullptr;
    check(sqlite3_open(database.toUtf8().constData(), &db), db, "open");
    sqlite3_stmt* stmt = nullptr;
    check(sqlite3_prepare_v2(db,
                             "SELECT ItemID,ItemName,SN,Model,RoomName,BuyDate,AccquiredFrom,"
                             "Description,Notes,Cost,CurValue FROM tblItems ORDER BY ID",
                             -1, &stmt, nullptr),
          db, "prepare");
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        Row row;
        for (int c = 0; c < 9; ++c) {
            row.text[c] = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
        }
        row.cost = sqlite3_column_double(stmt, 9);
        row.value = sqlite3_column_double(stmt, 10);
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

void plainInsert(const QString& database, const std::vector<Row>& rows) {
    sqlite3* db = nullptr;
    check(sqlite3_open(database.toUtf8().constData(), &db), db, "open");
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    sqlite3_stmt* stmt = nullptr;
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO tblItems (ItemID,ItemName,SN,Model,RoomName,BuyDate,"
                             "AccquiredFrom,Description,Notes,Cost,CurValue,AddDate) VALUES "
                             "(?,?,?,?,?,?,?,?,?,?,?,datetime('now','localtime'))",
                             -1, &stmt, nullptr),
          db, "prepare");
    for (const Row& row : rows) {
        for (int c = 0; c < 9; ++c) {
            sqlite3_bind_text(stmt, c + 1, row.text[c].data(), static_cast<int>(row.text[c].size()),
                              SQLITE_STATIC);
        }
        sqlite3_bind_double(stmt, 10, row.cost);
        sqlite3_bind_double(stmt, 11, row.value);
        check(sqlite3_step(stmt), db, "insert");
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
}

// The peak resident memory of this process in MiB, from /proc/self/status.
double peakMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return -1;
}

// Starts the peak anew at the present resident memory.
void resetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) {
        clear.write("5");
    }
}

// The peaks of an export and an import of `rows` items, measured in a child
// process so that nothing the benchmark held before counts.
void measureMemory(const QString& folder, const QString& pristine, int rows) {
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child < 0) {
        std::fprintf(stderr, "fork failed\n");
        std::exit(1);
    }
    if (child == 0) {
        const QString database = folder + QStringLiteral("/home/inv.inv");
        const QString csv = folder + QStringLiteral("/million.csv");
        freshDatabase(pristine, database);
        seed(database, rows);
        resetPeak();
        if (Riri::ItemsCsv::exportItems(csv) != rows) {
            std::fprintf(stderr, "export failed\n");
            std::_Exit(1);
        }
        std::printf("export.rss_mb_1m %.1f\n", peakMb());
        freshDatabase(pristine, database);
        QDir(folder + QStringLiteral("/home/backups")).removeRecursively();
        resetPeak();
        const auto result = Riri::ItemsCsv::importItems(csv);
        if (!result.ok() || result.stored != rows) {
            std::fprintf(stderr, "import failed\n");
            std::_Exit(1);
        }
        std::printf("import.rss_mb_1m %.1f\n", peakMb());
        std::fflush(stdout);
        QFile::remove(csv);
        std::_Exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int rows = 100000;
    const QStringList args = QCoreApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--rows"));
    if (at >= 0 && at + 1 < args.size()) {
        rows = args.at(at + 1).toInt();
    }
    int rssRows = 1000000;
    const qsizetype rssAt = args.indexOf(QStringLiteral("--rss-rows"));
    if (rssAt >= 0 && rssAt + 1 < args.size()) {
        rssRows = args.at(rssAt + 1).toInt();
    }
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("home"));
    Riri::setComponentFolder(folder.path());
    const QString database = folder.path() + QStringLiteral("/home/inv.inv");
    const QString pristine = QStringLiteral(QUORVANE_PRISTINE_DB);
    // First, while this process holds little.
    measureMemory(folder.path(), pristine, rssRows);
    freshDatabase(pristine, database);
    seed(database, rows);

    // Backup.
    const QString copy = folder.path() + QStringLiteral("/copy.inv");
    const auto removeCopy = [&] { QFile::remove(copy); };
    const auto [backup, plainBackup] = bestOf(
        removeCopy, [&] { Riri::InventoryCopy::backUp(copy); },
        [&] {
            QProcess sqlite;
            sqlite.start(QStringLiteral("sqlite3"),
                         {database, QStringLiteral(".backup '%1'").arg(copy)});
            if (!sqlite.waitForFinished(120000) || sqlite.exitCode() != 0) {
                std::fprintf(stderr,
                             "sqlite3 .backup failed (is the sqlite3 program installed?)\n");
                std::exit(1);
            }
        });

    // Export.
    const QString csv = folder.path() + QStringLiteral("/items.csv");
    const QString plainCsv = folder.path() + QStringLiteral("/plain.csv");
    const auto [exported, plainExported] = bestOf(
        nullptr, [&] { Riri::ItemsCsv::exportItems(csv); },
        [&] { plainExport(database, plainCsv); });

    // Import, into an empty inventory each time.
    const std::vector<Row> data = rowsOf(database);
    // The program's inventory has the newest schema by the time anything is
    // imported (start-up brings it up to date), so bringing the empty one up
    // is not timed; the plain inserts go into a bare copy of the tables.
    const QString plainDatabase = folder.path() + QStringLiteral("/plain.inv");
    const auto emptyInventory = [&] {
        freshDatabase(pristine, database);
        Riri::InventorySchema::bringUpToDate(database);
        freshDatabase(pristine, plainDatabase);
        QDir(folder.path() + QStringLiteral("/home/backups")).removeRecursively();
    };
    const auto [imported, plainImported] = bestOf(
        emptyInventory,
        [&] {
            const auto result = Riri::ItemsCsv::importItems(csv);
            if (!result.ok() || result.stored != rows) {
                std::fprintf(stderr, "import failed: %s\n",
                             qPrintable(result.problems.mid(0, 3).join(QLatin1Char('\n'))));
                std::exit(1);
            }
        },
        [&] { plainInsert(plainDatabase, data); });

    std::printf("backup.ms_100k %.1f\n", backup);
    std::printf("backup.sqlite3_ms_100k %.1f\n", plainBackup);
    std::printf("backup.ratio_100k %.2f\n", backup / plainBackup);
    std::printf("import.ms_100k %.1f\n", imported);
    std::printf("import.plain_ms_100k %.1f\n", plainImported);
    std::printf("import.ratio_100k %.2f\n", imported / plainImported);
    std::printf("export.ms_100k %.1f\n", exported);
    std::printf("export.plain_ms_100k %.1f\n", plainExported);
    std::printf("export.ratio_100k %.2f\n", exported / plainExported);
    return 0;
}
