#pragma once
#include <string>
#include <vector>

#include "data/table.h"

namespace tamboro {

// Connects data-bound controls to a table: the table tells its data
// sources, and each source tells the controls attached to it.
class DataSource : private TableObserver {
public:
    DataSource(std::string name, Table& table);
    ~DataSource() override;
    DataSource(const DataSource&) = delete;
    DataSource& operator=(const DataSource&) = delete;

    const std::string& name() const { return name_; }
    Table& table() const { return table_; }
    void attach(TableObserver* control);
    void detach(TableObserver* control);
    // While a ControlsPaused guard holds the source, its controls hear nothing.
    bool controlsPaused() const { return paused_ > 0; }

private:
    friend class ControlsPaused;

    void activeChanged() override;
    void rowsChanged() override;
    void rowsInserted(int first, int count) override;
    void rowsRemoved(int first, int count) override;
    void rowMoved(int from, int to) override;
    void rowChanged(int row) override;
    void currentChanged() override;
    void stateChanged() override;
    void fieldChanged(int field) override;

    // Returns false when the call is held back for the refresh.
    bool pass(unsigned what);
    void pause() { ++paused_; }
    void resume();

    std::string name_;
    Table& table_;
    std::vector<TableObserver*> controls_;
    int paused_ = 0;
    unsigned held_ = 0;  // what was held back while paused
};

// Pauses what the given sources pass to their controls while it lives, as
// for a walk over the whole table; guards nest. When the last guard of a
// source ends and anything was held back, its controls get one refresh:
// opened or closed if that happened, then rows, current row and state.
class ControlsPaused {
public:
    explicit ControlsPaused(DataSource& source) : ControlsPaused(std::vector<DataSource*>{&source}) {}
    explicit ControlsPaused(std::vector<DataSource*> sources);
    // A refresh error propagates unless another error is already on its way.
    ~ControlsPaused() noexcept(false);
    ControlsPaused(const ControlsPaused&) = delete;
    ControlsPaused& operator=(const ControlsPaused&) = delete;

private:
    std::vector<DataSource*> sources_;
    int uncaught_;
};

}  // namespace tamboro
