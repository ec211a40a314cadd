#pragma once

#include "TestSupport.h"
#include "owner/OwnerFields.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

// Small helpers the owner window tests share.
namespace OwnerTesting {

// Shows the window and waits until it has the keyboard, so focus events and
// key presses reach its boxes as they would for a user.
inline bool showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

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
