#include "controls/caption_db_navi.h"

#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <utility>

#include "controls/caption_db_navi_button.h"
#include "controls/caption_db_navi_glyphs.h"
#include "controls/field_link.h"
#include "controls/message_boxes.h"

namespace tamboro {
namespace {

struct KindInfo {
    const char* caption;
    const char* name;
    const char* hint;
};

constexpr KindInfo kKinds[TCaptionDBNavi::kButtonCount] = {
    {"&First", "First", "最初のレコード"}, {"&Prior", "Prior", "前のレコード"},
    {"&Next", "Next", "次のレコード"},     {"&Last", "Last", "最後のレコード"},
    {"&Insert", "Insert", "レコードの挿入"}, {"&Delete", "Delete", "レコードの削除"},
    {"&Edit", "Edit", "レコードの編集"},   {"&Post", "Post", "レコードの登録"},
    {"&Cancel", "Cancel", "編集の取り消し"}, {"&Refresh", "Refresh", "データ更新"},
};

bool editing(const Table& t) { return t.state() == TableState::Edit || t.state() == TableState::Insert; }

// Post if anything was assigned, else cancel: what the table does itself
// before it moves.
void completeEdit(Table& t) {
    if (!editing(t)) return;
    if (t.modified()) t.post();
    else t.cancel();
}

bool layoutHolds(const QLayout* layout, const QWidget* w) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == w) return true;
        if (item->layout() && layoutHolds(item->layout(), w)) return true;
    }
    return false;
}

}  // namespace

QString TCaptionDBNavi::defaultCaption(TNavigateBtn kind) { return QString::fromLatin1(kKinds[kind].caption); }
QString TCaptionDBNavi::defaultHint(TNavigateBtn kind) { return QString::fromUtf8(kKinds[kind].hint); }
QString TCaptionDBNavi::buttonName(TNavigateBtn kind) { return QString::fromLatin1(kKinds[kind].name); }
QString TCaptionDBNavi::imageName(TNavigateBtn kind) {
    return QStringLiteral("DB_") + buttonName(kind).toUpper();
}

TCaptionDBNavi::TCaptionDBNavi(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    for (int k = 0; k < kButtonCount; ++k) {
        const auto kind = TNavigateBtn(k);
        auto* b = new TNaviButton(kind, this);
        connect(b, &QAbstractButton::clicked, this, [this, kind] { BtnClick(kind); });
        buttons_[k] = b;
        visible_[k] = true;
    }
    setMinimumSize(kMinButtonWidth * kButtonCount, kMinHeight);
    resize(451, 40);
    applyGlyphs();
    applyCaptions();
    for (TNaviButton* b : buttons_) b->setGlyphPosition(layout_);
    applyHints();
    layoutButtons();
    updateButtons();
    setHot(nullptr);
}

TCaptionDBNavi::~TCaptionDBNavi() {
    if (source_) source_->detach(this);
    // The buttons call back into the navigator as they go; let them find
    // nothing rather than a half-destroyed navigator.
    hot_ = nullptr;
    for (auto& b : buttons_) delete std::exchange(b, nullptr);
}

void TCaptionDBNavi::setDataSource(DataSource* source) {
    if (source == source_) return;
    if (source_) source_->detach(this);
    source_ = source;
    if (source_) source_->attach(this);
    updateButtons();
}

// ---- buttons: visibility, glyphs, captions, hints ---------------------------

QList<TCaptionDBNavi::TNavigateBtn> TCaptionDBNavi::visibleButtons() const {
    QList<TNavigateBtn> kinds;
    for (int k = 0; k < kButtonCount; ++k)
        if (visible_[k]) kinds << TNavigateBtn(k);
    return kinds;
}

void TCaptionDBNavi::setVisibleButtons(const QList<TNavigateBtn>& kinds) {
    visible_.fill(false);
    for (TNavigateBtn k : kinds) visible_[k] = true;
    setMinimumSize(kMinButtonWidth * static_cast<int>(visibleButtons().size()), kMinHeight);
    layoutButtons();
    update();
}

void TCaptionDBNavi::setShowGlyph(bool on) {
    showGlyph_ = on;
    for (int k = 0; k < kButtonCount; ++k) applyGlyph(TNavigateBtn(k));
}

void TCaptionDBNavi::applyGlyphs() { setShowGlyph(showGlyph_); }

// A custom picture wins over the kind's own image; no glyph while hidden.
void TCaptionDBNavi::applyGlyph(TNavigateBtn kind) {
    TNaviButton* b = buttons_[kind];
    if (!showGlyph_) b->setGlyph({});
    else if (custom_[kind].height() > 0) b->setGlyph(splitNaviGlyph(custom_[kind]));
    else b->setGlyph(splitNaviGlyph(loadNaviImage(imageName(kind))));
}

void TCaptionDBNavi::setCustomGlyph(TNavigateBtn kind, const QImage& picture) {
    custom_[kind] = picture;
    applyGlyph(kind);
}

