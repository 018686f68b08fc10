#include "controls/ret_combo_box.h"

#include <QKeyEvent>

namespace tamboro {

TRetComboBox::TRetComboBox(QWidget* parent)
    : QComboBox(parent), popupFilter_(new PopupEnterFilter(this, [this] { return returnNext_; })) {}

void TRetComboBox::showPopup() {
    popupFilter_->attach();
    QComboBox::showPopup();
}

void TRetComboBox::keyPressEvent(QKeyEvent* e) {
    if (enterRuleKeyStep(this, e, returnNext_, keys_)) return;
    QComboBox::keyPressEvent(e);
}

}  // namespace tamboro
