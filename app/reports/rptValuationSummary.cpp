#include "reports/rptValuationSummary.h"

#include "reports/ReportSettings.h"

#include <QRegularExpression>

using namespace Band;

namespace {

// The column edges of the room rows: room, items, original cost, current value.
constexpr int kEdges[] = {144, 5184, 7344, 10872, 14400};
// Text is kept this far from the column rules.
constexpr int kPad = 144;

qint64 wholeNumber(const QString& text) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? value : 0;
}

// The four cells of a row: the room left-aligned, the rest right-aligned.
void addCells(Section& section, const QStringList& names, const QStringList& texts, int top,
              bool label, qreal points, bool bold) {
    for (int c = 0; c < 4; ++c) {
        const int left = kEdges[c] + kPad;
        const int width = kEdges[c + 1] - kEdges[c] - 2 * kPad;
        const Align align = c == 0 ? Align::Left : Align::Right;
        if (label) {
            section.elements.push_back(Band::label(names.value(c), texts.value(c), left, top, width,
                                                   285, points, bold, align));
        } else {
            section.elements.push_back(
                Band::field(names.value(c), texts.value(c), left, top, width, 285, align));
        }
    }
}

void addColumnRules(Section& section, int top, int length) {
    for (const int x : kEdges) {
        section.elements.push_back(vLine(x, top, length));
    }
}

} // namespace

QString rptValuationSummary::formatCents(std::int64_t cents, const QLocale& locale) {
    QLocale grouped = locale;
    grouped.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    const std::uint64_t magnitude = cents < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(cents)
                                              : static_cast<std::uint64_t>(cents);
    const auto rest = static_cast<int>(magnitude % 100);
    QString text = QStringLiteral("$") +
                   grouped.toString(static_cast<qulonglong>(magnitude / 100)) +
                   grouped.decimalPoint() + QLatin1Char(static_cast<char>('0' + rest / 10)) +
                   QLatin1Char(static_cast<char>('0' + rest % 10));
    return cents < 0 ? grouped.negativeSign() + text : text;
}

rptValuationSummary::Summary rptValuationSummary::summarise(const Riri::Recordset& rooms,
                                                            const Riri::Recordset* owner,
                                                            const QLocale& locale) {
    Summary s;
    s.rows = std::make_shared<Riri::Recordset>(
        QStringList{QStringLiteral("RoomName"), QStringLiteral("ItemCount"), QStringLiteral("Cost"),
                    QStringLiteral("Value")});
    const int room = rooms.columnIndex(QStringLiteral("RoomName"));
    const int count = rooms.columnIndex(QStringLiteral("ItemCount"));
    const int cost = rooms.columnIndex(QStringLiteral("CostCents"));
    const int value = rooms.columnIndex(QStringLiteral("ValueCents"));
    qint64 items = 0;
    std::int64_t costCents = 0;
    std::int64_t valueCents = 0;
    const auto append = [&s](const QString& text) {
        s.rows->appendCell(reinterpret_cast<const char16_t*>(text.utf16()), text.size(), false);
    };
    for (qsizetype r = 0; r < rooms.rowCount(); ++r) {
        const qint64 n = wholeNumber(rooms.fieldAt(r, count));
        // A room whose amounts are all empty sums to nothing: 0.
        const qint64 c = wholeNumber(rooms.fieldAt(r, cost));
        const qint64 v = wholeNumber(rooms.fieldAt(r, value));
        items += n;
        costCents += c;
        valueCents += v;
        append(rooms.fieldAt(r, room));
        append(QString::number(n));
        append(formatCents(c, locale));
        append(formatCents(v, locale));
    }
    s.count = QString::number(items);
    s.cost = formatCents(costCents, locale);
    s.value = formatCents(valueCents, locale);

    if (owner != nullptr && owner->rowCount() > 0) {
        const auto field = [owner](const char* name) {
            return owner->fieldAt(0, owner->columnIndex(QLatin1String(name))).trimmed();
        };
        QString name = field("FullName");
        if (name.isEmpty()) {
            name = QStringList{field("FName"), field("MName"), field("LName")}
                       .filter(QRegularExpression(QStringLiteral("\\S")))
                       .join(QLatin1Char(' '));
        }
        QString place = field("City");
        const QString stateZip = QStringList{field("State"), field("Zip")}
                                     .filter(QRegularExpression(QStringLiteral("\\S")))
                                     .join(QLatin1Char(' '));
        if (!stateZip.isEmpty()) {
            place += (place.isEmpty() ? QString() : QStringLiteral(", ")) + stateZip;
        }
        s.owner = QStringList{name, field("Address"), place};
    }
    return s;
}

