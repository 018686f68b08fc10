#include "controls/leave_handlers.h"

#include <QApplication>
#include <QWidget>
#include <utility>

#include "controls/message_boxes.h"

namespace tamboro {

LeaveHandlers::LeaveHandlers(QWidget* window) : window_(window) {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
}

void LeaveHandlers::add(QWidget* control, const std::function<void()>& handler) { handlers_[control] = handler; }

void LeaveHandlers::add(std::initializer_list<QWidget*> controls, const std::function<void()>& handler) {
    for (QWidget* c : controls) add(c, handler);
}

void LeaveHandlers::focusMoved(QWidget* now) {
    if (!now || now->window() != window_) return;
    if (now == active_) return;
    const QWidget* left = std::exchange(active_, now);
    if (auto it = handlers_.find(left); it != handlers_.end()) {
        const std::function<void()> handler = it->second;  // it may add or replace handlers
        guarded(handler);
    }
}

}  // namespace tamboro
