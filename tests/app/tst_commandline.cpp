// The command line, run as the real program in a process of its own from a
// throw-away installation: a copy of the program and its library beside a
// home/inv.inv of its own, so the program finds that database the way it
// always does (beside the library), and a runtime folder of its own for the
// single-instance lock.

#include "EvidenceTesting.h"
#include "TestSupport.h"
#include "platform/GraphicalDisplay.h"
#include "platform/SingleInstance.h"

#include <Riri/EvidenceStore.h>
#include <Riri/InventoryCheck.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

QByteArray fileHash(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

} // namespace

class tst_commandline : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void helpAndVersion();
    void checkSoundAndDamaged();
    void checkNamesEvidenceProblems_data();
    void checkNamesEvidenceProblems();
    void backupRestoreRoundTrip();
    void restoreRefusesNonInventory();
    void exportImportRoundTrip();
    void importWithBadRowStoresNothing();
    void refusesWhileProgramRuns();
    void usageErrors();
    void withoutDisplay();
    void displayAvailable_data();
    void displayAvailable();

private:
    Run tallimer(const QStringList& arguments);
    QString db() const { return m_folder->path() + "/home/inv.inv"; }
    bool sql(const QString& statement) const;
    QStringList column(const QString& query) const;
    int items() const;

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QTemporaryDir> m_runtime;
};

void tst_commandline::init() {
    m_folder = std::make_unique<QTemporaryDir>();
    m_runtime = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid() && m_runtime->isValid());
    QFile::setPermissions(m_runtime->path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir(m_folder->path()).mkpath("home");
    QVERIFY(QFile::copy(TALLIMER_PROGRAM, m_folder->path() + "/Tallimer"));
    QVERIFY(QFile::copy(RIRI_LIBRARY, m_folder->path() + "/" + QFileInfo(RIRI_LIBRARY).fileName()));
    QVERIFY(QFile::copy(QUORVANE_PRISTINE_DB, db()));
    QFile::setPermissions(db(), QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(sql("INSERT INTO tblItems (ItemID, ItemName, RoomName, Cost, BuyDate, AddDate) "
                "VALUES ('A-1', 'Lamp, \"brass\"', 'Den', 12.5, '2005-03-01', "
                "'2026-12-01 10:00:00'), ('A-2', 'Chair', 'Attic', 40, '2006-01-02', "
                "'2026-12-02 11:00:00')"));
}

void tst_commandline::cleanup() {
    m_folder.reset();
    m_runtime.reset();
}

bool tst_commandline::sql(const QString& statement) const {
    return execDatabase(db(), statement);
}

QStringList tst_commandline::column(const QString& query) const {
    QStringList rows;
    for (const QVariantList& row : queryDatabase(db(), query)) {
        rows.append(row.value(0).toString());
    }
    return rows;
}

int tst_commandline::items() const {
    return column("SELECT count(*) FROM tblItems").value(0).toInt();
}

Run tst_commandline::tallimer(const QStringList& arguments) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", m_runtime->path());
    // No display: the command line must not need one.
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(QDir::tempPath());
    program.start(m_folder->path() + "/Tallimer", arguments);
    Run run;
    if (!program.waitForFinished(60000)) {
        program.kill();
        program.waitForFinished();
    }
    run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.out = QString::fromUtf8(program.readAllStandardOutput());
    run.err = QString::fromUtf8(program.readAllStandardError());
    return run;
}

void tst_commandline::helpAndVersion() {
    const Run help = tallimer({"--help"});
    QCOMPARE(help.exitCode, 0);
    for (const char* option : {"--help", "--version", "--check", "--quick", "--backup <FILE>",
                               "--restore <FILE>", "--export-csv <FILE>", "--import-csv <FILE>"}) {
        QVERIFY2(help.out.contains(option), option);
    }
    const Run version = tallimer({"--version"});
    QCOMPARE(version.exitCode, 0);
    // The package's whole version, as the project declares it.
    QCOMPARE(version.out, QString("Tallimer " QUORVANE_VERSION "\n"));
}

void tst_commandline::checkSoundAndDamaged() {
    const Run sound = tallimer({"--check"});
    QCOMPARE(sound.exitCode, 0);
    QCOMPARE(sound.out.count('\n'), 1);
    QVERIFY2(sound.out.contains("is sound: 2 items"), qPrintable(sound.out));

    QFile file(db());
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(0);
    file.write(QByteArray(100, '\x01'));
    file.close();
    const Run damaged = tallimer({"--check"});
    QVERIFY(damaged.exitCode != 0);
    QVERIFY(damaged.out.isEmpty());
    QVERIFY2(damaged.err.contains("not an inventory database"), qPrintable(damaged.err));
}

