#include "AppInfo.h"
#include "ScopedEnv.h"
#include "TestSupport.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "platform/HelpViewer.h"
#include "shared/modGlobal.h"

#include <Riri/ErrorLog.h>
#include <Riri/MsgBox.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QHelpSearchEngine>
#include <QHelpSearchResult>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <csignal>
#include <sqlite3.h>
#include <sys/types.h>

// Child windows as the item windows are made: a fixed size, and one closes
// itself from a button of its own.
class SampleChild : public QWidget {
    Q_OBJECT
public:
    explicit SampleChild(QWidget* parent = nullptr) : QWidget(parent) {
        setFixedSize(300, 200);
        auto* close = new QPushButton(QStringLiteral("Close"), this);
        close->setObjectName(QStringLiteral("cmdExit"));
        connect(close, &QPushButton::clicked, this, &QWidget::close);
        ++loads;
    }
    static int loads;
};
int SampleChild::loads = 0;

class OtherChild : public QWidget {
    Q_OBJECT
public:
    explicit OtherChild(QWidget* parent = nullptr) : QWidget(parent) { setFixedSize(250, 150); }
};

namespace {

struct MenuEntry {
    QString name;
    QString caption; // "-" for a separator
    bool visible;
    bool enabled;
};

QList<MenuEntry> entriesOf(QMenu* menu) {
    QList<MenuEntry> entries;
    for (QAction* action : menu->actions()) {
        entries.append(MenuEntry{action->objectName(),
                                 action->isSeparator() ? QStringLiteral("-") : action->text(),
                                 action->isVisible(), action->isEnabled()});
    }
    return entries;
}

QAction* command(frmMain& main, const char* name) {
    return main.findChild<QAction*>(QLatin1String(name));
}

const char* kItemRow =
    "INSERT INTO tblItems (ItemID, ItemName, RoomName) VALUES ('A-1', 'Lamp', 'Den');";

} // namespace

class tst_frmmain : public QObject {
    Q_OBJECT
private slots:
    void captionSizeAndComponent();
    void menuTree();
    void recordChecksOnEmptyTables();
    void recordChecksWithRecords();
    void recordCheckWithoutComponent();
    void recordCheckOnALockedDatabase();
    void oneInstanceOfEachChild();
    void windowArrangements();
    void checkForUpdatesStartsTheBrowser();
    void helpOpensContentsIndexAndSearch();
    void aboutIsModal();
};

void tst_frmmain::captionSizeAndComponent() {
    TestInstall install;
    objHome.reset();
    frmMain main;
    QCOMPARE(mainForm(), &main);
    QCOMPARE(main.windowTitle(), QStringLiteral("Quorvane  -  2.0"));
    QVERIFY(objHome != nullptr);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    // The area below the menu bar is at least 12075 by 8160 twips: 805 by 544
    // pixels at 96 DPI (it grows to hold the largest child window).
    const QSize inner = main.mdiArea()->size();
    QVERIFY2(inner.width() >= 804 && inner.height() >= 543,
             qPrintable(QStringLiteral("%1x%2").arg(inner.width()).arg(inner.height())));
}

