#include "modGlobal.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

std::unique_ptr<Riri::dllHome> objHome;
std::shared_ptr<Riri::Recordset> rsData;
QPersistentModelIndex itmData;

namespace {

QString& programFolderOverride() {
    static QString folder;
    return folder;
}

} // namespace

QString ProgramFolder() {
    if (!programFolderOverride().isEmpty()) {
        return programFolderOverride();
    }
    return QCoreApplication::applicationDirPath();
}

void SetProgramFolder(const QString& folder) { programFolderOverride() = folder; }

void NewHome() {
    objHome.reset();
    objHome = std::make_unique<Riri::dllHome>();
}

void CloseRecordset() {
    if (rsData) {
        rsData->Close(); // closing a closed set fails; nothing to report
        rsData.reset();
    }
}

QString TrimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' ')) {
        ++begin;
    }
    while (end > begin && text.at(end - 1) == QLatin1Char(' ')) {
        --end;
    }
    return text.mid(begin, end - begin);
}

void TrimFields(QWidget& window) {
    // findChildren walks the window's children in creation order, which is the
    // order the windows build their controls in.
    const QList<QWidget*> children = window.findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (auto* rich = qobject_cast<QTextEdit*>(child)) {
            const QString text = rich->toPlainText();
            const QString trimmed = TrimBlanks(text);
            if (trimmed != text) {
                rich->setPlainText(trimmed);
            }
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(child)) {
            const QString text = plain->toPlainText();
            const QString trimmed = TrimBlanks(text);
            if (trimmed != text) {
                plain->setPlainText(trimmed);
            }
        } else if (auto* line = qobject_cast<QLineEdit*>(child)) {
            // The edit lines inside combo boxes and date pickers are not text boxes.
            if (qobject_cast<QWidget*>(line->parent()) != nullptr &&
                (line->parent()->inherits("QComboBox") ||
                 line->parent()->inherits("QAbstractSpinBox"))) {
                continue;
            }
            const QString text = line->text();
            const QString trimmed = TrimBlanks(text);
            if (trimmed != text) {
                line->setText(trimmed);
            }
        }
    }
}
