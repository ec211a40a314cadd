#pragma once

#include <QDialog>
#include <QStringList>

class QPushButton;
class QTreeWidget;

// Utils, "Restore Automatic Copy...": the automatic copies in home/backups,
// newest first, each with the time it was made, its kind (daily, before
// restore, before import), its number of items and its total value. Restore
// puts the chosen one back through the restore command's verified restore,
// after its Yes/No question. Not modal.
class frmAutoCopies : public QDialog {
    Q_OBJECT
public:
    explicit frmAutoCopies(QWidget* parent = nullptr);

    QTreeWidget* lvCopies = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdClose = nullptr;

    // The copies' files in the order listed.
    const QStringList& paths() const { return m_paths; }

    // Shows a new window (closing one left open) and returns it; it deletes
    // itself when closed.
    static frmAutoCopies* openDialog(QWidget* parent);

    // The kind of a copy as the list names it.
    static QString kindText(int kind);

private:
    void fillList();
    void cmdRestore_Click();

    QStringList m_paths;
};
