#pragma once
#include <QImage>
#include <QString>

namespace tamboro {

// The two glyphs of a navigator button: the normal one and the one shown
// while the button is disabled, with their transparent colour cleared.
struct NaviGlyph {
    QImage normal, disabled;
    bool isNull() const { return normal.isNull(); }
};

// The image of this name from the program's navigator image set, the name
// compared without regard to case ("db_first", "DB_FIRST"). Throws
// std::runtime_error naming the image when the set has none of that name.
QImage loadNaviImage(const QString& name);

// Splits a glyph picture into its left (normal) and right (disabled) halves
// and makes the colour of its bottom-left pixel transparent. A picture too
// narrow to split serves as both.
NaviGlyph splitNaviGlyph(const QImage& picture);

}  // namespace tamboro
