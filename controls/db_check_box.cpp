#include "controls/db_check_box.h"

namespace tamboro {

TDBCheckBox::TDBCheckBox(QWidget* parent) : TDBCheckBox(QString(), parent) {}

TDBCheckBox::TDBCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent), link_(this, {[this] { showField(); }, [this] { writeField(); }, {}}) {}

void TDBCheckBox::showField() {
    const auto f = link_.field();
    setChecked(f && f->asBoolean());
}

void TDBCheckBox::writeField() {
    if (auto f = link_.field()) f->setBoolean(isChecked());
}

void TDBCheckBox::nextCheckState() {
    // A box whose field cannot be changed keeps its tick.
    if (!link_.userChanged()) return;
    QCheckBox::nextCheckState();
    link_.tryUpdateRecord();
}

}  // namespace tamboro
