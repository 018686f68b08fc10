#include "controls/ret_check_box.h"

#include <QKeyEvent>

namespace tamboro {

TRetCheckBox::TRetCheckBox(QWidget* parent) : QCheckBox(parent) {}
TRetCheckBox::TRetCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

void TRetCheckBox::keyPressEvent(QKeyEvent* e) {
    if (enterRuleKeyStep(this, e, returnNext_, keys_)) return;
    QCheckBox::keyPressEvent(e);
}

}  // namespace tamboro
