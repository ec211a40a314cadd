// The backup archive: written and read back through sequential devices and
// files, restored into a fresh installation, hostile archives refused without
// a change, bare database copies still restored, a cancelled backup leaving
// nothing.

#include "SequentialBuffer.h"
#include "TestSupport.h"
#include "ZipTesting.h"

#include <QBuffer>
#include <QDir>
#include <QtTest>
#include <Riri/BackupArchive.h>
#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/EvidenceFiles.h>
#include <Riri/InventoryCopy.h>

namespace {

// The content of the n-th evidence file of a test.
QByteArray evidenceFile(int n) {
    return QByteArray(3000 + n * 70000, char('a' + n)) + QByteArray::number(n);
}

// Stores the bytes in the inventory's store and attaches them to item A-item
// with plain SQL.
bool attach(const TestInstall& install, int item, const QByteArray& bytes) {
    QBuffer source;
    source.setData(bytes);
    source.open(QIODevice::ReadOnly);
    const QString sha256 = Riri::EvidenceFiles(install.databasePath()).put(source);
    return install.exec(QStringLiteral("INSERT INTO tblEvidence (ItemRef, Kind, FileName, "
                                       "MediaType, Size, Sha256, AddDate) SELECT ID, 'Photo', "
                                       "'p.jpg', 'image/jpeg', %1, '%2', '2026-12-07 10:00:00' "
                                       "FROM tblItems WHERE ItemID = 'A-%3'")
                            .arg(bytes.size())
                            .arg(sha256)
                            .arg(item));
}

// The inventory's rows and the store's files, as one text to compare.
QString contents(const TestInstall& install) {
    QStringList lines;
    for (const QString& sql :
         {QStringLiteral("SELECT ItemID, ItemName, Cost FROM tblItems ORDER BY ID"),
          QStringLiteral("SELECT OwnerID, LName FROM tblOwner"),
          QStringLiteral("SELECT ItemRef, Sha256, Size FROM tblEvidence ORDER BY ID")}) {
        for (const QVariantList& row : install.query(sql)) {
            QStringList cells;
            for (const QVariant& cell : row) {
                cells.append(cell.toString());
            }
            lines.append(cells.join(QLatin1Char('|')));
        }
    }
    const QString store = install.folder() + QStringLiteral("/home/evidence");
    for (const QString& name : QDir(store).entryList(QDir::Files, QDir::Name)) {
        lines.append(name + QLatin1Char('=') +
                     sha256Hex(fileBytes(store + QLatin1Char('/') + name)));
    }
    return lines.join(QLatin1Char('\n'));
}

// What home/ holds besides the inventory and its store.
QStringList leftOvers(const TestInstall& install) {
    QStringList names = QDir(install.folder() + QStringLiteral("/home"))
                            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    names.removeAll(QStringLiteral("inv.inv"));
    names.removeAll(QStringLiteral("evidence"));
    return names;
}

QString failure(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const Riri::Error& error) {
        return error.description();
    }
    return QString();
}

} // namespace

class TestBackupArchive : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();
    void hostileArchiveRefused_data();
    void hostileArchiveRefused();
    void bareCopyRestores();
    void failedBackupLeavesNothing_data();
    void failedBackupLeavesNothing();

private:
    // A sound inventory: three items, an owner, evidenceFile(0) attached to A-1.
    static bool fill(const TestInstall& install) {
        return numberedItems(install, 1, 3) &&
               install.exec(QStringLiteral("INSERT INTO tblOwner (OwnerID, LName) VALUES "
                                           "('O-1', 'Smith')")) &&
               attach(install, 1, evidenceFile(0));
    }

    QByteArray m_database; // the bytes of such an inventory
};

void TestBackupArchive::initTestCase() {
    const TestInstall install;
    QVERIFY(install.isValid() && fill(install));
    m_database = fileBytes(install.databasePath());
}

void TestBackupArchive::roundTrip_data() {
    QTest::addColumn<int>("files");
    QTest::addColumn<bool>("sharedFile");
    QTest::addColumn<bool>("throughFile");
    QTest::newRow("no evidence, stream") << 0 << false << false;
    QTest::newRow("three files, stream") << 3 << false << false;
    QTest::newRow("one file on two items, stream") << 1 << true << false;
    QTest::newRow("three files, file") << 3 << true << true;
}

