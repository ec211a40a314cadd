#include "utils/OffsiteNoticeBar.h"

#include "ui/Look.h"
#include "utils/OffsiteCommands.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

OffsiteNoticeBar::OffsiteNoticeBar(const QString& text, QWidget* parent) : QToolBar(parent) {
    setObjectName(QStringLiteral("OffsiteNoticeBar"));
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setStyleSheet(QStringLiteral("QToolBar#OffsiteNoticeBar { background: #fff4c2; "
                                 "border-bottom: 1px solid #d9c36a; padding: 3px; }"));

    auto* content = new QWidget(this);
    auto* icon = new QLabel(content);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(20, 20));
    lblNotice = new QLabel(text, content);
    lblNotice->setObjectName(QStringLiteral("lblNotice"));
    lblNotice->setWordWrap(true);
    cmdWriteNow = new QPushButton(QStringLiteral("Write a Copy Now"), content);
    cmdWriteNow->setObjectName(QStringLiteral("cmdWriteNow"));
    Look::styleButton(cmdWriteNow);
    cmdDismiss = new QPushButton(QStringLiteral("Later"), content);
    cmdDismiss->setObjectName(QStringLiteral("cmdDismiss"));
    Look::styleButton(cmdDismiss);
    auto* layout = new QHBoxLayout(content);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(icon);
    layout->addWidget(lblNotice, 1);
    layout->addWidget(cmdWriteNow);
    layout->addWidget(cmdDismiss);
    addWidget(content);

    connect(cmdWriteNow, &QPushButton::clicked, this, &OffsiteNoticeBar::cmdWriteNow_Click);
    connect(cmdDismiss, &QPushButton::clicked, this, &QWidget::hide);
}

void OffsiteNoticeBar::cmdWriteNow_Click() {
    if (OffsiteCommands::writeCopyNow(window())) {
        hide();
    }
}
