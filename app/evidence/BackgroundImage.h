#pragma once

#include <QImage>
#include <QObject>
#include <functional>

// Decodes a picture on a pool thread and hands it to the GUI thread, so that
// a large photo or a PDF page never holds the windows up. The result is
// dropped when `context` is gone by then.
class BackgroundImage {
public:
    static void run(QObject* context, std::function<QImage()> work,
                    std::function<void(const QImage&)> done);
};
