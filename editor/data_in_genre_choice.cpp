// The record editor's choice of a genre: the major genre from its list, then
// a sub-genre from the list of that genre.
#include <QEvent>
#include <QFocusEvent>
#include <QTimer>

#include "controls/db_ret_lookup_combo_box.h"
#include "controls/message_boxes.h"
#include "controls/ret_combo_box.h"
#include "controls/sjis_qt.h"
#include "data/data_module.h"
#include "editor/data_in_form.h"

namespace tamboro {

void TFDataIn::hookGenreChoice() {
    connect(CmbGenre1, &TDBRetLookupComboBox::clicked, this, [this] { guarded([this] { CmbGenre1Click(); }); });
    connect(CmbGenre2, &QComboBox::activated, this, [this](int index) { CmbGenre2Click(index); });
    CmbGenre2->installEventFilter(this);
}

bool TFDataIn::eventFilter(QObject* watched, QEvent* e) {
    // The message waits until the focus change is over: no modal box in
    // the middle of one.
    // The window taking the activation back (or a popup closing) is not the
    // user entering the box.
    if (watched == CmbGenre2 && e->type() == QEvent::FocusIn && !MajorGenreChosen) {
        const Qt::FocusReason why = static_cast<QFocusEvent*>(e)->reason();
        if (why == Qt::ActiveWindowFocusReason && firstActivation_)
            QTimer::singleShot(0, this, [this] { FormActivate(); });  // the showing's choice holds
        else if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason)
            QTimer::singleShot(0, this, [this] { CmbGenre2Enter(); });
    }
    return TFixedDialog::eventFilter(watched, e);
}

void TFDataIn::CmbGenre1Click() {
    Table& titles = dm_.CDvd;
    const Field picked = titles.fieldU8(fld::Genre1);
    // The list shows names only; the genre table is moved to the pick so
    // that its detail table holds the sub-genres.
    dm_.CGenre.setKey();
    dm_.CGenre.fieldU8(fld::GenreCode1).setInteger(picked.isNull() ? 0 : picked.asInteger());
    dm_.CGenre.gotoKey();
    CmbGenre2->clear();
    CmbGenre2->clearEditText();
    SubGenreCodes.clear();
    Table& subs = dm_.CGenre2;
    for (subs.first(); !subs.eof(); subs.next()) {
        CmbGenre2->addItem(fieldText(subs.fieldU8(fld::GenreName2)));
        SubGenreCodes.push_back(static_cast<int32_t>(subs.fieldU8(fld::GenreCode2).asInteger()));
    }
    subs.first();
    CmbGenre2->setCurrentIndex(-1);
    CmbGenre2->clearEditText();
    MajorGenreChosen = true;
}

void TFDataIn::CmbGenre2Enter() {
    if (MajorGenreChosen || !CmbGenre2->hasFocus()) return;
    ShowInformation(QStringLiteral("ジャンル（大分類）を先に選択してください。"));
    CmbGenre1->setFocus();
}

void TFDataIn::CmbGenre2Click(int index) {
    if (index < 0 || static_cast<size_t>(index) >= SubGenreCodes.size()) return;
    // Fails when the title was posted since the major genre was picked: the
    // engine's message, and the choice stays open.
    if (!guarded([&] { dm_.CDvd.fieldU8(fld::Genre2).setInteger(SubGenreCodes[static_cast<size_t>(index)]); }))
        return;
    MajorGenreChosen = false;
    CmbGenre1->setFocus();
}

}  // namespace tamboro
