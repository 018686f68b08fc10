#pragma once
#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

namespace tamboro {

class TDM1;

// Keeps the recovery copy of the catalogue's unsaved changes up to date:
// every posted or deleted change of any table restarts a single-shot timer,
// and when the user has been idle for its delay the changed tables are
// written beside the data files. A table closing (its changes now in its
// file) brings the copy up to date at once. Everything runs on the
// user-interface thread, between table operations.
class RecoveryTimer : public QObject {
public:
    static constexpr int kIdleDelayMs = 2000;

    explicit RecoveryTimer(TDM1& dm, QObject* parent = nullptr);
    ~RecoveryTimer() override;

    void setIdleDelay(int ms) { timer_.setInterval(ms); }
    // Whether a change waits for the idle delay to end.
    bool pending() const { return timer_.isActive(); }
    // Writes the copy now. A failure goes to the default error box once,
    // not again until a copy has been written; false when it failed.
    bool writeNow();

private:
    class Watch;
    void changed();

    TDM1& dm_;
    QTimer timer_;
    std::vector<std::unique_ptr<Watch>> watches_;
    bool failureShown_ = false;
};

}  // namespace tamboro
