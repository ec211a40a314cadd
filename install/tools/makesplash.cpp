// Draws the splash window's picture and writes it as a Windows bitmap.
// Usage: makesplash OUTPUT.bmp

#include "ui/HousePicture.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: makesplash OUTPUT.bmp\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Twice the picture box (1980 by 2940 twips at 96 DPI) for a sharp picture.
    const QImage image = drawHousePicture(QSize(264, 392));
    if (!image.save(QString::fromLocal8Bit(argv[1]), "BMP")) {
        std::fprintf(stderr, "makesplash: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
