#include "MemoryKeyring.h"
#include "OffsiteTesting.h"
#include "TestSupport.h"
#include "WindowTesting.h"

#include "cli/CommandLine.h"
#include "frmMain.h"
#include "platform/FileDialogSeam.h"
#include "shared/VerifiedRestore.h"
#include "ui/PassphrasePrompt.h"
#include "utils/OffsiteCommands.h"
#include "utils/OffsiteNoticeBar.h"
#include "utils/frmOffsiteCopies.h"

#include <Riri/MsgBox.h>
#include <Riri/OffsiteCopies.h>
#include <Riri/OffsiteSettings.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

using Riri::OffsiteCopies;
using Riri::OffsiteSettings;

namespace {

const QString kPassphrase = QStringLiteral("correct horse battery staple");

// Answers the passphrase prompt with the given answers in turn (nothing:
// cancelled) and counts the prompts.
class PromptAnswers {
public:
    explicit PromptAnswers(QList<std::optional<QString>> answers) : m_answers(answers) {
        PassphrasePrompt::setHandler([this](QWidget*, const QString&) {
            ++m_asked;
            return m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst();
        });
    }
    ~PromptAnswers() { PassphrasePrompt::setHandler({}); }
    PromptAnswers(const PromptAnswers&) = delete;
    PromptAnswers& operator=(const PromptAnswers&) = delete;
    int asked() const { return m_asked; }

private:
    QList<std::optional<QString>> m_answers;
    int m_asked = 0;
};

// Off-site copies set up as the window saves them.
void configure(const QString& folder, bool remember,
               OffsiteSettings::Schedule schedule = OffsiteSettings::Schedule::AtEndAfterChange) {
    OffsiteSettings settings = OffsiteSettings::load();
    settings.folder = folder;
    settings.rememberPassphrase = remember;
    settings.schedule = schedule;
    settings.configured = QDateTime::currentDateTime().addDays(-10);
    settings.save();
}

QString keyOfCopies() {
    return OffsiteCopies::keyringKey();
}

// The settings file read as plain INI, not through the code under test.
QVariant savedValue(const QString& key) {
    return QSettings(OffsiteSettings::filePath(), QSettings::IniFormat).value(key);
}

void grab(QWidget& window, const QString& name) {
    window.grab().save(QDir::temp().filePath(name));
}

} // namespace

class tst_OffsiteProgram : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void strengthHint_data();
    void strengthHint();
    void windowSaves_data();
    void windowSaves();
    void writeNowFromWindow();
    void copyAtEnd_data();
    void copyAtEnd();
    void notice_data();
    void notice();
    void restoreEncrypted_data();
    void restoreEncrypted();
    void commandLine_data();
    void commandLine();
};

void tst_OffsiteProgram::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    OffsiteCommands::setKeyLimits(Riri::KeyLimits::minimal());
}

void tst_OffsiteProgram::init() {
    OffsiteCommands::rememberForSession(QString());
}

void tst_OffsiteProgram::strengthHint_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("again");
    QTest::addColumn<QString>("hint");
    QTest::newRow("nothing") << ""
                             << ""
                             << "At least 12 characters";
    QTest::newRow("short") << "abc def"
                           << "abc def"
                           << "Too short: 7 of at least 12";
    QTest::newRow("differs") << "abcdefghijkl"
                             << "abcdefghijkm"
                             << "The two entries are not the same";
    QTest::newRow("fair") << "abcdefghijkl"
                          << "abcdefghijkl"
                          << "Fair";
    QTest::newRow("mixed") << "Abcdefgh1jkl"
                           << "Abcdefgh1jkl"
                           << "Strong";
    QTest::newRow("long words") << kPassphrase << kPassphrase << "Strong";
}

void tst_OffsiteProgram::strengthHint() {
    QFETCH(QString, typed);
    QFETCH(QString, again);
    QFETCH(QString, hint);
    QVERIFY2(frmOffsiteCopies::strengthHint(typed, again).startsWith(hint),
             qPrintable(frmOffsiteCopies::strengthHint(typed, again)));
}

