#pragma once

#include "ui/LongTask.h"

#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QThread>
#include <utility>

// Stands in for the user at the windows of long tasks, through the seam: sees
// every progress report with the thread it came from and, when told a step's
// label, answers Cancel at that step's first report. Uninstalls itself when
// it goes.
class TaskObserver {
public:
    struct Report {
        QString label;
        qint64 done = 0;
        qint64 total = 0;
        QThread* thread = nullptr;
    };

    explicit TaskObserver(QString cancelAt = QString()) : m_cancelAt(std::move(cancelAt)) {
        LongTaskSeam::setHook([this](const QString& label, qint64 done, qint64 total) {
            const QMutexLocker lock(&m_mutex);
            m_reports.append(Report{label, done, total, QThread::currentThread()});
            return m_cancelAt.isEmpty() || label != m_cancelAt;
        });
    }
    ~TaskObserver() { LongTaskSeam::setHook(nullptr); }
    TaskObserver(const TaskObserver&) = delete;
    TaskObserver& operator=(const TaskObserver&) = delete;

    QList<Report> reports() const {
        const QMutexLocker lock(&m_mutex);
        return m_reports;
    }
    // The reports of one step.
    QList<Report> reports(const QString& label) const {
        QList<Report> step;
        for (const Report& report : reports()) {
            if (report.label == label) {
                step.append(report);
            }
        }
        return step;
    }

private:
    QString m_cancelAt;
    mutable QMutex m_mutex;
    QList<Report> m_reports;
};
