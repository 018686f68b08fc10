#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "controls/fixed_dialog.h"
#include "controls/impress_captions.h"
#include "controls/rating_pictures.h"
#include "data/table_event.h"
#include "editor/data_in_rating_page.h"

class QFrame;
class QLabel;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace tamboro {

class DiscAnimation;
class HistoryPage;
class TCaptionDBNavi;
class TDBComboBox;
class TDBEdit;
class TDBRetLookupComboBox;
class TBrDateForm;
class TDM1;
class TRetComboBox;

// The record editor. Created once at start-up, shown modally on CDvd's
// current title through controls bound to DvdSource, so the editor and the
// main grid share one cursor. New titles are numbered from the data
// module's counter, which outlives the editor.
class TFDataIn : public TFixedDialog {
    Q_OBJECT
public:
    explicit TFDataIn(TDM1& dm, QWidget* parent = nullptr);
    ~TFDataIn() override;

    // Creation duties: opens CDvd (and with it the other tables), sets the
    // counter from the highest CODE and captions the impression boxes of
    // this window and of the main window's table.
    void FormCreate(const ImpressBoxTable& mainWindowBoxes);

    // Starts a new numbered title in insert state, with no sub-genres listed.
    void AddNewTitle();

    void BAddClick();
    // Posts a pending change; nothing when CDvd is browsing.
    void BPostClick();
    // Deletes the current title and its viewings after the user confirmed.
    void BDeleteClick();
    // Posts a pending change of CDvd, then closes; on a failed post the
    // error is shown and the window stays open.
    void BEndClick();

    // A major genre was picked: lists its sub-genres, the title's own
    // sub-genre code stays until one of them is picked.
    void CmbGenre1Click();
    // The sub-genre box is entered: without a major genre picked first, the
    // user is told to pick one and the focus goes back to it.
    void CmbGenre2Enter();
    // Sub-genre at `index` of the list picked: stored in the title.
    void CmbGenre2Click(int index);
    bool majorGenreChosen() const { return MajorGenreChosen; }

    // The date picker the calendar buttons show; without one they do nothing.
    void setDateForm(TBrDateForm* form);
    // Puts the date picked in the date picker into the purchase date
    // (release date); a blank or zero date starts the picker on today.
    void PopupCalBtnClick();
    void PopupCalBtn2Click();

    // Shows the current title's ratings and sub-genre.
    void CDvdAfterScroll();
    // Shows rating i's picture for the item picked in its combo box.
    void ratingChanged(int i);

    int32_t lastCode() const;
    const ImpressBoxTable& impressBoxes() const { return ImpressChecks; }
    const RatingPictures& pictures() const { return pictures_; }
    QLabel* ratingImage(int i) const { return images_[i]; }

protected:
    void showEvent(QShowEvent* e) override;
    bool event(QEvent* e) override;

private:
    void buildFrame();
    bool postTyped();
    void buildRightPanel();
    void buildPages();
    QWidget* addPage(const char* name, const QString& caption, const std::vector<FormRow>& rows);
    FormBinding binding();
    void chainTabs();
    void FormActivate();
    void hookGenreChoice();
    void buildDateButtons();
    void pickDate(std::string_view field, const char* editName);
    bool eventFilter(QObject* watched, QEvent* e) override;
    void setRatingPicture(int i, const QPixmap& picture);
    void showSubGenre();

    TDM1& dm_;
    RatingPictures pictures_;
    ImpressBoxTable ImpressChecks{};
    std::vector<QWidget*> stripTabs_, pageTabs_;
    TDBEdit* ECode = nullptr;
    TDBEdit* ETitle = nullptr;
    TDBRetLookupComboBox* CmbGenre1 = nullptr;
    TRetComboBox* CmbGenre2 = nullptr;
    QTabWidget* PageCntl = nullptr;
    QFrame* pnlRight = nullptr;
    QLabel* imgDvd2 = nullptr;
    DiscAnimation* Timer2 = nullptr;
    TCaptionDBNavi* CaptionDBNavi1 = nullptr;
    QPushButton *BAdd = nullptr, *BPost = nullptr, *BDelete = nullptr, *BEnd = nullptr;
    std::array<TDBComboBox*, kRatingCount> combos_{};
    std::array<QLabel*, kRatingCount> images_{};
    // GENRE_CODE2 of each item of CmbGenre2; grows with a long list.
    std::vector<int32_t> SubGenreCodes;
    bool MajorGenreChosen = false;
    bool shownNotActive_ = false, firstActivation_ = false;
    TBrDateForm* dateForm_ = nullptr;
    HistoryPage* history_ = nullptr;
    ListenerList::Subscription scrolled_;
};

}  // namespace tamboro
