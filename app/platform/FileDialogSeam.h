#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QPrinter;
class QWidget;

// The program's file and printer dialogs go through these functions, so that
// a host without a user (the test suite) can answer them instead of a modal
// dialog. By default they show the usual Qt dialogs.
namespace FileDialogSeam {

// Asks for the name of a file to write; an empty text when the user cancels.
using SaveFileHandler = std::function<QString(QWidget* parent, const QString& caption,
                                              const QString& suggestedPath, const QString& filter)>;
QString getSaveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                        const QString& filter);
// Installs a handler and returns the previous one; an empty handler restores
// the dialog.
SaveFileHandler setSaveFileHandler(SaveFileHandler handler);

// Asks for the name of an existing file to read; an empty text when the
// user cancels.
using OpenFileHandler = std::function<QString(QWidget* parent, const QString& caption,
                                              const QString& folder, const QString& filter)>;
QString getOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter);
OpenFileHandler setOpenFileHandler(OpenFileHandler handler);

// Asks for one or more existing files to read; none when the user cancels.
using OpenFilesHandler = std::function<QStringList(QWidget* parent, const QString& caption,
                                                   const QString& folder, const QString& filter)>;
QStringList getOpenFileNames(QWidget* parent, const QString& caption, const QString& folder,
                             const QString& filter);
OpenFilesHandler setOpenFilesHandler(OpenFilesHandler handler);

// Lets the user choose and set up a printer; false when the user cancels.
using PrintHandler = std::function<bool(QPrinter& printer, QWidget* parent)>;
bool choosePrinter(QPrinter& printer, QWidget* parent);
PrintHandler setPrintHandler(PrintHandler handler);

} // namespace FileDialogSeam
