// The main window's search criteria: the events that build the criterion
// slots, the search that joins them, and clearing them all.
#include <QAbstractItemView>
#include <QApplication>
#include <QDate>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <functional>
#include <utility>

#include "app/main_window.h"
#include "controls/leave_handlers.h"
#include "controls/message_boxes.h"
#include "controls/r_edit.h"
#include "controls/ret_check_box.h"
#include "controls/ret_combo_box.h"
#include "controls/ret_edit.h"
#include "controls/sjis_qt.h"
#include "data/data_module.h"
#include "data/error.h"
#include "data/locale_jp.h"
#include "data/messages.h"
#include "editor/br_date_form.h"

namespace tamboro {
namespace {

// Refills a criterion combo box from a master list, keeping the code of
// item k at position k of codes; the table is left on its first row.
void fillFromList(QComboBox* combo, std::vector<int32_t>& codes, Table& list, std::string_view codeField,
                  std::string_view nameField) {
    combo->clear();
    codes.clear();
    Field code = list.fieldU8(codeField);
    Field name = list.fieldU8(nameField);
    for (list.first(); !list.eof(); list.next()) {
        combo->addItem(fieldText(name));
        codes.push_back(static_cast<int32_t>(code.asInteger()));
    }
    // Adding the first entry made it current; the box shows an empty text.
    combo->setCurrentIndex(-1);
    combo->clearEditText();
    list.first();
}

// Empties a combo box's text; its entries stay.
void emptyText(QComboBox* combo) {
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
}

// The code at a combo box's item index, if the index has one.
std::optional<int32_t> pickedCode(const QComboBox* combo, const std::vector<int32_t>& codes) {
    const int index = combo->currentIndex();
    if (index < 0 || static_cast<size_t>(index) >= codes.size()) return std::nullopt;
    return codes[static_cast<size_t>(index)];
}

// Tells when the user picks an entry of a combo box: a click on an entry of
// the open list, or the arrow keys or the wheel with the list open or
// closed. The box's own "activated" also follows a typed text that matches
// an entry when the box loses the focus; that is typing and is not a pick,
// so only the activations raised while a pick gesture is handled count.
//
// The list and its viewport are filtered as well, and they are destroyed
// with the box, after the box has stopped being a combo box: the filter
// must not call into the box then. So it tells them apart by the pointers
// taken here and looks at the box only for a gesture, which no destruction
// sends.
class EntryPicks : public QObject {
public:
    EntryPicks(QComboBox* combo, std::function<void()> onPick)
        : QObject(combo), combo_(combo), list_(combo->view()), listViewport_(list_->viewport()),
          onPick_(std::move(onPick)) {
        combo->installEventFilter(this);
        // Installed after the list's own filters, so that this one runs first.
        list_->installEventFilter(this);
        listViewport_->installEventFilter(this);
        connect(combo, &QComboBox::activated, this, [this] {
            if (inGesture_) onPick_();
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (inGesture_ || !isGesture(watched, e)) return QObject::eventFilter(watched, e);
        if (watched == list_ && combo_->currentIndex() < 0) return pickFirstOrLast(e);
        // Let the box or its list handle the gesture now, marked as one.
        inGesture_ = true;
        QCoreApplication::sendEvent(watched, e);
        inGesture_ = false;
        e->accept();  // handled, parents included, by the dispatch above
        if (watched == list_) followListCursor();
        return true;
    }

private:
    static bool isNavigationKey(const QEvent* e, bool inList) {
        if (e->type() != QEvent::KeyPress) return false;
        const auto* k = static_cast<const QKeyEvent*>(e);
        if (k->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) return false;
        switch (k->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: return true;
        case Qt::Key_Home:
        case Qt::Key_End: return inList;  // in the closed box they move the caret
        default: return false;
        }
    }

    // Compares pointers only: see above.
    bool isGesture(const QObject* watched, const QEvent* e) const {
        if (watched == combo_) return isNavigationKey(e, false) || e->type() == QEvent::Wheel;
        if (watched == list_) return isNavigationKey(e, true);
        if (watched == listViewport_) return e->type() == QEvent::MouseButtonRelease;
        return false;
    }

    // With no entry picked yet, the list's highlight stands on its first row
    // although nothing is selected; a key then picks the first entry (End the
    // last), as Down does in the closed box.
    bool pickFirstOrLast(QEvent* e) {
        e->accept();
        const int rows = combo_->count();
        if (rows == 0) return true;
        const bool last = static_cast<QKeyEvent*>(e)->key() == Qt::Key_End;
        list_->setCurrentIndex(combo_->model()->index(last ? rows - 1 : 0, combo_->modelColumn()));
        followListCursor();
        return true;
    }

    // Arrow keys in the open list move only its highlight; here they pick
    // the entry at once, so the box's text is the entry when the handler runs.
    void followListCursor() {
        const int row = list_->currentIndex().row();
        if (row < 0 || row == combo_->currentIndex()) return;
        combo_->setCurrentIndex(row);
        onPick_();
    }

    QComboBox* combo_;
    QAbstractItemView* list_;  // the box's list, which the box never replaces
    QWidget* listViewport_;
    std::function<void()> onPick_;
    bool inGesture_ = false;
};

// Tab enters a radio pair on its selected button. Qt lets only the button
// that last had the focus take it by Tab; a button selected by the program
// (clearing the criteria) takes that place too.
void tabEntersOnSelected(QRadioButton* a, QRadioButton* b) {
    auto giveTabFocusTo = [a, b](QRadioButton* selected) {
        for (QRadioButton* r : {a, b}) {
            const int policy = r == selected ? r->focusPolicy() | Qt::TabFocus : r->focusPolicy() & ~Qt::TabFocus;
            r->setFocusPolicy(static_cast<Qt::FocusPolicy>(policy));
        }
    };
    for (QRadioButton* r : {a, b})
        QObject::connect(r, &QAbstractButton::toggled, r, [giveTabFocusTo, r](bool on) {
            if (on) giveTabFocusTo(r);
        });
    giveTabFocusTo(a->isChecked() ? a : b);
}

}  // namespace

void TFMain::connectCriteria() {
    auto picks = [this](QComboBox* combo, void (TFMain::*handler)()) {
        new EntryPicks(combo, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    picks(CmbSGenre1, &TFMain::CmbSGenre1Click);
    picks(CmbSGenre2, &TFMain::CmbSGenre2Click);
    picks(CmbSHyouka, &TFMain::CmbSHyoukaClick);
    picks(CmbSDvdHyouka, &TFMain::CmbSDvdHyoukaClick);
    picks(CmbSCinemaHyouka, &TFMain::CmbSCinemaHyoukaClick);
    picks(CmbSSound, &TFMain::CmbSSoundClick);
    picks(CmbSLange, &TFMain::CmbSLangeClick);
    // Every change of a box's state, the program's included.
    for (int n = 1; n <= 10; ++n) {
        TRetCheckBox* box = ChkSImpress[static_cast<size_t>(n)];
        connect(box, &QAbstractButton::toggled, this, [this, box] { ChkSImpressClick(box); });
    }
    connect(SPopUpCalcBtn, &QAbstractButton::clicked, this, [this] { SPopUpCalcBtnClick(); });
    tabEntersOnSelected(RdSeisakuNen1, RdSeisakuNen2);
    tabEntersOnSelected(RdKanshou1, RdKanshou2);
    tabEntersOnSelected(RdKaisuu1, RdKaisuu2);
    tabEntersOnSelected(RdShuuroku1, RdShuuroku2);
    // Edits and radio buttons build their slots when the window's focus
    // moves from them to another of its controls.
    leaves_ = std::make_unique<LeaveHandlers>(this);
    leaves_->add(ESTitle, [this] { ESTitleExit(); });
    leaves_->add({ESSeisakunen, RdSeisakuNen1, RdSeisakuNen2}, [this] { ESSeisakuNenExit(); });
    leaves_->add(ESSeisakuKoku, [this] { ESSeisakuKokuExit(); });
    leaves_->add(ESKantoku, [this] { ESKantokuExit(); });
    leaves_->add(ESShutsuen, [this] { t(); });
    leaves_->add({ESKanshouDate, RdKanshou1, RdKanshou2}, [this] { ESKanshouDateExit(); });
    leaves_->add({ESKaisuu, RdKaisuu1, RdKaisuu2}, [this] { ESKaisuuExit(); });
    leaves_->add({ESShuuroku, RdShuuroku1, RdShuuroku2}, [this] { ESShuurokuExit(); });
}

// ---- lists, search and clearing ----------------------------------------------

void TFMain::ComboSet() {
    fillFromList(CmbSGenre1, GenreCodes, dm_.CGenre, fld::GenreCode1, fld::GenreName);
    fillFromList(CmbSSound, SoundCodes, dm_.CSound, fld::SoundCd, fld::SoundName);
    fillFromList(CmbSLange, LangeCodes, dm_.CLange, fld::LangeCd, fld::LangeName);
}

void TFMain::BSearchClick() {
    // A rejected text throws here; the table is then left with no filter in
    // effect and lists the whole collection.
    guarded([this] {
        dm_.CDvd.setFilterText(Slots.filterText());
        dm_.CDvd.setFiltered(true);
    });
}

void TFMain::BKaijoClick() { guarded([this] { InitSerch(); }); }

void TFMain::InitSerch() {
    using S = SearchSlots;
    dm_.CDvd.setFiltered(false);
    emptyText(CmbSGenre1);
    emptyText(CmbSGenre2);
    Slots.clear(S::Genre1);
    Slots.clear(S::Genre2);
    ESTitle->clear();
    Slots.clear(S::Title);
    emptyText(CmbSHyouka);
    Slots.clear(S::Rating);
    emptyText(CmbSDvdHyouka);
    Slots.clear(S::DvdRating);
    emptyText(CmbSCinemaHyouka);
    Slots.clear(S::MovieRating);
    emptyText(CmbSSound);
    Slots.clear(S::Sound);
    emptyText(CmbSLange);
    Slots.clear(S::Language);
    ESKanshouDate->clear();
    RdKanshou1->setChecked(true);
    Slots.clear(S::Watched);
    ESKaisuu->clear();
    RdKaisuu1->setChecked(true);
    Slots.clear(S::WatchCount);
    ESSeisakuKoku->clear();
    Slots.clear(S::Country);
    ESSeisakunen->clear();
    RdSeisakuNen1->setChecked(true);
    Slots.clear(S::Year);
    ESKantoku->clear();
    Slots.clear(S::Director);
    ESShutsuen->clear();
    Slots.clear(S::Cast);
    ESShuuroku->clear();
    RdShuuroku1->setChecked(true);
    Slots.clear(S::RunningTime);
    for (int n = 1; n <= 10; ++n) {
        ChkSImpress[static_cast<size_t>(n)]->setChecked(false);  // a ticked box raises its click
        Slots.clear(S::Impression1 + n - 1);
    }
}

// ---- entry picked ---------------------------------------------------------------

void TFMain::CmbSGenre1Click() {
    const std::optional<int32_t> g = pickedCode(CmbSGenre1, GenreCodes);
    if (g) {
        Table& genres = dm_.CGenre;
        genres.setKey();
        genres.fieldU8(fld::GenreCode1).setInteger(*g);
        genres.gotoKey();  // no such genre: CGenre stays where it was
    }
    // CGenre2 follows CGenre's current row: the sub-genres of g.
    fillFromList(CmbSGenre2, Genre2Codes, dm_.CGenre2, fld::GenreCode2, fld::GenreName2);
    // The sub-genre's slot stays: a sub-genre picked before still counts.
    Slots.setGenre1(g.value_or(0), !g || CmbSGenre1->currentText().isEmpty());
}

void TFMain::CmbSGenre2Click() {
    const std::optional<int32_t> code = pickedCode(CmbSGenre2, Genre2Codes);
    Slots.setGenre2(code.value_or(0), !code || CmbSGenre2->currentText().isEmpty());
}

void TFMain::CmbSHyoukaClick() { Slots.setRating(toSjisQ(CmbSHyouka->currentText())); }

void TFMain::CmbSDvdHyoukaClick() { Slots.setDvdRating(toSjisQ(CmbSDvdHyouka->currentText())); }

void TFMain::CmbSCinemaHyoukaClick() { Slots.setMovieRating(toSjisQ(CmbSCinemaHyouka->currentText())); }

void TFMain::CmbSSoundClick() {
    const std::optional<int32_t> code = pickedCode(CmbSSound, SoundCodes);
    Slots.setSound(code.value_or(0), !code || CmbSSound->currentText().isEmpty());
}

void TFMain::CmbSLangeClick() {
    const std::optional<int32_t> code = pickedCode(CmbSLange, LangeCodes);
    Slots.setLanguage(code.value_or(0), !code || CmbSLange->currentText().isEmpty());
}

// ---- left ---------------------------------------------------------------------------

void TFMain::ESTitleExit() { Slots.setTitle(toSjisQ(ESTitle->text())); }

void TFMain::ESSeisakuNenExit() { Slots.setYear(toSjisQ(ESSeisakunen->text()), RdSeisakuNen1->isChecked()); }

void TFMain::ESSeisakuKokuExit() { Slots.setCountry(toSjisQ(ESSeisakuKoku->text())); }

void TFMain::ESKantokuExit() { Slots.setDirector(toSjisQ(ESKantoku->text())); }

void TFMain::t() { Slots.setCast(toSjisQ(ESShutsuen->text())); }

void TFMain::ESKanshouDateExit() { Slots.setWatched(toSjisQ(ESKanshouDate->text()), RdKanshou1->isChecked()); }

void TFMain::ESKaisuuExit() { Slots.setWatchCount(toSjisQ(ESKaisuu->text()), RdKaisuu1->isChecked()); }

void TFMain::ESShuurokuExit() { Slots.setRunningTime(toSjisQ(ESShuuroku->text()), RdShuuroku1->isChecked()); }

// ---- impression boxes and the calendar button ----------------------------------------

void TFMain::ChkSImpressClick(QAbstractButton* sender) {
    const int n = sender->property("Tag").toInt();
    if (n < 1 || n > 10) return;
    // The table is filled at creation; before that the sender is the box.
    const QAbstractButton* box = ImpressChecks[static_cast<size_t>(n)];
    Slots.setImpression(n, (box ? box : sender)->isChecked());
}

void TFMain::SPopUpCalcBtnClick() {
    TBrDateForm* picker = partners_.dateForm;
    if (!picker) return;
    const bool ready = guarded([this, picker] {
        const QString text = ESKanshouDate->text();
        picker->SetDate(startDateFor(text));
    });
    if (!ready) return;
    const int result = picker->exec();
    activateWindow();
    if (result != QDialog::Accepted) return;
    guarded([this, picker] {
        ESKanshouDate->setText(QString::fromStdString(formatDateTime(picker->GetDate())));
        ESKanshouDate->setFocus();
    });
}

}  // namespace tamboro
