#include "platform/Fonts.h"

#include <QStringList>

namespace Fonts {

void registerSubstitutes() {
    QFont::insertSubstitutions(Verdana, QStringList{QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(
        MSSansSerif, QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(Arial, QStringList{QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(ComicSansMS, QStringList{QStringLiteral("Comic Neue")});
}

QFont make(const QString& family, qreal points, bool bold) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace Fonts
