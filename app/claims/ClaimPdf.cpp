#include "claims/ClaimPdf.h"

#include "claims/ClaimFormat.h"
#include "claims/PictureLoader.h"

#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>

#include <QDate>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfWriter>
#include <cmath>

namespace {

// Letter paper in points, half an inch of margin, a line for the footer.
constexpr qreal kShortSide = 612;
constexpr qreal kLongSide = 792;
constexpr qreal kMargin = 36;
constexpr qreal kFooter = 18;

// The schedule's columns: their share of the line (points of 720) and
// whether they hold amounts (right-aligned).
struct Column {
    qreal width;
    bool amount;
};
constexpr Column kColumns[] = {
    {24, true},  {60, false}, {90, false}, {60, false}, {62, false}, {58, false}, {52, false},
    {62, false}, {42, false}, {54, true},  {54, true},  {58, true},  {38, true},
};
constexpr qreal kRowHeight = 12;
constexpr qreal kSchedulePoints = 7;

QStringList scheduleCells(int line, const Riri::ClaimItem& item) {
    return {QString::number(line),
            item.itemId,
            item.itemName,
            item.room,
            item.serialNumber,
            item.model,
            ClaimFormat::date(item.buyDate),
            item.acquiredFrom,
            item.status,
            ClaimFormat::money(item.costCents),
            ClaimFormat::money(item.valueCents),
            ClaimFormat::money(item.replacementCents),
            QString::number(item.evidence)};
}

QFont font(qreal points, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

[[noreturn]] void cancelled() {
    throw Riri::Error(Riri::ErrorNumber::Cancelled,
                      QStringLiteral("The claim package was cancelled; nothing was written."));
}

bool isPdf(const Riri::ClaimEvidence& file) {
    return file.mediaType.compare(QLatin1String("application/pdf"), Qt::CaseInsensitive) == 0;
}

} // namespace

ClaimPdf::ClaimPdf(const ClaimContent& content, EvidenceOf evidenceOf, PathOf pathOf)
    : m_content(content), m_evidenceOf(std::move(evidenceOf)), m_pathOf(std::move(pathOf)) {}

QStringList ClaimPdf::scheduleHeads() {
    return Riri::ClaimsStore::scheduleColumns();
}

bool ClaimPdf::write(const QString& path, const Riri::Progress& progress) {
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setTitle(QStringLiteral("Claim of Loss"));
    writer.setCreator(QStringLiteral("Quorvane"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Point));
    QPainter painter;
    if (!painter.begin(&writer)) {
        return false;
    }
    m_writer = &writer;
    m_painter = &painter;
    m_started = false;
    m_page = 0;
    const auto total = static_cast<qint64>(m_content.items.size());
    try {
        writeCover();
        writeSchedule();
        for (qint64 i = 0; i < total; ++i) {
            if (!Riri::goOn(progress, i, total)) {
                cancelled();
            }
            writeItem(static_cast<int>(i + 1), m_content.items[static_cast<size_t>(i)]);
        }
        writeAppendix();
        pageFooter();
    } catch (...) {
        painter.end();
        throw;
    }
    const bool ok = painter.end();
    Riri::goOn(progress, total, total);
    return ok;
}

void ClaimPdf::beginPage(bool landscape) {
    if (m_started) {
        pageFooter();
        m_writer->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        m_writer->newPage();
    }
    m_started = true;
    m_landscape = landscape;
    ++m_page;
}

QRectF ClaimPdf::body() const {
    const qreal width = m_landscape ? kLongSide : kShortSide;
    const qreal height = m_landscape ? kShortSide : kLongSide;
    return {kMargin, kMargin, width - 2 * kMargin, height - 2 * kMargin - kFooter};
}

void ClaimPdf::pageFooter() {
    const QRectF b = body();
    const QString number = m_content.claim.claimNumber.isEmpty()
                               ? QString()
                               : QStringLiteral("Claim %1 - ").arg(m_content.claim.claimNumber);
    text(QRectF(b.left(), b.bottom() + 6, b.width(), kFooter),
         number + QStringLiteral("Page %1").arg(m_page), 7, false, Qt::AlignRight | Qt::AlignTop);
}

qreal ClaimPdf::text(const QRectF& box, const QString& value, qreal points, bool bold, int flags) {
    m_painter->setFont(font(points, bold));
    const int how = flags != 0 ? flags : int(Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    QRectF used;
    m_painter->save();
    m_painter->setClipRect(box);
    m_painter->drawText(box, how, value, &used);
    m_painter->restore();
    return std::min(used.height(), box.height());
}

void ClaimPdf::writeCover() {
    beginPage(false);
    const QRectF b = body();
    qreal y = b.top();
    y += text(QRectF(b.left(), y, b.width(), 40), QStringLiteral("Claim of Loss"), 22, true) + 8;
    y += text(QRectF(b.left(), y, b.width(), 20),
              QStringLiteral("Prepared %1")
                  .arg(ClaimFormat::date(QDate::currentDate().toString(Qt::ISODate))),
              10) +
         18;
    const Riri::Claim& c = m_content.claim;
    const auto pair = [&](const QString& label, const QString& value) {
        text(QRectF(b.left(), y, 140, 16), label, 11, true);
        y += std::max<qreal>(16, text(QRectF(b.left() + 150, y, b.width() - 150, 80), value, 11)) +
             4;
    };
    const QStringList owner = m_content.owner;
    pair(QStringLiteral("Policyholder"), owner.value(0));
    if (!owner.value(1).isEmpty() || !owner.value(2).isEmpty()) {
        pair(QStringLiteral("Address"),
             QStringList{owner.value(1), owner.value(2)}.join(QLatin1Char('\n')).trimmed());
    }
    y += 10;
    pair(QStringLiteral("Insurer"), c.insurer);
    pair(QStringLiteral("Policy Number"), c.policyNumber);
    pair(QStringLiteral("Claim Number"), c.claimNumber);
    pair(QStringLiteral("Event"),
         c.eventKind +
             (c.eventDate.isValid()
                  ? QStringLiteral(", ") + ClaimFormat::date(c.eventDate.toString(Qt::ISODate))
                  : QString()));
    if (!c.description.isEmpty()) {
        pair(QStringLiteral("Description"), c.description);
    }
    y += 10;
    const Riri::ClaimTotals& t = m_content.totals;
    pair(QStringLiteral("Items"), QString::number(t.items));
    pair(QStringLiteral("Original Cost"), ClaimFormat::money(t.costCents));
    pair(QStringLiteral("Current Value"), ClaimFormat::money(t.valueCents));
    pair(QStringLiteral("Replacement Cost"), ClaimFormat::money(t.replacementCents));
}

qreal ClaimPdf::scheduleHeader(qreal top) {
    const QRectF b = body();
    qreal y = top;
    y += text(QRectF(b.left(), y, b.width(), 24), QStringLiteral("Schedule of Loss"), 14, true) + 6;
    qreal x = b.left();
    const QStringList heads = scheduleHeads();
    for (int c = 0; c < heads.size(); ++c) {
        const Column& col = kColumns[c];
        text(QRectF(x + 2, y, col.width - 4, 2 * kRowHeight), heads.at(c), kSchedulePoints, true,
             (col.amount ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignBottom | Qt::TextWordWrap);
        x += col.width;
    }
    y += 2 * kRowHeight + 2;
    m_painter->drawLine(QPointF(b.left(), y), QPointF(b.right(), y));
    return y + 2;
}

void ClaimPdf::writeSchedule() {
    beginPage(true);
    qreal y = scheduleHeader(body().top());
    const auto row = [&](const QStringList& cells, bool bold) {
        qreal x = body().left();
        const QFontMetricsF metrics(font(kSchedulePoints, bold), m_writer);
        for (int c = 0; c < cells.size(); ++c) {
            const Column& col = kColumns[c];
            const QString shown =
                metrics.elidedText(cells.at(c).simplified(), Qt::ElideRight, col.width - 4);
            text(QRectF(x + 2, y, col.width - 4, kRowHeight), shown, kSchedulePoints, bold,
                 (col.amount ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            x += col.width;
        }
        y += kRowHeight;
    };
    int line = 0;
    for (const Riri::ClaimItem& item : m_content.items) {
        if (y + kRowHeight > body().bottom()) {
            beginPage(true);
            y = scheduleHeader(body().top());
        }
        row(scheduleCells(++line, item), false);
    }
    if (y + kRowHeight + 4 > body().bottom()) {
        beginPage(true);
        y = scheduleHeader(body().top());
    }
    m_painter->drawLine(QPointF(body().left(), y + 1), QPointF(body().right(), y + 1));
    y += 3;
    const Riri::ClaimTotals& t = m_content.totals;
    row({QString(), QStringLiteral("Total"), QStringLiteral("%1 items").arg(t.items), QString(),
         QString(), QString(), QString(), QString(), QString(), ClaimFormat::money(t.costCents),
         ClaimFormat::money(t.valueCents), ClaimFormat::money(t.replacementCents), QString()},
        true);
}

qreal ClaimPdf::itemHeader(int line, const Riri::ClaimItem& item, const QString& part) {
    beginPage(false);
    const QRectF b = body();
    qreal y = b.top();
    const QString title =
        QStringLiteral("Line %1: %2 - %3").arg(line).arg(item.itemId, item.itemName);
    const QFontMetricsF metrics(font(13, true), m_writer);
    y += text(QRectF(b.left(), y, b.width(), 22),
              metrics.elidedText(title.simplified(), Qt::ElideRight, b.width()), 13, true);
    if (!part.isEmpty()) {
        y += text(QRectF(b.left(), y, b.width(), 16), part, 10, true);
    }
    return y + 8;
}

void ClaimPdf::writeItem(int line, const Riri::ClaimItem& item) {
    qreal y = itemHeader(line, item, QString());
    const QRectF b = body();
    const QList<std::pair<QString, QString>> fields{
        {QStringLiteral("Room"), item.room},
        {QStringLiteral("Status"), item.status},
        {QStringLiteral("Serial Number"), item.serialNumber},
        {QStringLiteral("Original Cost"), ClaimFormat::money(item.costCents)},
        {QStringLiteral("Model"), item.model},
        {QStringLiteral("Current Value"), ClaimFormat::money(item.valueCents)},
        {QStringLiteral("Acquired"), ClaimFormat::date(item.buyDate)},
        {QStringLiteral("Replacement Cost"), ClaimFormat::money(item.replacementCents)},
        {QStringLiteral("Acquired From"), item.acquiredFrom},
        {QStringLiteral("Evidence Files"), QString::number(item.evidence)},
    };
    const qreal half = b.width() / 2;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const qreal x = b.left() + (i % 2) * half;
        text(QRectF(x, y, 100, 14), fields.at(i).first, 9, true);
        text(QRectF(x + 104, y, half - 110, 14), fields.at(i).second.simplified(), 9, false,
             Qt::AlignLeft | Qt::AlignTop);
        if (i % 2 == 1) {
            y += 15;
        }
    }
    for (const auto& [label, value] : {std::pair{QStringLiteral("Description"), item.description},
                                       std::pair{QStringLiteral("Notes"), item.notes},
                                       std::pair{QStringLiteral("Claim Note"), item.note}}) {
        if (value.trimmed().isEmpty()) {
            continue;
        }
        text(QRectF(b.left(), y, 100, 14), label, 9, true);
        y +=
            std::max<qreal>(14, text(QRectF(b.left() + 104, y, b.width() - 104, 60), value, 9)) + 2;
    }
    y += 8;

    const std::vector<Riri::ClaimEvidence> files = m_evidenceOf(item.itemRef);
    std::vector<const Riri::ClaimEvidence*> photos;
    std::vector<const Riri::ClaimEvidence*> receipts;
    for (const Riri::ClaimEvidence& file : files) {
        if (file.kind == QLatin1String("Photo")) {
            photos.push_back(&file);
        } else if (file.kind == QLatin1String("Receipt")) {
            receipts.push_back(&file);
        }
    }
    // Photos: a grid of two by two below the fields, then on pages of their own.
    for (size_t i = 0; i < photos.size(); ++i) {
        const size_t cell = i % 4;
        if (i > 0 && cell == 0) {
            y = itemHeader(line, item, QStringLiteral("Photos (continued)"));
        }
        const qreal cellWidth = b.width() / 2;
        const qreal cellHeight = (b.bottom() - y) / 2;
        const QRectF box(b.left() + static_cast<qreal>(cell % 2) * cellWidth,
                         y + static_cast<qreal>(cell / 2) * cellHeight, cellWidth, cellHeight);
        drawPicture(box.adjusted(4, 4, -4, -4), m_pathOf(photos[i]->sha256),
                    QStringLiteral("Photo %1 of %2: %3")
                        .arg(i + 1)
                        .arg(photos.size())
                        .arg(photos[i]->fileName));
    }
    // Receipts: a page each, every page of a PDF receipt.
    for (size_t i = 0; i < receipts.size(); ++i) {
        const QString caption = QStringLiteral("Receipt %1 of %2: %3")
                                    .arg(i + 1)
                                    .arg(receipts.size())
                                    .arg(receipts[i]->fileName);
        const QString path = m_pathOf(receipts[i]->sha256);
        if (isPdf(*receipts[i])) {
            writePdfReceipt(line, item, path, caption);
        } else {
            const qreal top = itemHeader(line, item, QStringLiteral("Receipt"));
            drawPicture(QRectF(b.left(), top, b.width(), b.bottom() - top), path, caption);
        }
    }
}

void ClaimPdf::drawPicture(const QRectF& box, const QString& path, const QString& caption) {
    // The picture centred in the box with its caption right under it.
    const QRectF area = box.adjusted(0, 0, 0, -14);
    const PictureLoader::Fitted fitted = PictureLoader::load(path, area.size());
    QRectF target = area;
    if (fitted.image.isNull()) {
        m_painter->drawRect(area);
        text(area, QStringLiteral("This file cannot be shown as a picture; it is in evidence/."), 8,
             false, Qt::AlignCenter | Qt::TextWordWrap);
    } else {
        target = QRectF(QPointF(), fitted.points);
        target.moveCenter(area.center());
        m_painter->drawImage(target, fitted.image);
    }
    text(QRectF(box.left(), target.bottom() + 2, box.width(), 12), caption, 7, false,
         Qt::AlignHCenter | Qt::AlignTop);
}

void ClaimPdf::writePdfReceipt(int line, const Riri::ClaimItem& item, const QString& path,
                               const QString& caption) {
    QPdfDocument document;
    if (document.load(path) != QPdfDocument::Error::None || document.pageCount() == 0) {
        const qreal top = itemHeader(line, item, QStringLiteral("Receipt"));
        drawPicture(QRectF(body().left(), top, body().width(), body().bottom() - top), QString(),
                    caption);
        return;
    }
    for (int p = 0; p < document.pageCount(); ++p) {
        const qreal top = itemHeader(
            line, item,
            QStringLiteral("Receipt, page %1 of %2").arg(p + 1).arg(document.pageCount()));
        const QRectF area(body().left(), top, body().width(), body().bottom() - top - 14);
        text(QRectF(area.left(), area.bottom() + 2, area.width(), 12), caption, 7, false,
             Qt::AlignHCenter | Qt::AlignTop);
        const QSizeF points = document.pagePointSize(p).scaled(area.size(), Qt::KeepAspectRatio);
        const QSize pixels(
            static_cast<int>(std::lround(points.width() * PictureLoader::kMaxDpi / 72)),
            static_cast<int>(std::lround(points.height() * PictureLoader::kMaxDpi / 72)));
        QImage page = document.render(p, pixels);
        if (page.hasAlphaChannel()) {
            QImage white(page.size(), QImage::Format_RGB32);
            white.fill(Qt::white);
            QPainter(&white).drawImage(0, 0, page);
            page = white;
        }
        QRectF target(QPointF(), points);
        target.moveCenter(area.center());
        m_painter->drawImage(target, page);
        m_painter->drawRect(target);
    }
}

void ClaimPdf::writeAppendix() {
    beginPage(false);
    const QRectF b = body();
    qreal y = b.top();
    y += text(QRectF(b.left(), y, b.width(), 24),
              QStringLiteral("Appendix: Items Without a Photo or a Receipt"), 14, true) +
         8;
    int line = 0;
    int listed = 0;
    for (const Riri::ClaimItem& item : m_content.items) {
        ++line;
        QStringList missing;
        if (item.photos == 0) {
            missing.append(QStringLiteral("photo"));
        }
        if (item.receipts == 0) {
            missing.append(QStringLiteral("receipt"));
        }
        if (missing.isEmpty()) {
            continue;
        }
        if (y + 14 > b.bottom()) {
            beginPage(false);
            y = b.top();
        }
        ++listed;
        const QFontMetricsF metrics(font(9, false), m_writer);
        text(QRectF(b.left(), y, 40, 14), QString::number(line), 9);
        text(QRectF(b.left() + 40, y, 360, 14),
             metrics.elidedText(
                 QStringLiteral("%1 - %2").arg(item.itemId, item.itemName).simplified(),
                 Qt::ElideRight, 356),
             9);
        text(QRectF(b.left() + 400, y, b.width() - 400, 14),
             QStringLiteral("No ") + missing.join(QStringLiteral(", no ")), 9);
        y += 14;
    }
    if (listed == 0) {
        text(QRectF(b.left(), y, b.width(), 14),
             QStringLiteral("Every item of this claim has a photo and a receipt."), 9);
    }
}
