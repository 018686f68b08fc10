#include "editor/data_in_form.h"

#include <QFrame>
#include <QTimer>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "controls/app_font.h"
#include "controls/button_pictures.h"
#include "controls/caption_db_navi.h"
#include "controls/db_memo.h"
#include "controls/db_radio_group.h"
#include "controls/db_ret_combo_box.h"
#include "controls/db_ret_edit.h"
#include "controls/db_ret_lookup_combo_box.h"
#include "controls/disc_animation.h"
#include "controls/field_link.h"
#include "controls/form_page.h"
#include "controls/form_parts.h"
#include "controls/message_boxes.h"
#include "controls/ret_combo_box.h"
#include "controls/sjis_qt.h"
#include "data/data_module.h"
#include "editor/data_in_cinema_page.h"
#include "editor/data_in_dvd_page.h"
#include "editor/data_in_history_page.h"
#include "controls/db_grid.h"
#include "controls/ret_edit.h"
#include "editor/data_in_strips.h"

namespace tamboro {
namespace {

constexpr int kRightWidth = 166;
constexpr int kTabWidth = 155;

// Tabs of one width, whatever their captions.
class FixedTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override { return {kTabWidth, QTabBar::tabSizeHint(index).height()}; }
};

class PageControl : public QTabWidget {
public:
    explicit PageControl(QWidget* parent) : QTabWidget(parent) { setTabBar(new FixedTabBar(this)); }
};

QPushButton* pictureButton(QWidget* parent, const char* name, const QString& text, ButtonPicture picture, int y) {
    auto* b = named(new QPushButton(buttonPicture(picture), text, parent), name, QRect(6, y, 153, 41));
    b->setIconSize(QSize(32, 32));
    b->setAutoDefault(false);
    return b;
}

bool editing(const Table& t) { return t.state() == TableState::Edit || t.state() == TableState::Insert; }

}  // namespace

TFDataIn::TFDataIn(TDM1& dm, QWidget* parent) : TFixedDialog(QSize(792, 553), CloseBox::None, parent), dm_(dm) {
    setObjectName(QStringLiteral("FDataIn"));
    setWindowTitle(QStringLiteral("詳細"));
    setFont(appFont(12));
    buildFrame();
    buildPages();
    buildRightPanel();
    chainTabs();
    hookGenreChoice();
    buildDateButtons();
    scrolled_ = dm_.subscribeDvdAfterScroll([this] { CDvdAfterScroll(); });
}

TFDataIn::~TFDataIn() = default;

FormBinding TFDataIn::binding() {
    return {&dm_.DvdSource, [this](std::string_view name) -> DataSource* {
                if (name == "GenreSource") return &dm_.GenreSource;
                if (name == "SoundSource") return &dm_.SoundSource;
                if (name == "LangeSource") return &dm_.LangeSource;
                return nullptr;
            }};
}

void TFDataIn::buildFrame() {
    stripTabs_ = buildFormPage(this, dataInStripRows(), binding()).tabChain;
    ECode = findChild<TDBEdit*>(QStringLiteral("ECode"));
    ECode->setReadOnly(true);
    ETitle = findChild<TDBEdit*>(QStringLiteral("ETitle"));
    CmbGenre1 = findChild<TDBRetLookupComboBox*>(QStringLiteral("CmbGenre1"));
    CmbGenre2 = findChild<TRetComboBox*>(QStringLiteral("CmbGenre2"));
}

void TFDataIn::buildPages() {
    PageCntl = named(new PageControl(this), "PageCntl",
                     QRect(0, kCodeStripHeight + kTitleStripHeight, 792 - kRightWidth,
                           553 - kCodeStripHeight - kTitleStripHeight));
    auto* tabEntry = new QWidget;
    tabEntry->setObjectName(QStringLiteral("tabEntry"));
    pageTabs_ = buildFormPage(tabEntry, ratingPageRows(), binding()).tabChain;
    for (int i = 0; i < kRatingCount; ++i) {
        const RatingRow& r = ratingRows()[i];
        combos_[i] = tabEntry->findChild<TDBComboBox*>(QString::fromLatin1(r.combo));
        auto* panelOf = tabEntry->findChild<QWidget*>(QString::fromLatin1(ratingPanel(i)));
        images_[i] = named(new QLabel(panelOf), r.image, ratingImagePlace(i));
        setRatingPicture(i, pictures_.picture(RatingPicture::ImgNone));
        connect(combos_[i], &TDBComboBox::changedByUser, this, [this, i] { ratingChanged(i); });
    }
    tabEntry->findChild<TDBMemo*>(QStringLiteral("MComent"))->setFont(appFont(15));
    for (const char* name : {"EKanshouDate", "EKaisuu"}) tabEntry->findChild<TDBEdit*>(QString::fromLatin1(name))->setReadOnly(true);
    PageCntl->addTab(tabEntry, QStringLiteral("評価"));
    addPage("tabCinema", QStringLiteral("作品情報"), cinemaPageRows());
    QWidget* tabDVD = addPage("tabDVD", QStringLiteral("DVD情報"), dvdPageRows());
    tabDVD->findChild<TDBRadioGroup*>(QStringLiteral("RDColor"))->setColumns(2);
    QWidget* tabHistory = addPage("tabHistory", QStringLiteral("鑑賞履歴"), {});
    history_ = new HistoryPage(dm_, nullptr, tabHistory);
    for (QWidget* w : {static_cast<QWidget*>(history_->EComent), static_cast<QWidget*>(history_->BAdd2),
                       static_cast<QWidget*>(history_->BDel2), static_cast<QWidget*>(history_->CaptionDBNavi4),
                       static_cast<QWidget*>(history_->HistoryGrid)})
        pageTabs_.push_back(w);
}

