#include "owner/frmAddOwner.h"

#include "shared/modGlobal.h"
#include "ui/Placement.h"

#include <QPointer>

const QString frmAddOwner::OwnerID = QStringLiteral("O-1");

namespace {

const OwnerLayout kLayout{4875, 120, 1740, 120, 1830, 3600};

} // namespace

frmAddOwner::frmAddOwner(QWidget* parent) : OwnerFields(kLayout, parent) {
    // A window of its own with a fixed border: a close box but no minimize or
    // maximize button, and no title text.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QString());
    try {
        newHome();
    } catch (const Riri::Error&) {
        // The component could not be created; a save then reports not saved.
    } catch (const std::exception& error) {
        qWarning("Owner entry window: %s", error.what());
    }
}

frmAddOwner* frmAddOwner::open() {
    static QPointer<frmAddOwner> window;
    if (window.isNull()) {
        window = new frmAddOwner;
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

bool frmAddOwner::saveOwner() {
    QStringList strText = ownerText();
    strText.append(OwnerID);
    return objHome && objHome->AddOwner(strText);
}

void frmAddOwner::showEvent(QShowEvent* event) {
    if (!m_placed) {
        m_placed = true;
        Placement::centreOnScreen(this);
    }
    OwnerFields::showEvent(event);
}
