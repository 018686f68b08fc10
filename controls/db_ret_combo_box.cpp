#include "controls/db_ret_combo_box.h"

#include <QKeyEvent>

namespace tamboro {

TDBRetComboBox::TDBRetComboBox(QWidget* parent)
    : TDBComboBox(parent), popupFilter_(new PopupEnterFilter(this, [this] { return returnNext_; })) {}

void TDBRetComboBox::showPopup() {
    popupFilter_->attach();
    TDBComboBox::showPopup();
}

void TDBRetComboBox::keyPressEvent(QKeyEvent* e) {
    if (enterRuleKeyStep(this, e, returnNext_, keys_)) return;
    TDBComboBox::keyPressEvent(e);
}

}  // namespace tamboro
