#include "utils/frmImportProblems.h"

#include "AppInfo.h"
#include "platform/Fonts.h"
#include "ui/Look.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPointer<frmImportProblems> g_open;

} // namespace

frmImportProblems::frmImportProblems(const QString& heading, const QStringList& lines,
                                     QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmImportProblems"));
    setWindowTitle(AppInfo::Title + QStringLiteral(" - Import Items from CSV"));
    setFont(Fonts::make(QStringLiteral("Verdana"), 9.75));

    auto* label = new QLabel(heading, this);
    label->setObjectName(QStringLiteral("lblHeading"));
    label->setWordWrap(true);

    txtProblems = new QPlainTextEdit(this);
    txtProblems->setObjectName(QStringLiteral("txtProblems"));
    txtProblems->setReadOnly(true);
    txtProblems->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtProblems->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtProblems->setPlainText(lines.join(QLatin1Char('\n')));

    cmdCopy = new QPushButton(QStringLiteral("&Copy"), this);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    Look::styleButton(cmdCopy);
    cmdClose = new QPushButton(QStringLiteral("C&lose"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    Look::styleButton(cmdClose);
    connect(cmdCopy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(txtProblems->toPlainText()); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(txtProblems, 1);
    layout->addLayout(buttons);
    resize(720, 420);
}

frmImportProblems* frmImportProblems::openDialog(const QString& heading, const QStringList& lines,
                                                 QWidget* parent) {
    if (g_open) {
        g_open->close();
    }
    auto* window = new frmImportProblems(heading, lines, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setModal(false);
    window->show();
    g_open = window;
    return window;
}