void tst_OffsiteProgram::windowSaves_data() {
    QTest::addColumn<bool>("chooseFolder");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("again");
    QTest::addColumn<bool>("remember");
    QTest::addColumn<QString>("warning"); // empty when saved
    QTest::newRow("remembered") << true << kPassphrase << kPassphrase << true << "";
    QTest::newRow("not remembered") << true << kPassphrase << kPassphrase << false << "";
    QTest::newRow("not remembered, none typed") << true << ""
                                                << "" << false << "";
    QTest::newRow("too short") << true << "short"
                               << "short" << true
                               << "The passphrase needs at least 12 characters. ";
    QTest::newRow("entries differ") << true << kPassphrase << "something else" << true
                                    << "The two entries of the passphrase are not the same. ";
    QTest::newRow("no folder") << false << kPassphrase << kPassphrase << true
                               << "Choose a folder that is there for the copies. ";
}

void tst_OffsiteProgram::windowSaves() {
    QFETCH(bool, chooseFolder);
    QFETCH(QString, typed);
    QFETCH(QString, again);
    QFETCH(bool, remember);
    QFETCH(QString, warning);
    TestInstall install;
    MemoryKeyring keyring;
    MsgResponder boxes;
    QTemporaryDir away;
    keyring.secrets().insert(keyOfCopies(), QStringLiteral("an older passphrase"));
    FileDialogSeam::setFolderHandler(
        [&away](QWidget*, const QString&, const QString&) { return away.path(); });
    frmOffsiteCopies window;
    if (chooseFolder) {
        QTest::mouseClick(window.cmdChoose, Qt::LeftButton);
    }
    FileDialogSeam::setFolderHandler({});
    QTest::keyClicks(window.txtPassphrase, typed);
    QTest::keyClicks(window.txtRepeat, again);
    window.chkRemember->setChecked(remember);
    window.cboSchedule->setCurrentIndex(1);
    window.spnKeep->setValue(3);
    if (!warning.isEmpty()) {
        boxes.expect(Riri::vbOK);
    }
    QTest::mouseClick(window.cmdSave, Qt::LeftButton);
    if (!warning.isEmpty()) {
        QCOMPARE(boxes.last().prompt, warning);
        QVERIFY(!savedValue(QStringLiteral("Copies/Folder")).isValid());
        QCOMPARE(keyring.secrets().value(keyOfCopies()), QStringLiteral("an older passphrase"));
        return;
    }
    QCOMPARE(boxes.count(), 0);
    QCOMPARE(savedValue(QStringLiteral("Copies/Folder")).toString(), away.path());
    QCOMPARE(savedValue(QStringLiteral("Copies/Keep")).toInt(), 3);
    QCOMPARE(savedValue(QStringLiteral("Copies/Schedule")).toString(), QStringLiteral("OnRequest"));
    QCOMPARE(savedValue(QStringLiteral("Copies/Remember")).toBool(), remember);
    QCOMPARE(keyring.secrets().value(keyOfCopies()), remember ? kPassphrase : QString());
    QCOMPARE(fileBytes(OffsiteSettings::filePath()).contains(kPassphrase.toUtf8()), false);
}

