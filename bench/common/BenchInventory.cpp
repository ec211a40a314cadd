#include "BenchInventory.h"

#include "items/ItemFieldSet.h"
#include "shared/modGlobal.h"

#include <Riri/ComponentFolder.h>
#include <Riri/MsgBox.h>

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <random>
#include <sqlite3.h>

namespace {

void fill(const QString& file, int items) {
    static const char* const things[] = {
        "Lamp",    "Chair", "Table",   "Television", "Sofa",    "Mirror",  "Bookcase", "Rug",
        "Toaster", "Drill", "Bicycle", "Guitar",     "Étagère", "Armoire", "Clock",    "Vase"};
    static const char* const kinds[] = {"brass", "oak",     "walnut", "leather", "glass",
                                        "steel", "wicker",  "marble", "antique", "modern",
                                        "café",  "crystal", "pine",   "silver",  "copper"};
    static const char* const shops[] = {
        "Bob's Store",  "Corner Hardware", "Estate sale",    "Grandmother",
        "Online order", "Flea market",     "Müller & Söhne", "Gift"};
    std::mt19937 random(20261207);
    auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };

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
        const QString kind = QString::fromUtf8(kinds[pick(15)]);
        const QString thing = QString::fromUtf8(things[pick(16)]);
        const int cents = pick(5000000);
        const QDate bought = QDate(1950, 1, 1).addDays(pick(27000));
        const QString room = rooms.at(pick(static_cast<int>(rooms.size())));
        const QByteArray texts[] = {
            QStringLiteral("A-%1").arg(i).toUtf8(),
            (kind + QLatin1Char(' ') + thing + QStringLiteral(" no. %1").arg(pick(100))).toUtf8(),
            QStringLiteral("SN-%1").arg(random(), 10, 16, QLatin1Char('0')).toUtf8(),
            QStringLiteral("M%1-%2").arg(pick(9000) + 1000).arg(QChar(u'A' + pick(26))).toUtf8(),
            room.toUtf8()};
        const QString description =
            QStringLiteral("A %1 %2 bought for the %3; kept in good order, "
                           "with its papers and receipt in the desk drawer.")
                .arg(kind, thing.toLower(), rooms.at(pick(35)).toLower());
        const QString notes = pick(3) == 0 ? QString()
                                           : QStringLiteral("Insured; checked %1")
                                                 .arg(bought.addYears(5).toString(Qt::ISODate));
        for (int c = 0; c < 5; ++c) {
            sqlite3_bind_text(stmt, c + 1, texts[c].constData(), static_cast<int>(texts[c].size()),
                              SQLITE_TRANSIENT);
        }
        sqlite3_bind_double(stmt, 6, cents / 100.0);
        sqlite3_bind_double(stmt, 7, (cents * 6 / 10) / 100.0);
        const QByteArray more[] = {bought.toString(Qt::ISODate).toUtf8(),
                                   QByteArray(shops[pick(8)]), description.toUtf8(), notes.toUtf8(),
                                   QByteArray("2020-01-02 03:04:05")};
        for (int c = 0; c < 5; ++c) {
            sqlite3_bind_text(stmt, c + 8, more[c].constData(), static_cast<int>(more[c].size()),
                              SQLITE_TRANSIENT);
        }
        sqlite3_step(stmt);
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

} // namespace

BenchInventory::BenchInventory(int items, const QString& pristineDatabase) {
    QDir(m_dir.path()).mkpath(QStringLiteral("home"));
    const QString file = database();
    QFile::copy(pristineDatabase, file);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    Riri::setComponentFolder(m_dir.path());
    setProgramFolder(m_dir.path());
    fill(file, items);
}

long ResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
    return -1;
}

void PrintFigure(const char* name, double value, const char* unit) {
    std::printf("%-44s %12.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

qint64 ReadWithSqlite(const QString& file, qsizetype* cells) {
    QElapsedTimer timer;
    timer.start();
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM tblItems;", -1, &stmt, nullptr);
    std::vector<QString> values;
    const int columns = sqlite3_column_count(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            const auto* text = static_cast<const QChar*>(sqlite3_column_text16(stmt, c));
            values.emplace_back(text, sqlite3_column_bytes16(stmt, c) / 2);
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    const qint64 elapsed = timer.nsecsElapsed();
    if (cells != nullptr) {
        *cells = static_cast<qsizetype>(values.size());
    }
    return elapsed;
}

double MedianMs(std::vector<qint64> values) {
    std::sort(values.begin(), values.end());
    return static_cast<double>(values[values.size() / 2]) / 1e6;
}

void UseOffscreenUnlessSet() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

void PrintUnexpectedMessages() {
    Riri::setMsgBoxHandler([](const QString& prompt, int, const QString&) {
        std::printf("unexpected message: %s\n", qPrintable(prompt));
        return int(Riri::vbOK);
    });
}
