#include "TestSupport.h"

#include <Riri/ComponentFolder.h>
#include <Riri/InventorySchema.h>
#include <Riri/MsgBox.h>
#include <Riri/WriteGate.h>

#include <QDir>
#include <QFile>
#include <QTest>
#include <sqlite3.h>

namespace {

Riri::MsgBoxHandler g_previous;

} // namespace

bool TestInstall::setUpComponent() {
    if (!m_dir.isValid()) {
        return false;
    }
    QDir(m_dir.path()).mkpath(QStringLiteral("home"));
    m_valid = QFile::copy(QStringLiteral(QUORVANE_PRISTINE_DB), databasePath());
    QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::WriteOwner);
    Riri::setComponentFolder(m_dir.path());
    Riri::WriteGate::open(); // no verdict of an earlier test's start-up holds writes back
    // As start-up does: the empty inventory of the build gets the newest schema.
    if (m_valid) {
        Riri::InventorySchema::bringUpToDate(databasePath());
    }
    return true;
}

void TestInstall::tearDownComponent() {
    Riri::WriteGate::waitForVerdict(); // a start-up check still running ends in this folder
    Riri::setComponentFolder(QString());
    Riri::WriteGate::open();
}

QList<QVariantList> queryDatabase(const QString& database, const QString& sql) {
    QList<QVariantList> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        qWarning("cannot open %s", qPrintable(database));
        return rows;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        qWarning("query failed: %s: %s", qPrintable(sql), sqlite3_errmsg(db));
        sqlite3_close(db);
        return rows;
    }
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QVariantList row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_NULL:
                row.append(QVariant());
                break;
            case SQLITE_INTEGER:
                row.append(static_cast<qint64>(sqlite3_column_int64(stmt, i)));
                break;
            case SQLITE_FLOAT:
                row.append(sqlite3_column_double(stmt, i));
                break;
            default:
                row.append(
                    QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_text16(stmt, i)),
                                       sqlite3_column_bytes16(stmt, i) / 2));
                break;
            }
        }
        rows.append(row);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

QVariant TestInstall::scalar(const QString& sql) const {
    const QList<QVariantList> rows = query(sql);
    return rows.isEmpty() || rows.first().isEmpty() ? QVariant() : rows.first().first();
}

bool execDatabase(const QString& database, const QString& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        qWarning("exec failed: %s", message != nullptr ? message : "?");
    }
    sqlite3_free(message);
    sqlite3_close(db);
    return rc == SQLITE_OK;
}

QStringList TestInstall::logLines() const {
    QFile file(logPath());
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

bool writeScript(const QString& path, const QByteArray& body) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write("#!/bin/sh\n" + body);
    file.close();
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool numberedItems(const TestInstall& install, int first, int last) {
    return install.exec(
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT %1 UNION ALL SELECT i + 1 FROM n WHERE "
                       "i < %2) INSERT INTO tblItems (ItemID, ItemName, RoomName, Cost, BuyDate, "
                       "AddDate) SELECT 'A-' || i, 'Item ' || i, 'Den', i, '2005-03-01', "
                       "'2026-11-30 09:15:00' FROM n")
            .arg(first)
            .arg(last));
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

MsgResponder::MsgResponder() {
    g_previous =
        Riri::setMsgBoxHandler([this](const QString& prompt, int flags, const QString& title) {
            return answer(prompt, flags, title);
        });
    m_installed = true;
}

MsgResponder::~MsgResponder() {
    if (m_installed) {
        Riri::setMsgBoxHandler(g_previous);
        g_previous = nullptr;
    }
}

int MsgResponder::answer(const QString& prompt, int flags, const QString& title) {
    m_shown.append(ShownBox{prompt, flags, title});
    if (m_answers.empty()) {
        QTest::qFail(
            qPrintable(QStringLiteral("unexpected message box [%1]: %2").arg(title, prompt)),
            __FILE__, __LINE__);
        return Riri::defaultAnswer(flags);
    }
    const int result = m_answers.front();
    m_answers.pop_front();
    return result;
}