void tst_frmmain::menuTree() {
    TestInstall install;
    frmMain main;
    const QList<QAction*> menus = main.menuBar()->actions();
    const QStringList menuNames = {QStringLiteral("mnuAdd"),     QStringLiteral("mnuEdit"),
                                   QStringLiteral("mnuReports"), QStringLiteral("mnuUtils"),
                                   QStringLiteral("mnuWindow"),  QStringLiteral("mnuHelp")};
    const QStringList menuCaptions = {QStringLiteral("&Add"),     QStringLiteral("&Edit"),
                                      QStringLiteral("&Reports"), QStringLiteral("&Utils"),
                                      QStringLiteral("&Window"),  QStringLiteral("&Help")};
    QCOMPARE(menus.size(), menuNames.size());
    const QList<QList<MenuEntry>> expected = {
        {{"mnuAddNewItem", "Add New Item", true, true},
         {"A0", "-", true, true},
         {"mnuAddExit", "e&Xit", true, true},
         {"mnuAddOwner", "Add Owner", false, false}},
        {{"mnuEditItem", "Edit Item", true, true},
         {"E0", "-", false, true},
         {"mnuEditHome", "Edit Riri Information", false, false},
         {"E1", "-", true, true},
         {"mnuEditFindItems", "Find Items", true, true},
         {"E2", "-", true, true},
         {"mnuEditItemEvidence", "Item Evidence...", true, true},
         {"mnuEditItemHistory", "Item History...", true, true}},
        {{"mnuTotalInventory", "Total Dedi Rividizar", true, true},
         {"R0", "-", true, true},
         {"mnuInventoryByRoom", "Inventory By Room", true, true},
         {"R1", "-", true, true},
         {"mnuValuationSummary", "Valuation Summary", true, true},
         {"R2", "-", true, true},
         {"mnuInventoryPhotos", "Inventory with Photos", true, true}},
        {{"mnuUtilsDeleteItems", "Delete Items", true, true},
         {"U0", "-", true, true},
         {"mnuUtilsOwner", "Owner Information", true, true},
         {"U1", "-", true, true},
         {"mnuUtilsBackup", "Back Up Inventory...", true, true},
         {"mnuUtilsRestore", "Restore Inventory...", true, true},
         {"mnuUtilsRestoreAuto", "Restore Automatic Copy...", true, true},
         {"mnuUtilsExportCsv", "Export Items to CSV...", true, true},
         {"mnuUtilsImportCsv", "Import Items from CSV...", true, true},
         {"U2", "-", true, true},
         {"mnuUtilsOffsite", "Off-site Copies...", true, true},
         {"mnuUtilsDeletedItems", "Deleted Items...", true, true},
         {"mnuUtilsCleanUpHistory", "Clean Up History...", true, true},
         {"mnuUtilsClaims", "Claims...", true, true}},
        {{"mnuWindowCascade", "Cascade", true, true},
         {"W0", "-", true, true},
         {"MnuWindowH", "TileHorizontally", true, true},
         {"W1", "-", true, true},
         {"mnuWindowV", "TileVertically", true, true},
         {"W2", "-", true, true},
         {"mnuWindowArrangeIcons", "Arrange Icons", true, true}},
        {{"mnuShowHelp", "Quorvane help", true, true},
         {"H0", "-", true, true},
         {"mnuHelpCheckUpdates", "Check For Updates", true, true},
         {"H2", "-", true, true},
         {"mnuHelpAbout", "About Quorvane", true, true}},
    };
    for (int m = 0; m < menus.size(); ++m) {
        QMenu* menu = menus[m]->menu();
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->objectName(), menuNames[m]);
        QCOMPARE(menus[m]->text(), menuCaptions[m]);
        const QList<MenuEntry> entries = entriesOf(menu);
        QCOMPARE(entries.size(), expected[m].size());
        for (int i = 0; i < entries.size(); ++i) {
            const MenuEntry& want = expected[m][i];
            const MenuEntry& got = entries[i];
            QCOMPARE(got.name, want.name);
            QCOMPARE(got.caption, want.caption);
            QCOMPARE(got.visible, want.visible);
            // A hidden action also reads as disabled; whether it was created
            // disabled shows once it is made visible.
            QAction* action = menu->actions()[i];
            if (!action->isVisible()) {
                action->setVisible(true);
                QVERIFY2(action->isEnabled() == want.enabled, qPrintable(got.name));
                action->setVisible(false);
            } else {
                QVERIFY2(got.enabled == want.enabled, qPrintable(got.name));
            }
            // Plain commands: no shortcut keys, but Ctrl+F for Find Items and
            // Ctrl+E for Item Evidence.
            const QKeySequence keys = got.name == QLatin1String("mnuEditFindItems")
                                          ? QKeySequence(Qt::CTRL | Qt::Key_F)
                                      : got.name == QLatin1String("mnuEditItemEvidence")
                                          ? QKeySequence(Qt::CTRL | Qt::Key_E)
                                          : QKeySequence();
            QCOMPARE(menu->actions()[i]->shortcut(), keys);
        }
    }
}

void tst_frmmain::recordChecksOnEmptyTables() {
    TestInstall install;
    frmMain main;
    main.show();
    MsgResponder boxes;
    const struct {
        const char* command;
        QString message;
    } checks[] = {
        {"mnuEditItem", QStringLiteral("No Item records were found to edit! ")},
        {"mnuEditHome", QStringLiteral("No Owner record was found to edit! ")},
        {"mnuUtilsDeleteItems", QStringLiteral("No Item records were found to delete! ")},
        {"mnuTotalInventory", QStringLiteral("No Item records were found! ")},
        {"mnuInventoryByRoom", QStringLiteral("No Item records were found! ")},
    };
    for (const auto& check : checks) {
        boxes.clear();
        boxes.expect(Riri::vbOK);
        // The hidden owner command is reached directly, as its handler.
        if (QByteArray(check.command) == "mnuEditHome") {
            main.mnuEditHome_Click();
        } else {
            command(main, check.command)->trigger();
        }
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().prompt, check.message);
        QCOMPARE(boxes.last().title, QStringLiteral("Quorvane"));
        QCOMPARE(boxes.last().icon(), int(Riri::vbExclamation));
        QCOMPARE(boxes.last().buttons(), int(Riri::vbOKOnly));
        QVERIFY(!rsData);
        QVERIFY(main.mdiArea()->subWindowList().isEmpty());
        QVERIFY(main.cursor().shape() != Qt::WaitCursor);
    }
}

