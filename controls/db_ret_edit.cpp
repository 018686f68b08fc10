#include "controls/db_ret_edit.h"

#include <QKeyEvent>

namespace tamboro {

TDBRetEdit::TDBRetEdit(QWidget* parent) : TDBEdit(parent) {}

void TDBRetEdit::keyPressEvent(QKeyEvent* e) {
    if (enterRuleKeyStep(this, e, returnNext_, keys_)) return;
    TDBEdit::keyPressEvent(e);
}

}  // namespace tamboro
