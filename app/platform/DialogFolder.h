#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Where a file dialog of one kind of file starts: the folder the user last
// chose a file of that kind in, remembered in the user's settings, else the
// Documents folder, else the home folder. Never the program's folder, which
// a packaged installation cannot write.
class DialogFolder {
public:
    // kind names the kind of file: "pdf", "backup", "csv".
    explicit DialogFolder(const QString& kind);

    // The folder the dialog opens in; always one that exists.
    QString folder() const;
    // Whether the user chose a file of this kind before, in a folder that
    // is still there.
    bool isRemembered() const;
    // fileName in that folder: the suggestion of a save dialog.
    QString suggest(const QString& fileName) const;
    // Remembers the folder of the file the user chose; an empty path (the
    // dialog was cancelled) is ignored.
    void remember(const QString& chosenFile) const;

    // An open dialog through the file-dialog seam, starting in folder(); the
    // folder of the chosen file is remembered. Empty when cancelled.
    QString askOpen(QWidget* parent, const QString& caption, const QString& filter) const;
    // The same for one or more files; the folder of the first is remembered.
    QStringList askOpenMany(QWidget* parent, const QString& caption, const QString& filter) const;
    // A save dialog through the file-dialog seam, proposing `suggested`; the
    // folder of the chosen file is remembered. Empty when cancelled.
    QString askSave(QWidget* parent, const QString& caption, const QString& suggested,
                    const QString& filter) const;

private:
    QString key() const;

    QString m_kind;
};
