#include "data/data_source.h"

#include <algorithm>
#include <exception>

namespace tamboro {

namespace {
enum Held : unsigned { HeldActive = 1, HeldOther = 2 };
}

DataSource::DataSource(std::string name, Table& table) : name_(std::move(name)), table_(table) {
    table_.addObserver(this);
}

DataSource::~DataSource() { table_.removeObserver(this); }

void DataSource::attach(TableObserver* control) { controls_.push_back(control); }

void DataSource::detach(TableObserver* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

bool DataSource::pass(unsigned what) {
    if (paused_ == 0) return true;
    held_ |= what;
    return false;
}

// A control may detach itself while being told; walk a copy.
#define TAMBORO_FAN_OUT(held, call)                        \
    do {                                                   \
        if (!pass(held)) return;                           \
        auto controls = controls_;                         \
        for (TableObserver* c : controls) c->call;         \
    } while (0)

void DataSource::activeChanged() { TAMBORO_FAN_OUT(HeldActive, activeChanged()); }
void DataSource::rowsChanged() { TAMBORO_FAN_OUT(HeldOther, rowsChanged()); }
void DataSource::rowsInserted(int first, int count) { TAMBORO_FAN_OUT(HeldOther, rowsInserted(first, count)); }
void DataSource::rowsRemoved(int first, int count) { TAMBORO_FAN_OUT(HeldOther, rowsRemoved(first, count)); }
void DataSource::rowMoved(int from, int to) { TAMBORO_FAN_OUT(HeldOther, rowMoved(from, to)); }
void DataSource::rowChanged(int row) { TAMBORO_FAN_OUT(HeldOther, rowChanged(row)); }
void DataSource::currentChanged() { TAMBORO_FAN_OUT(HeldOther, currentChanged()); }
void DataSource::stateChanged() { TAMBORO_FAN_OUT(HeldOther, stateChanged()); }
void DataSource::fieldChanged(int field) { TAMBORO_FAN_OUT(HeldOther, fieldChanged(field)); }

#undef TAMBORO_FAN_OUT

void DataSource::resume() {
    if (--paused_ > 0 || held_ == 0) return;
    const unsigned held = held_;
    held_ = 0;
    if (held & HeldActive) activeChanged();
    rowsChanged();
    currentChanged();
    stateChanged();
}

ControlsPaused::ControlsPaused(std::vector<DataSource*> sources)
    : sources_(std::move(sources)), uncaught_(std::uncaught_exceptions()) {
    for (DataSource* s : sources_) s->pause();
}

ControlsPaused::~ControlsPaused() noexcept(false) {
    std::exception_ptr first;
    for (DataSource* s : sources_) {
        try {
            s->resume();
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    }
    // Unwinding already: the error on its way is the one to report.
    if (first && std::uncaught_exceptions() == uncaught_) std::rethrow_exception(first);
}

}  // namespace tamboro
