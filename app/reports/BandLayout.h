#pragma once

#include "platform/Twips.h"

#include <QString>
#include <vector>

// The definition of a banded report: sections of fixed height holding labels,
// fields, lines and row counts, each placed in twips from the report's left
// edge and the top of its section.
namespace Band {

enum class Align { Left, Center, Right };

enum class Kind {
    Label,    // fixed text; "%i", "%D", "%p" and "%P" are expanded
    Field,    // a column of the current row (or of the group) in a format
    Line,     // a straight rule from (left, top) to (left + width, top + height)
    RowCount, // the number of detail rows of the current group, in a format
    Picture,  // a plain frame with the picture a column names fitted inside it
};

// Which record a field reads: the detail row, the group's key, or the
// group's summary row (its totals).
enum class Level { Detail, Group, Summary };

struct Element {
    QString name;
    Kind kind = Kind::Label;
    QString text; // label text, or the column a field reads
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    qreal points = 8.25;
    bool bold = false;
    Align align = Align::Center;
    QString format;
    bool multiLine = false;
    Level level = Level::Detail;
};

struct Section {
    QString name;
    int height = 0;
    std::vector<Element> elements;

    bool isEmpty() const { return height <= 0; }
};

// The kinds of section. A group prints its header, details and footer; the
// report header follows the first page's header once, the report footer
// follows the last group.
enum class SectionKind {
    PageHeader,
    GroupHeader,
    Detail,
    GroupFooter,
    PageFooter,
    ReportHeader,
    ReportFooter
};

struct Definition {
    QString title;   // "%i"
    QString caption; // the preview window's caption
    int reportWidth = 0;
    // Letter paper, in twips; landscape swaps width and height.
    int paperWidth = 12240;
    int paperHeight = 15840;
    bool landscape = false;
    // One inch each until the report sets its own.
    int leftMargin = Twips::PerInch;
    int rightMargin = Twips::PerInch;
    int topMargin = Twips::PerInch;
    int bottomMargin = Twips::PerInch;

    Section pageHeader;
    Section groupHeader; // empty for a report without groups
    Section detail;
    Section groupFooter;
    Section pageFooter;
    Section reportHeader; // empty for most reports
    Section reportFooter;

    int pageWidth() const { return landscape ? paperHeight : paperWidth; }
    int pageHeight() const { return landscape ? paperWidth : paperHeight; }
    const Section& section(SectionKind kind) const;
};

// Builders for the layout tables.
Element label(const QString& name, const QString& text, int left, int top, int width, int height,
              qreal points = 8.25, bool bold = false, Align align = Align::Center);
Element field(const QString& name, const QString& column, int left, int top, int width, int height,
              Align align = Align::Center, const QString& format = QString());
Element groupField(const QString& name, const QString& column, int left, int top, int width,
                   int height, qreal points, bool bold, Align align);
Element area(const QString& name, const QString& column, int left, int top, int width, int height);
Element rowCount(const QString& name, int left, int top, int width, int height, qreal points,
                 bool bold, Align align, const QString& format);
// A field of the group's summary row.
Element summaryField(const QString& name, const QString& column, int left, int top, int width,
                     int height, qreal points, bool bold, Align align,
                     const QString& format = QString());
// A frame showing the picture whose key the column holds (none: the frame alone).
Element picture(const QString& name, const QString& column, int left, int top, int width,
                int height);
Element hLine(int left, int top, int length);
Element vLine(int left, int top, int length);

} // namespace Band
