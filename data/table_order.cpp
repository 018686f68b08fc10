// Ordering, master ranges, filters and key lookup of a table.
#include <algorithm>
#include <cstring>

#include "data/collation.h"
#include "data/error.h"
#include "data/messages.h"
#include "data/sjis.h"
#include "data/table.h"

namespace tamboro {

namespace {

template <class T>
int cmp(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Compares a stored value with a Value of the same field; blank first.
int compareWithValue(const RowData& row, int f, FieldType t, const Value& v) {
    bool has = row.has(f);
    if (!has || v.isNull()) return cmp<int>(has, !v.isNull());
    switch (storageOf(t)) {
    case Storage::Int: return cmp(row.getInt(f), v.asInt());
    case Storage::Float: return cmp(row.getReal(f), v.asReal());
    case Storage::Bool: return cmp<int>(row.getBool(f), v.asBool());
    case Storage::Text: return collate(row.getText(f), v.asText());
    }
    return 0;
}

}  // namespace

void Table::resolveIndex() {
    std::vector<int> idx;
    for (const std::string& n : splitFieldList(indexText_)) {
        int f = schema_.indexOf(n);
        if (f < 0) throw DataError(formatMessage(msg::kNoField, {toUtf8(n)}));
        idx.push_back(f);
    }
    index_ = std::move(idx);
}

const std::string& Table::sortKeyOf(uint32_t id, int field) const {
    auto it = std::find_if(sortKeys_.begin(), sortKeys_.end(), [&](const auto& p) { return p.first == field; });
    if (it == sortKeys_.end()) {
        sortKeys_.emplace_back(field, std::vector<std::string>());
        it = sortKeys_.end() - 1;
    }
    auto& keys = it->second;
    if (keys.size() < rows_.size()) keys.resize(rows_.size());
    std::string& k = keys[id];
    if (k.empty()) {
        appendSortKey(rows_[id].data.getText(field), k);
        if (k.empty()) k.push_back('\0');  // sorts before every real key
    }
    return k;
}

void Table::invalidateSortKeys(uint32_t id) {
    for (auto& [field, keys] : sortKeys_)
        if (id < keys.size()) keys[id].clear();
}

int Table::compareRows(uint32_t a, uint32_t b) const {
    const RowData& ra = rows_[a].data;
    const RowData& rb = rows_[b].data;
    for (int f : index_) {
        bool ha = ra.has(f), hb = rb.has(f);
        if (!ha || !hb) {
            if (ha != hb) return ha ? 1 : -1;
            continue;
        }
        FieldType t = schema_[static_cast<size_t>(f)].type;
        int c = 0;
        switch (storageOf(t)) {
        case Storage::Int: c = cmp(ra.getInt(f), rb.getInt(f)); break;
        case Storage::Float: c = cmp(ra.getReal(f), rb.getReal(f)); break;
        case Storage::Bool: c = cmp<int>(ra.getBool(f), rb.getBool(f)); break;
        case Storage::Text:
            if (t == FieldType::String) {
                const std::string& ka = sortKeyOf(a, f);
                const std::string& kb = sortKeyOf(b, f);
                c = ka.compare(kb);
                c = c < 0 ? -1 : (c > 0 ? 1 : 0);
            } else {
                c = collate(ra.getText(f), rb.getText(f));
            }
            break;
        }
        if (c != 0) return c;
    }
    return cmp(a, b);  // equal keys keep the rows' stored order
}

int Table::compareKey(uint32_t id, const std::vector<Value>& key, size_t nfields) const {
    const RowData& r = rows_[id].data;
    for (size_t i = 0; i < nfields && i < index_.size() && i < key.size(); ++i) {
        int f = index_[i];
        int c = compareWithValue(r, f, schema_[static_cast<size_t>(f)].type, key[i]);
        if (c != 0) return c;
    }
    return 0;
}

namespace {

// The leading index fields packed into one integer whose order is the rows'
// order, so that most comparisons of a sort are one integer comparison.
struct SortEntry {
    uint64_t k;
    uint32_t id;
    const std::string* key;  // collation key of the string field packed last, if any
};

// Bits a field takes in the packed key (a presence bit first), or 0 when it
// cannot be packed exactly.
int packedBits(FieldType t) {
    switch (t) {
    case FieldType::Int16: return 17;
    case FieldType::Int32:
    case FieldType::Date: return 33;
    case FieldType::Boolean: return 2;
    default: return 0;
    }
}

}  // namespace

void Table::rebuildOrder() {
    allOrder_.clear();
    allOrder_.reserve(rows_.size());
    for (uint32_t id = 0; id < rows_.size(); ++id)
        if (rows_[id].current()) allOrder_.push_back(id);
    if (index_.empty()) return;

    std::vector<SortEntry> entries;
    entries.reserve(allOrder_.size());
    bool exact = true;
    for (uint32_t id : allOrder_) {
        const RowData& r = rows_[id].data;
        uint64_t k = 0;
        int left = 64;
        bool rowExact = true, clamped = false;
        const std::string* skey = nullptr;
        for (size_t i = 0; i < index_.size(); ++i) {
            int f = index_[i];
            FieldType t = schema_[static_cast<size_t>(f)].type;
            int bits = packedBits(t);
            if (bits > 0 && bits <= left) {
                uint64_t v = 0;
                if (r.has(f)) {
                    int64_t x = t == FieldType::Boolean ? (r.getBool(f) ? 1 : 0) : r.getInt(f);
                    int64_t lo = t == FieldType::Int16 ? -32768 : (t == FieldType::Boolean ? 0 : INT32_MIN);
                    int64_t hi = t == FieldType::Int16 ? 32767 : (t == FieldType::Boolean ? 1 : INT32_MAX);
                    if (x < lo || x > hi) clamped = true, x = std::clamp(x, lo, hi);
                    v = (uint64_t(1) << (bits - 1)) | static_cast<uint64_t>(x - lo);
                }
                k = (k << bits) | v;
                left -= bits;
                continue;
            }
            rowExact = false;
            if (t == FieldType::String && left >= 9) {
                // Presence bit, then as many leading bytes of the collation key as fit.
                uint64_t v = 0;
                if (r.has(f)) {
                    const std::string& key = sortKeyOf(id, f);
                    skey = &key;
                    uint64_t prefix = 0;
                    for (size_t b = 0; b < 8; ++b)
                        prefix = (prefix << 8) | (b < key.size() ? static_cast<unsigned char>(key[b]) : 0);
                    v = (uint64_t(1) << (left - 1)) | (prefix >> (65 - left));
                }
                k = left == 64 ? v : ((k << left) | v);
                left = 0;
                // Only fields after the string need the full comparison.
                rowExact = i + 1 == index_.size();
            }
            break;
        }
        if (left > 0 && left < 64) k <<= left;
        else if (left == 64) k = 0;
        exact = exact && rowExact && !clamped;
        entries.push_back({k, id, skey});
    }
    std::sort(entries.begin(), entries.end(), [this, exact](const SortEntry& a, const SortEntry& b) {
        if (a.k != b.k) return a.k < b.k;
        if (a.key && b.key) {
            int c = a.key->compare(*b.key);
            if (c != 0) return c < 0;
        }
        if (exact) return a.id < b.id;
        return compareRows(a.id, b.id) < 0;
    });
    for (size_t i = 0; i < entries.size(); ++i) allOrder_[i] = entries[i].id;
}

void Table::placeRow(uint32_t id) {
    auto it = std::upper_bound(allOrder_.begin(), allOrder_.end(), id,
                               [this](uint32_t a, uint32_t b) { return compareRows(a, b) < 0; });
    allOrder_.insert(it, id);
}

void Table::unplaceRow(uint32_t id) {
    auto it = std::find(allOrder_.begin(), allOrder_.end(), id);
    if (it != allOrder_.end()) allOrder_.erase(it);
}

bool Table::passesFilter(uint32_t id) const {
    return !filterOn_ || !filter_ || filter_->accepts(rows_[id].data);
}

bool Table::inRange(uint32_t id) const {
    if (!master_) return true;
    std::vector<Value> link = masterLinkValues();
    const RowData& r = rows_[id].data;
    for (size_t i = 0; i < linkFields_.size(); ++i) {
        int f = linkFields_[i];
        if (compareWithValue(r, f, schema_[static_cast<size_t>(f)].type, link[i]) != 0) return false;
    }
    return true;
}

void Table::rebuildVisible() {
    visible_.clear();
    auto begin = allOrder_.begin(), end = allOrder_.end();
    if (master_) {
        bool masterHasRow = master_->active() &&
                            (master_->state_ == TableState::Insert || master_->cur_ >= 0);
        rangedOn_.clear();
        if (!masterHasRow) return;
        std::vector<Value> link = masterLinkValues();
        rangedOn_ = link;
        bool prefix = index_.size() >= linkFields_.size() &&
                      std::equal(linkFields_.begin(), linkFields_.end(), index_.begin());
        if (prefix) {
            size_t n = linkFields_.size();
            begin = std::lower_bound(begin, end, 0u, [&](uint32_t id, unsigned) {
                return compareKey(id, link, n) < 0;
            });
            end = std::upper_bound(begin, end, 0u, [&](unsigned, uint32_t id) {
                return compareKey(id, link, n) > 0;
            });
        } else {
            for (auto it = begin; it != end; ++it)
                if (inRange(*it) && passesFilter(*it)) visible_.push_back(*it);
            return;
        }
    }
    if (!filterOn_ || !filter_) {
        visible_.assign(begin, end);
        return;
    }
    constexpr ptrdiff_t kAhead = 8;
    for (auto it = begin; it != end; ++it) {
        if (end - it > kAhead) rows_[*(it + kAhead)].data.prefetch();
        if (filter_->accepts(rows_[*it].data)) visible_.push_back(*it);
    }
}

void Table::setIndexFields(std::string_view sjisFieldList) {
    if (!active()) {
        indexText_ = std::string(sjisFieldList);
        return;
    }
    completePending();
    std::string previous = indexText_;
    indexText_ = std::string(sjisFieldList);
    try {
        resolveIndex();
    } catch (...) {
        indexText_ = previous;
        resolveIndex();
        throw;
    }
    uint32_t current = cur_ >= 0 ? visible_[static_cast<size_t>(cur_)] : UINT32_MAX;
    rebuildOrder();
    rebuildVisible();
    auto it = std::find(visible_.begin(), visible_.end(), current);
    cur_ = it != visible_.end() ? static_cast<int>(it - visible_.begin()) : (visible_.empty() ? -1 : 0);
    notifyRows();
    notifyCurrent();
}

void Table::setFilterText(std::string_view sjisText) {
    filterText_ = std::string(sjisText);
    if (!active() || !filterOn_) return;
    completePending();
    filter_.reset();
    std::unique_ptr<RowFilter> parsed;
    try {
        parsed = compileFilter(filterText_, *this, filterNoCase_);
    } catch (...) {
        // A rejected text leaves no filter in effect.
        rebuildVisible();
        notifyRows();
        first();
        throw;
    }
    filter_ = std::move(parsed);
    rebuildVisible();
    notifyRows();
    first();
}

void Table::setFiltered(bool on) {
    if (!active()) {
        filterOn_ = on;
        return;
    }
    completePending();
    filterOn_ = on;
    filter_.reset();
    if (on) {
        try {
            filter_ = compileFilter(filterText_, *this, filterNoCase_);
        } catch (...) {
            rebuildVisible();
            notifyRows();
            first();
            throw;
        }
    }
    rebuildVisible();
    notifyRows();
    first();
}

}  // namespace tamboro
