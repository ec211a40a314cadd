// The Item Evidence window: adding files through the dialog, a drop and the
// clipboard, removing, editing kind and caption in place, copies for the
// user, following changes made elsewhere, and the shell's choice of item.
#include "EvidenceSamples.h"
#include "EvidenceTesting.h"
#include "TaskTesting.h"
#include "TestSupport.h"
#include "WindowTesting.h"
#include "evidence/AttachmentEditor.h"
#include "evidence/AttachmentModel.h"
#include "evidence/EvidenceCopies.h"
#include "evidence/PictureView.h"
#include "evidence/frmEvidenceViewer.h"
#include "evidence/frmItemEvidence.h"
#include "frmMain.h"
#include "items/ItemListView.h"
#include "items/dlgChooseItem.h"
#include "items/frmFindItems.h"
#include "platform/FileDialogSeam.h"
#include "shared/InventoryNotice.h"

#include <Riri/EvidenceStore.h>
#include <Riri/MsgBox.h>

#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>

namespace {

// Takes the URLs the window hands to the desktop instead of another program.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "take"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;
public slots:
    void take(const QUrl& url) { urls.append(url); }
};

// Answers the file dialogs for as long as it lives.
struct Dialogs {
    explicit Dialogs(QStringList open, QString save = QString()) {
        FileDialogSeam::setOpenFilesHandler(
            [open](QWidget*, const QString&, const QString&, const QString&) { return open; });
        FileDialogSeam::setSaveFileHandler(
            [save](QWidget*, const QString&, const QString&, const QString&) { return save; });
    }
    ~Dialogs() {
        FileDialogSeam::setOpenFilesHandler(nullptr);
        FileDialogSeam::setSaveFileHandler(nullptr);
    }
};

// A sample file of a kind named by the start of its name ("jpeg", "pdf",
// "webp", anything else plain text); "gone..." is never made.
QString sample(const TestInstall& install, const QString& name) {
    const QString path = install.folder() + QStringLiteral("/") + name;
    if (name.startsWith(QLatin1String("jpeg"))) {
        EvidenceSamples::jpeg(path, QSize(320, 240), 6, QStringLiteral("2020:01:02 03:04:05"));
    } else if (name.startsWith(QLatin1String("pdf"))) {
        EvidenceSamples::pdf(path, 1);
    } else if (name.startsWith(QLatin1String("webp"))) {
        EvidenceSamples::qtPicture(path, QSize(200, 100), "WEBP");
    } else if (!name.startsWith(QLatin1String("gone"))) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(name.toUtf8());
    }
    return path;
}

// Kind, file name, width and whether a thumbnail is stored, per row in order.
QStringList storedRows(const TestInstall& install) {
    QStringList rows;
    for (const QVariantList& row : install.query(
             QStringLiteral("SELECT Kind, FileName, ifnull(Width, 0), length(Thumbnail) > 0, "
                            "Caption FROM tblEvidence ORDER BY ID"))) {
        rows << QStringLiteral("%1 %2 %3 %4 %5")
                    .arg(row[0].toString(), row[1].toString(), row[2].toString(),
                         row[3].toLongLong() == 1 ? QStringLiteral("thumb") : QStringLiteral("-"),
                         row[4].toString())
                    .trimmed();
    }
    return rows;
}

qint64 refOf(const QString& itemId) {
    return Riri::EvidenceStore().itemRefOf(itemId);
}

} // namespace

class tst_ItemEvidence : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_install = std::make_unique<TestInstall>();
        m_boxes = std::make_unique<MsgResponder>();
        QVERIFY(m_install->isValid());
        QVERIFY(numberedItems(*m_install, 1, 3));
    }
    void cleanup() {
        m_boxes.reset();
        m_install.reset();
    }

    void addFiles_data();
    void addFiles();
    void dropAndPaste_data();
    void dropAndPaste();
    void remove_data();
    void remove();
    void editInPlace_data();
    void editInPlace();
    void copiesForTheUser();
    void followsChangesElsewhere_data();
    void followsChangesElsewhere();
    void shellChoosesTheItem_data();
    void shellChoosesTheItem();
    void viewer_data();
    void viewer();
    void pictures_data();
    void pictures();

private:
    std::unique_ptr<TestInstall> m_install;
    std::unique_ptr<MsgResponder> m_boxes;
};

