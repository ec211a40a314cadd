#include "../component/ItemArgs.h"
#include "ScopedEnv.h"
#include "StartupHostRun.h"
#include "TestSupport.h"
#include "frmMain.h"
#include "modMain.h"
#include "shared/modGlobal.h"
#include "startup/DataFolder.h"

#include <Riri/ComponentFolder.h>
#include <Riri/Error.h>
#include <Riri/MsgBox.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

const QFile::Permissions kReadOnlyFile = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
const QFile::Permissions kReadOnlyFolder =
    kReadOnlyFile | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;

// An installation folder as the package lays it out below /usr: the empty
// database, the help, the picture and the about text, all read-only. Made
// writable again when it goes, so that its temporary folder can be removed.
class ReadOnlyInstall {
public:
    ReadOnlyInstall() {
        const QDir built(QStringLiteral(QUORVANE_INSTALL_DIR));
        const QDir folder(m_dir.path());
        m_valid = m_dir.isValid() && folder.mkpath(QStringLiteral("home")) &&
                  folder.mkpath(QStringLiteral("help")) &&
                  folder.mkpath(QStringLiteral("images")) &&
                  folder.mkpath(QStringLiteral("text")) &&
                  QFile::copy(QStringLiteral(QUORVANE_PRISTINE_DB),
                              folder.filePath(QStringLiteral("home/inv.inv")));
        for (const QString& file :
             {QStringLiteral("help/quorvane.qch"), QStringLiteral("help/quorvane.qhc"),
              QStringLiteral("images/screen.bmp"), QStringLiteral("text/About.rtf")}) {
            m_valid = m_valid && QFile::copy(built.filePath(file), folder.filePath(file));
        }
        setPermissions(kReadOnlyFile, kReadOnlyFolder);
    }
    ~ReadOnlyInstall() {
        setPermissions(kReadOnlyFile | QFile::WriteOwner, kReadOnlyFolder | QFile::WriteOwner);
    }
    ReadOnlyInstall(const ReadOnlyInstall&) = delete;
    ReadOnlyInstall& operator=(const ReadOnlyInstall&) = delete;

    bool isValid() const { return m_valid; }
    QString folder() const { return m_dir.path(); }

    // Every entry below the folder with its permissions, size, time and
    // content, to show that nothing was written there.
    QMap<QString, QString> snapshot() const {
        QMap<QString, QString> entries;
        QDirIterator it(m_dir.path(),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            QString state = QString::number(info.permissions(), 8) + QLatin1Char(' ') +
                            QString::number(info.size()) + QLatin1Char(' ') +
                            info.lastModified().toString(Qt::ISODateWithMs);
            QFile file(info.filePath());
            if (info.isFile() && file.open(QIODevice::ReadOnly)) {
                state += QLatin1Char(' ') +
                         QString::fromLatin1(
                             QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                 .toHex());
            }
            entries.insert(QDir(m_dir.path()).relativeFilePath(info.filePath()), state);
        }
        return entries;
    }

private:
    void setPermissions(QFile::Permissions files, QFile::Permissions folders) const {
        QDirIterator it(m_dir.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            QFile::setPermissions(info.filePath(), info.isDir() ? folders : files);
        }
        QFile::setPermissions(m_dir.path(), folders);
    }

    QTemporaryDir m_dir;
    bool m_valid = false;
};

// One number read from a database file with SQLite directly; -1 on failure.
qint64 scalar(const QString& database, const QString& sql) {
    const QList<QVariantList> rows = queryDatabase(database, sql);
    return rows.isEmpty() || rows.first().isEmpty() ? -1 : rows.first().first().toLongLong();
}

// Runs the start-up host in the packaged layout.
HostRun runPackaged(const QString& installFolder, const QString& dataHome,
                    const QString& runtimeFolder, const QStringList& options = {}) {
    return runStartupHost(QStringLiteral(STARTUP_HOST),
                          QStringList{QStringLiteral("--packaged"), installFolder} + options,
                          {{QStringLiteral("XDG_DATA_HOME"), dataHome},
                           {QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder}});
}

int modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

} // namespace

