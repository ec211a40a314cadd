#include "ReportProbe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace ReportProbe {

namespace {

QString sectionName(Band::SectionKind kind) {
    switch (kind) {
    case Band::SectionKind::PageHeader:
        return QStringLiteral("PageHeader");
    case Band::SectionKind::GroupHeader:
        return QStringLiteral("GroupHeader");
    case Band::SectionKind::Detail:
        return QStringLiteral("Detail");
    case Band::SectionKind::GroupFooter:
        return QStringLiteral("GroupFooter");
    case Band::SectionKind::PageFooter:
        return QStringLiteral("PageFooter");
    case Band::SectionKind::ReportHeader:
        return QStringLiteral("ReportHeader");
    case Band::SectionKind::ReportFooter:
        return QStringLiteral("ReportFooter");
    }
    return QStringLiteral("?");
}

QString twips(qreal value) {
    return QString::number(value, 'g', 12);
}

QString alignmentName(int flags) {
    QString name;
    switch (flags & Qt::AlignHorizontal_Mask) {
    case Qt::AlignLeft:
        name = QStringLiteral("left");
        break;
    case Qt::AlignRight:
        name = QStringLiteral("right");
        break;
    case Qt::AlignHCenter:
        name = QStringLiteral("center");
        break;
    default:
        name = QStringLiteral("align=%1").arg(flags & Qt::AlignHorizontal_Mask);
        break;
    }
    if (flags & Qt::TextWordWrap) {
        name += QStringLiteral(" wrap");
    }
    return name;
}

QString oneLine(QString text) {
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

QString expectedPath(const QString& name) {
    return QStringLiteral(QUORVANE_SOURCE_DIR "/tests/reports/expected/") + name;
}

} // namespace

QStringList Texts(const BandReport& report, int page, const QString& element,
                  Band::SectionKind section) {
    QStringList texts;
    for (const Band::DrawItem& item : report.pageItems(page)) {
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
    for (const Band::DrawItem& item : report.pageItems(page)) {
        if (item.type == Band::DrawItem::Type::Text && item.section == section &&
            item.element == element) {
            return item;
        }
    }
    return Band::DrawItem{};
}

QString pageDump(const BandReport& report, int page) {
    QString dump;
    for (const Band::DrawItem& item : report.pageItems(page)) {
        QStringList fields = {
            sectionName(item.section), item.element.isEmpty() ? QStringLiteral("-") : item.element,
            twips(item.rect.left()) + QLatin1Char(',') + twips(item.rect.top()) + QLatin1Char(' ') +
                twips(item.rect.width()) + QLatin1Char('x') + twips(item.rect.height())};
        if (item.type == Band::DrawItem::Type::Line) {
            fields.append(QStringLiteral("rule"));
        } else if (item.type == Band::DrawItem::Type::Picture) {
            fields.append(QStringLiteral("picture ") +
                          (item.text.isEmpty() ? QStringLiteral("(none)") : item.text));
        } else {
            const QFont& font = report.fonts().at(static_cast<size_t>(item.font));
            fields.append(QString::number(font.pointSizeF()) + QStringLiteral("pt") +
                          (font.bold() ? QStringLiteral(" bold") : QString()));
            fields.append(alignmentName(item.flags));
            fields.append(oneLine(item.text));
        }
        dump += fields.join(QStringLiteral(" | ")) + QLatin1Char('\n');
    }
    return dump;
}

bool matchesExpected(const QString& dump, const QString& name, QString* difference) {
    const QString path = expectedPath(name);
    if (qEnvironmentVariableIntValue("QUORVANE_REGENERATE") == 1) {
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(dump.toUtf8()) < 0) {
            *difference = QStringLiteral("cannot write ") + path;
            return false;
        }
        qInfo("wrote %s", qPrintable(path));
        return true;
    }
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        *difference = QStringLiteral("cannot read %1; QUORVANE_REGENERATE=1 writes it").arg(path);
        return false;
    }
    const QStringList expected = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
    const QStringList actual = dump.split(QLatin1Char('\n'));
    if (expected == actual) {
        return true;
    }
    *difference = QStringLiteral("the page differs from %1 (%2 lines expected, %3 drawn); "
                                 "QUORVANE_REGENERATE=1 rewrites it after a deliberate change")
                      .arg(name)
                      .arg(expected.size() - 1)
                      .arg(actual.size() - 1);
    const qsizetype lines = qMax(expected.size(), actual.size());
    int shown = 0;
    for (qsizetype i = 0; i < lines && shown < 5; ++i) {
        const QString want = expected.value(i, QStringLiteral("(none)"));
        const QString got = actual.value(i, QStringLiteral("(none)"));
        if (want != got) {
            *difference += QStringLiteral("\nline %1\n  expected: %2\n  drawn:    %3")
                               .arg(i + 1)
                               .arg(want, got);
            ++shown;
        }
    }
    return false;
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
