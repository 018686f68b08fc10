#pragma once
#include <QObject>
#include <QPointer>
#include <functional>
#include <initializer_list>
#include <unordered_map>

class QWidget;

namespace tamboro {

// Runs a control's leave handler when the focus moves from it to another
// control of the same window. Losing the focus to another window or a menu
// leaves no control (an editable combo box's edit passes its focus to the
// box, so the box is the control). Handlers
// are looked up by control, so a window lists them instead of testing each.
// Errors go to the default error box.
class LeaveHandlers : public QObject {
    Q_OBJECT
public:
    explicit LeaveHandlers(QWidget* window);

    void add(QWidget* control, const std::function<void()>& handler);
    // One handler shared by several controls (an edit and its radio buttons).
    void add(std::initializer_list<QWidget*> controls, const std::function<void()>& handler);

    // The control of the window that last had the focus.
    QWidget* activeControl() const { return active_; }

private:
    void focusMoved(QWidget* now);

    QWidget* window_;
    QPointer<QWidget> active_;
    std::unordered_map<const QWidget*, std::function<void()>> handlers_;
};

}  // namespace tamboro