class tst_datafolder : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void dataFolderOfEachLayout();
    void selfContainedLayoutPreparesNothing();
    void packagedFirstSecondAndMissingDatabaseStarts();
    void firstStartThatCannotMakeTheFolderLeavesNothing();
    void readOnlyInstallationStillAddsEditsAndDeletes();
    void helpCopyFollowsTheInstalledHelp();
    void commandLineOnAFreshInstallation();

private:
    QTemporaryDir m_runtime;
};

void tst_datafolder::initTestCase() {
    QVERIFY(m_runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
}

void tst_datafolder::cleanup() {
    delete mainForm();
    objHome.reset();
    QDir::setCurrent(QDir::tempPath());
}

void tst_datafolder::dataFolderOfEachLayout() {
    QTemporaryDir home;
    const ScopedEnv homeEnv("HOME", home.path().toLocal8Bit());
    {
        const ScopedEnv data("XDG_DATA_HOME", QByteArray("/srv/somewhere/data/"));
        QCOMPARE(Riri::dataFolder(Riri::Layout::Packaged),
                 QStringLiteral("/srv/somewhere/data/Quorvane"));
    }
    const QString fallback = home.path() + QStringLiteral("/.local/share/Quorvane");
    for (const QByteArray& unusable : {QByteArray(), QByteArray(""), QByteArray("relative/data")}) {
        const ScopedEnv data("XDG_DATA_HOME", unusable);
        QCOMPARE(Riri::dataFolder(Riri::Layout::Packaged), fallback);
        QCOMPARE(Riri::userDataFolder(), fallback);
    }
    // Self-contained: the folder that holds the library, whatever the
    // environment says.
    const ScopedEnv data("XDG_DATA_HOME", QByteArray("/srv/somewhere/data"));
    QCOMPARE(Riri::dataFolder(Riri::Layout::SelfContained),
             QFileInfo(QStringLiteral(QUORVANE_INSTALL_DIR)).canonicalFilePath());
    // The component's own folder is the configured layout's until a host
    // sets another one.
    Riri::setComponentFolder(QString());
    QCOMPARE(Riri::componentFolder(), Riri::dataFolder(Riri::configuredLayout()));
    Riri::setComponentFolder(home.path());
    QCOMPARE(Riri::componentFolder(), home.path());
    Riri::setComponentFolder(QString());
}

void tst_datafolder::selfContainedLayoutPreparesNothing() {
    ReadOnlyInstall install;
    QVERIFY(install.isValid());
    QTemporaryDir dataHome;
    const QString data = dataHome.path() + QStringLiteral("/Quorvane");
    prepareDataFolder(Riri::Layout::SelfContained, data, install.folder());
    QVERIFY(!QFileInfo::exists(data));
    QCOMPARE(helpCollectionFile(Riri::Layout::SelfContained, data, install.folder()),
             install.folder() + QStringLiteral("/help/quorvane.qhc"));
    QCOMPARE(helpCollectionFile(Riri::Layout::Packaged, data, install.folder()),
             data + QStringLiteral("/help/quorvane.qhc"));
}

void tst_datafolder::packagedFirstSecondAndMissingDatabaseStarts() {
    ReadOnlyInstall install;
    QVERIFY(install.isValid());
    const auto before = install.snapshot();
    QTemporaryDir dataHome;
    QTemporaryDir runtime;
    // The data home itself need not exist yet either.
    const QString home = dataHome.path() + QStringLiteral("/share");
    const QString data = home + QStringLiteral("/Quorvane");
    const QString database = data + QStringLiteral("/home/inv.inv");

    // First start: the folder is made for its user only, with a copy of the
    // empty database, and the program starts on it.
    HostRun run = runPackaged(install.folder(), home, runtime.path());
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 3);
    QCOMPARE(run.boxes, QStringList());
    QCOMPARE(run.shown().value(2), data);
    QCOMPARE(modeOf(data), 0700);
    QVERIFY(QFileInfo(database).isFile());
    QVERIFY(QFileInfo(database).isWritable());
    QCOMPARE(scalar(database, QStringLiteral("SELECT COUNT(*) FROM tblItems")), 0);
    QCOMPARE(scalar(database, QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name IN "
                                             "('tblItems', 'tblOwner')")),
             2);
    QVERIFY(QFileInfo(data + QStringLiteral("/help/quorvane.qhc")).isFile());
    QCOMPARE(install.snapshot(), before);

    // Second start: the inventory is the user's, kept as it is.
    QVERIFY(
        execDatabase(database, QStringLiteral("INSERT INTO tblItems (ItemID, ItemName, RoomName) "
                                              "VALUES ('A-1', 'Kept lamp', 'Kitchen')")));
    run = runPackaged(install.folder(), home, runtime.path());
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 3);
    QCOMPARE(run.boxes, QStringList());
    QCOMPARE(scalar(database, QStringLiteral("SELECT COUNT(*) FROM tblItems WHERE ItemName = "
                                             "'Kept lamp'")),
             1);
    QCOMPARE(modeOf(data), 0700);

    // The folder is there but the database is gone: reported and the
    // program ends, with no empty inventory put in its place.
    QVERIFY(QFile::remove(database));
    run = runPackaged(install.folder(), home, runtime.path());
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.boxes.size(), 1);
    QCOMPARE(run.boxes.first(), QStringLiteral("16| ERROR - DATABASE NOT FOUND|Database Not "
                                               "Found.\\r\\n\\r\\nThe database must reside in "
                                               "the folder where it was originally installed."));
    QVERIFY(!QFileInfo::exists(database));
    QCOMPARE(install.snapshot(), before);
}