void tst_commandline::checkNamesEvidenceProblems_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("told"); // on standard error; none: sound
    QTest::newRow("sound") << "" << QStringList{"--check"} << QStringList();
    QTest::newRow("altered") << "alter" << QStringList{"--check"}
                             << QStringList{"1 of the evidence files it names is missing or "
                                            "altered:",
                                            "Item ID A-1 (Lamp, \"brass\"): receipt.pdf was "
                                            "altered (SHA-256 "};
    QTest::newRow("missing") << "remove" << QStringList{"--check"}
                             << QStringList{"Item ID A-1 (Lamp, \"brass\"): receipt.pdf is "
                                            "missing from the evidence store"};
    QTest::newRow("quick: the database only")
        << "remove" << QStringList{"--check", "--quick"} << QStringList();
}

void tst_commandline::checkNamesEvidenceProblems() {
    QFETCH(QString, damage);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, told);
    const QString source = m_folder->path() + "/receipt.pdf";
    QFile file(source);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("%PDF-1.4 receipt") > 0);
    file.close();
    Riri::EvidenceStore store(db());
    Riri::NewAttachment receipt;
    receipt.sourcePath = source;
    const Riri::Attachment added =
        store.attachment(store.add(store.itemRefOf("A-1"), {receipt}).value(0));
    if (damage == "alter") {
        QVERIFY(EvidenceTesting::alterFile(store.filePath(added)));
    } else if (damage == "remove") {
        QVERIFY(QFile::remove(store.filePath(added)));
    }
    const Run run = tallimer(arguments);
    QCOMPARE(run.exitCode, told.isEmpty() ? 0 : 1);
    QCOMPARE(run.out.isEmpty(), !told.isEmpty());
    for (const QString& line : told) {
        QVERIFY2(run.err.contains(line), qPrintable(run.err));
    }
}

void tst_commandline::backupRestoreRoundTrip() {
    QTemporaryDir out;
    const QString copy = out.filePath("Quorvane-backup.inv");
    const Run backup = tallimer({"--backup", copy});
    QCOMPARE(backup.exitCode, 0);
    QCOMPARE(backup.out, QString("Backed up 2 items to %1.\n").arg(copy));
    QVERIFY(backup.err.isEmpty());
    QVERIFY(Riri::InventoryCheck::inspect(copy).ok);

    QVERIFY(sql("DELETE FROM tblItems"));
    const Run restore = tallimer({"--restore", copy});
    QCOMPARE(restore.exitCode, 0);
    QCOMPARE(restore.out, QString("Restored 2 items from %1.\n").arg(copy));
    QCOMPARE(items(), 2);
    // The emptied inventory was kept before it was replaced.
    const QStringList kept = QDir(m_folder->path() + "/home/backups").entryList(QDir::Files);
    QCOMPARE(kept.size(), 1);
    QVERIFY(kept.first().endsWith("-before-restore.inv"));
}

void tst_commandline::restoreRefusesNonInventory() {
    QTemporaryDir out;
    QFile text(out.filePath("notes.inv"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("Item Name,Room\nLamp,Den\n");
    text.close();
    const QByteArray before = fileHash(db());
    const Run run = tallimer({"--restore", text.fileName()});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains("is not an inventory backup"), qPrintable(run.err));
    QCOMPARE(fileHash(db()), before);
}

void tst_commandline::exportImportRoundTrip() {
    QTemporaryDir out;
    const QString csv = out.filePath("items.csv");
    const Run exported = tallimer({"--export-csv", csv});
    QCOMPARE(exported.exitCode, 0);
    QCOMPARE(exported.out, QString("Exported 2 items to %1.\n").arg(csv));
    const Run imported = tallimer({"--import-csv", csv});
    QCOMPARE(imported.exitCode, 0);
    // The program's own export changes nothing when it comes back.
    QCOMPARE(
        imported.out,
        QString("Imported from %1: 0 new items, 0 changed items, 2 unchanged rows.\n").arg(csv));
    QCOMPARE(items(), 2);
    // A changed row, a row without its Item ID and one with an unknown Item ID.
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Item ID,Item Name,Room\r\nA-2,Stool,Attic\r\n,Rug,Den\r\nB-9,Vase,Den\r\n");
    file.close();
    const Run changed = tallimer({"--import-csv", csv});
    QCOMPARE(
        changed.out,
        QString("Imported from %1: 2 new items, 1 changed item, 0 unchanged rows.\n").arg(csv));
    QCOMPARE(column("SELECT ItemID || '|' || ItemName FROM tblItems ORDER BY ID"),
             (QStringList{"A-1|Lamp, \"brass\"", "A-2|Stool", "A-3|Rug", "A-4|Vase"}));
}

void tst_commandline::importWithBadRowStoresNothing() {
    QTemporaryDir out;
    QFile csv(out.filePath("bad.csv"));
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write("Item Name,Room,Shoe Size\r\nBox,Garage,4\r\nBag,Hall,5\r\n");
    csv.close();
    const QByteArray before = fileHash(db());
    const Run run = tallimer({"--import-csv", csv.fileName()});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains("Line 3: Room \"Hall\" is not one of the 35 rooms."),
             qPrintable(run.err));
    QCOMPARE(fileHash(db()), before);
}