Definition rptValuationSummary::layout(const Summary& summary) {
    Definition d;
    ReportSettings::initialise(d, QStringLiteral("Valuation Summary"),
                               QStringLiteral("Valuation Summary"));

    d.pageHeader = ReportSettings::pageHeader(0);
    int headingTop = 1296;
    if (!summary.owner.isEmpty()) {
        const QStringList names{QStringLiteral("lblOwnerName"), QStringLiteral("lblOwnerAddress"),
                                QStringLiteral("lblOwnerPlace")};
        for (int i = 0; i < 3; ++i) {
            d.pageHeader.elements.push_back(label(names.at(i), summary.owner.at(i), 1537,
                                                  1224 + 300 * i, 11520, 285, 9.75, i == 0));
        }
        headingTop = 2304;
    }
    addCells(d.pageHeader,
             {QStringLiteral("Label1"), QStringLiteral("Label2"), QStringLiteral("Label3"),
              QStringLiteral("Label4")},
             {QStringLiteral("Room"), QStringLiteral("Items"), QStringLiteral("Original Cost"),
              QStringLiteral("Current Value")},
             headingTop + 72, true, 8.25, true);
    d.pageHeader.elements.push_back(hLine(144, headingTop, 14256));
    d.pageHeader.elements.push_back(hLine(144, headingTop + 432, 14256));
    addColumnRules(d.pageHeader, headingTop, 432);
    d.pageHeader.height = headingTop + 432;

    d.detail.name = QStringLiteral("Detail");
    d.detail.height = 360;
    addCells(d.detail,
             {QStringLiteral("txtRoomName"), QStringLiteral("txtItemCount"),
              QStringLiteral("txtCost"), QStringLiteral("txtCurValue")},
             {QStringLiteral("RoomName"), QStringLiteral("ItemCount"), QStringLiteral("Cost"),
              QStringLiteral("Value")},
             48, false, 8.25, false);
    d.detail.elements.push_back(hLine(144, 360, 14256));
    addColumnRules(d.detail, 0, 360);

    // The grand total: set off by a double rule above and closed by a rule.
    d.groupFooter.name = QStringLiteral("GroupFooter");
    d.groupFooter.height = 576;
    addCells(d.groupFooter,
             {QStringLiteral("lblTotal"), QStringLiteral("lblTotalItems"),
              QStringLiteral("lblTotalCost"), QStringLiteral("lblTotalValue")},
             {QStringLiteral("Total"), summary.count, summary.cost, summary.value}, 120, true, 9.75,
             true);
    d.groupFooter.elements.push_back(hLine(144, 45, 14256));
    d.groupFooter.elements.push_back(hLine(144, 480, 14256));
    addColumnRules(d.groupFooter, 45, 435);

    d.pageFooter = ReportSettings::pageFooter(
        435,
        {QStringLiteral("Label14"), QStringLiteral("Label15"), QStringLiteral("Label16"),
         QStringLiteral("Label17"), QStringLiteral("Label18"), QStringLiteral("Label19")},
        5932, 2730);
    return d;
}

rptValuationSummary::rptValuationSummary(const Riri::Recordset& rooms, const Riri::Recordset* owner,
                                         const QDate& runDate, const QLocale& locale)
    : rptValuationSummary(summarise(rooms, owner, locale), runDate, locale) {}

rptValuationSummary::rptValuationSummary(const Summary& summary, const QDate& runDate,
                                         const QLocale& locale)
    : BandReport(layout(summary)) {
    std::vector<Group> groups;
    groups.push_back(Group{QString(), summary.rows});
    setGroups(std::move(groups), runDate, locale);
}
