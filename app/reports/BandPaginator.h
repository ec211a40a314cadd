#pragma once

#include "reports/BandLayout.h"

#include <QtGlobal>
#include <vector>

namespace Band {

// One section printed on a page: which section, for which group and row, and
// where its top lies, in twips from the top edge of the paper.
struct Placement {
    SectionKind kind = SectionKind::Detail;
    int group = 0;
    qsizetype row = 0; // the detail row within its group
    int top = 0;
};

struct PagePlan {
    std::vector<Placement> placements;
};

// Splits the sections of a report over pages. Every page gets the page header
// at its top margin and the page footer just above its bottom margin. No
// section is ever split; a group header moves to the next page together with
// the group's first detail when both do not fit, so it never stands alone at
// the bottom of a page. A section taller than a whole page body still gets a
// page of its own (and is cut at the footer) rather than stopping the layout.
std::vector<PagePlan> paginate(const Definition& definition,
                               const std::vector<qsizetype>& rowsPerGroup);

} // namespace Band