void tst_OffsiteProgram::writeNowFromWindow() {
    TestInstall install;
    MemoryKeyring keyring;
    MsgResponder boxes;
    QTemporaryDir away;
    QVERIFY(numberedItems(install, 1, 12));
    configure(away.path(), true);
    keyring.secrets().insert(keyOfCopies(), kPassphrase);
    frmOffsiteCopies window;
    QVERIFY(window.lblStrength->text().contains(QStringLiteral("keyring keeps")));
    window.show();
    grab(window, QStringLiteral("offsite-window.png"));
    boxes.expect(Riri::vbOK);
    QTest::mouseClick(window.cmdWriteNow, Qt::LeftButton);
    QVERIFY2(boxes.last().prompt.contains(QStringLiteral("It holds 12 items.")),
             qPrintable(boxes.last().prompt));
    const QStringList copies = OffsiteCopies::list(away.path());
    QCOMPARE(copies.size(), 1);
    QCOMPARE(OffsiteCopies::verify(copies.first(), kPassphrase).items, 12);
    QVERIFY(window.lblState->text().startsWith(QStringLiteral("Newest copy:")));
    grab(window, QStringLiteral("offsite-window-written.png"));
}

void tst_OffsiteProgram::copyAtEnd_data() {
    QTest::addColumn<int>("lastCopyDaysAgo"); // -1: never
    QTest::addColumn<bool>("changedSince");
    QTest::addColumn<bool>("onRequest");
    QTest::addColumn<bool>("folderAbsent");
    QTest::addColumn<bool>("remember");
    QTest::addColumn<bool>("copyThere");      // a copy written before lies in the folder
    QTest::addColumn<QStringList>("answers"); // the prompt's; "" cancels
    QTest::addColumn<int>("asked");
    QTest::addColumn<bool>("written");
    const QStringList none;
    const QString right = kPassphrase;
    QTest::newRow("first copy") << -1 << true << false << false << true << false << none << 0
                                << true;
    QTest::newRow("changed after yesterday's copy")
        << 1 << true << false << false << true << true << none << 0 << true;
    QTest::newRow("unchanged since yesterday's copy")
        << 1 << false << false << false << true << true << none << 0 << false;
    QTest::newRow("second change of the day")
        << 0 << true << false << false << true << true << none << 0 << false;
    QTest::newRow("only on request")
        << 1 << true << true << false << true << true << none << 0 << false;
    QTest::newRow("folder absent, then back")
        << 1 << true << false << true << true << true << none << 0 << true;
    QTest::newRow("asked, checked against the copies")
        << 1 << true << false << false << false << true << QStringList{right} << 1 << true;
    QTest::newRow("asked, not the copies' passphrase")
        << 1 << true << false << false << false << true
        << QStringList{QStringLiteral("x").repeated(14)} << 1 << false;
    QTest::newRow("asked twice for the first copy")
        << -1 << true << false << false << false << false << QStringList{right, right} << 2 << true;
    QTest::newRow("first copy, entries differ")
        << -1 << true << false << false << false << false
        << QStringList{right, right + QLatin1Char('!')} << 2 << false;
    QTest::newRow("asked, cancelled")
        << 1 << true << false << false << false << true << QStringList{QString()} << 1 << false;
}