void tst_frmmain::recordChecksWithRecords() {
    TestInstall install;
    QVERIFY(install.exec(QString::fromLatin1(kItemRow)));
    frmMain main;
    MsgResponder boxes;
    QVERIFY(main.recordCheck(false, frmMain::noItemsToEditMessage(), QStringLiteral("Test")));
    // Items exist, but no owner record.
    boxes.expect(Riri::vbOK);
    QVERIFY(!main.recordCheck(true, frmMain::noOwnerToEditMessage(), QStringLiteral("Test")));
    QCOMPARE(boxes.count(), 1);
    QVERIFY(install.exec(QStringLiteral(
        "INSERT INTO tblOwner (OwnerID, LName, FName) VALUES ('O-1', 'Doe', 'Jo');")));
    QVERIFY(main.recordCheck(true, frmMain::noOwnerToEditMessage(), QStringLiteral("Test")));
    QCOMPARE(boxes.count(), 1);
    QVERIFY(!rsData);
}

void tst_frmmain::recordCheckWithoutComponent() {
    TestInstall install;
    QVERIFY(install.exec(QString::fromLatin1(kItemRow)));
    // The program's files lie apart from the data, as in the packaged layout:
    // the log block belongs in the data folder, never in the program folder.
    QTemporaryDir programFiles;
    setProgramFolder(programFiles.path());
    frmMain main;
    MsgResponder boxes;
    const auto failureShown = [&](int number, const QString& command) {
        QVERIFY(!QFile::exists(programFiles.filePath(QStringLiteral("error.log"))));
        QCOMPARE(boxes.last().title, QStringLiteral(" ERROR"));
        QCOMPARE(boxes.last().icon(), int(Riri::vbCritical));
        QVERIFY2(boxes.last().prompt.startsWith(frmMain::readFailureMessage(number, QString())),
                 qPrintable(boxes.last().prompt));
        const QStringList log = install.logLines();
        QVERIFY2(log.contains(command + QStringLiteral(" Record Check")),
                 qPrintable(log.join('|')));
        QCOMPARE(main.mdiArea()->subWindowList().size(), 0);
    };
    // A component object that could not be made: the question cannot be
    // asked, which is no empty table.
    objHome.reset();
    boxes.expect(Riri::vbOK);
    QVERIFY(!main.recordCheck(false, frmMain::noItemsMessage(), QStringLiteral("Test")));
    failureShown(91, QStringLiteral("Test"));
    // A database removed after start-up: its cause, a log block naming the
    // command, and no window.
    newHome();
    QVERIFY(QFile::remove(install.databasePath()));
    boxes.expect(Riri::vbOK);
    main.findChild<QAction*>(QStringLiteral("mnuEditItem"))->trigger();
    failureShown(14, QStringLiteral("Edit Item"));
    QVERIFY(boxes.last().prompt.contains(QStringLiteral("unable to open database file")));
    QCOMPARE(install.logLines().first(), Riri::ErrorLog::ruleLine()); // a new log, with its banner
    QCOMPARE(boxes.count(), 2);
}

