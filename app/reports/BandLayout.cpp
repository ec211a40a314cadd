#include "BandLayout.h"

namespace Band {

const Section& Definition::section(SectionKind kind) const {
    switch (kind) {
    case SectionKind::PageHeader:
        return pageHeader;
    case SectionKind::GroupHeader:
        return groupHeader;
    case SectionKind::Detail:
        return detail;
    case SectionKind::GroupFooter:
        return groupFooter;
    case SectionKind::PageFooter:
        break;
    }
    return pageFooter;
}

Element Label(const QString& name, const QString& text, int left, int top, int width, int height,
              qreal points, bool bold, Align align) {
    Element e;
    e.name = name;
    e.kind = Kind::Label;
    e.text = text;
    e.left = left;
    e.top = top;
    e.width = width;
    e.height = height;
    e.points = points;
    e.bold = bold;
    e.align = align;
    return e;
}

Element Field(const QString& name, const QString& column, int left, int top, int width, int height,
              Align align, const QString& format) {
    Element e = Label(name, column, left, top, width, height, 8.25, false, align);
    e.kind = Kind::Field;
    e.format = format;
    return e;
}

Element GroupField(const QString& name, const QString& column, int left, int top, int width,
                   int height, qreal points, bool bold, Align align) {
    Element e = Label(name, column, left, top, width, height, points, bold, align);
    e.kind = Kind::Field;
    e.level = Level::Group;
    return e;
}

Element Area(const QString& name, const QString& column, int left, int top, int width, int height) {
    Element e = Field(name, column, left, top, width, height, Align::Left);
    e.multiLine = true;
    return e;
}

Element RowCount(const QString& name, int left, int top, int width, int height, qreal points,
                 bool bold, Align align, const QString& format) {
    Element e = Label(name, QString(), left, top, width, height, points, bold, align);
    e.kind = Kind::RowCount;
    e.level = Level::Group;
    e.format = format;
    return e;
}

Element HLine(int left, int top, int length) {
    Element e;
    e.kind = Kind::Line;
    e.left = left;
    e.top = top;
    e.width = length;
    return e;
}

Element VLine(int left, int top, int length) {
    Element e;
    e.kind = Kind::Line;
    e.left = left;
    e.top = top;
    e.height = length;
    return e;
}

} // namespace Band
