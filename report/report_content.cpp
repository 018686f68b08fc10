#include "report/report_content.h"

#include <algorithm>

namespace tamboro::report {

int ReportContent::rowCountOn(int page) const {
    if (page < 0 || page >= pageCount()) return 0;
    const int left = static_cast<int>(rows.size()) - firstRowOf(page);
    return std::clamp(left, 0, detailBandsPerPage());
}

}  // namespace tamboro::report
