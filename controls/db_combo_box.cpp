#include "controls/db_combo_box.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "controls/enter_rule.h"
#include "controls/sjis_qt.h"
#include "controls/sjis_width_validator.h"
#include "controls/warning_beep.h"

namespace tamboro {

TDBComboBox::TDBComboBox(QWidget* parent)
    : QComboBox(parent), link_(this, {[this] { showField(); }, [this] { writeField(); }, [this] { updateReadOnly(); }}) {
    updateReadOnly();
    connect(this, &QComboBox::activated, this, [this] {
        if (showing_ || !link_.userChanged()) return;
        link_.tryUpdateRecord();
        emit changedByUser();
    });
}

void TDBComboBox::hookLineEdit() {
    // The line edit exists only once the box is made editable; hook it the
    // first time it is seen.
    QLineEdit* edit = lineEdit();
    if (!edit || edit == hookedEdit_) return;
    hookedEdit_ = edit;
    width_ = new SjisWidthValidator(0, edit);
    edit->setValidator(width_);
    connect(edit, &QLineEdit::textEdited, this, [this] {
        if (showing_ || !link_.userChanged()) return;
        emit changedByUser();
    });
}

void TDBComboBox::updateReadOnly() {
    hookLineEdit();
    // A list choice on a box that takes no change is undone by the link.
    const bool canModify = link_.canModify();
    if (QLineEdit* edit = lineEdit()) edit->setReadOnly(!canModify);
}

void TDBComboBox::showField() {
    hookLineEdit();
    const auto f = link_.field();
    const QString text = f ? fieldText(*f) : QString();
    if (width_) width_->setWidthBytes(f && f->type() == FieldType::String ? f->width() : 0);
    showing_ = true;
    setCurrentIndex(findText(text, Qt::MatchExactly));
    if (isEditable()) setEditText(text);
    showing_ = false;
}

void TDBComboBox::writeField() {
    if (auto f = link_.field()) f->setText(toSjisQ(currentText()));
}

bool TDBComboBox::boundKeyStep(QKeyEvent* e) {
    hookLineEdit();
    if (e->key() == Qt::Key_Escape && !(e->modifiers() & ~Qt::KeypadModifier)) {
        link_.reset();
        if (QLineEdit* edit = lineEdit()) edit->selectAll();
        e->accept();
        return true;
    }
    return refuseUnfitChar(link_, e, isEditable());
}

void TDBComboBox::keyPressEvent(QKeyEvent* e) {
    if (boundKeyStep(e)) return;
    QComboBox::keyPressEvent(e);
}

void TDBComboBox::focusInEvent(QFocusEvent* e) {
    hookLineEdit();
    QComboBox::focusInEvent(e);
}

void TDBComboBox::focusOutEvent(QFocusEvent* e) {
    QComboBox::focusOutEvent(e);
    link_.controlExit(e, [this] {
        if (QLineEdit* edit = lineEdit()) edit->selectAll();
    });
}

}  // namespace tamboro
