#include "OffsiteTesting.h"
#include "TestSupport.h"

#include <Riri/ComponentFolder.h>
#include <Riri/Error.h>
#include <Riri/OffsiteCopies.h>
#include <Riri/OffsiteSchedule.h>
#include <Riri/OffsiteSettings.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cstdio>

using Riri::OffsiteCopies;
using Riri::OffsiteSchedule;
using Riri::OffsiteSettings;

namespace {

const QString kPassphrase = QStringLiteral("a long enough passphrase");
const QByteArray kMarker = "PLAIN-MARKER-7f3a";

// The child of the kill test: writes a copy of the inventory in the folder
// the environment names and stops for good once it has written a part.
int childWrite() {
    Riri::setComponentFolder(qEnvironmentVariable("OFFSITE_CHILD_INSTALL"));
    OffsiteCopies::write(qEnvironmentVariable("OFFSITE_CHILD_FOLDER"), kPassphrase, 7,
                         [](qint64 done, qint64) {
                             if (done > 0) {
                                 std::puts("writing");
                                 std::fflush(stdout);
                                 QThread::sleep(3600);
                             }
                             return true;
                         });
    return 0;
}

QDateTime at(const char* text) {
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
}

} // namespace

class tst_OffsiteCopies : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void refused_data();
    void refused();
    void keepsTheNewest();
    void killedWriteLeavesNothingPlain();
    void schedule_data();
    void schedule();
    void stateKept();
};

void tst_OffsiteCopies::roundTrip_data() {
    QTest::addColumn<int>("items");
    QTest::newRow("empty") << 0;
    QTest::newRow("one item") << 1;
    QTest::newRow("2,000 items") << 2000;
}

void tst_OffsiteCopies::roundTrip() {
    QFETCH(int, items);
    TestInstall install;
    QTemporaryDir away;
    QVERIFY(items == 0 || numberedItems(install, 1, items));
    QVERIFY(install.exec(
        QStringLiteral("INSERT INTO tblOwner (OwnerID, FullName) VALUES ('O-1', 'Ada Ng')")));
    const QStringList before = inventoryRows(install);
    const QString copy = writeTestCopy(away.path(), kPassphrase);
    QVERIFY(OffsiteCopies::isEncrypted(copy));
    QVERIFY(filesHolding(away.path(), "Item 1").isEmpty());
    QVERIFY(install.exec(QStringLiteral("DELETE FROM tblItems; DELETE FROM tblOwner;")));
    QVERIFY(OffsiteCopies::verify(copy, kPassphrase).ok);
    OffsiteCopies::restore(copy, kPassphrase);
    QCOMPARE(inventoryRows(install), before);
}

void tst_OffsiteCopies::refused_data() {
    QTest::addColumn<QString>("passphrase");
    QTest::addColumn<int>("changeAt"); // negative counts from the end; 0 for none
    QTest::addColumn<int>("cutBy");
    QTest::newRow("wrong passphrase") << QStringLiteral("not the passphrase") << 0 << 0;
    QTest::newRow("salt changed") << kPassphrase << 50 << 0;
    QTest::newRow("first chunk changed") << kPassphrase << 100 << 0;
    QTest::newRow("last byte changed") << kPassphrase << -1 << 0;
    QTest::newRow("last chunk cut off") << kPassphrase << 0 << 1000;
    QTest::newRow("one byte short") << kPassphrase << 0 << 1;
}

void tst_OffsiteCopies::refused() {
    QFETCH(QString, passphrase);
    QFETCH(int, changeAt);
    QFETCH(int, cutBy);
    TestInstall install;
    QTemporaryDir away;
    QVERIFY(numberedItems(install, 1, 30));
    const QString copy = writeTestCopy(away.path(), kPassphrase);
    QVERIFY(install.exec(QStringLiteral("DELETE FROM tblItems WHERE ID > 10")));
    const QStringList before = inventoryRows(install);
    QByteArray bytes = fileBytes(copy);
    if (changeAt != 0) {
        const qsizetype index = changeAt < 0 ? bytes.size() + changeAt : changeAt;
        bytes[index] = static_cast<char>(bytes[index] ^ 0x20);
    }
    bytes.chop(cutBy);
    QFile file(copy);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    for (const bool restoring : {false, true}) {
        try {
            restoring ? OffsiteCopies::restore(copy, passphrase)
                      : OffsiteCopies::verify(copy, passphrase);
            QFAIL("the copy was read");
        } catch (const Riri::Error& error) {
            QCOMPARE(error.description(),
                     QStringLiteral("The passphrase is wrong or the copy was changed."));
            QCOMPARE(error.number(), OffsiteCopies::kRefused);
        }
    }
    QCOMPARE(inventoryRows(install), before);
}

