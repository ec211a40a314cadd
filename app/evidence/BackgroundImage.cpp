#include "evidence/BackgroundImage.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

void BackgroundImage::run(QObject* context, std::function<QImage()> work,
                          std::function<void(const QImage&)> done) {
    QPointer<QObject> guard(context);
    QThreadPool::globalInstance()->start([guard, work = std::move(work), done = std::move(done)] {
        const QImage image = work();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [guard, done, image] {
                if (guard) {
                    done(image);
                }
            },
            Qt::QueuedConnection);
    });
}