void tst_OffsiteProgram::copyAtEnd() {
    QFETCH(int, lastCopyDaysAgo);
    QFETCH(bool, changedSince);
    QFETCH(bool, onRequest);
    QFETCH(bool, folderAbsent);
    QFETCH(bool, remember);
    QFETCH(bool, copyThere);
    QFETCH(QStringList, answers);
    QFETCH(int, asked);
    QFETCH(bool, written);
    TestInstall install;
    MemoryKeyring keyring;
    MsgResponder boxes;
    QTemporaryDir parent;
    const QString folder = parent.filePath(QStringLiteral("stick"));
    QVERIFY(QDir().mkpath(folder));
    configure(folder, remember,
              onRequest ? OffsiteSettings::Schedule::OnRequest
                        : OffsiteSettings::Schedule::AtEndAfterChange);
    if (remember) {
        keyring.secrets().insert(keyOfCopies(), kPassphrase);
    }
    if (copyThere) {
        writeTestCopy(folder, kPassphrase, 7, QDateTime(QDate(2026, 1, 1), QTime(0, 0)));
    }
    const int before = copyThere ? 1 : 0;
    const QDateTime now = QDateTime::currentDateTime();
    if (lastCopyDaysAgo >= 0) {
        const QDateTime last = lastCopyDaysAgo == 0 ? QDateTime(now.date(), QTime(0, 0))
                                                    : now.addDays(-lastCopyDaysAgo);
        OffsiteSettings::recordCopy(last);
        QFile database(install.databasePath());
        QVERIFY(database.open(QIODevice::ReadWrite));
        QVERIFY(database.setFileTime(changedSince ? now : last.addSecs(-60),
                                     QFileDevice::FileModificationTime));
    }
    QList<std::optional<QString>> given;
    for (const QString& answer : answers) {
        given.append(answer.isEmpty() ? std::nullopt : std::optional<QString>(answer));
    }
    PromptAnswers prompt(given);
    const bool failed = !written && asked > 0 && !answers.contains(QString());
    if (failed) {
        boxes.expect(Riri::vbOK);
    }
    if (folderAbsent) {
        QVERIFY(QDir().rename(folder, folder + QStringLiteral(".away")));
        QVERIFY(!OffsiteCommands::writeDueCopyAtEnd());
        QVERIFY(QDir().rename(folder + QStringLiteral(".away"), folder));
    }
    QCOMPARE(OffsiteCommands::writeDueCopyAtEnd(), written);
    QCOMPARE(OffsiteCopies::list(folder).size(), before + (written ? 1 : 0));
    QCOMPARE(prompt.asked(), asked);
    QCOMPARE(boxes.count(), failed ? 1 : 0);
    QCOMPARE(savedValue(QStringLiteral("State/LastFailed")).toBool(),
             failed && boxes.last().prompt.contains(QStringLiteral("does not open")));
    if (written) {
        // The same day again: never twice.
        QVERIFY(install.exec(QStringLiteral("INSERT INTO tblItems (ItemID) VALUES ('late')")));
        QVERIFY(!OffsiteCommands::writeDueCopyAtEnd());
    }
}

void tst_OffsiteProgram::notice_data() {
    QTest::addColumn<int>("lastCopyDaysAgo");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("notice");
    QTest::newRow("recent copy") << 1 << ""
                                 << "";
    QTest::newRow("old copy") << 5 << ""
                              << "The newest off-site copy is 5 days old.";
    QTest::newRow("failed") << 1 << "The disk is full."
                            << "The last off-site copy could not be written: The disk is full.";
}

void tst_OffsiteProgram::notice() {
    QFETCH(int, lastCopyDaysAgo);
    QFETCH(QString, failure);
    QFETCH(QString, notice);
    TestInstall install;
    MemoryKeyring keyring;
    MsgResponder boxes;
    QTemporaryDir away;
    configure(away.path(), true);
    keyring.secrets().insert(keyOfCopies(), kPassphrase);
    OffsiteSettings::recordCopy(QDateTime::currentDateTime().addDays(-lastCopyDaysAgo));
    if (!failure.isEmpty()) {
        OffsiteSettings::recordFailure(QDateTime::currentDateTime(), failure);
    }
    frmMain window;
    window.show();
    if (notice.isEmpty()) {
        QVERIFY(window.offsiteNotice() == nullptr);
        return;
    }
    QVERIFY(window.offsiteNotice() != nullptr && window.offsiteNotice()->isVisible());
    QCOMPARE(window.offsiteNotice()->lblNotice->text(), notice);
    grab(window, QStringLiteral("offsite-notice-%1.png")
                     .arg(QTest::currentDataTag())
                     .replace(QLatin1Char(' '), QLatin1Char('-')));
    boxes.expect(Riri::vbOK);
    QTest::mouseClick(window.offsiteNotice()->cmdWriteNow, Qt::LeftButton);
    QVERIFY(!window.offsiteNotice()->isVisible());
    QCOMPARE(OffsiteCopies::list(away.path()).size(), 1);
    QVERIFY(!savedValue(QStringLiteral("State/LastFailed")).toBool());
}

