#include "controls/db_edit.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include "controls/enter_rule.h"
#include "controls/sjis_qt.h"
#include "controls/sjis_width_validator.h"
#include "controls/warning_beep.h"

namespace tamboro {

TDBEdit::TDBEdit(QWidget* parent)
    : QLineEdit(parent),
      width_(new SjisWidthValidator(0, this)),
      link_(this, {[this] { showField(); }, [this] { writeField(); },
                   [this] { QLineEdit::setReadOnly(!link_.canModify()); }}) {
    setValidator(width_);
    QLineEdit::setReadOnly(true);
    connect(this, &QLineEdit::textEdited, this, [this] { link_.userChanged(); });
}

void TDBEdit::showField() {
    const auto f = link_.field();
    width_->setWidthBytes(f && f->type() == FieldType::String ? f->width() : 0);
    QString text;
    if (f) {
        // An amount is typed as a plain number, so the edit shows it so while
        // it can be changed there.
        if (hasFocus() && link_.canModify()) text = fromSjis(f->editText());
        else text = fieldText(*f);
    }
    if (text != this->text()) setText(text);
}

void TDBEdit::writeField() {
    if (auto f = link_.field()) f->setText(toSjisQ(text()));
}

bool TDBEdit::boundKeyStep(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && !(e->modifiers() & ~Qt::KeypadModifier)) {
        link_.reset();
        selectAll();
        e->accept();
        return true;
    }
    return refuseUnfitChar(link_, e, !isReadOnly());
}

void TDBEdit::keyPressEvent(QKeyEvent* e) {
    if (boundKeyStep(e)) return;
    QLineEdit::keyPressEvent(e);
}

void TDBEdit::inputMethodEvent(QInputMethodEvent* e) {
    const auto f = link_.field();
    const QString commit = e->commitString();
    if (f && !commit.isEmpty()) {
        const QString kept = acceptedChars(f->type(), commit);
        if (kept != commit) {
            warningBeep();
            QInputMethodEvent filtered(e->preeditString(), e->attributes());
            filtered.setCommitString(kept, e->replacementStart(), e->replacementLength());
            QLineEdit::inputMethodEvent(&filtered);
            return;
        }
    }
    QLineEdit::inputMethodEvent(e);
}

void TDBEdit::focusInEvent(QFocusEvent* e) {
    if (!link_.isModified()) showField();
    QLineEdit::focusInEvent(e);
}

void TDBEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    link_.controlExit(e, [this] { selectAll(); });
    if (!hasFocus() && !link_.isModified()) showField();
}

}  // namespace tamboro
