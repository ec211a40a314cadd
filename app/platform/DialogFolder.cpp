#include "platform/DialogFolder.h"

#include "platform/FileDialogSeam.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

QSettings settings() {
    return QSettings(QStringLiteral("Quorvane"), QStringLiteral("Tallimer"));
}

bool isFolder(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

DialogFolder::DialogFolder(const QString& kind) : m_kind(kind) {}

QString DialogFolder::key() const {
    return QStringLiteral("FileDialogs/") + m_kind;
}

QString DialogFolder::folder() const {
    const QString last = settings().value(key()).toString();
    if (isFolder(last)) {
        return last;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return isFolder(documents) ? documents : QDir::homePath();
}

bool DialogFolder::isRemembered() const {
    return isFolder(settings().value(key()).toString());
}

QString DialogFolder::suggest(const QString& fileName) const {
    return QDir(folder()).filePath(fileName);
}

void DialogFolder::remember(const QString& chosenFile) const {
    if (chosenFile.isEmpty()) {
        return;
    }
    settings().setValue(key(), QFileInfo(chosenFile).absolutePath());
}

QString DialogFolder::askOpen(QWidget* parent, const QString& caption,
                              const QString& filter) const {
    const QString path = FileDialogSeam::getOpenFileName(parent, caption, folder(), filter);
    remember(path);
    return path;
}

QStringList DialogFolder::askOpenMany(QWidget* parent, const QString& caption,
                                      const QString& filter) const {
    const QStringList paths = FileDialogSeam::getOpenFileNames(parent, caption, folder(), filter);
    if (!paths.isEmpty()) {
        remember(paths.first());
    }
    return paths;
}

QString DialogFolder::askSave(QWidget* parent, const QString& caption, const QString& suggested,
                              const QString& filter) const {
    const QString path = FileDialogSeam::getSaveFileName(parent, caption, suggested, filter);
    remember(path);
    return path;
}