void tst_datafolder::firstStartThatCannotMakeTheFolderLeavesNothing() {
    ReadOnlyInstall install;
    QVERIFY(install.isValid());
    QTemporaryDir dataHome;
    // A file where the data home's folder should be.
    const QString blocked = dataHome.path() + QStringLiteral("/file");
    QFile file(blocked);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    try {
        prepareDataFolder(Riri::Layout::Packaged, blocked + QStringLiteral("/Quorvane"),
                          install.folder());
        QFAIL("no error for a data folder that cannot be made");
    } catch (const Riri::Error& error) {
        QCOMPARE(error.number(), 76);
        QVERIFY(error.description().contains(blocked + QStringLiteral("/Quorvane")));
    }
    // No empty database to copy: the half-made folder goes again, so the
    // next start is a first start once more.
    QTemporaryDir empty;
    const QString data = dataHome.path() + QStringLiteral("/Quorvane");
    try {
        prepareDataFolder(Riri::Layout::Packaged, data, empty.path());
        QFAIL("no error for a missing empty database");
    } catch (const Riri::Error& error) {
        QCOMPARE(error.number(), 76);
    }
    QVERIFY(!QFileInfo::exists(data));
}

void tst_datafolder::readOnlyInstallationStillAddsEditsAndDeletes() {
    ReadOnlyInstall install;
    QVERIFY(install.isValid());
    const auto before = install.snapshot();
    QTemporaryDir dataHome;
    const ScopedEnv dataEnv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    const QString data = Riri::dataFolder(Riri::Layout::Packaged);
    const QString database = data + QStringLiteral("/home/inv.inv");
    setProgramFolder(install.folder());
    Riri::setComponentFolder(data);

    MsgResponder boxes;
    StartupSeams seams;
    seams.installPresenter = false;
    seams.splashPause = [](int) { return true; };
    seams.layout = Riri::Layout::Packaged;
    QVERIFY(Main(seams));
    QVERIFY(objHome != nullptr);
    QCOMPARE(boxes.count(), 0);

    ItemArgs item(QStringLiteral("A-1"), QStringLiteral("Reading lamp"));
    QVERIFY(objHome->AddItems(item.text, item.money, item.date));
    QCOMPARE(scalar(database, QStringLiteral("SELECT COUNT(*) FROM tblItems WHERE ItemID = 'A-1'")),
             1);
    ItemArgs changed(QStringLiteral("A-1"), QStringLiteral("Desk lamp"));
    QVERIFY(objHome->UpdateItems(changed.text, changed.money, changed.date));
    QCOMPARE(scalar(database, QStringLiteral("SELECT COUNT(*) FROM tblItems WHERE ItemName = "
                                             "'Desk lamp'")),
             1);
    QString id = QStringLiteral("A-1");
    boxes.expect(Riri::vbYes); // the component asks before deleting
    QVERIFY(objHome->DeleteItem(id));
    QCOMPARE(scalar(database, QStringLiteral("SELECT COUNT(*) FROM tblItems")), 0);

    // A start-up failure is logged in the data folder too.
    delete mainForm();
    objHome.reset();
    boxes.clear();
    boxes.expect(Riri::vbOK);
    seams.beforeStep = [](int step) {
        if (step == 7) {
            throw Riri::Error(5, QStringLiteral("Invalid procedure call or argument"));
        }
    };
    QVERIFY(!Main(seams));
    QCOMPARE(boxes.count(), 1);
    QVERIFY(QFileInfo(data + QStringLiteral("/error.log")).size() > 0);

    QCOMPARE(install.snapshot(), before);
    setProgramFolder(QString());
    Riri::setComponentFolder(QString());
}

