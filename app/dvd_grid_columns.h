#pragma once
#include <vector>

#include "controls/table_model.h"

namespace tamboro {

// The columns of the main window's title grid, left to right.
std::vector<TableColumn> dvdGridColumns();

}  // namespace tamboro
