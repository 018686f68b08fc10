#include "data/data_source.h"

#include <algorithm>

namespace tamboro {

DataSource::DataSource(std::string name, Table& table) : name_(std::move(name)), table_(table) {
    table_.addObserver(this);
}

DataSource::~DataSource() { table_.removeObserver(this); }

void DataSource::attach(TableObserver* control) { controls_.push_back(control); }

void DataSource::detach(TableObserver* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

// A control may detach itself while being told; walk a copy.
#define TAMBORO_FAN_OUT(call)                              \
    do {                                                   \
        auto controls = controls_;                         \
        for (TableObserver* c : controls) c->call;         \
    } while (0)

void DataSource::activeChanged() { TAMBORO_FAN_OUT(activeChanged()); }
void DataSource::rowsChanged() { TAMBORO_FAN_OUT(rowsChanged()); }
void DataSource::currentChanged() { TAMBORO_FAN_OUT(currentChanged()); }
void DataSource::stateChanged() { TAMBORO_FAN_OUT(stateChanged()); }
void DataSource::fieldChanged(int field) { TAMBORO_FAN_OUT(fieldChanged(field)); }

#undef TAMBORO_FAN_OUT

}  // namespace tamboro