void tst_commandline::refusesWhileProgramRuns() {
    // This process takes the program's lock in the same runtime folder, as
    // a running program holds it.
    const QByteArray previous = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", m_runtime->path().toUtf8());
    QVERIFY(!SingleInstance::anotherIsRunning());
    qputenv("XDG_RUNTIME_DIR", previous);

    QTemporaryDir out;
    const QString copy = out.filePath("copy.inv");
    QCOMPARE(tallimer({"--backup", copy}).exitCode, 0); // reading is allowed
    const QByteArray before = fileHash(db());
    for (const char* option : {"--restore", "--import-csv"}) {
        const Run run = tallimer({option, copy});
        QCOMPARE(run.exitCode, 3);
        QVERIFY2(run.err.contains("Quorvane is running"), qPrintable(run.err));
    }
    QCOMPARE(fileHash(db()), before);
    QVERIFY(!QFileInfo::exists(m_folder->path() + "/home/backups"));
}

void tst_commandline::usageErrors() {
    const Run none = tallimer({"--backup"});
    QVERIFY(none.exitCode != 0);
    QVERIFY(!none.err.isEmpty());
    const Run two = tallimer({"--check", "--export-csv", "x.csv"});
    QCOMPARE(two.exitCode, 2);
    QVERIFY(two.err.contains("exactly one"));
    QCOMPARE(tallimer({"--backup", "x.inv", "--quick"}).exitCode, 2);
    const Run unknown = tallimer({"--frobnicate"});
    QVERIFY(unknown.exitCode != 0);
    QVERIFY(unknown.err.contains("frobnicate"));
}

void tst_commandline::withoutDisplay() {
    // Started for its windows where there is no display: one line that says
    // so, instead of Qt's abort.
    const Run run = tallimer({});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(run.err, QString("Tallimer needs a graphical display; the command-line options "
                              "(Tallimer --help) work without one.\n"));
}

void tst_commandline::displayAvailable_data() {
    QTest::addColumn<QByteArray>("platform");
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<bool>("available");
    QTest::newRow("nothing") << QByteArray() << QByteArray() << QByteArray() << QByteArrayList()
                             << false;
    QTest::newRow("X11") << QByteArray() << QByteArray(":0") << QByteArray() << QByteArrayList()
                         << true;
    QTest::newRow("Wayland") << QByteArray() << QByteArray() << QByteArray("wayland-0")
                             << QByteArrayList() << true;
    QTest::newRow("offscreen") << QByteArray("offscreen") << QByteArray() << QByteArray()
                               << QByteArrayList() << true;
    QTest::newRow("xcb without X11")
        << QByteArray("xcb") << QByteArray() << QByteArray("w-0") << QByteArrayList() << false;
    QTest::newRow("list, second starts") << QByteArray("wayland;xcb") << QByteArray(":1")
                                         << QByteArray() << QByteArrayList() << true;
    QTest::newRow("-platform minimal") << QByteArray() << QByteArray() << QByteArray()
                                       << QByteArrayList{"-platform", "minimal"} << true;
    QTest::newRow("-platform overrides") << QByteArray("offscreen") << QByteArray() << QByteArray()
                                         << QByteArrayList{"-platform", "xcb"} << false;
}

void tst_commandline::displayAvailable() {
    QFETCH(QByteArray, platform);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArrayList, arguments);
    QFETCH(bool, available);
    const QProcessEnvironment saved = QProcessEnvironment::systemEnvironment();
    const auto setOrClear = [](const char* name, const QByteArray& value) {
        if (value.isEmpty()) {
            qunsetenv(name);
        } else {
            qputenv(name, value);
        }
    };
    setOrClear("QT_QPA_PLATFORM", platform);
    setOrClear("DISPLAY", display);
    setOrClear("WAYLAND_DISPLAY", wayland);
    arguments.prepend("Tallimer");
    std::vector<char*> argv;
    for (QByteArray& argument : arguments) {
        argv.push_back(argument.data());
    }
    const bool result = GraphicalDisplay::available(int(argv.size()), argv.data());
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        setOrClear(name, saved.value(QString::fromLatin1(name)).toLocal8Bit());
    }
    QCOMPARE(result, available);
}

QTEST_GUILESS_MAIN(tst_commandline)
#include "tst_commandline.moc"