void tst_ItemEvidence::addFiles_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("refused");
    QTest::newRow("photo, receipt, other")
        << QStringList{"jpeg-kitchen.jpg", "pdf-Receipt 2021.pdf", "warranty.txt"}
        << QStringList{"Photo jpeg-kitchen.jpg 240 thumb", "Receipt pdf-Receipt 2021.pdf 0 thumb",
                       "Other warranty.txt 0 -"}
        << QString();
    QTest::newRow("missing file refused, the others stored")
        << QStringList{"gone.jpg", "webp-shelf.webp"}
        << QStringList{"Photo webp-shelf.webp 200 thumb"} << "gone.jpg: the file is not there";
    QTest::newRow("dialog cancelled") << QStringList{} << QStringList{} << QString();
}

void tst_ItemEvidence::addFiles() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, stored);
    QFETCH(QString, refused);
    QStringList paths;
    for (const QString& name : files) {
        paths << sample(*m_install, name);
    }
    const Dialogs dialogs(paths);
    const TaskObserver observer;
    frmItemEvidence window(refOf(QStringLiteral("A-2")));
    QCOMPARE(window.lblData[0]->text(), QStringLiteral("A-2"));
    QCOMPARE(window.lblData[3]->text(), QLocale().toString(2.0, 'f', 2));
    QSignalSpy notices(&InventoryNotice::instance(), &InventoryNotice::inventoryChanged);
    if (!refused.isEmpty()) {
        m_boxes->expect(Riri::vbOK);
    }
    QTest::mouseClick(window.cmdAdd, Qt::LeftButton);

    QCOMPARE(storedRows(*m_install), stored);
    QCOMPARE(window.attachments()->rowCount(), stored.size());
    QCOMPARE(notices.size(), stored.isEmpty() ? 0 : 1);
    QCOMPARE(m_boxes->count(), refused.isEmpty() ? 0 : 1);
    if (!refused.isEmpty()) {
        QVERIFY(m_boxes->last().prompt.endsWith(refused));
    }
    // Read, hashed and stored on the worker, never on the GUI thread.
    for (const TaskObserver::Report& report : observer.reports()) {
        QVERIFY(report.thread != QThread::currentThread());
    }
    QCOMPARE(observer.reports().isEmpty(), paths.isEmpty());
    if (!stored.isEmpty()) {
        QCOMPARE(window.currentRow(), stored.size() - 1);
    }
}

void tst_ItemEvidence::dropAndPaste_data() {
    QTest::addColumn<bool>("drop");
    QTest::addColumn<QString>("stored");
    QTest::newRow("files dropped") << true << "Photo jpeg-dropped.jpg 240 thumb";
    QTest::newRow("picture pasted") << false << "Photo Pasted picture";
}

void tst_ItemEvidence::dropAndPaste() {
    QFETCH(bool, drop);
    QFETCH(QString, stored);
    frmItemEvidence window(refOf(QStringLiteral("A-1")));
    QVERIFY(showActive(window));
    if (drop) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(sample(*m_install, QStringLiteral("jpeg-dropped.jpg"))),
                      QUrl(QStringLiteral("https://example.com/not-a-file.jpg"))});
        const QPoint at = window.lvEvidence->geometry().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &dropped);
        QVERIFY(dropped.isAccepted());
        // The files are stored once the drop has ended.
        QCOMPARE(m_install->scalar(QStringLiteral("SELECT COUNT(*) FROM tblEvidence")).toInt(), 0);
        QCoreApplication::sendPostedEvents();
    } else {
        QApplication::clipboard()->setImage(EvidenceSamples::picture(QSize(64, 48)));
        QTest::keyClick(window.lvEvidence, Qt::Key_V, Qt::ControlModifier);
    }
    const QStringList rows = storedRows(*m_install);
    QCOMPARE(rows.size(), 1);
    QVERIFY2(rows.first().startsWith(stored), qPrintable(rows.first()));
    QCOMPARE(m_install->scalar(QStringLiteral("SELECT ItemRef FROM tblEvidence")).toLongLong(),
             refOf(QStringLiteral("A-1")));
}

void tst_ItemEvidence::remove_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("Yes") << int(Riri::vbYes)
                         << QStringList{"Other one.bin 0 - first", "Other three.bin 0 - first"};
    QTest::newRow("No") << int(Riri::vbNo)
                        << QStringList{"Other one.bin 0 - first", "Other two.bin 0 - first",
                                       "Other three.bin 0 - first"};
}