void TCaptionDBNavi::setCaptions(const QStringList& captions) {
    captions_ = captions;
    applyCaptions();
}

void TCaptionDBNavi::setShowCaption(bool on) {
    showCaption_ = on;
    applyCaptions();
    update();
}

void TCaptionDBNavi::applyCaptions() {
    for (int k = 0; k < kButtonCount; ++k) {
        const auto kind = TNavigateBtn(k);
        QString caption = showCaption_ ? defaultCaption(kind) : QString();
        if (showCaption_ && k < captions_.size() && !captions_[k].isEmpty()) caption = captions_[k];
        buttons_[k]->setText(caption);
        buttons_[k]->setObjectName(buttonName(kind));
    }
}

void TCaptionDBNavi::setHints(const QStringList& hints) {
    hints_ = hints;
    applyHints();
}

void TCaptionDBNavi::setShowHint(bool on) {
    showHint_ = on;
    applyHints();
}

QString TCaptionDBNavi::hint(TNavigateBtn kind) const {
    if (kind < hints_.size() && !hints_[kind].isEmpty()) return hints_[kind];
    return defaultHint(kind);
}

void TCaptionDBNavi::applyHints() {
    for (int k = 0; k < kButtonCount; ++k) buttons_[k]->setToolTip(showHint_ ? hint(TNavigateBtn(k)) : QString());
}

void TCaptionDBNavi::setCaptionLayout(TCaptionLayout layout) {
    if (layout == layout_) return;
    layout_ = layout;
    for (TNaviButton* b : buttons_) b->setGlyphPosition(layout);
    update();
}

// ---- colours, flat mode, borders --------------------------------------------

QColor TCaptionDBNavi::color() const { return color_.isValid() ? color_ : palette().color(QPalette::Button); }

void TCaptionDBNavi::setColor(const QColor& c) {
    color_ = c;
    update();
}

QColor TCaptionDBNavi::fontColor() const { return palette().color(QPalette::ButtonText); }

void TCaptionDBNavi::setFlat(bool on) {
    flat_ = on;
    for (TNaviButton* b : buttons_) b->setFlat(on);
    layoutButtons();
    update();
}

void TCaptionDBNavi::setBackBitmap(const QImage& picture) {
    backBitmap_ = picture;
    if (!picture.isNull()) color_ = QColor();
    update();
}

// Insets follow at once, not at the next resize: buttons must not cover the
// border just asked for.
void TCaptionDBNavi::setNaviBorders(TNaviBorders borders) {
    if (borders == borders_) return;
    borders_ = borders;
    layoutButtons();
    update();
}

void TCaptionDBNavi::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), color());
    if (!flat_) return;
    if (!backBitmap_.isNull()) p.drawTiledPixmap(rect(), QPixmap::fromImage(backBitmap_));
    const int w = width(), h = height();
    const QColor shadow = palette().color(QPalette::Dark), light = palette().color(QPalette::Light);
    switch (borders_) {
    case nbFrame:
        p.setPen(light);
        p.drawRect(1, 1, w - 2, h - 2);
        p.setPen(shadow);
        p.drawRect(0, 0, w - 2, h - 2);
        break;
    case nbTopBottom:
        p.setPen(shadow);
        p.drawLine(0, 0, w - 1, 0);
        p.drawLine(0, h - 2, w - 1, h - 2);
        p.setPen(light);
        p.drawLine(0, 1, w - 1, 1);
        p.drawLine(0, h - 1, w - 1, h - 1);
        break;
    case nbLeftRight:
        p.setPen(shadow);
        p.drawLine(0, 0, 0, h - 1);
        p.drawLine(w - 2, 0, w - 2, h - 1);
        p.setPen(light);
        p.drawLine(1, 0, 1, h - 1);
        p.drawLine(w - 1, 0, w - 1, h - 1);
        break;
    case nbNone: break;
    }
}

// ---- layout ---------------------------------------------------------------

bool TCaptionDBNavi::managedByLayout() const {
    const QWidget* parent = parentWidget();
    return parent && parent->layout() && layoutHolds(parent->layout(), this);
}

void TCaptionDBNavi::resizeEvent(QResizeEvent*) {
    const int n = static_cast<int>(visibleButtons().size());
    // Equal buttons need a width the count divides; a layout decides for itself.
    if (n > 0 && width() % n != 0 && !managedByLayout()) resize(width() - width() % n, height());
    layoutButtons();
}

