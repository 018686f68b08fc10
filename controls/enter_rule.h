#pragma once
#include <QChar>
#include <QObject>
#include <Qt>
#include <functional>

class QComboBox;
class QKeyEvent;
class QWidget;

namespace tamboro {

// Moves the focus from a control exactly as Tab (forward) or Shift+Tab
// (backward) would: tab stops only, visible and enabled, wrapping.
void moveFocusAsTab(QWidget* from, bool forward);

// True for the key that types a carriage return: Enter or Shift+Enter.
// Ctrl+Enter types a line feed instead and is left to the control.
bool typesCarriageReturn(const QKeyEvent* e);

// The character a key event types, or a null QChar for a pure key (arrows,
// Delete, function keys). Ctrl+letter gives its control character.
QChar typedChar(const QKeyEvent* e);

// The key events a form may handle on a control, as the controls raise them:
// key-down with the key code, key-press with the typed character. Either may
// clear its argument (0) to keep the key or character from the control.
struct KeyHandlers {
    std::function<void(QWidget* sender, int& key, Qt::KeyboardModifiers mods)> onKeyDown;
    std::function<void(QWidget* sender, QChar& ch)> onKeyPress;
};

// The shared key step of the Enter-advancing controls: the Enter rule first,
// then the form's key-down and key-press handlers. Returns true when the
// event is used up and must not reach the control's own handling.
bool enterRuleKeyStep(QWidget* control, QKeyEvent* e, bool returnNext, const KeyHandlers& handlers);

// Installed on a combo box's list while it is open: Enter closes the list
// without choosing and moves on, as when the box loses the focus.
class PopupEnterFilter : public QObject {
    Q_OBJECT
public:
    PopupEnterFilter(QComboBox* combo, std::function<bool()> returnNext);
    // Puts the filter in front of the combo box's own handling of its list.
    void attach();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QComboBox* combo_;
    std::function<bool()> returnNext_;
};

}  // namespace tamboro
