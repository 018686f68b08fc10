#pragma once
#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>

#include "data/data_source.h"

namespace tamboro {

class TNaviButton;

// A record navigator whose buttons show a caption as well as a glyph. It
// works on whatever table its data source reaches: it moves through and
// edits the table's records, and enables its buttons from the table's
// state and position, re-evaluated on every notification the table sends.
// The caption under the pointer takes a highlight colour; in flat mode a
// background picture is tiled and etched borders are drawn.
class TCaptionDBNavi : public QWidget, private TableObserver {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(QImage BackBitmap READ backBitmap WRITE setBackBitmap)
    Q_PROPERTY(QStringList Captions READ captions WRITE setCaptions)
    Q_PROPERTY(QStringList Hints READ hints WRITE setHints)
    Q_PROPERTY(TCaptionLayout CaptionLayout READ captionLayout WRITE setCaptionLayout)
    Q_PROPERTY(TNaviBorders NaviBorders READ naviBorders WRITE setNaviBorders)
    Q_PROPERTY(QColor OnMoveColor READ onMoveColor WRITE setOnMoveColor)
    Q_PROPERTY(bool ShowCaption READ showCaption WRITE setShowCaption)
    Q_PROPERTY(bool ShowGlyph READ showGlyph WRITE setShowGlyph)
    Q_PROPERTY(bool ShowHint READ showHint WRITE setShowHint)
    Q_PROPERTY(bool Flat READ flat WRITE setFlat)
    Q_PROPERTY(bool ConfirmDelete READ confirmDelete WRITE setConfirmDelete)
public:
    // Button kinds in button order; a kind's value is its position in
    // Captions, Hints and the image set.
    enum TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };
    Q_ENUM(TNavigateBtn)
    // Where the glyph stands relative to the caption.
    enum TCaptionLayout { cbLeft, cbRight, cbTop, cbBottom };
    Q_ENUM(TCaptionLayout)
    // The border drawn in flat mode.
    enum TNaviBorders { nbNone, nbFrame, nbTopBottom, nbLeftRight };
    Q_ENUM(TNaviBorders)

    static constexpr int kButtonCount = 10;
    static constexpr int kMinButtonWidth = 20;
    static constexpr int kMinHeight = 18;

    explicit TCaptionDBNavi(QWidget* parent = nullptr);
    ~TCaptionDBNavi() override;

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }

    // Default of every kind, visible or not.
    static QString defaultCaption(TNavigateBtn kind);
    static QString defaultHint(TNavigateBtn kind);
    static QString buttonName(TNavigateBtn kind);  // "First", "Prior", ...
    static QString imageName(TNavigateBtn kind);   // "DB_FIRST", ...

    TNaviButton* button(TNavigateBtn kind) const { return buttons_[kind]; }

    QList<TNavigateBtn> visibleButtons() const;
    void setVisibleButtons(const QList<TNavigateBtn>& kinds);

    // Caption by position; an empty entry keeps the default, entries past
    // the tenth are ignored. Kept as given.
    QStringList captions() const { return captions_; }
    void setCaptions(const QStringList& captions);
    bool showCaption() const { return showCaption_; }
    void setShowCaption(bool on);

    // Hint by position; an empty entry keeps the default.
    QStringList hints() const { return hints_; }
    void setHints(const QStringList& hints);
    QString hint(TNavigateBtn kind) const;  // the hint in effect, shown or not
    bool showHint() const { return showHint_; }
    void setShowHint(bool on);

    bool showGlyph() const { return showGlyph_; }
    void setShowGlyph(bool on);
    // The custom glyph of one button (the BMPFirst ... BMPRefresh pictures):
    // two glyphs side by side, normal and disabled, the colour of the
    // bottom-left pixel transparent, like the default images. An empty
    // picture brings the default image back. Stored even while glyphs are
    // hidden, and shown when they come back.
    QImage customGlyph(TNavigateBtn kind) const { return custom_[kind]; }
    void setCustomGlyph(TNavigateBtn kind, const QImage& picture);

    TCaptionLayout captionLayout() const { return layout_; }
    void setCaptionLayout(TCaptionLayout layout);

    QColor color() const;  // the button face colour until set
    void setColor(const QColor& c);
    // The normal caption colour: the font colour of the palette.
    QColor fontColor() const;
    QColor onMoveColor() const { return onMoveColor_; }
    void setOnMoveColor(const QColor& c) { onMoveColor_ = c; }

    bool flat() const { return flat_; }
    void setFlat(bool on);
    QImage backBitmap() const { return backBitmap_; }
    void setBackBitmap(const QImage& picture);
    TNaviBorders naviBorders() const { return borders_; }
    void setNaviBorders(TNaviBorders borders);

    bool confirmDelete() const { return confirmDelete_; }
    void setConfirmDelete(bool on) { confirmDelete_ = on; }

    // Presses a button: when the data source's table is open, beforeAction
    // and the kind's action on the table; then clicked. A refused action is
    // handed to the error sink and ends the press there (no clicked).
    void BtnClick(TNavigateBtn kind);

signals:
    void beforeAction(TCaptionDBNavi::TNavigateBtn kind);
    void clicked(TCaptionDBNavi::TNavigateBtn kind);
    // Pointer movement over the navigator, in its coordinates, with the kind
    // of the button under the pointer (the nearest visible one over a gap).
    void mouseMoved(Qt::KeyboardModifiers shift, int x, int y, TCaptionDBNavi::TNavigateBtn kind);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    friend class TNaviButton;

    // TableObserver: any change may move the cursor or change the state.
    void activeChanged() override { updateButtons(); }
    void rowsChanged() override { updateButtons(); }
    void currentChanged() override { updateButtons(); }
    void stateChanged() override { updateButtons(); }
    void fieldChanged(int) override { updateButtons(); }

    void applyGlyphs();
    void applyGlyph(TNavigateBtn kind);
    void applyCaptions();
    void applyHints();
    void layoutButtons();
    bool managedByLayout() const;
    void updateButtons();
    void perform(TNavigateBtn kind);
    TNavigateBtn kindAt(int x) const;

    // Hover rule: the caption of `hot` (if enabled) in the move colour,
    // every other one in the font colour.
    void setHot(TNaviButton* hot);
    void buttonMouseMove(TNaviButton* b, QMouseEvent* e);

    std::array<TNaviButton*, kButtonCount> buttons_{};
    std::array<QImage, kButtonCount> custom_;
    std::array<bool, kButtonCount> visible_{};
    DataSource* source_ = nullptr;
    QStringList captions_, hints_;
    QImage backBitmap_;
    QColor color_;  // invalid: the button face colour
    QColor onMoveColor_{0, 0, 255};
    TCaptionLayout layout_ = cbBottom;
    TNaviBorders borders_ = nbFrame;
    bool showCaption_ = true, showGlyph_ = true, showHint_ = true;
    bool flat_ = false, confirmDelete_ = true;
    int firstButtonWidth_ = 0;
    TNaviButton* hot_ = nullptr;
};

}  // namespace tamboro
