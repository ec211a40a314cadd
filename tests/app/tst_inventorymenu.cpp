// The Utils menu's backup, restore, export and import commands, driven
// through the real main window with the file dialogs and message boxes
// answered by the test.

#include "AppInfo.h"
#include "EvidenceTesting.h"
#include "StartupTesting.h"
#include "TestSupport.h"
#include "frmMain.h"
#include "items/ItemListView.h"
#include "items/frmEditItem.h"
#include "platform/FileDialogSeam.h"
#include "shared/InventoryNotice.h"
#include "startup/StartupCheck.h"
#include "utils/InventoryCommands.h"
#include "utils/frmAutoCopies.h"
#include "utils/frmImportProblems.h"

#include <Riri/AutoBackups.h>
#include <Riri/BackupArchive.h>
#include <Riri/EvidenceStore.h>
#include <Riri/InventoryCheck.h>
#include <Riri/InventoryCopy.h>
#include <Riri/MsgBox.h>
#include <Riri/WriteGate.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

void shoot(QWidget& window, const QString& name) {
    const QString folder = qEnvironmentVariable("QUORVANE_SHOTS");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        window.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
}

// Answers the next save or open dialog with a path and keeps what it was asked.
struct Dialogs {
    QString answer;
    QString caption;
    QString proposed;
    Dialogs() {
        FileDialogSeam::setSaveFileHandler(
            [this](QWidget*, const QString& c, const QString& suggested, const QString&) {
                caption = c;
                proposed = suggested;
                return answer;
            });
        FileDialogSeam::setOpenFileHandler(
            [this](QWidget*, const QString& c, const QString& folder, const QString&) {
                caption = c;
                proposed = folder;
                return answer;
            });
    }
    ~Dialogs() {
        FileDialogSeam::setSaveFileHandler(nullptr);
        FileDialogSeam::setOpenFileHandler(nullptr);
    }
};

void trigger(frmMain& main, const char* name) {
    main.findChild<QAction*>(QLatin1String(name))->trigger();
}

} // namespace

class tst_inventorymenu : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void dialogsStartInTheLastFolderOfTheirKind_data();
    void dialogsStartInTheLastFolderOfTheirKind();
    void backUpThroughTheMenu();
    void restoreRefusesAFileThatIsNoInventory();
    void restoreAsksAndRereadsTheOpenWindows();
    void exportAndImportThroughTheMenu();
    void importAsksOnceBeforeStoring_data();
    void importAsksOnceBeforeStoring();
    void importShowsEveryBadRowInACopyableWindow();
    void damagedInventoryAtStartUp_data();
    void damagedInventoryAtStartUp();
    void soundStartSweepsTheEvidenceStore_data();
    void soundStartSweepsTheEvidenceStore();
    void restoreAutomaticCopyWindow();
};

void tst_inventorymenu::initTestCase() {
    // The dialogs' folders are remembered in a throw-away settings folder.
    QStandardPaths::setTestModeEnabled(true);
}

void tst_inventorymenu::dialogsStartInTheLastFolderOfTheirKind_data() {
    QTest::addColumn<QString>("first");   // the command whose dialog is answered
    QTest::addColumn<QString>("answer");  // a file name in a folder of the test's
    QTest::addColumn<QString>("second");  // the command whose dialog is looked at
    QTest::addColumn<QString>("other");   // a command of the other kind
    QTest::addColumn<bool>("folderKept"); // the folder is still there
    QTest::newRow("backup, then restore") << "mnuUtilsBackup"
                                          << "copy.inv"
                                          << "mnuUtilsRestore"
                                          << "mnuUtilsImportCsv" << true;
    QTest::newRow("export, then import") << "mnuUtilsExportCsv"
                                         << "items.csv"
                                         << "mnuUtilsImportCsv"
                                         << "mnuUtilsRestore" << true;
    QTest::newRow("export, then export") << "mnuUtilsExportCsv"
                                         << "items.csv"
                                         << "mnuUtilsExportCsv"
                                         << "mnuUtilsBackup" << true;
    QTest::newRow("folder removed since") << "mnuUtilsBackup"
                                          << "copy.inv"
                                          << "mnuUtilsBackup"
                                          << "mnuUtilsExportCsv" << false;
}