void tst_frmmain::recordCheckOnALockedDatabase() {
    TestInstall install;
    QVERIFY(install.exec(QString::fromLatin1(kItemRow)));
    frmMain main;
    MsgResponder boxes;
    // Another program holds the database locked for writing past the wait.
    sqlite3* other = nullptr;
    QCOMPARE(sqlite3_open(install.databasePath().toUtf8().constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    boxes.expect(Riri::vbOK);
    main.findChild<QAction*>(QStringLiteral("mnuUtilsDeleteItems"))->trigger();
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    QCOMPARE(boxes.count(), 1);
    QVERIFY2(boxes.last().prompt.startsWith(frmMain::readFailureMessage(SQLITE_BUSY, QString())),
             qPrintable(boxes.last().prompt));
    QVERIFY(install.logLines().contains(QStringLiteral("Delete Items Record Check")));
    QCOMPARE(main.mdiArea()->subWindowList().size(), 0);
    // Once the lock is gone, the command opens its window.
    main.findChild<QAction*>(QStringLiteral("mnuUtilsDeleteItems"))->trigger();
    QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
}

void tst_frmmain::oneInstanceOfEachChild() {
    TestInstall install;
    frmMain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    SampleChild::loads = 0;
    SampleChild* first = main.showChild<SampleChild>();
    QCOMPARE(first->parentWidget()->parentWidget(), main.mdiArea()->viewport());
    // Added at its own size.
    QCOMPARE(first->size(), QSize(300, 200));
    OtherChild* other = main.showChild<OtherChild>();
    QCOMPARE(main.mdiArea()->activeSubWindow()->widget(), other);
    // Moving the first away shows that the second command cascades again.
    first->parentWidget()->move(400, 300);
    QCOMPARE(main.showChild<SampleChild>(), first);
    QCOMPARE(SampleChild::loads, 1);
    QCOMPARE(main.mdiArea()->subWindowList().size(), 2);
    QCOMPARE(main.mdiArea()->activeSubWindow()->widget(), first);
    const QPoint firstPos = first->parentWidget()->pos();
    const QPoint otherPos = other->parentWidget()->pos();
    QVERIFY(firstPos != QPoint(400, 300));
    QVERIFY(firstPos.x() < 400 && firstPos.y() < 300);
    QVERIFY(firstPos != otherPos);
    QCOMPARE(first->size(), QSize(300, 200));
    // A window that closes itself takes its frame with it; the next command
    // loads a new one.
    QTest::mouseClick(first->findChild<QPushButton*>(QStringLiteral("cmdExit")), Qt::LeftButton);
    QTRY_COMPARE(main.mdiArea()->subWindowList().size(), 1);
    main.showChild<SampleChild>();
    QCOMPARE(SampleChild::loads, 2);
    QCOMPARE(main.mdiArea()->subWindowList().size(), 2);
    // Closing a frame takes its window with it.
    QPointer<OtherChild> closing(other);
    QVERIFY(other->parentWidget()->close());
    QTRY_VERIFY(closing.isNull());
    QTRY_COMPARE(main.mdiArea()->subWindowList().size(), 1);
}

void tst_frmmain::windowArrangements() {
    TestInstall install;
    frmMain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    auto* a = main.showChild<SampleChild>()->parentWidget();
    auto* b = main.showChild<OtherChild>()->parentWidget();
    const QSize area = main.mdiArea()->viewport()->size();
    command(main, "MnuWindowH")->trigger();
    QCOMPARE(a->x(), b->x());
    QVERIFY(a->y() != b->y());
    QVERIFY(a->geometry().bottom() < b->geometry().top() ||
            b->geometry().bottom() < a->geometry().top());
    command(main, "mnuWindowV")->trigger();
    QCOMPARE(a->y(), b->y());
    QVERIFY(a->geometry().right() < b->geometry().left() ||
            b->geometry().right() < a->geometry().left());
    command(main, "mnuWindowCascade")->trigger();
    QVERIFY(a->pos() != b->pos());
    // Minimised windows line up along the bottom edge.
    qobject_cast<QMdiSubWindow*>(a)->showMinimized();
    qobject_cast<QMdiSubWindow*>(b)->showMinimized();
    a->move(300, 10);
    b->move(10, 100);
    command(main, "mnuWindowArrangeIcons")->trigger();
    QCOMPARE(a->geometry().bottom(), area.height() - 1);
    QCOMPARE(b->geometry().bottom(), area.height() - 1);
    QVERIFY(!a->geometry().intersects(b->geometry()));
}

void tst_frmmain::checkForUpdatesStartsTheBrowser() {
    TestInstall install;
    frmMain main;
    // The browser command of the stand-in is the XDG opener; one that writes
    // what it was given, and then stays running, stands in for it on PATH.
    QTemporaryDir tools;
    const QByteArray record = (tools.path() + QStringLiteral("/opened.txt")).toLocal8Bit();
    QVERIFY(writeScript(tools.path() + QStringLiteral("/xdg-open"),
                        "echo $$ \"$@\" > \"" + record + ".part\"\nmv \"" + record + ".part\" \"" +
                            record + "\"\nexec sleep 30\n"));
    {
        const ScopedEnv path("PATH", tools.path().toLocal8Bit() + ':' + qgetenv("PATH"));
        command(main, "mnuHelpCheckUpdates")->trigger();
    }
    // The command returned while the browser runs on.
    QTRY_VERIFY(QFile::exists(QString::fromLocal8Bit(record)));
    QFile file(QString::fromLocal8Bit(record));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> words = file.readAll().trimmed().split(' ');
    QCOMPARE(words.size(), 2);
    const pid_t browser = static_cast<pid_t>(words[0].toInt());
    QVERIFY(browser > 0);
    QCOMPARE(::kill(browser, 0), 0);
    QCOMPARE(words[1], QByteArray("https://www.example.com/quorvane"));
    ::kill(browser, SIGTERM);
}

void tst_frmmain::helpOpensContentsIndexAndSearch() {
    TestInstall install;
    // The help as the build lays it out, copied into this installation.
    QDir().mkpath(install.folder() + QStringLiteral("/help"));
    for (const char* name : {"quorvane.qch", "quorvane.qhc"}) {
        QVERIFY(QFile::copy(QStringLiteral(QUORVANE_INSTALL_DIR "/help/") + QLatin1String(name),
                            install.folder() + QStringLiteral("/help/") + QLatin1String(name)));
    }
    frmMain main;
    main.show();
    command(main, "mnuShowHelp")->trigger();
    HelpViewer* viewer = HelpViewer::current();
    QVERIFY(viewer != nullptr);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->tabs()->count(), 3);
    QCOMPARE(viewer->tabs()->tabText(0), QStringLiteral("Contents"));
    QCOMPARE(viewer->tabs()->tabText(1), QStringLiteral("Index"));
    QCOMPARE(viewer->tabs()->tabText(2), QStringLiteral("Search"));
    QTRY_VERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("Quorvane help")));

    // Every window and report has its topic in the contents.
    QHelpContentModel* contents = viewer->engine()->contentModel();
    QTRY_VERIFY(contents->rowCount() == 1);
    const QModelIndex root = contents->index(0, 0);
    QStringList titles;
    for (int i = 0; i < contents->rowCount(root); ++i) {
        titles << contents->data(contents->index(i, 0, root), Qt::DisplayRole).toString();
    }
    for (const char* topic :
         {"The main window and its menus", "Add New Item", "Edit Item", "Delete Items",
          "Owner Information: entering the owner", "Owner Information: changing the owner",
          "Report: Complete inventory", "Report: Inventory By Room", "About Quorvane"}) {
        QVERIFY2(titles.contains(QLatin1String(topic)), topic);
    }
    // Choosing a topic shows its page.
    const QModelIndex mainTopic = contents->index(
        static_cast<int>(titles.indexOf(QStringLiteral("The main window and its menus"))), 0, root);
    viewer->engine()->contentWidget()->setCurrentIndex(mainTopic);
    emit viewer->engine()->contentWidget()->activated(mainTopic);
    QTRY_VERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("TileHorizontally")));

    // The index finds keywords.
    QHelpIndexModel* index = viewer->engine()->indexModel();
    QTRY_VERIFY(index->rowCount() > 10);
    viewer->indexFilter()->setText(QStringLiteral("Check For"));
    QTRY_VERIFY(index->rowCount() >= 1);
    QCOMPARE(index->data(index->index(0, 0), Qt::DisplayRole).toString(),
             QStringLiteral("Check For Updates"));

    // The full-text search finds the topics that hold a word.
    QHelpSearchEngine* search = viewer->engine()->searchEngine();
    QSignalSpy indexed(search, &QHelpSearchEngine::indexingFinished);
    search->reindexDocumentation();
    QVERIFY(indexed.wait(30000));
    QSignalSpy searched(search, &QHelpSearchEngine::searchingFinished);
    search->search(QStringLiteral("TileVertically"));
    QVERIFY(searched.wait(30000));
    QCOMPARE(search->searchResultCount(), 1);
    QCOMPARE(search->searchResults(0, 1).first().url().fileName(),
             QStringLiteral("main-window.html"));

    // A second command brings the same window forward.
    command(main, "mnuShowHelp")->trigger();
    QCOMPARE(HelpViewer::current(), viewer);
    viewer->close();
    QTRY_VERIFY(HelpViewer::current() == nullptr);
}

void tst_frmmain::aboutIsModal() {
    TestInstall install;
    frmMain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    bool seen = false;
    // Looks at the modal window while the command waits for it, and closes
    // it with Enter; a second timer makes sure the test cannot hang.
    QTimer::singleShot(100, this, [&seen] {
        auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        if (about != nullptr) {
            seen = about->isModal() && about->windowTitle() == QStringLiteral("About Quorvane");
            QTest::keyClick(about, Qt::Key_Return);
        }
    });
    QTimer::singleShot(5000, this, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });
    command(main, "mnuHelpAbout")->trigger();
    QVERIFY(seen);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

QTEST_MAIN(tst_frmmain)
#include "tst_frmmain.moc"
