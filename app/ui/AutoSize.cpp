#include "ui/AutoSize.h"

#include <QLabel>

void sizeToText(QLabel* label) {
    const QRect old = label->geometry();
    const QSize wanted = label->sizeHint();
    QRect sized(old.topLeft(), wanted);
    const Qt::Alignment align = label->alignment();
    if (align & Qt::AlignRight) {
        sized.moveRight(old.right());
    } else if (align & Qt::AlignHCenter) {
        sized.moveLeft(old.left() + (old.width() - wanted.width()) / 2);
    }
    label->setGeometry(sized);
}
