#pragma once
#include <QString>
#include <array>
#include <vector>

#include "report/band_layout.h"

namespace tamboro::report {

// The texts of one built report: the page header's and one row per detail
// band. Enough to paint any page again without the tables.
struct ReportContent {
    using Row = std::array<QString, kDetailSlots>;

    std::array<QString, kHeaderSlots> header;
    // One row per listed title; a list of no titles has one row of empty
    // field cells (its genre cells show the look-up of code 0).
    std::vector<Row> rows;
    int titles = 0;

    int pageCount() const { return pageCountFor(titles); }
    // Rows [first, first + count) on a page (0-based).
    int firstRowOf(int page) const { return page * detailBandsPerPage(); }
    int rowCountOn(int page) const;
};

}  // namespace tamboro::report
