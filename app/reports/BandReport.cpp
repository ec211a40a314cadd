#include "reports/BandReport.h"

#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "reports/ReportFormat.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>

using namespace Band;

namespace {

constexpr int kSectionKinds = 7;

int kindIndex(SectionKind kind) {
    return static_cast<int>(kind);
}

// The fonts are named as the layouts name them; the substitutes make sure the
// name finds the installed stand-in whatever the host registered.
void ensureSubstitutes() {
    static const bool done = [] {
        Fonts::registerSubstitutes();
        return true;
    }();
    Q_UNUSED(done);
}

int alignmentFlags(Align align) {
    switch (align) {
    case Align::Left:
        return Qt::AlignLeft;
    case Align::Right:
        return Qt::AlignRight;
    case Align::Center:
        break;
    }
    return Qt::AlignHCenter;
}

} // namespace

BandReport::BandReport(Definition definition) : m_def(std::move(definition)) {
    ensureSubstitutes();
    m_styles.resize(kSectionKinds);
    for (int k = 0; k < kSectionKinds; ++k) {
        const Section& section = m_def.section(static_cast<SectionKind>(k));
        for (const Element& e : section.elements) {
            ElementStyle style;
            if (e.kind != Kind::Line) {
                style.font = fontIndex(e.points, e.bold);
                style.flags = Qt::AlignTop | alignmentFlags(e.align) |
                              (e.multiLine ? Qt::TextWordWrap : Qt::TextSingleLine);
            }
            m_styles[static_cast<size_t>(k)].push_back(style);
        }
    }
}

BandReport::~BandReport() = default;

int BandReport::fontIndex(qreal points, bool bold) {
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        if (qFuzzyCompare(m_fonts[i].pointSizeF(), points) && m_fonts[i].bold() == bold) {
            return static_cast<int>(i);
        }
    }
    QFont font = Fonts::make(Fonts::Arial, points, bold);
    // Positions are fixed in twips; text must not be nudged to whole pixels
    // differently on screen and paper.
    font.setHintingPreference(QFont::PreferNoHinting);
    m_fonts.push_back(font);
    return static_cast<int>(m_fonts.size()) - 1;
}

void BandReport::setGroups(std::vector<Group> groups, const QDate& runDate, const QLocale& locale) {
    m_groups = std::move(groups);
    m_runDate = runDate;
    m_locale = locale;

    const Riri::Recordset* sample = nullptr;
    for (const Group& g : m_groups) {
        if (g.rows) {
            sample = g.rows.get();
            break;
        }
    }
    m_columns.assign(kSectionKinds, {});
    for (int k = 0; k < kSectionKinds; ++k) {
        const Section& section = m_def.section(static_cast<SectionKind>(k));
        for (const Element& e : section.elements) {
            const bool readsRow =
                (e.kind == Kind::Field || e.kind == Kind::Picture) && e.level == Level::Detail;
            m_columns[static_cast<size_t>(k)].push_back(
                readsRow && sample != nullptr ? sample->columnIndex(e.text) : -1);
        }
    }

    std::vector<qsizetype> rowsPerGroup;
    rowsPerGroup.reserve(m_groups.size());
    for (const Group& g : m_groups) {
        rowsPerGroup.push_back(g.rows ? g.rows->rowCount() : 0);
    }
    m_pages = paginate(m_def, rowsPerGroup);
}

QString BandReport::expandCodes(const QString& text, int page) const {
    if (!text.contains(QLatin1Char('%'))) {
        return text;
    }
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('%') || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const QChar code = text.at(i + 1);
        if (code == QLatin1Char('i')) {
            out += m_def.title;
        } else if (code == QLatin1Char('D')) {
            out += ReportFormat::formatLongDate(m_runDate, m_locale);
        } else if (code == QLatin1Char('p')) {
            out += QString::number(page + 1);
        } else if (code == QLatin1Char('P')) {
            out += QString::number(pageCount());
        } else if (code == QLatin1Char('%')) {
            out += c;
        } else {
            out += c;
            continue; // not a code: keep the character after the sign as well
        }
        ++i;
    }
    return out;
}

QString BandReport::elementText(const Element& e, int elementIndex, const Placement& at,
                                int page) const {
    switch (e.kind) {
    case Kind::Label:
        return expandCodes(e.text, page);
    case Kind::RowCount: {
        const Group& g = m_groups[static_cast<size_t>(at.group)];
        const qsizetype rows = g.rows ? g.rows->rowCount() : 0;
        return ReportFormat::apply(e.format, QString::number(rows), m_locale);
    }
    case Kind::Picture:
    case Kind::Field: {
        if (at.group < 0 || at.group >= static_cast<int>(m_groups.size())) {
            return QString();
        }
        const Group& g = m_groups[static_cast<size_t>(at.group)];
        QString stored;
        if (e.level == Level::Group) {
            stored = g.key;
        } else if (e.level == Level::Summary) {
            stored = g.summary ? g.summary->fieldAt(0, g.summary->columnIndex(e.text)) : QString();
        } else if (g.rows) {
            const int column = m_columns[static_cast<size_t>(kindIndex(at.kind))]
                                        [static_cast<size_t>(elementIndex)];
            stored = g.rows->fieldAt(at.row, column);
        }
        if (e.multiLine) {
            stored.remove(QLatin1Char('\r'));
        }
        return ReportFormat::apply(e.format, stored, m_locale);
    }
    case Kind::Line:
        break;
    }
    return QString();
}

