// Alt with a letter must reach the control the window underlines, never a
// menu of the main window: no child window's label, button or check box may
// use the mnemonic of one of the main window's menu titles.

#include "TestSupport.h"
#include "frmMain.h"
#include "items/frmAddItem.h"
#include "items/frmDeleteItem.h"
#include "items/frmEditItem.h"
#include "items/frmFindItems.h"
#include "owner/frmAddOwner.h"
#include "owner/frmEditOwner.h"
#include "reports/ReportCommands.h"
#include "reports/dataReport.h"
#include "reports/frmReportPreview.h"
#include "utils/frmImportProblems.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <memory>

namespace {

// The mnemonics of the main window's menu titles, each with its title.
QMap<QKeySequence, QString> menuMnemonics(frmMain& main) {
    QMap<QKeySequence, QString> keys;
    const QList<QAction*> titles = main.menuBar()->actions();
    for (const QAction* title : titles) {
        const QKeySequence key = QKeySequence::mnemonic(title->text());
        if (!key.isEmpty()) {
            keys.insert(key, title->text());
        }
    }
    return keys;
}

// Every text of window that can carry a mnemonic.
QStringList mnemonicTexts(const QWidget& window) {
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        texts.append(label->text());
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        texts.append(button->text());
    }
    for (const QGroupBox* box : window.findChildren<QGroupBox*>()) {
        texts.append(box->title());
    }
    return texts;
}

} // namespace

class tst_mnemonics : public QObject {
    Q_OBJECT
private slots:
    void childWindowsLeaveTheMenusFree_data();
    void childWindowsLeaveTheMenusFree();
};

void tst_mnemonics::childWindowsLeaveTheMenusFree_data() {
    QTest::addColumn<QString>("window");
    for (const char* window : {"add item", "edit item", "delete items", "find items", "add owner",
                               "edit owner", "report preview", "import problems"}) {
        QTest::newRow(window) << QString::fromLatin1(window);
    }
}

void tst_mnemonics::childWindowsLeaveTheMenusFree() {
    QFETCH(QString, window);
    TestInstall install;
    QVERIFY(install.exec(QStringLiteral(
        "INSERT INTO tblItems (ItemID, ItemName, RoomName) VALUES ('A-1', 'Lamp', 'Den');"
        "INSERT INTO tblOwner (OwnerID, LName, FName) VALUES ('O-1', 'Doe', 'Jo');")));
    MsgResponder boxes;
    frmMain main;
    const QMap<QKeySequence, QString> menus = menuMnemonics(main);
    QVERIFY(menus.size() >= 6);

    std::unique_ptr<QWidget> child;
    if (window == QStringLiteral("add item")) {
        child = std::make_unique<frmAddItem>();
    } else if (window == QStringLiteral("edit item")) {
        child = std::make_unique<frmEditItem>();
    } else if (window == QStringLiteral("delete items")) {
        child = std::make_unique<frmDeleteItem>();
    } else if (window == QStringLiteral("find items")) {
        child = std::make_unique<frmFindItems>();
    } else if (window == QStringLiteral("add owner")) {
        child = std::make_unique<frmAddOwner>();
    } else if (window == QStringLiteral("edit owner")) {
        child = std::make_unique<frmEditOwner>();
    } else if (window == QStringLiteral("report preview")) {
        runTotalInventoryReport();
        child.reset(totalInventoryPreview());
    } else {
        child = std::make_unique<frmImportProblems>(QStringLiteral("Nothing was imported:"),
                                                    QStringList{QStringLiteral("Line 2: x")});
    }
    QVERIFY(child);
    const QStringList texts = mnemonicTexts(*child);
    int underlined = 0;
    for (const QString& text : texts) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (key.isEmpty()) {
            continue;
        }
        ++underlined;
        QVERIFY2(!menus.contains(key),
                 qPrintable(QStringLiteral("\"%1\" takes the key of the menu \"%2\"")
                                .arg(text, menus.value(key))));
    }
    QVERIFY(underlined > 0); // each of these windows underlines something
    child.reset();
    releaseDataReport();
}

QTEST_MAIN(tst_mnemonics)
#include "tst_mnemonics.moc"
