#pragma once

#include "ui/LongTask.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The window of a long task: what is being done, a bar of the work done of
// the whole (moving to and fro while the whole is not known), the amounts
// under it and, when the task can be cancelled, Cancel. Escape and the
// window's close button cancel as Cancel does, and do nothing for a task that
// cannot be cancelled.
class ProgressWindow : public QDialog {
    Q_OBJECT

public:
    ProgressWindow(const TaskOptions& options, QWidget* parent);

    void setLabel(const QString& label);
    void setProgress(qint64 done, qint64 total);

signals:
    // Cancel was asked for (once).
    void cancelRequested();

public:
    void reject() override;

private:
    QString amount(qint64 value) const;

    TaskOptions::Unit m_unit;
    bool m_cancellable;
    bool m_cancelling = false;
    QLabel* m_label;
    QProgressBar* m_bar;
    QLabel* m_amounts;
    QPushButton* m_cancel = nullptr;
};
