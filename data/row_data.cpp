#include "data/row_data.h"

#include <algorithm>
#include <bit>

namespace tamboro {

// Layout: words_ x uint64 presence bits | (present+1) x uint32 offsets | bytes.

RowData& RowData::operator=(const RowData& o) {
    if (this == &o) return *this;
    size_ = o.size_;
    words_ = o.words_;
    if (o.buf_) {
        buf_ = std::make_unique<uint8_t[]>(size_);
        std::memcpy(buf_.get(), o.buf_.get(), size_);
    } else {
        buf_.reset();
    }
    return *this;
}

std::string_view RowData::raw(int f) const {
    if (!has(f)) return {};
    size_t w = static_cast<size_t>(f) >> 6;
    unsigned rank = 0;
    for (size_t i = 0; i < w; ++i) rank += std::popcount(word(i));
    uint64_t below = (f & 63) ? (word(w) << (64 - (f & 63))) : 0;
    rank += std::popcount(below);
    const uint8_t* offs = buf_.get() + words_ * 8;
    uint32_t a, b;
    std::memcpy(&a, offs + rank * 4, 4);
    std::memcpy(&b, offs + (rank + 1) * 4, 4);
    unsigned present = 0;
    for (size_t i = 0; i < words_; ++i) present += std::popcount(word(i));
    const char* data = reinterpret_cast<const char*>(offs + (present + 1) * 4);
    return std::string_view(data + a, b - a);
}

Value RowData::value(int f, FieldType t) const {
    if (!has(f)) return Value();
    switch (storageOf(t)) {
    case Storage::Int: return Value::integer(getInt(f));
    case Storage::Float: return Value::real(getReal(f));
    case Storage::Bool: return Value::boolean(getBool(f));
    case Storage::Text: return Value::text(std::string(getText(f)));
    }
    return Value();
}

RowData RowData::fromValues(const std::vector<Value>& values, const Schema& schema) {
    RowBuilder b(schema.size());
    for (size_t i = 0; i < values.size() && i < schema.size(); ++i)
        if (!values[i].isNull()) b.setValue(static_cast<int>(i), schema[i].type, values[i]);
    return b.finish();
}

std::vector<Value> RowData::toValues(const Schema& schema) const {
    std::vector<Value> out(schema.size());
    for (size_t i = 0; i < schema.size(); ++i) out[i] = value(static_cast<int>(i), schema[i].type);
    return out;
}

void RowBuilder::setValue(int f, FieldType t, const Value& v) {
    if (v.isNull()) return;
    switch (storageOf(t)) {
    case Storage::Int: setInt(f, v.asInt()); break;
    case Storage::Float: setReal(f, v.asReal()); break;
    case Storage::Bool: setBool(f, v.asBool()); break;
    case Storage::Text: setText(f, v.asText()); break;
    }
}

void RowBuilder::put(int f, const void* p, size_t n) {
    if (f < 0 || static_cast<size_t>(f) >= fieldCount_) return;
    if (!entries_.empty() && entries_.back().field >= f) sorted_ = false;
    entries_.push_back({f, static_cast<uint32_t>(bytes_.size()), static_cast<uint32_t>(n)});
    bytes_.append(static_cast<const char*>(p), n);
}

RowData RowBuilder::finish() {
    if (!sorted_) {
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const Entry& a, const Entry& b) { return a.field < b.field; });
        // A later value of the same field replaces the earlier one.
        std::vector<Entry> unique;
        for (const Entry& e : entries_) {
            if (!unique.empty() && unique.back().field == e.field) unique.back() = e;
            else unique.push_back(e);
        }
        entries_.swap(unique);
    }
    RowData r;
    r.words_ = static_cast<uint32_t>((fieldCount_ + 63) / 64);
    size_t dataLen = 0;
    for (const Entry& e : entries_) dataLen += e.len;
    size_t head = r.words_ * 8 + (entries_.size() + 1) * 4;
    r.size_ = static_cast<uint32_t>(head + dataLen);
    r.buf_ = std::make_unique<uint8_t[]>(r.size_);
    uint8_t* p = r.buf_.get();
    std::memset(p, 0, r.words_ * 8);
    for (const Entry& e : entries_) {
        uint64_t w;
        std::memcpy(&w, p + (e.field >> 6) * 8, 8);
        w |= uint64_t(1) << (e.field & 63);
        std::memcpy(p + (e.field >> 6) * 8, &w, 8);
    }
    uint8_t* offs = p + r.words_ * 8;
    char* data = reinterpret_cast<char*>(p + head);
    uint32_t off = 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
        std::memcpy(offs + i * 4, &off, 4);
        std::memcpy(data + off, bytes_.data() + entries_[i].off, entries_[i].len);
        off += entries_[i].len;
    }
    std::memcpy(offs + entries_.size() * 4, &off, 4);
    entries_.clear();
    bytes_.clear();
    sorted_ = true;
    return r;
}

}  // namespace tamboro
