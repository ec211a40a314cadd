// Measures the component against the same work written directly on the
// SQLite API, in one run on one database file, and prints named figures:
//   AddItems: one call (open, begin, insert, commit, close) per item;
//   LoadItems: every row of a large tblItems read into memory.

#include <Riri/ComponentFolder.h>
#include <Riri/MsgBox.h>
#include <Riri/dllHome.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {

QByteArray g_file;

void check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", what, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        std::exit(1);
    }
}

sqlite3* openDirect() {
    sqlite3* db = nullptr;
    check(sqlite3_open_v2(g_file.constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db, "open");
    sqlite3_busy_timeout(db, 2000);
    return db;
}

QString itemText(int n, int length) {
    QString text = QStringLiteral("Item %1 O'Brien's ").arg(n);
    while (text.size() < length) {
        text += QStringLiteral("lamp, brass, ");
    }
    text.truncate(length);
    return text;
}

// The same insert as AddItems, built with SQLite's own quoting.
void addDirect(int n) {
    const QByteArray id = QStringLiteral("D-%1").arg(n).toUtf8();
    const QByteArray name = itemText(n, 24).toUtf8();
    const QByteArray description = itemText(n, 120).toUtf8();
    sqlite3* db = openDirect();
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    char* sql = sqlite3_mprintf(
        "INSERT INTO tblItems (ItemID,ItemName,SN,Model,RoomName,Cost,CurValue,BuyDate,"
        "AccquiredFrom,Description,Notes,AddDate) VALUES (%Q,%Q,%Q,%Q,%Q,%.7g,%.7g,%Q,%Q,%Q,%Q,"
        "datetime('now','localtime'));",
        id.constData(), name.constData(), "SN-1", "X1", "Kitchen", 25.0, 12.5, "2005-03-01",
        "Bob's Store", description.constData(), "None");
    sqlite3_stmt* stmt = nullptr;
    check(sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr), db, "prepare");
    check(sqlite3_step(stmt), db, "insert");
    sqlite3_finalize(stmt);
    sqlite3_free(sql);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close_v2(db);
}

bool addComponent(Riri::dllHome& home, int n) {
    QStringList text{QStringLiteral("A-%1").arg(n),
                     itemText(n, 24),
                     "SN-1",
                     "X1",
                     "Kitchen",
                     "Bob's Store",
                     itemText(n, 120),
                     "None"};
    std::vector<double> money{25, 12.5};
    QDateTime date(QDate(2005, 3, 1), QTime(0, 0));
    return home.AddItems(text, money, date);
}

// Every row into memory: one string per cell.
size_t loadDirect() {
    sqlite3* db = openDirect();
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    sqlite3_stmt* stmt = nullptr;
    check(sqlite3_prepare_v2(db, "SELECT * FROM tblItems;", -1, &stmt, nullptr), db, "prepare");
    const int columns = sqlite3_column_count(stmt);
    std::vector<std::string> cells;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int i = 0; i < columns; ++i) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            cells.emplace_back(text != nullptr ? text : "",
                               static_cast<size_t>(sqlite3_column_bytes(stmt, i)));
        }
    }
    check(rc, db, "select");
    sqlite3_finalize(stmt);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close_v2(db);
    return cells.size() / static_cast<size_t>(columns);
}

