#include "ui/PlainText.h"

#include <QTextDocument>

QString plainText(const QTextDocument* document) {
    QString text = document->toRawText();
    for (QChar& c : text) {
        switch (c.unicode()) {
        case 0xFDD0: // start of a frame
        case 0xFDD1: // end of a frame
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
            c = QLatin1Char('\n');
            break;
        default:
            break;
        }
    }
    return text;
}
