#include "ReportProbe.h"

#include <QProcess>

namespace ReportProbe {

QStringList Texts(const BandReport& report, int page, const QString& element,
                  Band::SectionKind section) {
    QStringList texts;
    for (const Band::DrawItem& item : report.PageItems(page)) {
        if (item.type == Band::DrawItem::Type::Text && item.section == section &&
            item.element == element) {
            texts.append(item.text);
        }
    }
    return texts;
}

QStringList AllTexts(const BandReport& report, const QString& element, Band::SectionKind section) {
    QStringList texts;
    for (int page = 0; page < report.pageCount(); ++page) {
        texts += Texts(report, page, element, section);
    }
    return texts;
}

Band::DrawItem First(const BandReport& report, int page, const QString& element,
                     Band::SectionKind section) {
    for (const Band::DrawItem& item : report.PageItems(page)) {
        if (item.type == Band::DrawItem::Type::Text && item.section == section &&
            item.element == element) {
            return item;
        }
    }
    return Band::DrawItem{};
}

QStringList PdfPages(const QString& path) {
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0) {
        return {};
    }
    QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) {
        pages.removeLast(); // after the last page's form feed
    }
    return pages;
}

} // namespace ReportProbe