void fillRows(int rows) {
    sqlite3* db = openDirect();
    check(sqlite3_exec(db, "DELETE FROM tblItems; BEGIN", nullptr, nullptr, nullptr), db, "fill");
    sqlite3_stmt* stmt = nullptr;
    check(
        sqlite3_prepare_v2(db,
                           "INSERT INTO tblItems (ItemID,ItemName,SN,Model,RoomName,Cost,"
                           "CurValue,BuyDate,AccquiredFrom,Description,Notes,AddDate) VALUES "
                           "(?,?,'SN-12345','Model X1','Living Room',1234.5,999.99,"
                           "'2005-03-01','Bob''s Store',?,'Bought on sale','2026-12-06 07:05:12')",
                           -1, &stmt, nullptr),
        db, "prepare");
    for (int n = 1; n <= rows; ++n) {
        const QByteArray id = QStringLiteral("A-%1").arg(n).toUtf8();
        const QByteArray name = itemText(n, 24).toUtf8();
        const QByteArray description = itemText(n, 80).toUtf8();
        sqlite3_bind_text(stmt, 1, id.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 2, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 3, description.constData(), -1, SQLITE_TRANSIENT);
        check(sqlite3_step(stmt), db, "fill");
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close_v2(db);
}

double median(std::vector<qint64> v) {
    std::sort(v.begin(), v.end());
    return static_cast<double>(v[v.size() / 2]);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString parent = QDir::tempPath();
    int rows = 100000;
    int calls = 400;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--dir") {
            parent = args[i + 1];
        } else if (args[i] == "--rows") {
            rows = args[i + 1].toInt();
        } else if (args[i] == "--calls") {
            calls = args[i + 1].toInt();
        }
    }
    QTemporaryDir dir(parent + "/bench_component-XXXXXX");
    if (!dir.isValid() || !QDir(dir.path()).mkpath("home") ||
        !QFile::copy(QStringLiteral(QUORVANE_PRISTINE_DB), dir.path() + "/home/inv.inv")) {
        std::fprintf(stderr, "cannot set up a database under %s\n", qPrintable(parent));
        return 1;
    }
    QFile::setPermissions(dir.path() + "/home/inv.inv", QFile::ReadOwner | QFile::WriteOwner);
    g_file = (dir.path() + "/home/inv.inv").toUtf8();
    Riri::setComponentFolder(dir.path());
    Riri::setMsgBoxHandler([](const QString& prompt, int, const QString&) -> int {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(prompt));
        std::exit(1);
    });
    Riri::dllHome home;
    std::printf("folder %s\n", qPrintable(parent));

    // AddItems, alternating with the direct protocol so both see the same
    // file, cache and disk.
    std::vector<qint64> component, direct;
    QElapsedTimer timer;
    for (int n = 1; n <= calls; ++n) {
        timer.start();
        if (!addComponent(home, n)) {
            return 1;
        }
        component.push_back(timer.nsecsElapsed());
        timer.start();
        addDirect(n);
        direct.push_back(timer.nsecsElapsed());
    }
    const double addC = median(component) / 1000.0;
    const double addD = median(direct) / 1000.0;
    std::printf("AddItems.calls %d\n", calls);
    std::printf("AddItems.component_us_per_call %.1f\n", addC);
    std::printf("AddItems.sqlite_us_per_call %.1f\n", addD);
    std::printf("AddItems.ratio %.2f (target <= 1.5)\n", addC / addD);

    // LoadItems of many rows; best of five for each side.
    fillRows(rows);
    qint64 bestC = -1, bestD = -1;
    for (int round = 0; round < 5; ++round) {
        timer.start();
        const auto rs = home.LoadItems();
        const qint64 c = timer.nsecsElapsed();
        if (!rs || rs->rowCount() != rows) {
            std::fprintf(stderr, "LoadItems returned %lld rows\n",
                         rs ? static_cast<long long>(rs->rowCount()) : -1LL);
            return 1;
        }
        timer.start();
        const size_t read = loadDirect();
        const qint64 d = timer.nsecsElapsed();
        if (read != static_cast<size_t>(rows)) {
            return 1;
        }
        bestC = bestC < 0 ? c : std::min(bestC, c);
        bestD = bestD < 0 ? d : std::min(bestD, d);
    }
    std::printf("LoadItems.rows %d\n", rows);
    std::printf("LoadItems.component_ms %.1f\n", bestC / 1e6);
    std::printf("LoadItems.sqlite_ms %.1f\n", bestD / 1e6);
    std::printf("LoadItems.ratio %.2f (target <= 1.5)\n",
                static_cast<double>(bestC) / static_cast<double>(bestD));
    return 0;
}