void tst_inventorymenu::dialogsStartInTheLastFolderOfTheirKind() {
    QFETCH(QString, first);
    QFETCH(QString, answer);
    QFETCH(QString, second);
    QFETCH(QString, other);
    QFETCH(bool, folderKept);
    QSettings(QStringLiteral("Quorvane"), QStringLiteral("Tallimer")).clear();
    TestInstall install;
    QVERIFY(numberedItems(install, 1, 2));
    MsgResponder boxes;
    Dialogs dialogs;
    frmMain main;
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(documents).isDir()) {
        documents = QDir::homePath();
    }
    const auto folderOf = [&](const QString& proposed) {
        return QFileInfo(proposed).isDir() ? proposed : QFileInfo(proposed).absolutePath();
    };
    // Nothing chosen yet: the documents folder, never the program's.
    dialogs.answer.clear();
    trigger(main, qPrintable(first));
    QCOMPARE(folderOf(dialogs.proposed), documents);

    auto out = std::make_unique<QTemporaryDir>();
    dialogs.answer = out->filePath(answer);
    boxes.expect(Riri::vbOK);
    trigger(main, qPrintable(first));
    QCOMPARE(boxes.count(), 1);
    if (!folderKept) {
        out.reset();
    }
    dialogs.answer.clear(); // cancelled: nothing happens
    trigger(main, qPrintable(second));
    QCOMPARE(folderOf(dialogs.proposed), folderKept ? out->path() : documents);
    trigger(main, qPrintable(other));
    QCOMPARE(folderOf(dialogs.proposed), documents);
    QCOMPARE(boxes.count(), 1);
}

void tst_inventorymenu::backUpThroughTheMenu() {
    TestInstall install;
    QVERIFY(numberedItems(install, 1, 12));
    MsgResponder boxes;
    Dialogs dialogs;
    frmMain main;
    QTemporaryDir out;
    dialogs.answer = out.filePath("my backup.zip");
    boxes.expect(Riri::vbOK);
    trigger(main, "mnuUtilsBackup");
    QCOMPARE(dialogs.caption, QString("Back Up Inventory"));
    QVERIFY2(dialogs.proposed.endsWith("/Quorvane-backup-" +
                                       QDate::currentDate().toString("yyyy-MM-dd") + ".zip"),
             qPrintable(dialogs.proposed));
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.last().icon(), int(Riri::vbInformation));
    QCOMPARE(boxes.last().title, AppInfo::Title);
    QVERIFY(boxes.last().prompt.contains(dialogs.answer));
    QVERIFY(boxes.last().prompt.contains("12 items and 0 evidence files"));
    QVERIFY(Riri::BackupArchive::isArchive(dialogs.answer));
    QVERIFY(QApplication::overrideCursor() == nullptr);

    // A folder that is not there: nothing is made and the user is told why.
    dialogs.answer = out.filePath("gone/backup.inv");
    boxes.expect(Riri::vbOK);
    trigger(main, "mnuUtilsBackup");
    QCOMPARE(boxes.last().icon(), int(Riri::vbCritical));
    QVERIFY(boxes.last().prompt.startsWith("The inventory was NOT backed up."));
    QVERIFY(!QFile::exists(dialogs.answer));

    // Cancelled: nothing happens.
    dialogs.answer.clear();
    trigger(main, "mnuUtilsBackup");
    QCOMPARE(boxes.count(), 2);
}

