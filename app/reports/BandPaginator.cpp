#include "reports/BandPaginator.h"

#include <algorithm>

namespace Band {

namespace {

class Pager {
public:
    explicit Pager(const Definition& d)
        : m_def(d), m_bodyTop(d.topMargin + d.pageHeader.height),
          m_footerTop(d.pageHeight() - d.bottomMargin - d.pageFooter.height) {
        startPage();
    }

    // Places a section, first moving to a new page when `needed` twips do not
    // fit below the current position (and the page already holds something).
    void place(SectionKind kind, int group, qsizetype row, int needed) {
        const int height = m_def.section(kind).height;
        if (height <= 0) {
            return;
        }
        if (m_y + needed > m_footerTop && m_y > m_bodyTop) {
            finishPage();
            startPage();
        }
        m_pages.back().placements.push_back(Placement{kind, group, row, m_y});
        m_y += height;
    }

    std::vector<PagePlan> finish() {
        finishPage();
        return std::move(m_pages);
    }

private:
    void startPage() {
        m_pages.emplace_back();
        if (!m_def.pageHeader.isEmpty()) {
            m_pages.back().placements.push_back(
                Placement{SectionKind::PageHeader, 0, 0, m_def.topMargin});
        }
        m_y = m_bodyTop;
    }

    void finishPage() {
        if (!m_def.pageFooter.isEmpty()) {
            m_pages.back().placements.push_back(
                Placement{SectionKind::PageFooter, 0, 0, m_footerTop});
        }
    }

    const Definition& m_def;
    const int m_bodyTop;
    const int m_footerTop;
    int m_y = 0;
    std::vector<PagePlan> m_pages;
};

} // namespace

std::vector<PagePlan> paginate(const Definition& d, const std::vector<qsizetype>& rowsPerGroup) {
    Pager pager(d);
    const int detail = d.detail.height;
    pager.place(SectionKind::ReportHeader, 0, 0, d.reportHeader.height);
    for (int g = 0; g < static_cast<int>(rowsPerGroup.size()); ++g) {
        const qsizetype rows = rowsPerGroup[static_cast<size_t>(g)];
        // The header keeps company with the group's first detail.
        pager.place(SectionKind::GroupHeader, g, 0, d.groupHeader.height + (rows > 0 ? detail : 0));
        for (qsizetype r = 0; r < rows; ++r) {
            pager.place(SectionKind::Detail, g, r, detail);
        }
        pager.place(SectionKind::GroupFooter, g, 0, d.groupFooter.height);
    }
    pager.place(SectionKind::ReportFooter, std::max(0, static_cast<int>(rowsPerGroup.size()) - 1),
                0, d.reportFooter.height);
    return pager.finish();
}

} // namespace Band