QWidget* TFDataIn::addPage(const char* name, const QString& caption, const std::vector<FormRow>& rows) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    const std::vector<QWidget*> tabs = buildFormPage(page, rows, binding()).tabChain;
    pageTabs_.insert(pageTabs_.end(), tabs.begin(), tabs.end());
    PageCntl->addTab(page, caption);
    return page;
}

void TFDataIn::buildRightPanel() {
    const int top = kCodeStripHeight + kTitleStripHeight;
    pnlRight = panel(this, "pnlRight", QRect(792 - kRightWidth, top, kRightWidth, 553 - top));
    imgDvd2 = named(new QLabel(pnlRight), "imgDvd2", QRect(58, 8, 50, 53));
    imgDvd2->setAttribute(Qt::WA_TranslucentBackground);
    Timer2 = new DiscAnimation(imgDvd2, this);
    CaptionDBNavi1 = new TCaptionDBNavi(pnlRight);
    CaptionDBNavi1->setVisibleButtons({TCaptionDBNavi::nbFirst, TCaptionDBNavi::nbPrior, TCaptionDBNavi::nbNext,
                                       TCaptionDBNavi::nbLast});
    CaptionDBNavi1->setCaptions({QStringLiteral("最初"), QStringLiteral("前"), QStringLiteral("次"),
                                 QStringLiteral("最後")});
    CaptionDBNavi1->setDataSource(&dm_.DvdSource);
    // The navigator takes no focus: a viewing's cell still being typed into
    // is written before the title is left.
    connect(CaptionDBNavi1, &TCaptionDBNavi::beforeAction, this, [this] { history_->HistoryGrid->writeCell(); });
    // Placed once its buttons are chosen, so that they share this width.
    named(CaptionDBNavi1, "CaptionDBNavi1", QRect(6, 68, 153, 30));
    BAdd = pictureButton(pnlRight, "BAdd", QStringLiteral("新規 (&N)"), ButtonPicture::NewTitle, 110);
    BPost = pictureButton(pnlRight, "BPost", QStringLiteral("更新 (&U)"), ButtonPicture::EditTitle, 156);
    BDelete = pictureButton(pnlRight, "BDelete", QStringLiteral("削除 (&D)"), ButtonPicture::ClearSearch, 202);
    BEnd = pictureButton(pnlRight, "BEnd", QStringLiteral("閉じる (&X)"), ButtonPicture::Exit, 248);
    connect(BAdd, &QPushButton::clicked, this, [this] { BAddClick(); });
    connect(BPost, &QPushButton::clicked, this, [this] { BPostClick(); });
    connect(BDelete, &QPushButton::clicked, this, [this] { BDeleteClick(); });
    connect(BEnd, &QPushButton::clicked, this, [this] { BEndClick(); });
}

