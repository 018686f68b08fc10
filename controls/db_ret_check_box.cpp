#include "controls/db_ret_check_box.h"

#include <QKeyEvent>

namespace tamboro {

TDBRetCheckBox::TDBRetCheckBox(QWidget* parent) : TDBCheckBox(parent) {}
TDBRetCheckBox::TDBRetCheckBox(const QString& text, QWidget* parent) : TDBCheckBox(text, parent) {}

void TDBRetCheckBox::keyPressEvent(QKeyEvent* e) {
    if (enterRuleKeyStep(this, e, returnNext_, keys_)) return;
    TDBCheckBox::keyPressEvent(e);
}

}  // namespace tamboro
