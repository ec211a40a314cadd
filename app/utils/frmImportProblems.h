#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// Lists the rows of a spreadsheet file that could not be imported, one line
// each with its line number and reason, in a read-only text the user can
// select and copy. Not modal: it stays open beside the main window.
class frmImportProblems : public QDialog {
    Q_OBJECT
public:
    frmImportProblems(const QString& heading, const QStringList& lines, QWidget* parent = nullptr);

    QPlainTextEdit* txtProblems = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdClose = nullptr;

    // Shows a new window (closing one left from an earlier import) and
    // returns it; it deletes itself when closed.
    static frmImportProblems* openDialog(const QString& heading, const QStringList& lines,
                                         QWidget* parent);
};