void TestBackupArchive::roundTrip() {
    QFETCH(int, files);
    QFETCH(bool, sharedFile);
    QFETCH(bool, throughFile);
    const TestInstall install;
    QVERIFY(numberedItems(install, 1, 5));
    QVERIFY(install.exec(QStringLiteral("INSERT INTO tblOwner (OwnerID, LName) VALUES ('O-1', "
                                        "'Smith')")));
    for (int n = 0; n < files; ++n) {
        QVERIFY(attach(install, n + 1, evidenceFile(n)));
    }
    if (sharedFile) {
        QVERIFY(attach(install, 5, evidenceFile(0)));
    }
    const QString expected = contents(install);
    const QString target = install.folder() + QStringLiteral("/backup.zip");
    QByteArray archive;
    Riri::InventoryCheck written;
    if (throughFile) {
        written = Riri::BackupArchive::backUp(target);
        QVERIFY(Riri::BackupArchive::isArchive(target));
    } else {
        SequentialBuffer out;
        out.open(QIODevice::WriteOnly);
        written = Riri::BackupArchive::write(out);
        archive = out.bytes();
        SequentialBuffer in(archive);
        in.open(QIODevice::ReadOnly);
        const Riri::InventoryCheck read = Riri::BackupArchive::verify(in);
        QCOMPARE(read.evidenceFiles, written.evidenceFiles);
    }
    QCOMPARE(written.items, 5);
    QCOMPARE(written.owners, 1);
    QCOMPARE(written.evidenceFiles, files);
    QCOMPARE(leftOvers(install), QStringList());

    const TestInstall fresh;
    if (throughFile) {
        Riri::BackupArchive::restoreFile(target);
    } else {
        SequentialBuffer in(archive);
        in.open(QIODevice::ReadOnly);
        QCOMPARE(Riri::BackupArchive::restore(in).evidenceFiles, files);
    }
    QCOMPARE(contents(fresh), expected);
    QCOMPARE(leftOvers(fresh).filter(QStringLiteral("restore")), QStringList());
}

void TestBackupArchive::hostileArchiveRefused_data() {
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QString>("message");
    using Kind = ZipEntry::Kind;
    const QList<ZipEntry> sound = backupEntries(m_database, {evidenceFile(0)});
    const QString other = QStringLiteral("evidence/") + sha256Hex("other");
    const auto plus = [&sound](const ZipEntry& entry) {
        return zipOf(withManifest(QList<ZipEntry>(sound) << entry));
    };
    QTest::newRow("dot dot") << plus({QStringLiteral("evidence/../../x"), "x"})
                             << "leads out of its folder";
    QTest::newRow("absolute") << plus({QStringLiteral("/tmp/x"), "x"}) << "absolute name";
    QTest::newRow("symbolic link") << plus({other, {}, Kind::Symlink}) << "is a link";
    QTest::newRow("folder") << plus({QStringLiteral("evidence/"), {}, Kind::Directory})
                            << "not a regular file";
    QTest::newRow("duplicate") << plus(sound.at(1)) << "appears twice";
    QTest::newRow("foreign name") << plus({QStringLiteral("readme.txt"), "x"}) << "does not belong";
    QTest::newRow("no manifest") << zipOf(sound) << "holds no SHA256SUMS";
    QTest::newRow("no inventory") << zipOf(withManifest(sound.mid(1))) << "holds no inventory.inv";
    QTest::newRow("manifest lacks an entry")
        << zipOf(QList<ZipEntry>(sound)
                 << ZipEntry{QStringLiteral("SHA256SUMS"), sha256Sums(sound.mid(0, 1))})
        << "does not name the entry";
    QTest::newRow("manifest names an absent entry")
        << zipOf(QList<ZipEntry>(sound.mid(0, 1))
                 << ZipEntry{QStringLiteral("SHA256SUMS"), sha256Sums(sound)})
        << "which the archive does not hold";
    QByteArray wrong = sha256Sums(sound);
    wrong[3] = wrong[3] == '0' ? '1' : '0';
    QTest::newRow("manifest hash wrong")
        << zipOf(QList<ZipEntry>(sound) << ZipEntry{QStringLiteral("SHA256SUMS"), wrong})
        << "is not the one";
    QTest::newRow("evidence not its hash")
        << zipOf(withManifest({sound.at(0), {sound.at(1).name, evidenceFile(1)}}))
        << "does not have the SHA-256 its name gives";
    QTest::newRow("evidence it names missing")
        << zipOf(withManifest(sound.mid(0, 1))) << "names the evidence file";
    QTest::newRow("not an inventory")
        << zipOf(withManifest({{QStringLiteral("inventory.inv"), "hello"}}))
        << "inventory is not sound";
    QTest::newRow("larger than declared")
        << plus({other, "some more bytes than declared", Kind::File, 4, true})
        << "larger than its declared size";
    QList<ZipEntry> huge = sound;
    huge[0].declaredSize = qint64(1) << 50;
    QTest::newRow("beyond free space") << zipOf(withManifest(huge)) << "free space";
    QTest::newRow("evidence over 1 GB")
        << plus({other, "x", Kind::File, qint64(2) << 30}) << "larger than 1 GB";
    const QByteArray whole = zipOf(withManifest(sound));
    QByteArray renamed = whole;
    renamed.replace(renamed.lastIndexOf("SHA256SUMS"), 10, "SHA256SUMT");
    QTest::newRow("directory lists other entries") << renamed << "does not list the entries";
    QTest::newRow("truncated") << whole.left(whole.size() / 2) << "damaged or truncated";
    QTest::newRow("not a ZIP") << QByteArray(5000, 'z') << "damaged or truncated";
}

