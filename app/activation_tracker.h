#pragma once
#include <QObject>
#include <QPointer>

class QWidget;
class QWindow;

namespace tamboro {

// Follows which window of the program holds the focus and tells when the
// main window takes it: the first time, and each time it takes it back from
// a non-modal window of the program. Not after a modal window or a message
// box, nor when the user comes back from another program.
class ActivationTracker : public QObject {
    Q_OBJECT
public:
    explicit ActivationTracker(QWidget* mainWindow, QObject* parent = nullptr);

    // The program's focused window changed (null: none of ours, e.g. the
    // user went to another program). Connected to the application; public
    // so that focus changes the platform cannot make can be replayed.
    void focusWindowChanged(QWindow* window);

signals:
    void activated();

private:
    QPointer<QWidget> main_;
    bool first_ = true;
    // The last window of ours other than the main window to hold the focus
    // was non-modal.
    bool leftForNonModal_ = false;
};

}  // namespace tamboro