void tst_OffsiteCopies::keepsTheNewest() {
    TestInstall install;
    QTemporaryDir away;
    // What a write killed two hours ago left, and one still being written.
    const QString old = away.filePath(QStringLiteral(".Quorvane-2026-01-01-000000.qvcrypt.part-a"));
    const QString young =
        away.filePath(QStringLiteral(".Quorvane-2026-01-02-000000.qvcrypt.part-b"));
    const QString other = away.filePath(QStringLiteral("Quorvane-notes.txt"));
    for (const QString& path : {old, young, other}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QFile aged(old);
    QVERIFY(aged.open(QIODevice::ReadWrite) &&
            aged.setFileTime(QDateTime::currentDateTime().addSecs(-7200),
                             QFileDevice::FileModificationTime));
    aged.close();
    QStringList written;
    for (int day = 1; day <= 9; ++day) {
        written.prepend(writeTestCopy(away.path(), kPassphrase, 7,
                                      QDateTime(QDate(2026, 12, day), QTime(21, 5, 9))));
    }
    QCOMPARE(QFileInfo(written.first()).fileName(),
             QStringLiteral("Quorvane-2026-12-09-210509.qvcrypt"));
    QCOMPARE(OffsiteCopies::list(away.path()), written.mid(0, 7));
    QVERIFY(!QFileInfo::exists(old));
    QVERIFY(QFileInfo::exists(young) && QFileInfo::exists(other));
    // Two in the same second keep both.
    const QString again =
        writeTestCopy(away.path(), kPassphrase, 9, QDateTime(QDate(2026, 12, 9), QTime(21, 5, 9)));
    QCOMPARE(QFileInfo(again).fileName(), QStringLiteral("Quorvane-2026-12-09-210509-2.qvcrypt"));
}

void tst_OffsiteCopies::killedWriteLeavesNothingPlain() {
    TestInstall install;
    QTemporaryDir away;
    QTemporaryDir temp;
    QVERIFY(numberedItems(install, 1, 500));
    QVERIFY(install.exec(
        QStringLiteral("UPDATE tblItems SET Notes = '%1'").arg(QString::fromLatin1(kMarker))));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("OFFSITE_CHILD_INSTALL"), install.folder());
    env.insert(QStringLiteral("OFFSITE_CHILD_FOLDER"), away.path());
    env.insert(QStringLiteral("TMPDIR"), temp.path());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForStarted());
    while (!child.canReadLine() && child.state() == QProcess::Running) {
        child.waitForReadyRead(-1);
    }
    QCOMPARE(child.readLine(), QByteArray("writing\n"));
    child.kill();
    child.waitForFinished(-1);
    QVERIFY(!QDir(away.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QVERIFY(OffsiteCopies::list(away.path()).isEmpty());
    QCOMPARE(filesHolding(away.path(), kMarker), QStringList());
    QCOMPARE(filesHolding(temp.path(), kMarker), QStringList());
}

void tst_OffsiteCopies::schedule_data() {
    QTest::addColumn<QString>("lastCopy");
    QTest::addColumn<QString>("changed");
    QTest::addColumn<QString>("now");
    QTest::addColumn<bool>("onRequest");
    QTest::addColumn<bool>("failed");
    QTest::addColumn<bool>("folderPresent");
    QTest::addColumn<bool>("due");
    QTest::addColumn<QString>("notice");
    const QString none;
    QTest::newRow("changed after yesterday's copy")
        << "2026-12-06T20:00:00"
        << "2026-12-07T09:00:00"
        << "2026-12-07T10:00:00" << false << false << true << true << none;
    QTest::newRow("unchanged since the copy")
        << "2026-12-01T20:00:00"
        << "2026-12-01T19:00:00"
        << "2026-12-07T10:00:00" << false << false << true << false << none;
    QTest::newRow("second change of the day")
        << "2026-12-07T08:00:00"
        << "2026-12-07T09:00:00"
        << "2026-12-07T23:00:00" << false << false << true << false << none;
    QTest::newRow("first copy") << ""
                                << "2026-12-07T09:00:00"
                                << "2026-12-07T10:00:00" << false << false << true << true << none;
    QTest::newRow("only on request")
        << "2026-11-01T08:00:00"
        << "2026-12-07T09:00:00"
        << "2026-12-07T10:00:00" << true << false << true << false << none;
    QTest::newRow("folder absent for three days")
        << "2026-12-04T08:00:00"
        << "2026-12-05T09:00:00"
        << "2026-12-07T10:00:00" << false << false << false << true
        << "The newest off-site copy is 3 days old. The folder /media/stick is not there.";
    QTest::newRow("last attempt failed")
        << "2026-12-07T08:00:00"
        << "2026-12-06T09:00:00"
        << "2026-12-07T10:00:00" << true << true << true << false
        << "The last off-site copy could not be written: The disk is full";
    QTest::newRow("never written, chosen long ago")
        << ""
        << "2026-12-07T09:00:00"
        << "2026-12-07T10:00:00" << false << false << true << true
        << "No off-site copy has been written yet.";
}

void tst_OffsiteCopies::schedule() {
    QFETCH(QString, lastCopy);
    QFETCH(QString, changed);
    QFETCH(QString, now);
    QFETCH(bool, onRequest);
    QFETCH(bool, failed);
    QFETCH(bool, folderPresent);
    QFETCH(bool, due);
    QFETCH(QString, notice);
    OffsiteSettings settings;
    settings.folder = QStringLiteral("/media/stick");
    settings.schedule = onRequest ? OffsiteSettings::Schedule::OnRequest
                                  : OffsiteSettings::Schedule::AtEndAfterChange;
    settings.configured = notice.startsWith(QStringLiteral("No ")) ? at("2026-11-01T00:00:00")
                                                                   : at("2026-12-06T00:00:00");
    settings.lastCopy = QDateTime::fromString(lastCopy, Qt::ISODate);
    settings.lastFailed = failed;
    settings.failure = QStringLiteral("The disk is full");
    const QDateTime changedAt = QDateTime::fromString(changed, Qt::ISODate);
    const QDateTime nowAt = QDateTime::fromString(now, Qt::ISODate);
    QCOMPARE(OffsiteSchedule::dueAtEnd(settings, changedAt, nowAt), due);
    QCOMPARE(OffsiteSchedule::notice(settings, changedAt, nowAt, folderPresent), notice);
    settings.folder.clear();
    QVERIFY(!OffsiteSchedule::dueAtEnd(settings, changedAt, nowAt));
}

void tst_OffsiteCopies::stateKept() {
    TestInstall install;
    OffsiteSettings settings = OffsiteSettings::load();
    QCOMPARE(settings.keep, 7);
    QVERIFY(!settings.isConfigured());
    settings.folder = QStringLiteral("/media/stick");
    settings.keep = 3;
    settings.schedule = OffsiteSettings::Schedule::OnRequest;
    settings.save();
    OffsiteSettings::recordFailure(at("2026-12-07T10:00:00"), QStringLiteral("No room"));
    settings = OffsiteSettings::load();
    QVERIFY(settings.lastFailed && settings.failure == QStringLiteral("No room"));
    QCOMPARE(settings.keep, 3);
    QCOMPARE(settings.schedule, OffsiteSettings::Schedule::OnRequest);
    OffsiteSettings::recordCopy(at("2026-12-07T11:00:00"));
    settings = OffsiteSettings::load();
    QVERIFY(!settings.lastFailed);
    QCOMPARE(settings.lastCopy, at("2026-12-07T11:00:00"));
    QVERIFY(QFileInfo(settings.filePath()).absolutePath().startsWith(install.folder()));
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("OFFSITE_CHILD_FOLDER")) {
        return childWrite();
    }
    QCoreApplication app(argc, argv);
    tst_OffsiteCopies test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_offsitecopies.moc"
