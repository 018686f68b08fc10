#include "app/activation_tracker.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace tamboro {

ActivationTracker::ActivationTracker(QWidget* mainWindow, QObject* parent) : QObject(parent), main_(mainWindow) {
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &ActivationTracker::focusWindowChanged);
}

void ActivationTracker::focusWindowChanged(QWindow* window) {
    // Another program, or a popup (menu, combo list) that does not count as
    // a window of its own.
    if (!window || !main_) return;
    const Qt::WindowType type = window->type();
    if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen) return;

    if (window == main_->windowHandle()) {
        // A modal window (a progress dialog while the report is built) is up:
        // the main window cannot really hold the focus, and its steps would
        // change the titles under the running command.
        if (QGuiApplication::modalWindow()) return;
        const bool run = first_ || leftForNonModal_;
        first_ = false;
        leftForNonModal_ = false;
        if (run) emit activated();
        return;
    }
    leftForNonModal_ = window->modality() == Qt::NonModal;
}

}  // namespace tamboro
