#pragma once

#include "reports/BandReport.h"

#include <Riri/Recordset.h>

#include <QDate>
#include <QLocale>
#include <cstdint>
#include <memory>

// The valuation summary: under the title and date the owner's name and
// address (when an owner record exists), then one ruled row per room that
// holds items with its number of items, total original cost and total
// current value, and a ruled grand-total row. Amounts are added in whole
// cents.
class rptValuationSummary : public BandReport {
public:
    // `rooms`: the rows of DataReport::cmdValuationSummary (RoomName,
    // ItemCount, CostCents, ValueCents); `owner`: the owner record set, or
    // null or empty when there is none.
    rptValuationSummary(const Riri::Recordset& rooms, const Riri::Recordset* owner,
                        const QDate& runDate = QDate::currentDate(),
                        const QLocale& locale = QLocale());

    // Whole cents in the reports' currency format: 123450 gives "$1,234.50",
    // -300 gives "-$3.00".
    static QString formatCents(std::int64_t cents, const QLocale& locale = QLocale());

private:
    struct Summary {
        std::shared_ptr<Riri::Recordset> rows; // RoomName, ItemCount, Cost, Value as printed
        QString count;
        QString cost;
        QString value;
        QStringList owner; // the lines under the title; empty without an owner
    };
    static Summary summarise(const Riri::Recordset& rooms, const Riri::Recordset* owner,
                             const QLocale& locale);
    static Band::Definition layout(const Summary& summary);
    rptValuationSummary(const Summary& summary, const QDate& runDate, const QLocale& locale);
};
