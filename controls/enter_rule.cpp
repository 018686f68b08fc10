#include "controls/enter_rule.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QWidget>

namespace tamboro {
namespace {

// Gives access to QWidget's protected focus step without a cast to a type the
// object is not: a pointer to the member, called on the real widget.
struct FocusStep : QWidget {
    static bool (QWidget::*pointer())(bool) { return &FocusStep::focusNextPrevChild; }
};

}  // namespace

void moveFocusAsTab(QWidget* from, bool forward) {
    // Tab runs the focused widget's own step, which hands it up to the window.
    (from->*FocusStep::pointer())(forward);
}

bool typesCarriageReturn(const QKeyEvent* e) {
    if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter) return false;
    return !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

QChar typedChar(const QKeyEvent* e) {
    const int key = e->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (e->modifiers() & (Qt::AltModifier | Qt::MetaModifier)) return {};
        return QChar(e->modifiers() & Qt::ControlModifier ? 10 : 13);
    }
    if (key == Qt::Key_Backspace) return QChar(8);
    if (e->modifiers() & Qt::ControlModifier) {
        // Ctrl+letter types a control character (Ctrl+C is 3, Ctrl+V is 22).
        if (key >= Qt::Key_A && key <= Qt::Key_Z) return QChar(key - Qt::Key_A + 1);
        return {};
    }
    if (key == Qt::Key_Escape || key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Delete)
        return {};
    const QString text = e->text();
    if (text.isEmpty() || (text.at(0).unicode() < 0x20 && text.at(0) != QChar(8))) return {};
    return text.at(0);
}

bool enterRuleKeyStep(QWidget* control, QKeyEvent* e, bool returnNext, const KeyHandlers& handlers) {
    bool keyCleared = false;
    if (handlers.onKeyDown) {
        int key = e->key();
        handlers.onKeyDown(control, key, e->modifiers());
        keyCleared = key == 0;
    }
    // The Enter rule acts on the typed character, which follows even a key
    // the form cleared; the form's key-press handler never sees it.
    if (returnNext && typesCarriageReturn(e)) {
        moveFocusAsTab(control, true);
        e->accept();
        return true;
    }
    const QChar typed = typedChar(e);
    QChar ch = typed;
    if (handlers.onKeyPress && !typed.isNull()) handlers.onKeyPress(control, ch);
    if (keyCleared || (!typed.isNull() && ch.isNull())) {
        e->accept();
        return true;
    }
    return false;
}

PopupEnterFilter::PopupEnterFilter(QComboBox* combo, std::function<bool()> returnNext)
    : QObject(combo), combo_(combo), returnNext_(std::move(returnNext)) {}

void PopupEnterFilter::attach() {
    // Re-installing moves the filter ahead of the list container's own filter,
    // which would otherwise take the highlighted entry on Enter.
    QAbstractItemView* list = combo_->view();
    list->removeEventFilter(this);
    list->installEventFilter(this);
}

bool PopupEnterFilter::eventFilter(QObject* watched, QEvent* e) {
    const bool key = e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride;
    if (key && watched == combo_->view() && returnNext_() && typesCarriageReturn(static_cast<QKeyEvent*>(e))) {
        // The list takes its entry at the shortcut check that precedes the key
        // press; stopping it there lets the key press arrive here.
        if (e->type() == QEvent::KeyPress) {
            combo_->hidePopup();
            // Closing the list hands the focus back to the box afterwards;
            // move on once that has happened.
            QMetaObject::invokeMethod(
                combo_, [combo = combo_] { moveFocusAsTab(combo, true); }, Qt::QueuedConnection);
            e->accept();
        }
        return true;
    }
    return QObject::eventFilter(watched, e);
}

}  // namespace tamboro
