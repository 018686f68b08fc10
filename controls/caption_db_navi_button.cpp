#include "controls/caption_db_navi_button.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <qdrawutil.h>

namespace tamboro {

TNaviButton::TNaviButton(TCaptionDBNavi::TNavigateBtn kind, TCaptionDBNavi* navigator)
    : QAbstractButton(navigator), navigator_(navigator), kind_(kind) {
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    repeat_.setParent(this);
    repeat_.setObjectName(QStringLiteral("repeatTimer"));
    connect(&repeat_, &QTimer::timeout, this, &TNaviButton::repeatTick);
}

void TNaviButton::setGlyph(const NaviGlyph& glyph) {
    glyph_ = glyph;
    update();
}

void TNaviButton::setCaptionColor(const QColor& c) {
    if (c == captionColor_) return;
    captionColor_ = c;
    update();
}

void TNaviButton::setGlyphPosition(TCaptionDBNavi::TCaptionLayout layout) {
    layout_ = layout;
    update();
}

void TNaviButton::setFlat(bool on) {
    flat_ = on;
    update();
}

QSize TNaviButton::glyphSize() const { return glyph_.isNull() ? QSize(0, 0) : glyph_.normal.size(); }

QSize TNaviButton::captionSize() const {
    if (text().isEmpty()) return QSize(0, 0);
    return QFontMetrics(font()).size(Qt::TextShowMnemonic, text());
}

// Glyph and caption form one block centred in the button, the gap between
// them only when both are there.
void TNaviButton::blockRects(QRect* glyph, QRect* caption) const {
    const QSize g = glyphSize(), t = captionSize();
    const int gap = (g.isEmpty() || t.isEmpty()) ? 0 : kGlyphSpacing;
    const bool across = layout_ == TCaptionDBNavi::cbLeft || layout_ == TCaptionDBNavi::cbRight;
    const QSize block = across ? QSize(g.width() + gap + t.width(), std::max(g.height(), t.height()))
                               : QSize(std::max(g.width(), t.width()), g.height() + gap + t.height());
    const int x0 = (width() - block.width()) / 2, y0 = (height() - block.height()) / 2;
    QRect gr, tr;
    switch (layout_) {
    case TCaptionDBNavi::cbLeft:
        gr = QRect(QPoint(x0, y0 + (block.height() - g.height()) / 2), g);
        tr = QRect(QPoint(x0 + g.width() + gap, y0 + (block.height() - t.height()) / 2), t);
        break;
    case TCaptionDBNavi::cbRight:
        tr = QRect(QPoint(x0, y0 + (block.height() - t.height()) / 2), t);
        gr = QRect(QPoint(x0 + t.width() + gap, y0 + (block.height() - g.height()) / 2), g);
        break;
    case TCaptionDBNavi::cbTop:
        gr = QRect(QPoint(x0 + (block.width() - g.width()) / 2, y0), g);
        tr = QRect(QPoint(x0 + (block.width() - t.width()) / 2, y0 + g.height() + gap), t);
        break;
    case TCaptionDBNavi::cbBottom:
        tr = QRect(QPoint(x0 + (block.width() - t.width()) / 2, y0), t);
        gr = QRect(QPoint(x0 + (block.width() - g.width()) / 2, y0 + t.height() + gap), g);
        break;
    }
    if (glyph) *glyph = g.isEmpty() ? QRect() : gr;
    if (caption) *caption = t.isEmpty() ? QRect() : tr;
}

QRect TNaviButton::glyphRect() const {
    QRect r;
    blockRects(&r, nullptr);
    return r;
}

QRect TNaviButton::captionRect() const {
    QRect r;
    blockRects(nullptr, &r);
    return r;
}

QSize TNaviButton::sizeHint() const {
    QRect g, t;
    blockRects(&g, &t);
    return g.united(t).size().expandedTo(QSize(TCaptionDBNavi::kMinButtonWidth, TCaptionDBNavi::kMinHeight)) +
           QSize(8, 8);
}

void TNaviButton::paintFrame(QPainter& p) {
    if (flat_) {
        // A flat button shows its edge only while pressed or under the pointer.
        if (isDown()) qDrawShadePanel(&p, rect(), palette(), true, 1);
        else if (underMouse() && isEnabled()) qDrawShadePanel(&p, rect(), palette(), false, 1);
        return;
    }
    QStyleOptionButton opt;
    opt.initFrom(this);
    opt.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, this);
}

void TNaviButton::paintCaption(QPainter& p, const QRect& r) {
    const int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    if (isEnabled()) {
        p.setPen(captionColor_.isValid() ? captionColor_ : navigator_->fontColor());
        p.drawText(r, flags, text());
        return;
    }
    // Greyed as an etched text, like the disabled glyph.
    p.setPen(palette().color(QPalette::Light));
    p.drawText(r.translated(1, 1), flags, text());
    p.setPen(palette().color(QPalette::Dark));
    p.drawText(r, flags, text());
}

void TNaviButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintFrame(p);
    QRect g, t;
    blockRects(&g, &t);
    const QPoint shift = isDown() ? QPoint(1, 1) : QPoint();
    if (!g.isEmpty()) p.drawImage(g.topLeft() + shift, isEnabled() ? glyph_.normal : glyph_.disabled);
    if (!t.isEmpty()) paintCaption(p, t.translated(shift));
}

bool TNaviButton::repeats() const { return kind_ == TCaptionDBNavi::nbPrior || kind_ == TCaptionDBNavi::nbNext; }

bool TNaviButton::event(QEvent* e) {
    // A disabled button would swallow the pointer's moves; the navigator's
    // hover rule needs them.
    if (e->type() == QEvent::MouseMove && !isEnabled()) {
        e->ignore();
        return false;
    }
    return QAbstractButton::event(e);
}

void TNaviButton::mousePressEvent(QMouseEvent* e) {
    QAbstractButton::mousePressEvent(e);
    if (repeats() && e->button() == Qt::LeftButton && isDown()) repeat_.start(kRepeatDelayMs);
}

void TNaviButton::repeatTick() {
    repeat_.setInterval(kRepeatIntervalMs);
    // Held but dragged off the button: wait until the pointer comes back.
    if (isDown() && isEnabled()) navigator_->BtnClick(kind_);
}

void TNaviButton::mouseReleaseEvent(QMouseEvent* e) {
    repeat_.stop();
    QAbstractButton::mouseReleaseEvent(e);
}

void TNaviButton::mouseMoveEvent(QMouseEvent* e) {
    QAbstractButton::mouseMoveEvent(e);
    navigator_->buttonMouseMove(this, e);
    // The base class ignores moves without a press; the navigator must not
    // take them as moves over its gaps.
    e->accept();
}

void TNaviButton::enterEvent(QEnterEvent* e) {
    QAbstractButton::enterEvent(e);
    if (flat_) update();
}

void TNaviButton::leaveEvent(QEvent* e) {
    QAbstractButton::leaveEvent(e);
    navigator_->setHot(nullptr);
    if (flat_) update();
}

void TNaviButton::changeEvent(QEvent* e) {
    QAbstractButton::changeEvent(e);
    if (e->type() != QEvent::EnabledChange) return;
    if (!isEnabled()) repeat_.stop();
    // A disabled button never shows the hover colour, nor keeps it for later.
    navigator_->setHot(navigator_->hot_);
}

void TNaviButton::hideEvent(QHideEvent* e) {
    repeat_.stop();
    QAbstractButton::hideEvent(e);
}

}  // namespace tamboro