// Panel4, pnlTop, the pages in their order, then the button column.
void TFDataIn::chainTabs() {
    std::vector<QWidget*> chain = stripTabs_;
    chain.insert(chain.end(), pageTabs_.begin(), pageTabs_.end());
    chain.insert(chain.end(), {BAdd, BPost, BDelete, BEnd, CaptionDBNavi1});
    for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void TFDataIn::FormCreate(const ImpressBoxTable& mainWindowBoxes) {
    ImpressChecks = findImpressBoxes(*this, "ChkImpress");
    dm_.OpenForEditor();
    captionImpressBoxes(dm_, {&mainWindowBoxes, &ImpressChecks});
    if (dm_.CImpress.active()) dm_.CImpress.first();
    MajorGenreChosen = false;
}

void TFDataIn::AddNewTitle() {
    dm_.AddNewTitle();
    // The new title has no major genre yet, so no sub-genre list either.
    CmbGenre2->clear();
    CmbGenre2->clearEditText();
    SubGenreCodes.clear();
}

int32_t TFDataIn::lastCode() const { return dm_.lastCode(); }

void TFDataIn::BAddClick() {
    if (postTyped() && guarded([this] { AddNewTitle(); })) CmbGenre1->setFocus();
}

// A shortcut (Alt+U, Alt+X) leaves the focus in the edit being typed into:
// its text goes into the record before the record is posted, and so does a
// viewing's cell, whose roll-up the title's post stores. False when a text
// was refused (its message shown).
bool TFDataIn::postTyped() {
    if (!history_->HistoryGrid->writeCell()) return false;
    return guarded([this] {
        FieldLink::updateRecords(dm_.CDvd);
        if (editing(dm_.CDvd)) dm_.CDvd.post();
    });
}

void TFDataIn::BPostClick() { postTyped(); }

void TFDataIn::BDeleteClick() {
    if (!AskConfirmation(QStringLiteral("【") + ETitle->text() + QStringLiteral("】 を削除してよろしいですか？")))
        return;
    guarded([this] {
        Table& titles = dm_.CDvd;
        if (!titles.active() || (titles.recordCount() == 0 && titles.state() != TableState::Insert)) {
            ShowInformation(QStringLiteral("データがありません。"));
            return;
        }
        // The viewings go first, each with its roll-up onto the title.
        Table& history = dm_.CHistory;
        if (history.active()) {
            history.first();
            for (int n = history.recordCount(); n > 0; --n) history.remove();
        }
        titles.remove();
    });
}

void TFDataIn::BEndClick() {
    if (postTyped()) accept();
}

void TFDataIn::setRatingPicture(int i, const QPixmap& picture) {
    images_[i]->setPixmap(picture);
    images_[i]->resize(picture.size());
}

void TFDataIn::CDvdAfterScroll() {
    Table& titles = dm_.CDvd;
    if (!titles.active()) return;
    for (int i = 0; i < kRatingCount; ++i) {
        const Field f = titles.fieldU8(ratingRows()[i].field);
        setRatingPicture(i, pictures_.forRating(f.isNull() ? std::nullopt : std::optional(f.asInteger())));
    }
    showSubGenre();
}

// The genre table moves to the title's genre, so that the sub-genre table
// holds its sub-genres; the sub-genre list itself is left as it is.
void TFDataIn::showSubGenre() {
    Table& titles = dm_.CDvd;
    auto code = [](const Field& f) { return f.isNull() ? int64_t{0} : f.asInteger(); };
    const int64_t g1 = code(titles.fieldU8(fld::Genre1)), g2 = code(titles.fieldU8(fld::Genre2));
    QString name;
    if (dm_.CGenre.active()) {
        dm_.CGenre.setKey();
        dm_.CGenre.fieldU8(fld::GenreCode1).setInteger(g1);
        dm_.CGenre.gotoKey();
    }
    if (dm_.CGenre2.active()) {
        Table& subs = dm_.CGenre2;
        subs.setKey();
        subs.fieldU8(fld::GenreCode1).setInteger(g1);
        subs.fieldU8(fld::GenreCode2).setInteger(g2);
        if (subs.gotoKey()) name = fieldText(subs.fieldU8(fld::GenreName2));
    }
    CmbGenre2->setEditText(name);
}

void TFDataIn::ratingChanged(int i) {
    if (const auto rating = ratingAtComboPosition(combos_[i]->currentIndex()))
        setRatingPicture(i, pictures_.forRating(rating));
}

void TFDataIn::setDateForm(TBrDateForm* form) {
    dateForm_ = form;
    history_->setDatePicker(form);
}

void TFDataIn::FormActivate() { CmbGenre1->setFocus(); }

void TFDataIn::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    guarded([this] {
        CDvdAfterScroll();
    });
    FormActivate();
    shownNotActive_ = true;
}

bool TFDataIn::event(QEvent* e) {
    // The first activation after showing may hand the focus to the box
    // after the one chosen at showing (see eventFilter); only during it.
    if (e->type() == QEvent::WindowActivate && shownNotActive_) {
        shownNotActive_ = false;
        firstActivation_ = true;
        QTimer::singleShot(0, this, [this] { firstActivation_ = false; });
    }
    return TFixedDialog::event(e);
}

}  // namespace tamboro
