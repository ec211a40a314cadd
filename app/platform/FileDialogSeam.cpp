#include "platform/FileDialogSeam.h"

#include <QDialog>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <utility>

namespace FileDialogSeam {

namespace {

SaveFileHandler& saveHandler() {
    static SaveFileHandler handler;
    return handler;
}

OpenFileHandler& openHandler() {
    static OpenFileHandler handler;
    return handler;
}

OpenFilesHandler& openFilesHandler() {
    static OpenFilesHandler handler;
    return handler;
}

PrintHandler& printHandler() {
    static PrintHandler handler;
    return handler;
}

} // namespace

QString getSaveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                        const QString& filter) {
    if (saveHandler()) {
        return saveHandler()(parent, caption, suggestedPath, filter);
    }
    return QFileDialog::getSaveFileName(parent, caption, suggestedPath, filter);
}

SaveFileHandler setSaveFileHandler(SaveFileHandler handler) {
    return std::exchange(saveHandler(), std::move(handler));
}

QString getOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter) {
    if (openHandler()) {
        return openHandler()(parent, caption, folder, filter);
    }
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

OpenFileHandler setOpenFileHandler(OpenFileHandler handler) {
    return std::exchange(openHandler(), std::move(handler));
}

QStringList getOpenFileNames(QWidget* parent, const QString& caption, const QString& folder,
                             const QString& filter) {
    if (openFilesHandler()) {
        return openFilesHandler()(parent, caption, folder, filter);
    }
    return QFileDialog::getOpenFileNames(parent, caption, folder, filter);
}

OpenFilesHandler setOpenFilesHandler(OpenFilesHandler handler) {
    return std::exchange(openFilesHandler(), std::move(handler));
}

bool choosePrinter(QPrinter& printer, QWidget* parent) {
    if (printHandler()) {
        return printHandler()(printer, parent);
    }
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

PrintHandler setPrintHandler(PrintHandler handler) {
    return std::exchange(printHandler(), std::move(handler));
}

} // namespace FileDialogSeam
