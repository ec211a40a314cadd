#include "platform/Pointer.h"

#include <QApplication>
#include <QCursor>

namespace Pointer {

void setScreen(Shape shape) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    // One override cursor at most, changed in place.
    if (shape == Default) {
        while (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
        }
    } else {
        const QCursor cursor(shape == Busy ? Qt::WaitCursor : Qt::ArrowCursor);
        if (QApplication::overrideCursor() != nullptr) {
            QApplication::changeOverrideCursor(cursor);
        } else {
            QApplication::setOverrideCursor(cursor);
        }
    }
}

} // namespace Pointer
