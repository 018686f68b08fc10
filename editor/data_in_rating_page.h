#pragma once
#include <array>
#include <string_view>
#include <vector>

#include "controls/form_page.h"

namespace tamboro {

// One rating of a title: its combo box, the image beside it, its field.
struct RatingRow {
    const char* combo;
    const char* image;
    std::string_view field;  // UTF-8
};

inline constexpr int kRatingCount = 8;

// The eight ratings in their order on the page.
const std::array<RatingRow, kRatingCount>& ratingRows();

// Where the image of rating i stands, on the combo box's panel.
QRect ratingImagePlace(int i);
// The panel the controls of rating i sit on.
const char* ratingPanel(int i);

// The page of ratings, comment, impressions and dates (tabEntry), bound to
// the titles' source; tab places from 1 in the page's order.
std::vector<FormRow> ratingPageRows();

}  // namespace tamboro
