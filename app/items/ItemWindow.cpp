#include "ItemWindow.h"

#include "AppInfo.h"

#include <QMdiSubWindow>
#include <QWidget>

namespace ItemWindow {

void Close(QWidget* window) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        frame->close();
    } else {
        window->close();
    }
}

QString EditCaption() {
    return AppInfo::Title + QStringLiteral(" - ") + AppInfo::Version();
}

} // namespace ItemWindow
