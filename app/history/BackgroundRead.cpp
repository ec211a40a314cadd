#include "history/BackgroundRead.h"

#include <QObject>
#include <QThread>

namespace BackgroundRead {

void start(QObject* receiver, std::function<void()> work, std::function<void()> done) {
    QThread* thread = QThread::create(std::move(work));
    QObject::connect(thread, &QThread::finished, receiver, std::move(done));
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

} // namespace BackgroundRead