void tst_datafolder::helpCopyFollowsTheInstalledHelp() {
    QTemporaryDir install;
    QTemporaryDir data;
    const QDir built(QStringLiteral(QUORVANE_INSTALL_DIR));
    QVERIFY(QDir(install.path()).mkpath(QStringLiteral("help")));
    for (const QString& name : {QStringLiteral("quorvane.qch"), QStringLiteral("quorvane.qhc")}) {
        QVERIFY(QFile::copy(built.filePath(QStringLiteral("help/") + name),
                            install.path() + QStringLiteral("/help/") + name));
    }
    const QString copy = data.path() + QStringLiteral("/help/quorvane.qhc");
    const QString index = data.path() + QStringLiteral("/help/.quorvane/index");
    QVERIFY(refreshHelpCopy(data.path(), install.path()));
    QVERIFY(QFileInfo(copy).isFile());
    QVERIFY(QFileInfo(copy).isWritable());

    // Current: the copy and the search index built beside it stay.
    QVERIFY(QDir().mkpath(index));
    const QDateTime copied = QFileInfo(copy).lastModified();
    QVERIFY(refreshHelpCopy(data.path(), install.path()));
    QVERIFY(QFileInfo::exists(index));
    QCOMPARE(QFileInfo(copy).lastModified(), copied);

    // Installed anew (another time stamp): copied again, old index dropped.
    QFile installed(install.path() + QStringLiteral("/help/quorvane.qch"));
    QVERIFY(installed.open(QIODevice::ReadWrite));
    QVERIFY(installed.setFileTime(QDateTime::currentDateTime().addDays(-3),
                                  QFileDevice::FileModificationTime));
    installed.close();
    QVERIFY(refreshHelpCopy(data.path(), install.path()));
    QVERIFY(!QFileInfo::exists(index));
    QCOMPARE(QFileInfo(data.path() + QStringLiteral("/help/quorvane.qch")).lastModified(),
             QFileInfo(installed).lastModified());

    // Nothing to copy from.
    QTemporaryDir nothing;
    QVERIFY(!refreshHelpCopy(data.path(), nothing.path()));
}

void tst_datafolder::commandLineOnAFreshInstallation() {
    // A packaged installation that was never started: the command line makes
    // the data folder as the first start of the windows does.
    ReadOnlyInstall install;
    QVERIFY(install.isValid());
    QTemporaryDir dataHome;
    QTemporaryDir runtime;
    const QString data = dataHome.path() + QStringLiteral("/Quorvane");
    QFile csv(dataHome.filePath(QStringLiteral("items.csv")));
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write("Item Name,Room\r\nLamp,Den\r\n");
    csv.close();
    const HostRun run = runPackaged(install.folder(), dataHome.path(), runtime.path(),
                                    {QStringLiteral("--import-csv"), csv.fileName()});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.lines,
             QStringList{
                 QStringLiteral("Imported from %1: 1 new item, 0 changed items, 0 unchanged rows.")
                     .arg(csv.fileName())});
    QCOMPARE(modeOf(data), 0700);
    QCOMPARE(scalar(data + QStringLiteral("/home/inv.inv"),
                    QStringLiteral("SELECT COUNT(*) FROM tblItems WHERE ItemName = 'Lamp'")),
             1);
}

QTEST_MAIN(tst_datafolder)
#include "tst_datafolder.moc"
