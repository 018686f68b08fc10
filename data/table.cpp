#include "data/table.h"

#include <algorithm>

#include "data/error.h"
#include "data/messages.h"
#include "data/packet_file.h"
#include "data/sjis.h"

namespace tamboro {

const char* stateName(TableState s) {
    switch (s) {
    case TableState::Inactive: return "inactive";
    case TableState::Browse: return "browse";
    case TableState::Edit: return "edit";
    case TableState::Insert: return "insert";
    case TableState::SetKey: return "set-key";
    }
    return "?";
}

Table::Table(std::string name, std::filesystem::path file, Schema schema)
    : name_(std::move(name)), file_(std::move(file)), definedSchema_(std::move(schema)),
      schema_(definedSchema_) {}

Table::~Table() {
    if (master_) {
        auto& d = master_->details_;
        d.erase(std::remove(d.begin(), d.end(), this), d.end());
    }
    for (Table* d : details_) d->master_ = nullptr;
}

void Table::setMaster(Table* master, std::string linkFieldsSjis) {
    if (master_) {
        auto& d = master_->details_;
        d.erase(std::remove(d.begin(), d.end(), this), d.end());
    }
    master_ = master;
    linkText_ = std::move(linkFieldsSjis);
    if (master_) master_->details_.push_back(this);
}

void Table::requireActive() const {
    if (state_ == TableState::Inactive) throw DataError(msg::kClosed);
}

void Table::fire(const TableEvent& e) { e(*this); }

void Table::sealEvents() {
    for (TableEvent* e : {&beforeOpen, &afterOpen, &afterClose, &beforePost, &afterPost, &beforeDelete, &afterDelete,
                          &afterScroll})
        e->seal();
}

void Table::addObserver(TableObserver* o) { observers_.push_back(o); }
void Table::removeObserver(TableObserver* o) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), o), observers_.end());
}

void Table::setState(TableState s) {
    if (switchState(s) != s) notifyState();
}
TableState Table::switchState(TableState s) {
    TableState previous = state_;
    state_ = s;
    return previous;
}
void Table::notifyState() {
    for (auto* o : observers_) o->stateChanged();
}
void Table::notifyRows() {
    for (auto* o : observers_) o->rowsChanged();
}
void Table::notifyInserted(int first) {
    for (auto* o : observers_) o->rowsInserted(first, 1);
}
void Table::notifyRemoved(int first) {
    for (auto* o : observers_) o->rowsRemoved(first, 1);
}

// The posted row was shown at from; it now shows at cur_ or, when it left
// the filter or range, not at all. Any other change to the shown rows (none
// is expected) is told as a whole.
void Table::notifyPosted(int from, bool stays, size_t shownBefore) {
    if (visible_.size() + (stays ? 0 : 1) != shownBefore) notifyRows();
    else if (!stays) notifyRemoved(from);
    else if (cur_ != from)
        for (auto* o : observers_) o->rowMoved(from, cur_);
    else
        for (auto* o : observers_) o->rowChanged(cur_);
}
void Table::notifyCurrent() {
    for (auto* o : observers_) o->currentChanged();
}
void Table::notifyField(int f) {
    for (auto* o : observers_) o->fieldChanged(f);
}

// ---- open and close -------------------------------------------------------

void Table::open() {
    if (active()) return;
    fire(beforeOpen);
    std::optional<Packet> p = readPacketFile(file_);
    if (!p) {
        if (!builtin_ || (builtinUsed_ && !builtinReusable_)) throw DataError(msg::kNoPacket);
        p = *builtin_;
        builtinUsed_ = true;
    }
    loadPacket(std::move(*p));
}

void Table::openFrom(Packet packet) {
    if (active()) return;
    fire(beforeOpen);
    loadPacket(std::move(packet));
}

void Table::loadPacket(Packet&& p) {
    // Resolve names against the loaded schema before anything changes, so a
    // failure leaves the table closed.
    Schema previous = std::move(schema_);
    schema_ = std::move(p.schema);
    try {
        resolveIndex();
        linkFields_.clear();
        masterLinkFields_.clear();
        if (master_) {
            for (const std::string& n : splitFieldList(linkText_)) {
                int mine = schema_.indexOf(n);
                int theirs = master_->schema_.indexOf(n);
                if (mine < 0) throw DataError(formatMessage(msg::kNoField, {toUtf8(n)}));
                linkFields_.push_back(mine);
                masterLinkFields_.push_back(theirs);
            }
        }
    } catch (...) {
        schema_ = std::move(previous);
        throw;
    }
    rows_ = std::move(p.rows);
    params_ = std::move(p.params);
    log_ = std::move(p.changeLog);
    sortKeys_.clear();
    logging_ = true;
    changes_ = 0;
    filter_.reset();
    if (filterOn_) {
        try {
            filter_ = compileFilter(filterText_, *this, filterNoCase_);
        } catch (const DataError&) {
            filter_.reset();  // a bad stored text filters nothing
        }
    }
    buffer_.clear();
    bufferModified_ = false;
    pendingPos_ = -1;
    rebuildOrder();
    rebuildVisible();
    cur_ = visible_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = visible_.empty();
    state_ = TableState::Browse;
    for (auto* o : observers_) o->activeChanged();
    notifyRows();
    notifyCurrent();
    detailsFollow();
    fire(afterOpen);
    if (!visible_.empty()) fire(afterScroll);
}

