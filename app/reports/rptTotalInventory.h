#pragma once

#include "reports/BandReport.h"

#include <Riri/Recordset.h>

#include <memory>

// The complete inventory: one ruled block per item, sorted by room, with the
// column headings on every page.
class rptTotalInventory : public BandReport {
public:
    rptTotalInventory();

    // Binds the rows of cmdItemTotal and plans the pages.
    void bind(std::shared_ptr<const Riri::Recordset> rscmdItemTotal,
              const QDate& runDate = QDate::currentDate(), const QLocale& locale = QLocale());

    static Band::Definition layout();
};
