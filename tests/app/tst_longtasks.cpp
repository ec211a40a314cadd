// The long commands (backup, restore, a report) run their database work on a
// worker thread, report how far they are to the whole, and a cancel leaves
// everything as it was and says so; driven through the long-task seam.

#include "../component/SafetySupport.h"
#include "AppInfo.h"
#include "TaskTesting.h"
#include "TestSupport.h"
#include "cli/TerminalProgress.h"
#include "frmMain.h"
#include "platform/FileDialogSeam.h"
#include "reports/BandReport.h"
#include "reports/ReportCommands.h"
#include "reports/frmReportPreview.h"
#include "ui/ProgressWindow.h"

#include <Riri/AutoBackups.h>
#include <Riri/BackupArchive.h>
#include <Riri/InventoryCheck.h>
#include <Riri/InventoryCopy.h>
#include <Riri/MsgBox.h>

#include <QAction>
#include <QDirIterator>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Answers the save and open dialogs with one path.
struct DialogAnswer {
    explicit DialogAnswer(const QString& path) {
        FileDialogSeam::setSaveFileHandler(
            [path](QWidget*, const QString&, const QString&, const QString&) { return path; });
        FileDialogSeam::setOpenFileHandler(
            [path](QWidget*, const QString&, const QString&, const QString&) { return path; });
    }
    ~DialogAnswer() {
        FileDialogSeam::setSaveFileHandler(nullptr);
        FileDialogSeam::setOpenFileHandler(nullptr);
    }
    DialogAnswer(const DialogAnswer&) = delete;
    DialogAnswer& operator=(const DialogAnswer&) = delete;
};

// Everything below a folder, with the size of each file.
QStringList tree(const QString& folder) {
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.append(path + QLatin1Char(' ') + QString::number(QFileInfo(path).size()));
    }
    entries.sort();
    return entries;
}

constexpr int kItems = 3000;

} // namespace

class tst_longtasks : public QObject {
    Q_OBJECT

private slots:
    void longCommand_data();
    void longCommand();
    void windowShowsTheWorkAndCancelsOnce();
    void terminalShowsPercentages_data();
    void terminalShowsPercentages();
};

void tst_longtasks::longCommand_data() {
    QTest::addColumn<QString>("action");
    // The label of the step whose first report is answered: for the restore,
    // the restore itself, after the checks and the question.
    QTest::addColumn<QString>("step");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("cancelled");

    const QString backup = QStringLiteral("The backup was cancelled; nothing was changed. ");
    const QString restore = QStringLiteral("The restore was cancelled; nothing was changed. ");
    const QString report = QStringLiteral("The report was cancelled; nothing is shown. ");
    QTest::newRow("backup, cancelled") << "mnuUtilsBackup"
                                       << "Backing up the inventory..." << true << backup;
    QTest::newRow("backup, to the end") << "mnuUtilsBackup"
                                        << "Backing up the inventory..." << false << backup;
    QTest::newRow("restore, cancelled") << "mnuUtilsRestore"
                                        << "Restoring the inventory..." << true << restore;
    QTest::newRow("restore, to the end") << "mnuUtilsRestore"
                                         << "Restoring the inventory..." << false << restore;
    const QString exported = QStringLiteral("The export was cancelled; nothing was written. ");
    QTest::newRow("export, cancelled") << "mnuUtilsExportCsv"
                                       << "Writing the items..." << true << exported;
    QTest::newRow("export, to the end") << "mnuUtilsExportCsv"
                                        << "Writing the items..." << false << exported;
    QTest::newRow("report, cancelled") << "mnuTotalInventory"
                                       << "Reading the items..." << true << report;
    QTest::newRow("report, to the end") << "mnuTotalInventory"
                                        << "Reading the items..." << false << report;
}