void Table::close() {
    if (!active()) return;
    // The details' pending edits go too: completing them once this table is
    // gone would post rows whose roll-up has nowhere to go.
    dropPending();
    if (changes_ != 0) {
        // On failure the rows and the counter stay, so a later close retries.
        writePacketFile(file_, *this);
    }
    changes_ = 0;
    rows_.clear();
    rows_.shrink_to_fit();
    log_.clear();
    params_.clear();
    allOrder_.clear();
    visible_.clear();
    sortKeys_.clear();
    filter_.reset();
    cur_ = -1;
    eof_ = bof_ = true;
    schema_ = definedSchema_;
    state_ = TableState::Inactive;
    for (auto* o : observers_) o->activeChanged();
    notifyRows();
    notifyCurrent();
    detailsFollow();
    fire(afterClose);
}

void Table::dropPending() {
    for (Table* d : details_)
        if (d->active()) d->dropPending();
    if (state_ == TableState::Browse) return;
    if (abandonBuffer()) notifyCurrent();
}

bool Table::abandonBuffer() {
    const bool wasInsert = state_ == TableState::Insert;
    const int pending = pendingPos_;
    buffer_.clear();
    bufferModified_ = false;
    pendingPos_ = -1;
    if (wasInsert) cur_ = std::min(savedCur_, static_cast<int>(visible_.size()) - 1);
    switchState(TableState::Browse);
    if (wasInsert) notifyRemoved(pending);
    notifyState();
    return wasInsert;
}

void Table::flush() {
    if (!active() || changes_ == 0) return;
    writePacketFile(file_, *this);
    changes_ = 0;
}

// ---- moving ---------------------------------------------------------------

int Table::recordCount() const {
    requireActive();
    return static_cast<int>(visible_.size());
}

int Table::shownRowCount() const {
    if (!active()) return 0;
    return static_cast<int>(visible_.size()) + (state_ == TableState::Insert && pendingPos_ >= 0 ? 1 : 0);
}

bool Table::eof() const { return eof_ || visible_.empty(); }

void Table::moveToPosition(int p) {
    bool changed = p != cur_;
    cur_ = p;
    if (changed) {
        notifyCurrent();
        detailsFollow();
    }
}

void Table::first() {
    requireActive();
    completePending();
    bof_ = true;
    eof_ = visible_.empty();
    moveToPosition(visible_.empty() ? -1 : 0);
    fire(afterScroll);
}

void Table::last() {
    requireActive();
    completePending();
    bof_ = visible_.empty();
    eof_ = visible_.empty();
    moveToPosition(static_cast<int>(visible_.size()) - 1);
    fire(afterScroll);
}

void Table::next() {
    requireActive();
    completePending();
    if (eof()) return;
    bof_ = false;
    if (cur_ + 1 < static_cast<int>(visible_.size())) moveToPosition(cur_ + 1);
    else eof_ = true;
    fire(afterScroll);
}

void Table::prior() {
    requireActive();
    completePending();
    if (bof_) return;
    eof_ = false;
    if (cur_ > 0) moveToPosition(cur_ - 1);
    else bof_ = true;
    fire(afterScroll);
}

void Table::moveTo(int position) {
    requireActive();
    completePending();
    if (visible_.empty()) return;
    position = std::clamp(position, 0, static_cast<int>(visible_.size()) - 1);
    if (position == cur_) return;
    bof_ = eof_ = false;
    moveToPosition(position);
    fire(afterScroll);
}

// ---- editing --------------------------------------------------------------

void Table::completeDetails() {
    for (Table* d : details_)
        if (d->active()) d->completePending();
}

void Table::completePending() {
    completeDetails();
    switch (state_) {
    case TableState::Edit:
    case TableState::Insert:
        if (bufferModified_) post();
        else cancel();
        break;
    case TableState::SetKey:
        buffer_.clear();
        setState(TableState::Browse);
        break;
    default: break;
    }
}

void Table::append() { startNewRow(false); }

void Table::insert() { startNewRow(true); }

