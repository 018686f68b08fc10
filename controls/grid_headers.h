#pragma once

class QTableView;

namespace tamboro {

// The headers every data grid shares: a narrow row indicator of fixed,
// uniform rows (the view never measures rows, whatever their number) and
// centred column titles that neither highlight nor sort.
void setUpDataGridHeaders(QTableView& view);

}  // namespace tamboro
