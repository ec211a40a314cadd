#include "reports/BandLayout.h"

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
    case SectionKind::ReportHeader:
        return reportHeader;
    case SectionKind::ReportFooter:
        return reportFooter;
    case SectionKind::PageFooter:
        break;
    }
    return pageFooter;
}

Element label(const QString& name, const QString& text, int left, int top, int width, int height,
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

Element field(const QString& name, const QString& column, int left, int top, int width, int height,
              Align align, const QString& format) {
    Element e = label(name, column, left, top, width, height, 8.25, false, align);
    e.kind = Kind::Field;
    e.format = format;
    return e;
}

Element groupField(const QString& name, const QString& column, int left, int top, int width,
                   int height, qreal points, bool bold, Align align) {
    Element e = label(name, column, left, top, width, height, points, bold, align);
    e.kind = Kind::Field;
    e.level = Level::Group;
    return e;
}

Element area(const QString& name, const QString& column, int left, int top, int width, int height) {
    Element e = field(name, column, left, top, width, height, Align::Left);
    e.multiLine = true;
    return e;
}

Element rowCount(const QString& name, int left, int top, int width, int height, qreal points,
                 bool bold, Align align, const QString& format) {
    Element e = label(name, QString(), left, top, width, height, points, bold, align);
    e.kind = Kind::RowCount;
    e.level = Level::Group;
    e.format = format;
    return e;
}

Element summaryField(const QString& name, const QString& column, int left, int top, int width,
                     int height, qreal points, bool bold, Align align, const QString& format) {
    Element e = label(name, column, left, top, width, height, points, bold, align);
    e.kind = Kind::Field;
    e.level = Level::Summary;
    e.format = format;
    return e;
}

Element picture(const QString& name, const QString& column, int left, int top, int width,
                int height) {
    Element e = field(name, column, left, top, width, height, Align::Center);
    e.kind = Kind::Picture;
    return e;
}

Element hLine(int left, int top, int length) {
    Element e;
    e.kind = Kind::Line;
    e.left = left;
    e.top = top;
    e.width = length;
    return e;
}

Element vLine(int left, int top, int length) {
    Element e;
    e.kind = Kind::Line;
    e.left = left;
    e.top = top;
    e.height = length;
    return e;
}

} // namespace Band