void TCaptionDBNavi::layoutButtons() {
    const QList<TNavigateBtn> shown = visibleButtons();
    const int n = static_cast<int>(shown.size());
    const int w = n > 0 ? width() / n : 0;
    const int h = height();
    int left = 0, top = 0, right = 0, bottom = 0;
    if (flat_) {
        const int across = (borders_ == nbFrame || borders_ == nbLeftRight) ? 2 : 0;
        const int down = (borders_ == nbFrame || borders_ == nbTopBottom) ? 2 : 0;
        left = right = across;
        top = bottom = down;
    }
    int column = 0;
    for (int k = 0; k < kButtonCount; ++k) {
        TNaviButton* b = buttons_[k];
        if (!visible_[k]) {
            b->setGeometry(width() + 1, 0, w, h);  // just outside the right edge
            b->hide();
            continue;
        }
        b->setGeometry(QRect(column * w, 0, w, h).adjusted(left, top, -right, -bottom));
        b->show();
        b->update();
        ++column;
    }
    firstButtonWidth_ = w;
    update();
}

// ---- enabling and actions ----------------------------------------------------

void TCaptionDBNavi::updateButtons() {
    const Table* t = source_ ? &source_->table() : nullptr;
    const bool on = isEnabled() && t && t->active();
    // The engine's tables can always be modified while open.
    const bool canModify = on;
    const bool edits = on && editing(*t);
    const bool up = on && !t->bof();
    const bool down = on && !t->eof();
    const bool empty = !on || (t->recordCount() == 0 && t->state() != TableState::Insert);
    const bool enable[kButtonCount] = {up,
                                       up,
                                       down,
                                       down,
                                       canModify,
                                       canModify && !empty,
                                       canModify && !edits,
                                       canModify && edits,
                                       canModify && edits,
                                       canModify};
    for (int k = 0; k < kButtonCount; ++k) buttons_[k]->setEnabled(enable[k]);
}

void TCaptionDBNavi::BtnClick(TNavigateBtn kind) {
    QPointer<TCaptionDBNavi> alive(this);
    if (source_ && source_->table().active()) {
        emit beforeAction(kind);
        if (!alive) return;
        try {
            if (source_ && source_->table().active()) perform(kind);
        } catch (const std::exception& e) {
            updateButtons();
            ShowDefaultError(e);
            return;
        }
        if (!alive) return;
        // A move that only sets begin- or end-of-table sends no notification.
        updateButtons();
    }
    emit clicked(kind);
}

void TCaptionDBNavi::perform(TNavigateBtn kind) {
    Table& t = source_->table();
    // What is typed into a bound control that still has the focus belongs to
    // the record being left or posted.
    switch (kind) {
    case nbFirst: FieldLink::updateRecords(t); t.first(); break;
    case nbPrior: FieldLink::updateRecords(t); t.prior(); break;
    case nbNext: FieldLink::updateRecords(t); t.next(); break;
    case nbLast: FieldLink::updateRecords(t); t.last(); break;
    case nbInsert: FieldLink::updateRecords(t); t.insert(); break;
    case nbDelete:
        if (!confirmDelete_ || AskDeleteRecord()) t.remove();
        break;
    case nbEdit: t.edit(); break;
    case nbPost: FieldLink::updateRecords(t); t.post(); break;
    case nbCancel: t.cancel(); break;
    case nbRefresh: FieldLink::updateRecords(t); completeEdit(t); break;
    }
}

void TCaptionDBNavi::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) updateButtons();
    else if (e->type() == QEvent::PaletteChange) setHot(hot_);
}

// ---- hover colour -----------------------------------------------------------

void TCaptionDBNavi::setHot(TNaviButton* hot) {
    hot_ = hot;
    const QColor normal = fontColor();
    for (TNaviButton* b : buttons_) {
        if (!b) continue;
        b->setCaptionColor(b == hot && b->isEnabled() ? onMoveColor_ : normal);
    }
}

void TCaptionDBNavi::buttonMouseMove(TNaviButton* b, QMouseEvent* e) {
    // A pressed button keeps the pointer's moves even off its face.
    setHot(b->rect().contains(e->position().toPoint()) ? b : nullptr);
    const QPoint at = b->mapToParent(e->position().toPoint());
    emit mouseMoved(e->modifiers(), at.x(), at.y(), b->kind());
}

// Over a gap, a border or a disabled button (which passes its moves here).
void TCaptionDBNavi::mouseMoveEvent(QMouseEvent* e) {
    setHot(nullptr);
    const QPoint at = e->position().toPoint();
    emit mouseMoved(e->modifiers(), at.x(), at.y(), kindAt(at.x()));
}

void TCaptionDBNavi::leaveEvent(QEvent* e) {
    QWidget::leaveEvent(e);
    setHot(nullptr);
}

// The visible button whose column holds x, the nearest one beyond the ends.
TCaptionDBNavi::TNavigateBtn TCaptionDBNavi::kindAt(int x) const {
    const QList<TNavigateBtn> shown = visibleButtons();
    if (shown.isEmpty() || firstButtonWidth_ <= 0) return nbFirst;
    const int column = std::clamp(x / firstButtonWidth_, 0, static_cast<int>(shown.size()) - 1);
    return shown[column];
}

}  // namespace tamboro
