#pragma once

#include "TestSupport.h"
#include "WindowTesting.h"
#include "frmMain.h"
#include "owner/OwnerFields.h"

#include <QLineEdit>
#include <QObject>
#include <memory>

// What every owner window test starts from: a fresh installation with the
// program pointed at it, a message-box responder and, for the tests of the
// main window's owner commands, the main window shown. A test derives from
// it and calls startTest from init and endTest from cleanup, after its own
// checks.
class OwnerTestCase : public QObject {
    Q_OBJECT
protected:
    // Makes the installation and the responder, and the main window when
    // asked; false when the installation could not be made or the main window
    // was not shown.
    bool startTest(bool withMainWindow = false);
    // Deletes the owner entry windows still open and the main window, so that
    // what they do on the way out is seen before the test's last checks.
    void closeWindows();
    // Removes the responder and the installation.
    void endTest();

    std::unique_ptr<TestInstall> m_install;
    std::unique_ptr<MsgResponder> m_boxes;
    std::unique_ptr<frmMain> m_main;
};

// Small helpers the owner window tests share.
namespace OwnerTesting {

// Types the texts into the boxes with real key presses, box by box.
inline void typeFields(OwnerFields& window, const QStringList& texts) {
    for (int i = 0; i < texts.size() && i < OwnerFields::FieldCount; ++i) {
        window.txtBox[i]->setFocus();
        QTest::keyClicks(window.txtBox[i], texts[i]);
    }
}

inline QStringList boxTexts(const OwnerFields& window) {
    QStringList texts;
    for (const QLineEdit* box : window.txtBox) {
        texts.append(box->text());
    }
    return texts;
}

// The stored owner rows in the order the table keeps them, columns as named.
inline QList<QVariantList> ownerRows(const TestInstall& install) {
    return install.query(QStringLiteral("SELECT OwnerID, LName, FName, MName, FullName, Address, "
                                        "City, State, Zip, AddDate, ModDate FROM tblOwner "
                                        "ORDER BY rowid"));
}

} // namespace OwnerTesting