void BandReport::addSection(std::vector<DrawItem>& items, const Placement& at, int page) const {
    const Section& section = m_def.section(at.kind);
    const auto& styles = m_styles[static_cast<size_t>(kindIndex(at.kind))];
    const qreal x0 = m_def.leftMargin;
    const qreal y0 = at.top;
    for (size_t i = 0; i < section.elements.size(); ++i) {
        const Element& e = section.elements[i];
        DrawItem item;
        item.section = at.kind;
        item.element = e.name;
        item.rect = QRectF(x0 + e.left, y0 + e.top, e.width, e.height);
        if (e.kind == Kind::Line) {
            item.type = DrawItem::Type::Line;
        } else if (e.kind == Kind::Picture) {
            item.type = DrawItem::Type::Picture;
            item.text = elementText(e, static_cast<int>(i), at, page);
        } else {
            item.text = elementText(e, static_cast<int>(i), at, page);
            if (item.text.isEmpty()) {
                continue; // an empty field prints nothing
            }
            item.font = styles[i].font;
            item.flags = styles[i].flags;
        }
        items.push_back(std::move(item));
    }
}

std::vector<DrawItem> BandReport::pageItems(int page) const {
    std::vector<DrawItem> items;
    if (page < 0 || page >= pageCount()) {
        return items;
    }
    const PagePlan& plan = m_pages[static_cast<size_t>(page)];
    items.reserve(plan.placements.size() * 32);
    for (const Placement& at : plan.placements) {
        addSection(items, at, page);
    }
    return items;
}

void BandReport::paintPage(QPainter& painter, int page, qreal unitsPerTwip) const {
    const std::vector<DrawItem> items = pageItems(page);
    QPen pen(Qt::black);
    pen.setWidthF(std::max<qreal>(1.0, kLineWidth * unitsPerTwip));
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    int currentFont = -1;
    for (const DrawItem& item : items) {
        const QRectF r(item.rect.left() * unitsPerTwip, item.rect.top() * unitsPerTwip,
                       item.rect.width() * unitsPerTwip, item.rect.height() * unitsPerTwip);
        if (item.type == DrawItem::Type::Line) {
            painter.drawLine(QLineF(r.topLeft(), r.bottomRight()));
            continue;
        }
        if (item.type == DrawItem::Type::Picture) {
            paintPicture(painter, item.text, r);
            continue;
        }
        if (item.font != currentFont) {
            painter.setFont(m_fonts[static_cast<size_t>(item.font)]);
            currentFont = item.font;
        }
        painter.drawText(r, item.flags, item.text);
    }
}

void BandReport::paintPicture(QPainter& painter, const QString& key, const QRectF& frame) const {
    const QImage picture = key.isEmpty() || !m_pictures ? QImage() : m_pictures(key);
    if (!picture.isNull()) {
        const QRectF inside = frame.adjusted(2, 2, -2, -2);
        QRectF target(QPointF(), QSizeF(picture.size()).scaled(inside.size(), Qt::KeepAspectRatio));
        target.moveCenter(inside.center());
        painter.drawImage(target, picture);
    }
    painter.drawRect(frame);
}

QImage BandReport::renderPage(int page, qreal dotsPerInch) const {
    const qreal scale = dotsPerInch / Twips::PerInch;
    const QSize size(qRound(m_def.pageWidth() * scale), qRound(m_def.pageHeight() * scale));
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMeter = qRound(dotsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    paintPage(painter, page, scale);
    return image;
}

bool BandReport::writePdf(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    bool written = false;
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(QPageLayout(
            QPageSize(QPageSize::Letter),
            m_def.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
        writer.setResolution(1200);
        writer.setTitle(m_def.caption);
        writer.setCreator(QStringLiteral("Quorvane"));
        QPainter painter;
        if (painter.begin(&writer)) {
            const qreal scale = writer.resolution() / qreal(Twips::PerInch);
            bool everyPage = true;
            for (int page = 0; page < pageCount(); ++page) {
                if (page > 0 && !writer.newPage()) {
                    everyPage = false; // a document missing pages is not kept
                    break;
                }
                paintPage(painter, page, scale);
            }
            written = painter.end() && everyPage;
        }
    }
    if (!written) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool BandReport::print(QPrinter& printer) const {
    printer.setFullPage(true);
    printer.setPageOrientation(m_def.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (printer.docName().isEmpty()) {
        printer.setDocName(m_def.caption);
    }
    int first = 1;
    int last = pageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(pageCount(), printer.toPage() > 0 ? printer.toPage() : pageCount());
    }
    QPainter painter;
    if (last < first || !painter.begin(&printer)) {
        return false;
    }
    const qreal scale = printer.resolution() / qreal(Twips::PerInch);
    for (int page = first; page <= last; ++page) {
        if (page > first && !printer.newPage()) {
            painter.end();
            return false;
        }
        paintPage(painter, page - 1, scale);
    }
    return painter.end();
}