void tst_longtasks::longCommand() {
    QFETCH(QString, action);
    QFETCH(QString, step);
    QFETCH(bool, cancel);
    QFETCH(QString, cancelled);

    TestInstall install;
    QVERIFY(seedItems(install, kItems));
    QTemporaryDir from; // the backup a restore reads
    const QString source = from.filePath("source.inv");
    QVERIFY(Riri::InventoryCopy::backUp(source).ok);
    QVERIFY(install.exec("DELETE FROM tblItems WHERE ID > 1000"));

    QTemporaryDir out; // the folder a backup is written to
    const bool restoring = action == "mnuUtilsRestore";
    DialogAnswer dialog(restoring ? source : out.filePath("backup.inv"));
    MsgResponder boxes;
    if (restoring) {
        boxes.expect(Riri::vbYes);
    }
    const bool reporting = action == "mnuTotalInventory";
    if (cancel || !reporting) {
        boxes.expect(Riri::vbOK); // the outcome; a report shown tells none
    }
    const QByteArray before = fileBytes(install.databasePath());
    const QStringList home = tree(install.folder() + "/home");

    frmMain main;
    TaskObserver observer(cancel ? step : QString());
    main.findChild<QAction*>(action)->trigger();
    QCOMPARE(boxes.pending(), 0);

    // Every report came from a thread other than the GUI thread: the one
    // doing the work.
    const QList<TaskObserver::Report> reports = observer.reports(step);
    QVERIFY(!reports.isEmpty());
    for (const TaskObserver::Report& report : observer.reports()) {
        QVERIFY(report.thread != nullptr && report.thread != QThread::currentThread());
    }

    if (cancel) {
        QCOMPARE(reports.size(), 1);
        QCOMPARE(boxes.last().prompt, cancelled);
        QCOMPARE(boxes.last().icon(), int(Riri::vbInformation));
        QVERIFY(fileBytes(install.databasePath()) == before);
        QCOMPARE(tree(install.folder() + "/home"), home); // no part file, no automatic copy
        QCOMPARE(folderEntries(out.path()), QStringList());
        QVERIFY(totalInventoryPreview() == nullptr);
        return;
    }

    // To the end: the work done grows to the whole.
    qint64 done = 0;
    for (const TaskObserver::Report& report : reports) {
        QVERIFY2(report.done >= done, qPrintable(QString::number(report.done)));
        QVERIFY(report.done <= report.total);
        done = report.done;
    }
    QVERIFY(reports.last().total > 0);
    QCOMPARE(reports.last().done, reports.last().total);
    QVERIFY(boxes.count() == 0 || boxes.last().prompt != cancelled);
    if (reporting) {
        QVERIFY(totalInventoryPreview() != nullptr);
        QCOMPARE(reports.last().total, 1000);
        QVERIFY(totalInventoryPreview()->report().pageCount() > 0);
        delete totalInventoryPreview();
    } else if (restoring) {
        QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), kItems);
    } else if (action == "mnuUtilsExportCsv") {
        QCOMPARE(reports.last().total, 1000);
        QVERIFY(QFileInfo(out.filePath("backup.inv")).size() > 0);
    } else {
        QFile archive(out.filePath("backup.inv"));
        QVERIFY(archive.open(QIODevice::ReadOnly));
        QCOMPARE(Riri::BackupArchive::verify(archive).items, 1000);
    }
}

void tst_longtasks::windowShowsTheWorkAndCancelsOnce() {
    TaskOptions options;
    options.title = "Back Up Inventory";
    options.label = "Backing up the inventory...";
    options.unit = TaskOptions::Unit::Items;
    options.cancellable = true;
    ProgressWindow window(options, nullptr);
    QCOMPARE(window.windowTitle(), options.title);
    auto* bar = window.findChild<QProgressBar*>("barTask");
    QCOMPARE(bar->maximum(), 0); // moving until the whole is known
    // A whole beyond what an int holds still fills the bar in proportion.
    window.setProgress(3'000'000'000LL, 12'000'000'000LL);
    QCOMPARE(bar->value() * 4, bar->maximum());
    QVERIFY(window.findChild<QLabel*>("lblAmounts")->text().endsWith(" items"));

    QSignalSpy cancels(&window, &ProgressWindow::cancelRequested);
    window.reject(); // Escape, the close button or Cancel
    window.reject();
    QCOMPARE(cancels.size(), 1);
    QCOMPARE(window.findChild<QLabel*>("lblTask")->text(), QString("Cancelling..."));

    options.cancellable = false;
    ProgressWindow fixed(options, nullptr);
    QSignalSpy none(&fixed, &ProgressWindow::cancelRequested);
    fixed.reject();
    QCOMPARE(none.size(), 0);
    QVERIFY(fixed.findChild<QPushButton*>("cmdCancel") == nullptr);
}

void tst_longtasks::terminalShowsPercentages_data() {
    QTest::addColumn<bool>("terminal");
    QTest::addColumn<QList<qint64>>("reports"); // pairs of done and total
    QTest::addColumn<QByteArray>("written");

    const QList<qint64> halves{0, 10, 5, 10, 5, 10, 10, 10};
    QTest::newRow("terminal, each percentage once")
        << true << halves << QByteArray("\rSaving... 0%\rSaving... 50%\rSaving... 100%\n");
    QTest::newRow("terminal, whole not known yet")
        << true << QList<qint64>{3, 0, 4, 0, 1, 4} << QByteArray("\rSaving...\rSaving... 25%\n");
    QTest::newRow("terminal, nothing reported") << true << QList<qint64>{} << QByteArray();
    QTest::newRow("pipe or file") << false << halves << QByteArray();
}

void tst_longtasks::terminalShowsPercentages() {
    QFETCH(bool, terminal);
    QFETCH(QList<qint64>, reports);
    QFETCH(QByteArray, written);
    std::FILE* stream = std::tmpfile();
    QVERIFY(stream != nullptr);
    {
        TerminalProgress shown(QStringLiteral("Saving..."), stream, terminal);
        const Riri::Progress progress = shown.progress();
        for (qsizetype i = 0; i + 1 < reports.size(); i += 2) {
            QVERIFY(Riri::goOn(progress, reports[i], reports[i + 1]));
        }
    }
    std::rewind(stream);
    QByteArray read(256, '\0');
    read.resize(static_cast<qsizetype>(std::fread(read.data(), 1, 256, stream)));
    std::fclose(stream);
    QCOMPARE(read, written);
}

QTEST_MAIN(tst_longtasks)
#include "tst_longtasks.moc"
