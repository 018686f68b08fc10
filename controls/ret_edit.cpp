#include "controls/ret_edit.h"

#include <QKeyEvent>

namespace tamboro {

TRetEdit::TRetEdit(QWidget* parent) : QLineEdit(parent) {}

void TRetEdit::keyPressEvent(QKeyEvent* e) {
    if (enterRuleKeyStep(this, e, returnNext_, keys_)) return;
    QLineEdit::keyPressEvent(e);
}

}  // namespace tamboro
