#pragma once

#include "reports/BandReport.h"
#include "reports/dataReport.h"

#include <memory>

// The inventory by room: per room a heading with the column headings, the
// room's item blocks, and the number of its items.
class rptRoomReport : public BandReport {
public:
    rptRoomReport();

    // Binds the rooms of cmdRoomTotal_Grouping with their child rows and
    // plans the pages.
    void bind(const GroupedRecordset& rscmdRoomTotal_Grouping,
              const QDate& runDate = QDate::currentDate(), const QLocale& locale = QLocale());

    static Band::Definition layout();
};
