#pragma once
#include <QImage>
#include <QPixmap>
#include <array>
#include <cstdint>
#include <optional>

namespace tamboro {

// The pictures a rating is shown with; each star picture's value is its
// number of stars.
enum class RatingPicture { ImgNone = 0, ImgStar1, ImgStar2, ImgStar3, ImgStar4, ImgStar5 };

// Size of one star cell, and of the blank tile.
inline constexpr int kStarCellWidth = 25;
inline constexpr int kStarCellHeight = 20;

// The picture of a rating: 1 to 5 give that many stars; blank (nullopt), 0
// and anything outside 1 to 5 give the blank tile.
RatingPicture ratingPictureFor(std::optional<std::int64_t> rating);

// The rating of the item at `position` of a rating combo box, whose items
// run "5", "4", … "0"; nullopt when no item is selected (position < 0), in
// which case the picture stays as it is.
std::optional<std::int64_t> ratingAtComboPosition(int position);

// Draws one picture: golden stars with a dark outline, one per 25 x 20 cell,
// on the button face colour; the blank tile is one cell of that colour.
QImage drawRatingPicture(RatingPicture which);

// The six pictures, drawn once by their owner (the window that shows
// ratings), so that setting a rating's image only shares a pixmap.
class RatingPictures {
public:
    RatingPictures();

    const QPixmap& picture(RatingPicture which) const { return pictures_[static_cast<int>(which)]; }
    const QPixmap& forRating(std::optional<std::int64_t> rating) const { return picture(ratingPictureFor(rating)); }

private:
    std::array<QPixmap, 6> pictures_;
};

}  // namespace tamboro
