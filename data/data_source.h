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

private:
    void activeChanged() override;
    void rowsChanged() override;
    void currentChanged() override;
    void stateChanged() override;
    void fieldChanged(int field) override;

    std::string name_;
    Table& table_;
    std::vector<TableObserver*> controls_;
};

}  // namespace tamboro
