#pragma once

#include "reports/BandLayout.h"
#include "reports/BandPaginator.h"

#include <Riri/Recordset.h>

#include <QDate>
#include <QFont>
#include <QImage>
#include <QLocale>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPrinter;

namespace Band {

// The rows one group prints: its key (the grouping field's value) and its
// detail rows. A report without groups has one group holding every row.
struct Group {
    QString key;
    std::shared_ptr<const Riri::Recordset> rows;
    // One row that Level::Summary fields read (the group's totals); may be null.
    std::shared_ptr<const Riri::Recordset> summary = {};
};

// One thing drawn on a page, in twips from the top-left corner of the paper.
// A line runs from rect.topLeft() to rect.bottomRight(); a picture's text is
// the key of the picture drawn in its frame (empty: the frame alone).
struct DrawItem {
    enum class Type { Text, Line, Picture };
    Type type = Type::Text;
    SectionKind section = SectionKind::Detail;
    QString element;
    QRectF rect;
    QString text;
    int font = 0;  // index into BandReport::fonts()
    int flags = 0; // Qt alignment and wrapping flags
};

} // namespace Band

// A banded report: its definition, the rows bound to it, and the pages they
// fill. Pages are planned when the rows are bound (a matter of arithmetic,
// since every section has a fixed height) and drawn only when asked for, so a
// report of thousands of pages shows its first page at once.
class BandReport {
public:
    explicit BandReport(Band::Definition definition);
    virtual ~BandReport();
    BandReport(const BandReport&) = delete;
    BandReport& operator=(const BandReport&) = delete;

    const Band::Definition& definition() const { return m_def; }

    // Binds the rows and plans the pages. The run date is what "%D" prints;
    // the locale gives the separators of the formats.
    void setGroups(std::vector<Band::Group> groups, const QDate& runDate = QDate::currentDate(),
                   const QLocale& locale = QLocale());
    const std::vector<Band::Group>& groups() const { return m_groups; }

    int pageCount() const { return static_cast<int>(m_pages.size()); }
    const std::vector<Band::PagePlan>& pages() const { return m_pages; }

    // What a page (counted from 0) shows, in drawing order.
    std::vector<Band::DrawItem> pageItems(int page) const;

    // Draws a page with the paper's top-left corner at the painter's origin,
    // at `unitsPerTwip` device units per twip.
    void paintPage(QPainter& painter, int page, qreal unitsPerTwip) const;
    // A page as a white picture at the given resolution.
    QImage renderPage(int page, qreal dotsPerInch) const;

    // Writes every page to a PDF file; the file is replaced only when the
    // whole document was written. False when it could not be written.
    bool writePdf(const QString& path) const;
    // Prints the pages in the printer's page range (all when none is set).
    bool print(QPrinter& printer) const;

    const std::vector<QFont>& fonts() const { return m_fonts; }

    // Where Picture elements find their pictures, by the key their column
    // holds; asked only for the pages drawn.
    using PictureSource = std::function<QImage(const QString& key)>;
    void setPictureSource(PictureSource source) { m_pictures = std::move(source); }
    // The width of a line, in twips.
    static constexpr qreal kLineWidth = 15.0;

private:
    int fontIndex(qreal points, bool bold);
    QString expandCodes(const QString& text, int page) const;
    QString elementText(const Band::Element& e, int elementIndex, const Band::Placement& at,
                        int page) const;
    void addSection(std::vector<Band::DrawItem>& items, const Band::Placement& at, int page) const;
    void paintPicture(QPainter& painter, const QString& key, const QRectF& frame) const;

    Band::Definition m_def;
    std::vector<QFont> m_fonts;
    // Per section kind, per element: its font index and drawing flags.
    struct ElementStyle {
        int font = 0;
        int flags = 0;
    };
    std::vector<std::vector<ElementStyle>> m_styles;
    std::vector<Band::Group> m_groups;
    // Per section kind, per element: the column a detail-level field reads
    // (-1 for none). Every group's rows come from one statement, so all share
    // the same columns.
    std::vector<std::vector<int>> m_columns;
    std::vector<Band::PagePlan> m_pages;
    QDate m_runDate;
    QLocale m_locale;
    PictureSource m_pictures;
};