void tst_inventorymenu::restoreRefusesAFileThatIsNoInventory() {
    TestInstall install;
    QVERIFY(numberedItems(install, 1, 3));
    MsgResponder boxes;
    Dialogs dialogs;
    frmMain main;
    QTemporaryDir out;
    dialogs.answer = out.filePath("photo.inv");
    QFile photo(dialogs.answer);
    QVERIFY(photo.open(QIODevice::WriteOnly));
    photo.write(QByteArray(5000, '\x89'));
    photo.close();
    const QByteArray before = fileBytes(install.databasePath());
    boxes.expect(Riri::vbOK);
    trigger(main, "mnuUtilsRestore");
    QCOMPARE(dialogs.caption, QString("Restore Inventory"));
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.last().icon(), int(Riri::vbCritical));
    QVERIFY2(boxes.last().prompt.contains("it is not an inventory backup") &&
                 boxes.last().prompt.contains("file is not a database"),
             qPrintable(boxes.last().prompt));
    QCOMPARE(fileBytes(install.databasePath()), before);
}

void tst_inventorymenu::restoreAsksAndRereadsTheOpenWindows() {
    TestInstall install;
    QVERIFY(numberedItems(install, 1, 4));
    MsgResponder boxes;
    Dialogs dialogs;
    frmMain main;
    main.show();
    QTemporaryDir out;
    dialogs.answer = out.filePath("four.inv");
    boxes.expect(Riri::vbOK);
    trigger(main, "mnuUtilsBackup");
    QVERIFY(numberedItems(install, 5, 9));

    frmEditItem* edit = main.showChild<frmEditItem>();
    QCOMPARE(edit->lvItems->model()->rowCount(), 9);

    // No (the default): nothing changes.
    boxes.expect(Riri::vbNo);
    trigger(main, "mnuUtilsRestore");
    const ShownBox question = boxes.last();
    QCOMPARE(question.icon(), int(Riri::vbQuestion));
    QCOMPARE(question.buttons(), int(Riri::vbYesNo));
    QCOMPARE(question.defaultButton(), int(Riri::vbDefaultButton2));
    QVERIFY2(question.prompt.contains("The current inventory holds 9 items.") &&
                 question.prompt.contains("The backup holds 4 items; its newest change: "),
             qPrintable(question.prompt));
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 9);

    // Yes: a safety copy, the backup's content, and the open list re-read.
    boxes.expect(Riri::vbYes);
    boxes.expect(Riri::vbOK);
    trigger(main, "mnuUtilsRestore");
    QCOMPARE(boxes.last().icon(), int(Riri::vbInformation));
    QVERIFY(boxes.last().prompt.contains("It holds 4 items and 0 evidence files."));
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 4);
    const QStringList copies = QDir(Riri::AutoBackups::folder()).entryList(QDir::Files);
    QCOMPARE(copies.size(), 1);
    QCOMPARE(
        Riri::InventoryCheck::inspect(Riri::AutoBackups::folder() + "/" + copies.first()).items, 9);
    QCoreApplication::processEvents();
    frmEditItem* reopened = nullptr;
    for (QMdiSubWindow* sub : main.mdiArea()->subWindowList()) {
        if (auto* window = qobject_cast<frmEditItem*>(sub->widget())) {
            reopened = window;
        }
    }
    QVERIFY(reopened != nullptr);
    QCOMPARE(reopened->lvItems->model()->rowCount(), 4);
    QCOMPARE(boxes.pending(), 0);
}

void tst_inventorymenu::exportAndImportThroughTheMenu() {
    TestInstall install;
    QVERIFY(numberedItems(install, 1, 5));
    MsgResponder boxes;
    Dialogs dialogs;
    frmMain main;
    QTemporaryDir out;
    dialogs.answer = out.filePath("items.csv");
    boxes.expect(Riri::vbOK);
    trigger(main, "mnuUtilsExportCsv");
    QVERIFY(dialogs.proposed.endsWith(".csv"));
    QVERIFY2(boxes.last().prompt.startsWith("5 items were exported to"),
             qPrintable(boxes.last().prompt));
    QVERIFY(fileBytes(dialogs.answer).startsWith("\xEF\xBB\xBFItem ID,Item Name,"));

    // The program's own export comes back unchanged; No stores nothing.
    boxes.expect(Riri::vbNo);
    trigger(main, "mnuUtilsImportCsv");
    QCOMPARE(dialogs.caption, QString("Import Items from CSV"));
    QCOMPARE(boxes.last().prompt, QString("0 new items, 0 changed items, 5 unchanged rows. "
                                          "Import them?"));
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 5);
}

