#pragma once

#include <Riri/ClaimsStore.h>
#include <Riri/Progress.h>

#include <QStringList>
#include <functional>
#include <vector>

class QPainter;
class QPdfWriter;
class QRectF;
class QSizeF;

// What a claim's document shows.
struct ClaimContent {
    Riri::Claim claim;
    QStringList owner; // name, address, place; empty without an owner
    std::vector<Riri::ClaimItem> items;
    Riri::ClaimTotals totals;
};

// The claim's document, page by page: the cover, the schedule of loss with
// its totals, a page (or more) for each item with its fields, photos (four a
// page) and receipts (a page each, every page of a PDF receipt), and an
// appendix of the items without a photo or a receipt. Pictures are decoded
// one at a time at their printed size.
class ClaimPdf {
public:
    // The stored files of one item, in the order they were added.
    using EvidenceOf = std::function<std::vector<Riri::ClaimEvidence>(qint64 itemRef)>;
    // Where the file of a SHA-256 lies.
    using PathOf = std::function<QString(const QString& sha256)>;

    ClaimPdf(const ClaimContent& content, EvidenceOf evidenceOf, PathOf pathOf);

    // Writes the document to `path`. The progress hears of the items drawn
    // of all; a cancel throws Riri::Error (ErrorNumber::Cancelled) and the
    // half-written file is the caller's to remove. False when the file
    // cannot be written.
    bool write(const QString& path, const Riri::Progress& progress = {});

    // The schedule's column heads, as the CSV names them.
    static QStringList scheduleHeads();

private:
    void beginPage(bool landscape);
    QRectF body() const;
    void pageFooter();
    void writeCover();
    void writeSchedule();
    qreal scheduleHeader(qreal top);
    void writeItem(int line, const Riri::ClaimItem& item);
    qreal itemHeader(int line, const Riri::ClaimItem& item, const QString& part);
    void drawPicture(const QRectF& box, const QString& path, const QString& caption);
    void writePdfReceipt(int line, const Riri::ClaimItem& item, const QString& path,
                         const QString& caption);
    void writeAppendix();
    qreal text(const QRectF& box, const QString& text, qreal points, bool bold = false,
               int flags = 0);

    const ClaimContent& m_content;
    EvidenceOf m_evidenceOf;
    PathOf m_pathOf;
    QPdfWriter* m_writer = nullptr;
    QPainter* m_painter = nullptr;
    bool m_started = false;
    bool m_landscape = false;
    int m_page = 0;
};