void tst_ItemEvidence::remove() {
    QFETCH(int, answer);
    QFETCH(QStringList, left);
    const QList<qint64> ids = EvidenceTesting::attach(
        *m_install, QStringLiteral("A-1"), {"one", "two", "three"}, QStringLiteral("first"));
    QCOMPARE(ids.size(), 3);
    frmItemEvidence window(refOf(QStringLiteral("A-1")));
    window.choose(1);
    m_boxes->expect(answer);
    QTest::mouseClick(window.cmdRemove, Qt::LeftButton);
    QCOMPARE(m_boxes->last().flags, int(Riri::vbYesNo | Riri::vbQuestion | Riri::vbDefaultButton2));
    QVERIFY(m_boxes->last().prompt.endsWith(QStringLiteral("first")));
    QCOMPARE(storedRows(*m_install), left);
    QCOMPARE(window.attachments()->rowCount(), left.size());
    QCOMPARE(window.currentRow(), 1);
}

void tst_ItemEvidence::editInPlace_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("stored");
    QTest::newRow("caption") << "Other"
                             << "  Serial plate  "
                             << "Other one.bin 0 - Serial plate";
    QTest::newRow("kind") << "Serial label"
                          << ""
                          << "Serial label one.bin 0 -";
    QTest::newRow("both") << "Warranty"
                          << "Two years"
                          << "Warranty one.bin 0 - Two years";
}

void tst_ItemEvidence::editInPlace() {
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QString, stored);
    QCOMPARE(EvidenceTesting::attach(*m_install, QStringLiteral("A-3"), {"one"}).size(), 1);
    frmItemEvidence window(refOf(QStringLiteral("A-3")));
    QVERIFY(showActive(window));
    window.choose(0);
    QTest::keyClick(window.lvEvidence, Qt::Key_F2);
    auto* editor = window.lvEvidence->findChild<AttachmentEditor*>();
    QVERIFY(editor != nullptr);
    editor->cboKind->setCurrentText(kind);
    editor->txtCaption->setText(caption);
    QTest::keyClick(editor->txtCaption, Qt::Key_Return);
    QCOMPARE(storedRows(*m_install), QStringList{stored});
}

void tst_ItemEvidence::copiesForTheUser() {
    QCOMPARE(EvidenceTesting::attach(*m_install, QStringLiteral("A-1"), {"content"}).size(), 1);
    const QString target = m_install->folder() + QStringLiteral("/saved.bin");
    const Dialogs dialogs({}, target);
    const UrlCatcher desktop;
    frmItemEvidence window(refOf(QStringLiteral("A-1")));
    window.choose(0);
    QTest::mouseClick(window.cmdSaveCopy, Qt::LeftButton);
    QCOMPARE(fileBytes(target), QByteArray("content"));

    QTest::mouseClick(window.cmdOpenWith, Qt::LeftButton);
    QCOMPARE(desktop.urls.size(), 1);
    const QString opened = desktop.urls.first().toLocalFile();
    // A read-only copy under its own name in the private folder.
    QVERIFY(opened.startsWith(EvidenceCopies::privateFolder() + QLatin1Char('/')));
    QCOMPARE(QFileInfo(opened).fileName(), QStringLiteral("content.bin"));
    QCOMPARE(fileBytes(opened), QByteArray("content"));
    QVERIFY(!(QFileInfo(opened).permissions() & QFile::WriteOwner));
    QCOMPARE(m_boxes->count(), 0);
}

void tst_ItemEvidence::followsChangesElsewhere_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("name");
    QTest::newRow("renamed") << "UPDATE tblItems SET ItemName = 'Lamp' WHERE ItemID = 'A-2'" << true
                             << "Lamp";
    QTest::newRow("deleted") << "DELETE FROM tblItems WHERE ItemID = 'A-2'" << false << "";
    QTest::newRow("another item") << "DELETE FROM tblItems WHERE ItemID = 'A-1'" << true
                                  << "Item 2";
}

void tst_ItemEvidence::followsChangesElsewhere() {
    QFETCH(QString, sql);
    QFETCH(bool, open);
    QFETCH(QString, name);
    frmMain main;
    main.show();
    frmItemEvidence* window = main.showItemEvidence(refOf(QStringLiteral("A-2")));
    QCOMPARE(window->lblData[1]->text(), QStringLiteral("Item 2"));
    QPointer<frmItemEvidence> watched(window);
    QVERIFY(m_install->exec(sql));
    InventoryNotice::send(InventoryChange::Items);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(!watched.isNull() && watched->isVisible(), open);
    if (open) {
        QCOMPARE(watched->lblData[1]->text(), name);
    }
}

void tst_ItemEvidence::shellChoosesTheItem_data() {
    QTest::addColumn<bool>("findOpen");
    QTest::addColumn<QString>("chooserAnswer");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("asked");
    QTest::newRow("selected in the find window") << true << ""
                                                 << "A-3" << 0;
    QTest::newRow("asked for") << false << "A-2"
                               << "A-2" << 1;
    QTest::newRow("asking cancelled") << false << ""
                                      << "" << 1;
}