void Table::startNewRow(bool atCurrent) {
    requireActive();
    completePending();
    savedCur_ = cur_;
    // Where the new row shows until it is posted: here, or after the last.
    pendingPos_ = atCurrent ? std::max(cur_, 0) : static_cast<int>(visible_.size());
    buffer_.assign(schema_.size(), Value());
    if (master_) {
        std::vector<Value> link = masterLinkValues();
        for (size_t i = 0; i < linkFields_.size(); ++i) buffer_[linkFields_[i]] = link[i];
    }
    bufferModified_ = false;
    const TableState previous = switchState(TableState::Insert);
    eof_ = bof_ = false;
    notifyInserted(pendingPos_);
    if (previous != TableState::Insert) notifyState();
    notifyCurrent();
    detailsFollow();
    fire(afterScroll);
}

void Table::edit() {
    requireActive();
    if (state_ == TableState::Edit || state_ == TableState::Insert) return;
    if (state_ == TableState::SetKey) completePending();
    if (visible_.empty()) {
        append();
        return;
    }
    completeDetails();
    // A detail's AfterPost may have started the edit and filled the buffer
    // (the viewing roll-up); starting again would throw that away.
    if (state_ == TableState::Edit || state_ == TableState::Insert) return;
    buffer_ = rows_[visible_[static_cast<size_t>(cur_)]].data.toValues(schema_);
    bufferModified_ = false;
    setState(TableState::Edit);
}

void Table::post() {
    requireActive();
    if (state_ != TableState::Edit && state_ != TableState::Insert) return;
    completeDetails();
    fire(beforePost);
    if (state_ != TableState::Edit && state_ != TableState::Insert) return;  // a handler finished it
    RowData data = RowData::fromValues(buffer_, schema_);
    uint32_t posted;
    if (state_ == TableState::Edit) {
        uint32_t id = visible_[static_cast<size_t>(cur_)];
        unplaceRow(id);
        if (logging_) {
            uint8_t old = rows_[id].status;
            rows_[id].status |= RowSuperseded;
            posted = static_cast<uint32_t>(rows_.size());
            rows_.push_back({std::move(data), static_cast<uint8_t>(RowModified | (old & RowInserted))});
            log_.push_back({posted, id, RowModified});
        } else {
            rows_[id].data = std::move(data);
            invalidateSortKeys(id);
            posted = id;
        }
    } else {
        posted = static_cast<uint32_t>(rows_.size());
        rows_.push_back({std::move(data), static_cast<uint8_t>(logging_ ? RowInserted : 0)});
        if (logging_) log_.push_back({posted, ChangeLogEntry::kNone, RowInserted});
    }
    placeRow(posted);
    ++changes_;
    const int before = state_ == TableState::Insert ? pendingPos_ : cur_;
    const size_t shownBefore = visible_.size() + (state_ == TableState::Insert ? 1 : 0);
    buffer_.clear();
    bufferModified_ = false;
    pendingPos_ = -1;
    rebuildVisible();
    auto it = std::find(visible_.begin(), visible_.end(), posted);
    const bool stays = it != visible_.end();
    // A row that left the filter or range hands its place to its neighbour.
    cur_ = stays ? static_cast<int>(it - visible_.begin()) : std::min(before, static_cast<int>(visible_.size()) - 1);
    eof_ = bof_ = false;
    switchState(TableState::Browse);
    notifyPosted(before, stays, shownBefore);
    notifyState();
    notifyCurrent();
    // The same row stays current: details keep their place unless its link
    // values changed.
    detailsFollowIfLinkChanged();
    fire(afterPost);
}

void Table::cancel() {
    requireActive();
    if (state_ == TableState::SetKey) {
        buffer_.clear();
        setState(TableState::Browse);
        return;
    }
    if (state_ != TableState::Edit && state_ != TableState::Insert) return;
    const bool wasInsert = abandonBuffer();
    notifyCurrent();
    if (wasInsert) detailsFollow();
    else detailsFollowIfLinkChanged();
    if (wasInsert) fire(afterScroll);
}

void Table::remove() {
    requireActive();
    if (state_ == TableState::Insert || state_ == TableState::SetKey) {
        cancel();
        return;
    }
    if (visible_.empty()) throw DataError(msg::kEmptyDataset);
    completeDetails();
    fire(beforeDelete);
    if (visible_.empty() || cur_ < 0) return;
    uint32_t id = visible_[static_cast<size_t>(cur_)];
    const int at = cur_;
    const size_t shownBefore = visible_.size();
    unplaceRow(id);
    if (logging_) {
        rows_[id].status |= RowDeleted;
        log_.push_back({id, ChangeLogEntry::kNone, RowDeleted});
    } else {
        rows_[id].status |= RowRemoved;
        rows_[id].data = RowData();
    }
    ++changes_;
    buffer_.clear();
    bufferModified_ = false;
    rebuildVisible();
    cur_ = std::min(at, static_cast<int>(visible_.size()) - 1);
    eof_ = visible_.empty();
    bof_ = visible_.empty();
    const TableState previous = switchState(TableState::Browse);
    if (visible_.size() + 1 == shownBefore) notifyRemoved(at);
    else notifyRows();
    if (previous != TableState::Browse) notifyState();
    notifyCurrent();
    detailsFollow();
    fire(afterDelete);
    fire(afterScroll);
}

