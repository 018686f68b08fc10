#include "controls/db_ret_lookup_combo_box.h"

#include <QKeyEvent>

namespace tamboro {

TDBRetLookupComboBox::TDBRetLookupComboBox(QWidget* parent)
    : TDBLookupComboBox(parent), popupFilter_(new PopupEnterFilter(this, [this] { return returnNext_; })) {}

void TDBRetLookupComboBox::showPopup() {
    popupFilter_->attach();
    TDBLookupComboBox::showPopup();
}

void TDBRetLookupComboBox::keyPressEvent(QKeyEvent* e) {
    if (enterRuleKeyStep(this, e, returnNext_, keys_)) return;
    TDBLookupComboBox::keyPressEvent(e);
}

}  // namespace tamboro
