#include "controls/rating_pictures.h"

#include <QPainter>
#include <QPolygonF>
#include <cmath>
#include <numbers>

namespace tamboro {
namespace {

const QColor kStarGold(0xFF, 0xCC, 0x00);
const QColor kStarOutline(0x60, 0x48, 0x00);
const QColor kFace(0xD4, 0xD0, 0xC8);

// A five-pointed star filling most of the cell at `left`, one point up.
QPolygonF starInCell(qreal left) {
    const QPointF centre(left + kStarCellWidth / 2.0, kStarCellHeight / 2.0 + 0.8);
    const qreal outer = 9.4;
    const qreal inner = outer * 0.382;  // the ratio of a regular pentagram
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal r = i % 2 == 0 ? outer : inner;
        const qreal angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        star << centre + QPointF(r * std::cos(angle), r * std::sin(angle));
    }
    return star;
}

}  // namespace

RatingPicture ratingPictureFor(std::optional<std::int64_t> rating) {
    if (!rating || *rating < 1 || *rating > 5) return RatingPicture::ImgNone;
    return static_cast<RatingPicture>(*rating);
}

std::optional<std::int64_t> ratingAtComboPosition(int position) {
    if (position < 0) return std::nullopt;
    return 5 - position;
}

QImage drawRatingPicture(RatingPicture which) {
    const int stars = static_cast<int>(which);
    QImage image(kStarCellWidth * std::max(stars, 1), kStarCellHeight, QImage::Format_RGB32);
    image.fill(kFace);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kStarOutline, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(kStarGold);
    for (int i = 0; i < stars; ++i) p.drawPolygon(starInCell(i * kStarCellWidth));
    return image;
}

RatingPictures::RatingPictures() {
    for (int i = 0; i < static_cast<int>(pictures_.size()); ++i)
        pictures_[i] = QPixmap::fromImage(drawRatingPicture(static_cast<RatingPicture>(i)));
}

}  // namespace tamboro