void tst_OffsiteProgram::restoreEncrypted_data() {
    QTest::addColumn<std::optional<QString>>("given");
    QTest::addColumn<bool>("restored");
    QTest::newRow("right passphrase") << std::optional<QString>(kPassphrase) << true;
    QTest::newRow("wrong passphrase")
        << std::optional<QString>(QStringLiteral("wrong one!!!!")) << false;
    QTest::newRow("prompt cancelled") << std::optional<QString>() << false;
}

void tst_OffsiteProgram::restoreEncrypted() {
    QFETCH(std::optional<QString>, given);
    QFETCH(bool, restored);
    TestInstall install;
    MsgResponder boxes;
    QTemporaryDir away;
    QVERIFY(numberedItems(install, 1, 20));
    const QStringList full = inventoryRows(install);
    const QString copy = writeTestCopy(away.path(), kPassphrase);
    QVERIFY(install.exec(QStringLiteral("DELETE FROM tblItems WHERE ID > 5")));
    const QStringList before = inventoryRows(install);
    PromptAnswers prompt({given});
    if (restored) {
        boxes.expect(Riri::vbYes);
        boxes.expect(Riri::vbOK);
    } else if (given) {
        boxes.expect(Riri::vbOK);
    }
    QCOMPARE(VerifiedRestore::restoreFrom(copy, VerifiedRestore::Confirm::Ask), restored);
    QCOMPARE(prompt.asked(), 1);
    QCOMPARE(inventoryRows(install), restored ? full : before);
    if (given && !restored) {
        QCOMPARE(boxes.last().prompt,
                 QStringLiteral("The passphrase is wrong or the copy was changed."));
    }
}

void tst_OffsiteProgram::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("configured");
    QTest::addColumn<QString>("kept"); // the keyring's passphrase
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("copies");
    const QStringList offsite{QStringLiteral("Tallimer"), QStringLiteral("--offsite")};
    const QStringList restore{QStringLiteral("Tallimer"), QStringLiteral("--restore"),
                              QStringLiteral("COPY")};
    QTest::newRow("--offsite, no folder") << offsite << false << kPassphrase << 1 << 5 << 1;
    QTest::newRow("--offsite, no passphrase") << offsite << true << "" << 1 << 5 << 1;
    QTest::newRow("--offsite") << offsite << true << kPassphrase << 0 << 5 << 2;
    QTest::newRow("--restore") << restore << false << kPassphrase << 0 << 20 << 1;
    QTest::newRow("--restore, wrong passphrase")
        << restore << false << QStringLiteral("not the passphrase") << 1 << 5 << 1;
}

void tst_OffsiteProgram::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, configured);
    QFETCH(QString, kept);
    QFETCH(int, status);
    QFETCH(int, items);
    QFETCH(int, copies);
    TestInstall install;
    MemoryKeyring keyring;
    QTemporaryDir away;
    QVERIFY(numberedItems(install, 1, 20));
    const QString copy =
        writeTestCopy(away.path(), kPassphrase, 7, QDateTime(QDate(2026, 1, 1), QTime(0, 0)));
    QVERIFY(install.exec(QStringLiteral("DELETE FROM tblItems WHERE ID > 5")));
    if (configured) {
        configure(away.path(), true);
    }
    if (!kept.isEmpty()) {
        keyring.secrets().insert(keyOfCopies(), kept);
    }
    arguments.replaceInStrings(QStringLiteral("COPY"), copy);
    // Standard input gives no passphrase either.
    QVERIFY(std::freopen("/dev/null", "r", stdin) != nullptr);
    QCOMPARE(CommandLine::run(arguments), status);
    QCOMPARE(install.scalar(QStringLiteral("SELECT count(*) FROM tblItems")).toInt(), items);
    QCOMPARE(OffsiteCopies::list(away.path()).size(), copies);
}

QTEST_MAIN(tst_OffsiteProgram)
#include "tst_offsiteprogram.moc"