void TestBackupArchive::hostileArchiveRefused() {
    QFETCH(QByteArray, archive);
    QFETCH(QString, message);
    const TestInstall install;
    QVERIFY(fill(install));
    const QByteArray database = fileBytes(install.databasePath());
    const QString before = contents(install);
    SequentialBuffer in(archive);
    in.open(QIODevice::ReadOnly);
    const QString refused = failure([&in] { Riri::BackupArchive::restore(in); });
    QVERIFY2(refused.contains(message), qPrintable(refused));
    QVERIFY(refused.startsWith(QStringLiteral("The backup archive was refused: ")));
    QCOMPARE(fileBytes(install.databasePath()), database);
    QCOMPARE(contents(install), before);
    QCOMPARE(leftOvers(install), QStringList());
}

void TestBackupArchive::bareCopyRestores() {
    const TestInstall install;
    QVERIFY(fill(install));
    const QString copy = install.folder() + QStringLiteral("/copy.inv");
    Riri::InventoryCopy::backUp(copy);
    QVERIFY(!Riri::BackupArchive::isArchive(copy));
    QVERIFY(install.exec(QStringLiteral("DELETE FROM tblItems")));
    const Riri::InventoryCheck check = Riri::BackupArchive::restoreFile(copy);
    QCOMPARE(check.items, 3);
    QCOMPARE(install.scalar(QStringLiteral("SELECT count(*) FROM tblEvidence")).toInt(), 1);
}

void TestBackupArchive::failedBackupLeavesNothing_data() {
    QTest::addColumn<double>("cancelAt"); // the share of the work done; negative: never
    QTest::addColumn<bool>("alterFile");  // a store file changed behind the store's back
    QTest::addColumn<QString>("message");
    const QString cancelled = QStringLiteral("The backup was cancelled.");
    QTest::newRow("cancelled at once") << 0.0 << false << cancelled;
    QTest::newRow("cancelled copying the database") << 0.05 << false << cancelled;
    QTest::newRow("cancelled writing the evidence") << 0.3 << false << cancelled;
    QTest::newRow("cancelled verifying") << 0.8 << false << cancelled;
    QTest::newRow("altered evidence file")
        << -1.0 << true
        << "could not be verified: the evidence file \"evidence/" + sha256Hex(evidenceFile(5)) +
               "\" does not have";
}

void TestBackupArchive::failedBackupLeavesNothing() {
    QFETCH(double, cancelAt);
    QFETCH(bool, alterFile);
    QFETCH(QString, message);
    const TestInstall install;
    QVERIFY(fill(install) && attach(install, 2, evidenceFile(5)));
    if (alterFile) {
        QFile file(install.folder() + "/home/evidence/" + sha256Hex(evidenceFile(5)));
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.write("X") == 1);
    }
    const QString folder = install.folder() + QStringLiteral("/target");
    QVERIFY(QDir().mkpath(folder));
    bool asked = false;
    const Riri::Progress cancel = [&](qint64 done, qint64 total) {
        asked =
            asked || (cancelAt >= 0 && (total == 0 || double(done) >= cancelAt * double(total)));
        return !asked;
    };
    const QString refused = failure(
        [&] { Riri::BackupArchive::backUp(folder + QStringLiteral("/backup.zip"), cancel); });
    QVERIFY2(refused.contains(message), qPrintable(refused));
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
    QCOMPARE(leftOvers(install), QStringList());
}

QTEST_GUILESS_MAIN(TestBackupArchive)
#include "tst_backuparchive.moc"
