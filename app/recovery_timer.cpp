#include "app/recovery_timer.h"

#include "controls/message_boxes.h"
#include "data/catalogue_files.h"
#include "data/data_module.h"
#include "data/recovery.h"

namespace tamboro {

// Tells the timer when a table's rows changed: a post ends edit or insert
// state, a deletion removes a row, and both raise the change counter.
class RecoveryTimer::Watch : public TableObserver {
public:
    Watch(RecoveryTimer& owner, Table& table)
        : owner_(owner), table_(table), state_(table.state()), count_(table.changeCount()) {
        table_.addObserver(this);
    }
    ~Watch() override { table_.removeObserver(this); }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

    void activeChanged() override {
        look();
        // Its changes are in its file now: an older copy must not outlive them.
        if (!table_.active()) owner_.writeNow();
    }
    void rowsChanged() override { look(); }
    void rowsInserted(int, int) override { look(); }
    void rowsRemoved(int, int) override {
        owner_.changed();
        look();
    }
    void rowMoved(int, int) override { look(); }
    void rowChanged(int) override { look(); }
    void stateChanged() override { look(); }
    void currentChanged() override { look(); }

private:
    void look() {
        const TableState now = table_.state();
        const int count = table_.changeCount();
        // A post always leaves unsaved changes behind; a cancel may not. The
        // count alone can miss a post after a failed close wrote the table.
        const bool posted = (state_ == TableState::Edit || state_ == TableState::Insert) &&
                            now == TableState::Browse && count != 0;
        state_ = now;
        if (count != count_ || posted) {
            count_ = count;
            owner_.changed();
        }
    }

    RecoveryTimer& owner_;
    Table& table_;
    TableState state_;
    int count_;
};

RecoveryTimer::RecoveryTimer(TDM1& dm, QObject* parent) : QObject(parent), dm_(dm) {
    timer_.setSingleShot(true);
    timer_.setInterval(kIdleDelayMs);
    connect(&timer_, &QTimer::timeout, this, [this] { writeNow(); });
    for (CatalogueTable t : kCopyOrder) watches_.push_back(std::make_unique<Watch>(*this, dm_.table(t)));
}

RecoveryTimer::~RecoveryTimer() = default;

void RecoveryTimer::changed() { timer_.start(); }

bool RecoveryTimer::writeNow() {
    timer_.stop();
    try {
        updateRecoveryCopy(dm_);
        failureShown_ = false;
        return true;
    } catch (const std::exception& e) {
        // Called from table notifications too: never let it escape into the
        // table operation. Shown from the event loop, and once per streak,
        // so that each keystroke's idle pause does not raise another box.
        if (!failureShown_) {
            failureShown_ = true;
            ShowDefaultErrorLater(this, QStringLiteral("保存されていない変更の復元データを書き込めません。\n") +
                                            QString::fromUtf8(e.what()));
        }
        return false;
    }
}

}  // namespace tamboro
