#include "reports/ReportSettings.h"

#include <QStringList>

using namespace Band;

namespace ReportSettings {

namespace {

// The column edges of the first row, shared by the headings and the items.
constexpr int kColumnEdges[] = {144, 1296, 4464, 7776, 10080, 13104, 14400};
// Left, width and height of the six headings.
struct Heading {
    int left;
    int width;
};
constexpr Heading kHeadings[] = {{144, 1140},  {1296, 3180},  {4464, 3315},
                                 {7776, 2310}, {10080, 3015}, {13104, 1290}};

} // namespace

void initialise(Definition& report, const QString& title, const QString& caption) {
    report.title = title;
    report.caption = caption;
    report.landscape = true;
    report.paperWidth = 12240;
    report.paperHeight = 15840;
    report.reportWidth = 14595;
    report.leftMargin = 500;
    report.rightMargin = 500;
    report.topMargin = 1000;
    report.bottomMargin = 400;
}

Section pageHeader(int height) {
    Section s;
    s.name = QStringLiteral("PageHeader");
    s.height = height;
    s.elements = {
        label(QStringLiteral("Label11"), QStringLiteral("%i"), 1537, 0, 11520, 435, 14.25, true),
        label(QStringLiteral("Label13"), QStringLiteral("%D"), 4927, 720, 4740, 435, 12, true),
    };
    return s;
}

Section pageFooter(int height, const QStringList& names, int nameLeft, int nameWidth) {
    Section s;
    s.name = QStringLiteral("PageFooter");
    s.height = height;
    s.elements = {
        label(names.value(0), QStringLiteral("Page"), 144, 144, 435, 285, 8.25, false, Align::Left),
        label(names.value(1), QStringLiteral("%p"), 576, 144, 576, 288),
        label(names.value(2), QStringLiteral("of"), 1152, 144, 285, 285),
        label(names.value(3), QStringLiteral("%P"), 1440, 144, 585, 285),
        label(names.value(4), QStringLiteral("Quorvane"), nameLeft, 144, nameWidth, 285),
        label(names.value(5), MakerWebAddress, 12240, 144, 2160, 285, 8.25, false, Align::Right),
    };
    return s;
}

void addHeadingRow(Section& section, int top, const QStringList& names, const QStringList& texts) {
    for (int i = 0; i < 6; ++i) {
        section.elements.push_back(label(names.value(i), texts.value(i), kHeadings[i].left,
                                         top + 144, kHeadings[i].width, 285, 8.25, true));
    }
    section.elements.push_back(hLine(144, top, 14250));
    section.elements.push_back(hLine(144, top + 432, 14250));
    for (const int x : kColumnEdges) {
        section.elements.push_back(vLine(x, top, 435));
    }
}

void addDetailRules(Section& detail) {
    detail.elements.push_back(hLine(144, 0, 14250));
    detail.elements.push_back(hLine(144, 432, 14250));
    detail.elements.push_back(hLine(144, 2592, 14250));
    detail.elements.push_back(hLine(144, 2448, 14256));
    detail.elements.push_back(hLine(3600, 1440, 10800));
    detail.elements.push_back(vLine(144, 0, 2448));
    detail.elements.push_back(vLine(14400, 0, 2448));
    for (const int x : kColumnEdges) {
        if (x != 144) {
            detail.elements.push_back(vLine(x, 0, 432));
        }
    }
    detail.elements.push_back(vLine(3600, 432, 2016));
}

} // namespace ReportSettings
