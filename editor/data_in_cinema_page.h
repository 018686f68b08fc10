#pragma once
#include <vector>

#include "controls/form_page.h"

namespace tamboro {

// The page of the film's makers, cast and story (tabCinema), bound to the
// titles' source; tab places from 1 in the page's order.
std::vector<FormRow> cinemaPageRows();

}  // namespace tamboro
