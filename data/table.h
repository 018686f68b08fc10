#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/field.h"
#include "data/packet.h"
#include "data/row_filter.h"
#include "data/schema.h"
#include "data/table_event.h"
#include "data/value.h"

namespace tamboro {

enum class TableState { Inactive, Browse, Edit, Insert, SetKey };

// Told about every change a data-bound control must redisplay.
//
// Row positions count the shown rows: the visible rows, and in insert state
// also the new row at pendingRowPosition(). A row notification comes right
// after the change, before the state and current-row notifications of the
// same operation, so the table already is as it will stay; an observer that
// keeps its own row count can bracket the change with it. The row-level
// calls fall back to rowsChanged(), which also stands for whole changes
// (opening, closing, filter, order, another master row).
class TableObserver {
public:
    virtual ~TableObserver() = default;
    virtual void activeChanged() {}     // opened or closed
    virtual void rowsChanged() {}       // the set or order of shown rows, as a whole
    virtual void rowsInserted(int /*first*/, int /*count*/) { rowsChanged(); }
    virtual void rowsRemoved(int /*first*/, int /*count*/) { rowsChanged(); }
    // A posted row left position from for position to (both count the rows
    // of their moment); its values may have changed too.
    virtual void rowMoved(int /*from*/, int /*to*/) { rowsChanged(); }
    // A posted row kept its place with new values.
    virtual void rowChanged(int /*row*/) { rowsChanged(); }
    virtual void currentChanged() {}    // another current row
    virtual void stateChanged() {}      // browse, edit, insert, ...
    virtual void fieldChanged(int /*field*/) {}  // a value in the edit buffer
};

// An in-memory table: rows loaded whole from its data-packet file, an index
// order, an optional master link and filter, a current row with an edit
// buffer, events, and a change log while logging is on.
class Table {
public:
    Table(std::string name, std::filesystem::path file, Schema schema);
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    const std::string& name() const { return name_; }
    const std::filesystem::path& file() const { return file_; }
    void setFile(std::filesystem::path f) { file_ = std::move(f); }

    // Definition (before opening).
    void setBuiltinRows(Packet p) { builtin_ = std::move(p); builtinUsed_ = false; }
    void setBuiltinReusable(bool on) { builtinReusable_ = on; }
    void setMaster(Table* master, std::string linkFieldsSjis);
    void setCaseInsensitiveFilter(bool on) { filterNoCase_ = on; }
    bool caseInsensitiveFilter() const { return filterNoCase_; }

    // Events, each optional. Their owner seals them once set.
    TableEvent beforeOpen{"BeforeOpen"}, afterOpen{"AfterOpen"}, afterClose{"AfterClose"},
        beforePost{"BeforePost"}, afterPost{"AfterPost"}, beforeDelete{"BeforeDelete"},
        afterDelete{"AfterDelete"}, afterScroll{"AfterScroll"};
    // Seals every event hook: assigning one afterwards throws.
    void sealEvents();

    // Lifecycle.
    void open();
    void openFrom(Packet packet);  // open with this packet instead of the file
    void close();
    // Writes the file now if the rows changed since it was read or last
    // written; the table stays open. Lets a caller save every table before
    // closing any, so that one failed write leaves all of them usable.
    void flush();
    bool active() const { return state_ != TableState::Inactive; }
    TableState state() const { return state_; }

    // Navigation over the visible rows.
    void first();
    void last();
    void next();
    void prior();
    bool eof() const;
    bool bof() const { return bof_; }
    int recordCount() const;
    int recNo() const { return cur_; }  // position in the visible rows, -1 for none
    void moveTo(int position);          // for grids; fires AfterScroll like next/prior

    // Editing.
    void append();
    void insert();
    void edit();
    void post();
    void cancel();
    void remove();  // "delete"
    bool modified() const { return bufferModified_; }
    // Insert state: position among the visible rows where the new row shows.
    int pendingRowPosition() const { return pendingPos_; }
    // Visible rows plus the new row in insert state: what a grid lists.
    int shownRowCount() const;

    // Fields.
    Field fieldByName(std::string_view sjisName);
    Field fieldU8(std::string_view utf8Name);
    std::optional<Field> findField(std::string_view sjisName);
    Field field(int index) { return Field(this, index); }
    const Schema& schema() const { return schema_; }