void tst_inventorymenu::importAsksOnceBeforeStoring_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("items");
    const QByteArray mixed = "Item ID,Item Name,Room\r\n,Rug,Den\r\nA-1,Lamp,Den\r\n"
                             "A-2,Item 2,Den\r\nZ-7,Vase,Attic\r\n";
    const QStringList unchanged{"A-1|Item 1", "A-2|Item 2"};
    QTest::newRow("yes stores") << mixed << int(Riri::vbYes)
                                << "2 new items, 1 changed item, 1 unchanged row. Import them?"
                                << QStringList{"A-1|Lamp", "A-2|Item 2", "A-3|Rug", "A-4|Vase"};
    QTest::newRow("no stores nothing")
        << mixed << int(Riri::vbNo) << "2 new items, 1 changed item, 1 unchanged row. Import them?"
        << unchanged;
    QTest::newRow("singular and plural")
        << QByteArray("Item Name,Room\r\nRug,Den\r\n") << int(Riri::vbYes)
        << "1 new item, 0 changed items, 0 unchanged rows. Import them?"
        << QStringList{"A-1|Item 1", "A-2|Item 2", "A-3|Rug"};
}

void tst_inventorymenu::importAsksOnceBeforeStoring() {
    QFETCH(QByteArray, csv);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(QStringList, items);
    TestInstall install;
    QVERIFY(numberedItems(install, 1, 2));
    MsgResponder boxes;
    Dialogs dialogs;
    frmMain main;
    QTemporaryDir out;
    dialogs.answer = out.filePath("items.csv");
    QFile file(dialogs.answer);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(csv);
    file.close();
    boxes.expect(answer);
    if (answer == Riri::vbYes) {
        boxes.expect(Riri::vbOK);
    }
    trigger(main, "mnuUtilsImportCsv");
    QCOMPARE(boxes.shown().first().prompt, question);
    QCOMPARE(boxes.shown().first().flags,
             Riri::vbQuestion | Riri::vbYesNo | Riri::vbDefaultButton2);
    QCOMPARE(boxes.count(), answer == Riri::vbYes ? 2 : 1);
    QStringList stored;
    for (const QVariantList& row :
         install.query("SELECT ItemID || '|' || ItemName FROM tblItems ORDER BY ID")) {
        stored.append(row.first().toString());
    }
    QCOMPARE(stored, items);
    // The automatic copy is made only when something is stored.
    QCOMPARE(QDir(Riri::AutoBackups::folder()).entryList(QDir::Files).size(),
             answer == Riri::vbYes ? 1 : 0);
}

void tst_inventorymenu::importShowsEveryBadRowInACopyableWindow() {
    TestInstall install;
    MsgResponder boxes;
    Dialogs dialogs;
    frmMain main;
    main.show();
    QTemporaryDir out;
    dialogs.answer = out.filePath("bad.csv");
    QFile csv(dialogs.answer);
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write("Item Name,Room,Original Cost,Colour\r\nLamp,Den,1.50,red\r\n,Den,,\r\n"
              "Sofa,Lounge,12abc,green\r\n");
    csv.close();
    trigger(main, "mnuUtilsImportCsv");
    QCOMPARE(boxes.count(), 0);
    auto* window = qobject_cast<frmImportProblems*>([] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<frmImportProblems*>(w) != nullptr && w->isVisible()) {
                return w;
            }
        }
        return static_cast<QWidget*>(nullptr);
    }());
    QVERIFY(window != nullptr);
    QVERIFY(!window->isModal());
    QCOMPARE(window->txtProblems->toPlainText(),
             QString("Line 3: Item Name is missing.\n"
                     "Line 4: Room \"Lounge\" is not one of the 35 rooms; Original Cost \"12abc\" "
                     "is not an amount like 1234.50.\n"
                     "Columns ignored: Colour"));
    QVERIFY(window->txtProblems->isReadOnly());
    QTest::mouseClick(window->cmdCopy, Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), window->txtProblems->toPlainText());
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 0);
    shoot(*window, "frmImportProblems");
    QTest::mouseClick(window->cmdClose, Qt::LeftButton);
}

