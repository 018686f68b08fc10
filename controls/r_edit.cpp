#include "controls/r_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "controls/warning_beep.h"

namespace tamboro {

TREdit::TREdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void TREdit::setTextAlignment(TAlignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    const Qt::Alignment h = a == taRightJustify ? Qt::AlignRight : a == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    setAlignment(h | Qt::AlignVCenter);
}

void TREdit::keyPressEvent(QKeyEvent* e) {
    // Key-down step: the form's handler, then the focus rule.
    int key = e->key();
    if (keys_.onKeyDown) keys_.onKeyDown(this, key, e->modifiers());
    if (key != 0 && returnNext_ && focusRule(key)) key = 0;

    // Key-press step: the character the key types, if any, even when the key
    // itself was used up (as the carriage return that follows Enter is).
    const QChar typed = typedChar(e);
    QChar ch = typed;
    if (!typed.isNull()) {
        if (keys_.onKeyPress) keys_.onKeyPress(this, ch);
        ch = filterChar(ch);
    }
    if (key == 0 || (!typed.isNull() && ch.isNull())) {
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

bool TREdit::focusRule(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down) {
        moveFocusAsTab(this, true);
        return true;
    }
    if (key == Qt::Key_Up) {
        moveFocusAsTab(this, false);
        return true;
    }
    return false;
}

QChar TREdit::filterChar(QChar ch) {
    if (ch.isNull()) return ch;
    if (returnNext_ && ch.unicode() == 13) return {};
    if (numericType_ == ntDontCare) return ch;
    if (ch.unicode() == 8) return ch;
    if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) return ch;
    if (ch == QLatin1Char('-') || ch == QLatin1Char('.')) return filterSign(ch);
    return reject();
}

QChar TREdit::filterSign(QChar ch) {
    const bool point = ch == QLatin1Char('.');
    if (point && (numericType_ == ntPlusInteger || numericType_ == ntInteger)) return reject();
    if (!point && (numericType_ == ntPlusInteger || numericType_ == ntPlusReal)) return reject();
    // The whole text counts, selected part included.
    if (text().contains(ch)) return reject();
    if (!point) {
        // A minus sign enters only at the very start and never replaces a selection.
        const int start = hasSelectedText() ? selectionStart() : cursorPosition();
        setCursorPosition(start);
        if (start != 0) return reject();
    }
    return ch;
}

QChar TREdit::reject() {
    warningBeep();
    return {};
}

void TREdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    // A click places the caret; the keyboard or the program selects it all.
    // Coming back from a popup or another window keeps the selection as it was.
    const bool byMouse = mouseActivated_ || e->reason() == Qt::MouseFocusReason;
    const bool reentry = e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason;
    if (!byMouse && !reentry) {
        if (autoSelect_) {
            end(false);
            selectAll();
        } else if (hasSelectedText()) {
            deselect();
        }
    }
    mouseActivated_ = false;
}

void TREdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    mouseActivated_ = false;
}

void TREdit::mousePressEvent(QMouseEvent* e) {
    QLineEdit::mousePressEvent(e);
    mouseActivated_ = true;
}

}  // namespace tamboro