// ---- keys -----------------------------------------------------------------

void Table::setKey() {
    requireActive();
    completePending();
    buffer_.assign(schema_.size(), Value());
    setState(TableState::SetKey);
}

bool Table::gotoKey() {
    requireActive();
    std::vector<Value> key = state_ == TableState::SetKey ? buffer_ : std::vector<Value>(schema_.size());
    if (state_ == TableState::SetKey) {
        buffer_.clear();
        setState(TableState::Browse);
    } else {
        completePending();
    }
    std::vector<Value> keyValues;
    for (int f : index_) keyValues.push_back(key[static_cast<size_t>(f)]);
    auto it = std::lower_bound(visible_.begin(), visible_.end(), 0u, [&](uint32_t id, unsigned) {
        return compareKey(id, keyValues, index_.size()) < 0;
    });
    if (it == visible_.end() || compareKey(*it, keyValues, index_.size()) != 0) return false;
    eof_ = bof_ = false;
    moveToPosition(static_cast<int>(it - visible_.begin()));
    return true;
}

// ---- fields ---------------------------------------------------------------

std::optional<Field> Table::findField(std::string_view sjisName) {
    int i = schema_.indexOf(sjisName);
    if (i < 0) return std::nullopt;
    return Field(this, i);
}

Field Table::fieldByName(std::string_view sjisName) {
    int i = schema_.indexOf(sjisName);
    if (i < 0) throw DataError(formatMessage(msg::kNoField, {toUtf8(sjisName)}));
    return Field(this, i);
}

Field Table::fieldU8(std::string_view utf8Name) { return fieldByName(toSjis(utf8Name)); }

Value Table::currentValue(int f, int position) const {
    if (f < 0 || static_cast<size_t>(f) >= schema_.size()) return Value();
    if (position >= 0) {
        if (position == cur_ && state_ == TableState::Edit) return buffer_[static_cast<size_t>(f)];
        if (static_cast<size_t>(position) >= visible_.size()) return Value();
        return rows_[visible_[static_cast<size_t>(position)]].data.value(f, schema_[static_cast<size_t>(f)].type);
    }
    switch (state_) {
    case TableState::Edit:
    case TableState::Insert:
    case TableState::SetKey: return buffer_[static_cast<size_t>(f)];
    case TableState::Browse:
        if (cur_ < 0) return Value();
        return rows_[visible_[static_cast<size_t>(cur_)]].data.value(f, schema_[static_cast<size_t>(f)].type);
    default: return Value();
    }
}

void Table::assign(int f, Value v) {
    requireActive();
    if (state_ == TableState::SetKey) {
        if (std::find(index_.begin(), index_.end(), f) == index_.end())
            throw DataError(formatMessage(msg::kNotIndexed, {toUtf8(schema_[static_cast<size_t>(f)].name)}));
        buffer_[static_cast<size_t>(f)] = std::move(v);
        return;
    }
    if (state_ != TableState::Edit && state_ != TableState::Insert) throw DataError(msg::kNotEditing);
    buffer_[static_cast<size_t>(f)] = std::move(v);
    bufferModified_ = true;
    notifyField(f);
    linkFieldAssigned(f);
}

// ---- master and details ---------------------------------------------------

void Table::detailsFollow() {
    for (Table* d : details_) d->masterChanged();
}

void Table::detailsFollowIfLinkChanged() {
    for (Table* d : details_)
        if (!d->master_ || d->masterLinkValues() != d->rangedOn_) d->masterChanged();
}

void Table::linkFieldAssigned(int f) {
    for (Table* d : details_)
        if (std::find(d->masterLinkFields_.begin(), d->masterLinkFields_.end(), f) != d->masterLinkFields_.end())
            d->masterChanged();
}

void Table::masterChanged() {
    if (!active()) return;
    completePending();
    rebuildVisible();
    cur_ = visible_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = visible_.empty();
    notifyRows();
    notifyCurrent();
    detailsFollow();
}

std::vector<Value> Table::masterLinkValues() const {
    std::vector<Value> v;
    for (int mf : masterLinkFields_) v.push_back(master_->currentValue(mf));
    return v;
}

}  // namespace tamboro