void tst_inventorymenu::damagedInventoryAtStartUp_data() {
    using Choice = frmDamagedInventory::Choice;
    QTest::addColumn<bool>("automaticCopy");
    QTest::addColumn<QList<int>>("choices"); // frmDamagedInventory::Choice
    QTest::addColumn<QString>("backupFile"); // what the file dialog answers
    QTest::addColumn<bool>("goesOn");
    QTest::newRow("no copy: quit") << false << QList<int>{int(Choice::Quit)} << "" << false;
    QTest::newRow("the newest copy")
        << true << QList<int>{int(Choice::RestoreNewest)} << "" << true;
    QTest::newRow("a backup file")
        << false << QList<int>{int(Choice::ChooseBackup)} << "backup.inv" << true;
    QTest::newRow("file dialog cancelled, then quit")
        << true << QList<int>{int(Choice::ChooseBackup), int(Choice::Quit)} << "" << false;
}

// A damaged inventory at start: one plain sentence, the check's text behind
// the details and in error.log, the three ways out; nothing is written to
// the file unless a sound copy replaces it.
void tst_inventorymenu::damagedInventoryAtStartUp() {
    using Choice = frmDamagedInventory::Choice;
    QFETCH(bool, automaticCopy);
    QFETCH(QList<int>, choices);
    QFETCH(QString, backupFile);
    QFETCH(bool, goesOn);
    TestInstall install;
    QVERIFY(numberedItems(install, 1, 3000));
    QTemporaryDir out;
    QVERIFY(Riri::InventoryCopy::backUp(out.filePath("backup.inv")).ok);
    if (automaticCopy) {
        QVERIFY(checkInventoryAtStartup()); // a sound start makes the first daily copy
    }
    QFile file(install.databasePath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(file.size() / 2);
    file.write(QByteArray(8192, '\x33'));
    file.close();
    const QByteArray damaged = fileBytes(install.databasePath());

    MsgResponder boxes;
    DamagedResponder window;
    Dialogs dialogs;
    dialogs.answer = backupFile.isEmpty() ? QString() : out.filePath(backupFile);
    for (const int choice : choices) {
        window.expect(static_cast<Choice>(choice));
    }
    if (goesOn) {
        boxes.expect(Riri::vbOK); // the restore's outcome
    }
    QCOMPARE(checkInventoryAtStartup(), goesOn);

    QCOMPARE(window.shown().size(), choices.size());
    const frmDamagedInventory::Prompt prompt = window.shown().first();
    QCOMPARE(prompt.text, frmDamagedInventory::message(install.databasePath()));
    QVERIFY(!prompt.details.isEmpty());
    QVERIFY(!prompt.text.contains(prompt.details));
    QVERIFY2(install.logLines().join('\n').contains(prompt.details),
             qPrintable(install.logLines().join('\n')));
    QCOMPARE(prompt.newestCopy.isValid(), automaticCopy);
    QCOMPARE(boxes.pending(), 0);
    if (goesOn) {
        QVERIFY(boxes.last().prompt.contains("It holds 3000 items."));
        QCOMPARE(install.scalar("PRAGMA integrity_check").toString(), QString("ok"));
        QCOMPARE(Riri::WriteGate::state(), Riri::WriteGate::State::Open);
    } else {
        QCOMPARE(fileBytes(install.databasePath()), damaged);
        QCOMPARE(Riri::WriteGate::state(), Riri::WriteGate::State::Damaged);
    }
}

// A sound start removes the evidence files nothing names any more, once.
void tst_inventorymenu::soundStartSweepsTheEvidenceStore_data() {
    QTest::addColumn<bool>("onWorker");
    QTest::newRow("checked on this thread") << false;
    QTest::newRow("checked on the start-up worker") << true;
}

void tst_inventorymenu::soundStartSweepsTheEvidenceStore() {
    TestInstall install;
    QVERIFY(numberedItems(install, 1, 1));
    const QList<qint64> ids = EvidenceTesting::attach(install, "A-1", {"gone", "kept"});
    QCOMPARE(ids.size(), 2);
    QVERIFY(EvidenceTesting::removeForGood(install, ids[0]));
    QFile gone(EvidenceTesting::storedPath(install, "gone"));
    QVERIFY(gone.open(QIODevice::ReadOnly) &&
            gone.setFileTime(QDateTime::currentDateTime().addDays(-1),
                             QFileDevice::FileModificationTime));
    gone.close();
    QFETCH(bool, onWorker);
    if (onWorker) {
        // The verdict comes first; the task is gone only once the sweep is done.
        StartupCheckTask task;
        const Riri::InventoryCheck check = task.result();
        QVERIFY(check.ok && answerStartupCheck(check));
    } else {
        QVERIFY(checkInventoryAtStartup());
    }
    QCOMPARE(EvidenceTesting::storedFiles(install), QStringList{EvidenceTesting::sha256("kept")});
}

// Utils, "Restore Automatic Copy...": the copies newest first with their
// kind, items and value; Restore asks, puts the chosen one back and tells
// the open windows.
void tst_inventorymenu::restoreAutomaticCopyWindow() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TestInstall install;
    QVERIFY(numberedItems(install, 1, 3));
    QVERIFY(install.exec("UPDATE tblItems SET CurValue = 1.25"));
    QVERIFY(!Riri::AutoBackups::make(Riri::AutoBackups::Kind::Daily).isEmpty());
    QTest::qWait(5); // the copies' names carry the millisecond they were made
    QVERIFY(numberedItems(install, 4, 5));
    QVERIFY(install.exec("UPDATE tblItems SET CurValue = 100000.1"));
    QVERIFY(!Riri::AutoBackups::make(Riri::AutoBackups::Kind::BeforeImport).isEmpty());
    QVERIFY(numberedItems(install, 6, 8));

    MsgResponder boxes;
    frmMain main;
    QAction* command = main.findChild<QAction*>("mnuUtilsRestoreAuto");
    QVERIFY(command != nullptr);
    command->trigger();
    auto* window = main.findChild<frmAutoCopies*>();
    QVERIFY(window != nullptr);
    const auto row = [window](int r) {
        QStringList texts;
        for (int c = 1; c < 4; ++c) {
            texts << window->lvCopies->topLevelItem(r)->text(c);
        }
        return texts;
    };
    QCOMPARE(window->lvCopies->topLevelItemCount(), 2);
    QCOMPARE(row(0), (QStringList{"Before import", "5", "500,000.50"}));
    QCOMPARE(row(1), (QStringList{"Daily", "3", "3.75"}));

    QSignalSpy notices(&InventoryNotice::instance(), &InventoryNotice::inventoryChanged);
    window->lvCopies->setCurrentItem(window->lvCopies->topLevelItem(1));
    boxes.expect(Riri::vbNo);
    QTest::mouseClick(window->cmdRestore, Qt::LeftButton);
    QCOMPARE(boxes.last().defaultButton(), int(Riri::vbDefaultButton2));
    QVERIFY(boxes.last().prompt.startsWith("Replace the current inventory with the backup?"));
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 8);
    QCOMPARE(notices.size(), 0);

    boxes.expect(Riri::vbYes);
    boxes.expect(Riri::vbOK);
    QTest::mouseClick(window->cmdRestore, Qt::LeftButton);
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 3);
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices.first().first().value<InventoryChange>(), InventoryChange::Everything);
    // The copy the restore made of the eight items heads the list now.
    QCOMPARE(window->lvCopies->topLevelItemCount(), 3);
    QCOMPARE(row(0).mid(0, 2), (QStringList{"Before restore", "8"}));
    QCOMPARE(boxes.pending(), 0);
    window->close();
    QLocale::setDefault(QLocale::system());
}

QTEST_MAIN(tst_inventorymenu)
#include "tst_inventorymenu.moc"
