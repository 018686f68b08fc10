#pragma once
#include <vector>

#include "controls/form_page.h"

namespace tamboro {

// Height of the code and genre strip and of the title strip.
inline constexpr int kCodeStripHeight = 33;
inline constexpr int kTitleStripHeight = 56;

// The record editor's two strips across the top: codes and genres
// (Panel4), titles (pnlTop), bound to the titles' source; the lookup list
// of the major genre is the source named "GenreSource". Tab places from 1.
std::vector<FormRow> dataInStripRows();

}  // namespace tamboro