    // Order, filter, keys, logging.
    void setIndexFields(std::string_view sjisFieldList);
    const std::string& indexFields() const { return indexText_; }
    void setFilterText(std::string_view sjisText);
    const std::string& filterText() const { return filterText_; }
    void setFiltered(bool on);
    bool filtered() const { return filterOn_; }
    void setKey();
    bool gotoKey();
    void setLogging(bool on) { logging_ = on; }
    bool logging() const { return logging_; }

    // For the writer and the companion tool.
    const std::vector<StoredRow>& storedRows() const { return rows_; }
    const std::vector<ChangeLogEntry>& changeLog() const { return log_; }
    const std::vector<TableParam>& params() const { return params_; }
    int changeCount() const { return changes_; }
    // Row id of the visible row at position p (for grids and reports).
    uint32_t visibleRowId(int p) const { return visible_[static_cast<size_t>(p)]; }
    const RowData& rowData(uint32_t rowId) const { return rows_[rowId].data; }
    // Field value of a visible row without moving the cursor.
    Field fieldAt(int index, int position) { return Field(this, index, position); }

    // Observers (data sources) and details (tables linked to this one).
    void addObserver(TableObserver* o);
    void removeObserver(TableObserver* o);

private:
    friend class Field;
    friend class TableOrder;

    void requireActive() const;
    void loadPacket(Packet&& p);
    void startNewRow(bool atCurrent);
    void completePending();       // implicit completion
    void completeDetails();
    void dropPending();           // close's step 1, details included
    // Leaves edit or insert state without storing; true when a new row was dropped.
    bool abandonBuffer();
    void moveToPosition(int p);   // sets cur_, notifies, updates details
    void fire(const TableEvent& e);
    void setState(TableState s);
    // Switches the state without telling: row notifications go first.
    TableState switchState(TableState s);
    void notifyState();
    void notifyRows();
    void notifyInserted(int first);
    void notifyRemoved(int first);
    void notifyPosted(int from, bool stays, size_t shownBefore);
    void notifyCurrent();
    void notifyField(int f);
    void masterChanged();         // master's current values changed
    void detailsFollow();
    void detailsFollowIfLinkChanged();
    void linkFieldAssigned(int f);

    // Ordering and visibility (table_order.cpp).
    void resolveIndex();
    void rebuildOrder();          // allOrder_ from rows_
    void rebuildVisible();        // visible_ from allOrder_, range and filter
    bool passesFilter(uint32_t id) const;
    bool inRange(uint32_t id) const;
    int compareRows(uint32_t a, uint32_t b) const;
    int compareKey(uint32_t id, const std::vector<Value>& key, size_t nfields) const;
    void placeRow(uint32_t id);   // insert id into allOrder_ at its place
    void unplaceRow(uint32_t id);
    const std::string& sortKeyOf(uint32_t id, int field) const;
    void invalidateSortKeys(uint32_t id);
    std::vector<Value> masterLinkValues() const;

    // Field access (table_field.cpp).
    Value currentValue(int f, int position = -1) const;
    void assign(int f, Value v);

    std::string name_;
    std::filesystem::path file_;
    Schema definedSchema_, schema_;
    std::optional<Packet> builtin_;
    bool builtinUsed_ = false, builtinReusable_ = false;

    std::vector<StoredRow> rows_;
    std::vector<TableParam> params_;
    std::vector<ChangeLogEntry> log_;
    bool logging_ = true;
    int changes_ = 0;

    std::string indexText_;
    std::vector<int> index_;
    std::vector<uint32_t> allOrder_;  // current rows in index order
    std::vector<uint32_t> visible_;   // the visible ones, in index order
    // Collation sort keys per string index field, by row id; empty = not made.
    mutable std::vector<std::pair<int, std::vector<std::string>>> sortKeys_;

    std::string filterText_;
    bool filterOn_ = false, filterNoCase_ = false;
    std::unique_ptr<RowFilter> filter_;

    Table* master_ = nullptr;
    std::string linkText_;
    std::vector<int> linkFields_;        // ours
    std::vector<int> masterLinkFields_;  // the master's
    std::vector<Table*> details_;
    std::vector<Value> rangedOn_;  // the master's link values of the current range

    TableState state_ = TableState::Inactive;
    int cur_ = -1;
    bool eof_ = true, bof_ = true;
    std::vector<Value> buffer_;  // edit buffer, or the key in set-key state
    bool bufferModified_ = false;
    int pendingPos_ = -1;
    int savedCur_ = -1;  // current row before an insert

    std::vector<TableObserver*> observers_;
};

const char* stateName(TableState s);

}  // namespace tamboro
