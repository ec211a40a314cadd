// How quickly the edit item window opens and sorts with a large inventory,
// and how much memory it holds. Prints named figures; asserts nothing.
//
//   bench_itemlists            all figures, for 10,000 and 100,000 items
//   bench_itemlists --memory N resident memory of one window listing N items
//   bench_itemlists --first-rows  the edit window's first rows at 1,000,000 items
#include "BenchInventory.h"
#include "FirstRows.h"
#include "items/ItemFieldSet.h"
#include "items/ItemListView.h"
#include "items/frmEditItem.h"
#include "shared/modGlobal.h"

#include <Riri/ComponentFolder.h>
#include <Riri/MsgBox.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <random>
#include <sqlite3.h>
#include <vector>

namespace {

// A throw-away installation folder holding N generated items.
class Inventory {
public:
    explicit Inventory(int items) {
        QDir(m_dir.path()).mkpath(QStringLiteral("home"));
        const QString file = m_dir.path() + QStringLiteral("/home/inv.inv");
        QFile::copy(QStringLiteral(QUORVANE_PRISTINE_DB), file);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        Riri::setComponentFolder(m_dir.path());
        setProgramFolder(m_dir.path());
        fill(file, items);
    }
    QString database() const { return m_dir.path() + QStringLiteral("/home/inv.inv"); }

private:
    static void fill(const QString& file, int items) {
        static const char* const things[] = {"Lamp",    "Chair",  "Table",    "Television",
                                             "Sofa",    "Mirror", "Bookcase", "Rug",
                                             "Toaster", "Drill",  "Bicycle",  "Guitar"};
        static const char* const kinds[] = {"brass", "oak",    "walnut", "leather", "glass",
                                            "steel", "wicker", "marble", "antique", "modern"};
        static const char* const shops[] = {"Bob's Store", "Corner Hardware", "Estate sale",
                                            "Grandmother", "Online order",    "Flea market"};
        std::mt19937 random(20240601);
        auto pick = [&random](int n) {
            return static_cast<int>(random() % static_cast<unsigned>(n));
        };

        sqlite3* db = nullptr;
        sqlite3_open(file.toUtf8().constData(), &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO tblItems (ItemID,ItemName,SN,Model,RoomName,Cost,CurValue,"
                           "BuyDate,AccquiredFrom,Description,Notes,AddDate) "
                           "VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
                           -1, &stmt, nullptr);
        const QStringList& rooms = ItemFieldSet::rooms();
        for (int i = 1; i <= items; ++i) {
            const QString kind = QString::fromLatin1(kinds[pick(10)]);
            const QString thing = QString::fromLatin1(things[pick(12)]);
            const double cost = pick(500000) / 100.0;
            const QDate bought = QDate(1950, 1, 1).addDays(pick(27000));
            const QStringList texts{
                QStringLiteral("A-%1").arg(i),
                kind + QLatin1Char(' ') + thing + QStringLiteral(" no. %1").arg(pick(100)),
                QStringLiteral("SN-%1").arg(random(), 10, 16, QLatin1Char('0')),
                QStringLiteral("M%1-%2").arg(pick(9000) + 1000).arg(QChar(u'A' + pick(26))),
                rooms.at(pick(static_cast<int>(rooms.size())))};
            const QString description =
                QStringLiteral("A %1 %2 bought for the %3; kept in good order, "
                               "with its papers and receipt in the desk drawer.")
                    .arg(kind, thing.toLower(), rooms.at(pick(35)).toLower());
            const QString notes = pick(3) == 0 ? QString()
                                               : QStringLiteral("Insured; checked %1")
                                                     .arg(bought.addYears(5).toString(Qt::ISODate));
            for (int c = 0; c < 5; ++c) {
                const QByteArray bytes = texts[c].toUtf8();
                sqlite3_bind_text(stmt, c + 1, bytes.constData(), static_cast<int>(bytes.size()),
                                  SQLITE_TRANSIENT);
            }
            sqlite3_bind_double(stmt, 6, cost);
            sqlite3_bind_double(stmt, 7, cost * 0.6);
            const QByteArray more[] = {bought.toString(Qt::ISODate).toUtf8(),
                                       QByteArray(shops[pick(6)]), description.toUtf8(),
                                       notes.toUtf8(), QByteArray("2020-01-02 03:04:05")};
            for (int c = 0; c < 5; ++c) {
                sqlite3_bind_text(stmt, c + 8, more[c].constData(),
                                  static_cast<int>(more[c].size()), SQLITE_TRANSIENT);
            }
            sqlite3_step(stmt);
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }

    QTemporaryDir m_dir;
};

// Opening the edit window until it has read every item and been painted.
qint64 openEditWindow(int* rows) {
    QElapsedTimer timer;
    timer.start();
    auto* window = new frmEditItem;
    window->show();
    readToEnd(*window->lvItems);
    const qint64 elapsed = timer.nsecsElapsed();
    *rows = window->lvItems->items()->rowCount();
    delete window;
    QApplication::processEvents();
    return elapsed;
}

void print(const char* name, double value, const char* unit) {
    std::printf("%-44s %12.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

void openingFigures(int items) {
    Inventory inventory(items);
    std::vector<qint64> baseline;
    std::vector<qint64> window;
    qsizetype cells = 0;
    int rows = 0;
    openEditWindow(&rows); // warm the file cache and the fonts once
    for (int run = 0; run < 5; ++run) {
        baseline.push_back(ReadWithSqlite(inventory.database(), &cells));
        window.push_back(openEditWindow(&rows));
    }
    const QByteArray prefix = QByteArray::number(items) + " items: ";
    print(prefix + "SQLite read into memory (median ms)", MedianMs(baseline), "ms");
    print(prefix + "edit window open (median ms)", MedianMs(window), "ms");
    print(prefix + "ratio window / SQLite read", MedianMs(window) / MedianMs(baseline), "");
    if (rows != items || cells != static_cast<qsizetype>(items) * 14) {
        std::printf("  (unexpected: %d rows listed, %lld cells read)\n", rows,
                    static_cast<long long>(cells));
    }
}

void sortFigures(int items) {
    Inventory inventory(items);
    frmEditItem window;
    window.show();
    readToEnd(*window.lvItems);
    std::vector<qint64> times;
    qint64 longest = 0;
    for (int column : {0, 1, 3, 4, 8, 9, 0, 1, 3, 4, 8, 9}) {
        QElapsedTimer timer;
        timer.start();
        window.lvItems->columnClick(column);
        QApplication::processEvents();
        times.push_back(timer.nsecsElapsed());
        longest = std::max(longest, times.back());
    }
    const QByteArray prefix = QByteArray::number(items) + " items: ";
    print(prefix + "one header sort (median ms)", MedianMs(times), "ms");
    print(prefix + "one header sort (longest ms)", static_cast<double>(longest) / 1e6, "ms");
}

int memoryFigure(int items) {
    Inventory inventory(items);
    const long before = ResidentKiB();
    frmEditItem window;
    window.show();
    readToEnd(*window.lvItems);
    const long after = ResidentKiB();
    window.lvItems->columnClick(1);
    QApplication::processEvents();
    const long sorted = ResidentKiB();
    const QByteArray prefix = QByteArray::number(items) + " items: ";
    print(prefix + "resident memory, nothing listed", before / 1024.0, "MB");
    print(prefix + "resident memory, edit window open", after / 1024.0, "MB");
    print(prefix + "resident memory, after one sort", sorted / 1024.0, "MB");
    return 0;
}

int firstRowsFigure() {
    BenchInventory inventory(1000000, QStringLiteral(QUORVANE_PRISTINE_DB));
    frmMain main;
    main.show();
    QApplication::processEvents();
    int rows = 0;
    const double ms = firstRowsMs<frmEditItem>(main, "mnuEditItem", nullptr, &rows);
    print("edit.first_rows_ms_1m", ms, "ms");
    std::printf("  (%d rows shown first)\n", rows);
    QElapsedTimer timer;
    timer.start();
    readToEnd(*main.findChild<frmEditItem*>()->lvItems);
    print("1000000 items: edit window read to its end after (ms)",
          static_cast<double>(timer.nsecsElapsed()) / 1e6, "ms");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    UseOffscreenUnlessSet();
    QApplication app(argc, argv);
    PrintUnexpectedMessages();
    const QStringList args = app.arguments();
    if (args.contains(QStringLiteral("--first-rows"))) {
        return firstRowsFigure();
    }
    if (args.size() == 3 && args.at(1) == QStringLiteral("--memory")) {
        return memoryFigure(args.at(2).toInt());
    }
    for (int items : {10000, 100000}) {
        openingFigures(items);
        sortFigures(items);
        // Memory in a process of its own, so no other figure's garbage counts.
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--memory"), QString::number(items)});
        child.waitForFinished(-1);
    }
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--first-rows")});
    child.waitForFinished(-1);
    return 0;
}
