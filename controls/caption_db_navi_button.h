#pragma once
#include <QAbstractButton>
#include <QColor>
#include <QTimer>

#include "controls/caption_db_navi.h"
#include "controls/caption_db_navi_glyphs.h"

namespace tamboro {

// One button of the captioned navigator: its glyph and caption drawn as one
// block centred in the button, the caption in a colour the navigator sets
// (the hover colour), greyed with the disabled glyph while disabled. Like a
// speed button it takes no focus, so the bound control being typed into
// keeps it. Prior and next repeat while held under the pointer.
class TNaviButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kGlyphSpacing = 4;
    static constexpr int kRepeatDelayMs = 400;
    static constexpr int kRepeatIntervalMs = 100;

    TNaviButton(TCaptionDBNavi::TNavigateBtn kind, TCaptionDBNavi* navigator);

    TCaptionDBNavi::TNavigateBtn kind() const { return kind_; }

    const NaviGlyph& glyph() const { return glyph_; }
    void setGlyph(const NaviGlyph& glyph);
    QColor captionColor() const { return captionColor_; }
    void setCaptionColor(const QColor& c);
    TCaptionDBNavi::TCaptionLayout glyphPosition() const { return layout_; }
    void setGlyphPosition(TCaptionDBNavi::TCaptionLayout layout);
    void setFlat(bool on);

    // Where the glyph and the caption are drawn (not offset for a pressed
    // button); empty rectangles for a part not shown.
    QRect glyphRect() const;
    QRect captionRect() const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void changeEvent(QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    bool repeats() const;
    void repeatTick();
    void blockRects(QRect* glyph, QRect* caption) const;
    QSize glyphSize() const;
    QSize captionSize() const;
    void paintFrame(QPainter& p);
    void paintCaption(QPainter& p, const QRect& r);

    TCaptionDBNavi* navigator_;
    TCaptionDBNavi::TNavigateBtn kind_;
    NaviGlyph glyph_;
    QColor captionColor_;
    TCaptionDBNavi::TCaptionLayout layout_ = TCaptionDBNavi::cbBottom;
    bool flat_ = false;
    QTimer repeat_;
};

}  // namespace tamboro
