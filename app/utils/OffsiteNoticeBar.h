#pragma once

#include <QToolBar>

class QLabel;
class QPushButton;

// The bar at the top of the main window that says why the off-site copies
// fall behind (the last one failed, or the newest is old), with a button
// that writes one. It never stops the start; it goes once a copy is written.
class OffsiteNoticeBar : public QToolBar {
    Q_OBJECT
public:
    OffsiteNoticeBar(const QString& text, QWidget* parent);

    QLabel* lblNotice = nullptr;
    QPushButton* cmdWriteNow = nullptr;
    QPushButton* cmdDismiss = nullptr;

private:
    void cmdWriteNow_Click();
};