void tst_ItemEvidence::shellChoosesTheItem() {
    QFETCH(bool, findOpen);
    QFETCH(QString, chooserAnswer);
    QFETCH(QString, shown);
    QFETCH(int, asked);
    int questions = 0;
    dlgChooseItem::setHandler([&](QWidget*, const QString& purpose) {
        ++questions;
        return purpose == QLatin1String("Item Evidence") ? chooserAnswer : QString();
    });
    frmMain main;
    if (findOpen) {
        main.mnuEditFindItems_Click();
        auto* find = main.findChild<frmFindItems*>();
        QVERIFY(QTest::qWaitFor([find] { return !find->lvItems->isReading(); }));
        QVERIFY(find->lvItems->chooseKey(QStringLiteral("A-3")));
    }
    main.findChild<QAction*>(QStringLiteral("mnuEditItemEvidence"))->trigger();
    dlgChooseItem::setHandler(nullptr);
    QCOMPARE(questions, asked);
    const QList<frmItemEvidence*> windows = main.findChildren<frmItemEvidence*>();
    QCOMPARE(windows.size(), shown.isEmpty() ? 0 : 1);
    if (!shown.isEmpty()) {
        QCOMPARE(windows.first()->lblData[0]->text(), shown);
        QCOMPARE(windows.first()->windowTitle(), frmItemEvidence::titleFor(shown));
        // Asked again for the same item, the open window comes forward.
        QCOMPARE(main.showItemEvidence(windows.first()->itemRef()), windows.first());
    }
}

void tst_ItemEvidence::viewer_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("corner");
    // Stored turned, shown upright: the red corner at the top right.
    QTest::newRow("photo") << "jpeg-turned.jpg" << 0 << int(Qt::TopRightCorner);
    QTest::newRow("PDF") << "pdf-manual.pdf" << 1 << int(Qt::TopLeftCorner);
    QTest::newRow("other") << "notes.txt" << 0 << -1;
}

void tst_ItemEvidence::viewer() {
    QFETCH(QString, file);
    QFETCH(int, pages);
    QFETCH(int, corner);
    frmItemEvidence window(refOf(QStringLiteral("A-1")));
    window.addFiles({sample(*m_install, file)});
    QVERIFY(showActive(window));
    const QModelIndex index = window.attachments()->index(0);
    // A click, then the second click of a double-click.
    QTest::mouseClick(window.lvEvidence->viewport(), Qt::LeftButton, {},
                      window.lvEvidence->visualRect(index).center());
    QTest::mouseDClick(window.lvEvidence->viewport(), Qt::LeftButton, {},
                       window.lvEvidence->visualRect(index).center());
    auto* viewer = window.findChild<frmEvidenceViewer*>();
    QVERIFY(viewer != nullptr);
    QVERIFY(QTest::qWaitFor([viewer] { return viewer->isLoaded(); }));
    QCOMPARE(viewer->pageCount(), pages);
    if (corner >= 0) {
        QVERIFY(EvidenceSamples::cornerAt(viewer->picView->image(), Qt::Corner(corner)));
    } else {
        QVERIFY(viewer->picView->image().isNull());
    }
    viewer->resize(viewer->sizeHint());
    shoot(*viewer, QStringLiteral("frmEvidenceViewer-") + QTest::currentDataTag());
}

void tst_ItemEvidence::pictures_data() {
    QTest::addColumn<int>("count");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("forty") << 40;
}

void tst_ItemEvidence::pictures() {
    QFETCH(int, count);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString name = i % 5 == 4   ? QStringLiteral("pdf-invoice-%1.pdf").arg(i)
                             : i % 7 == 6 ? QStringLiteral("notes-%1.txt").arg(i)
                                          : QStringLiteral("jpeg-photo-%1.jpg").arg(i);
        paths << sample(*m_install, name);
    }
    frmItemEvidence window(refOf(QStringLiteral("A-1")));
    window.addFiles(paths);
    QVERIFY(showActive(window));
    QCOMPARE(window.attachments()->rowCount(), count);
    QCOMPARE(window.lblCount->text().isEmpty(), false);
    window.choose(0);
    window.lvEvidence->scrollToTop();
    shoot(window, QStringLiteral("frmItemEvidence-%1").arg(count));
}

QTEST_MAIN(tst_ItemEvidence)
#include "tst_itemevidence.moc"
