#pragma once
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/schema.h"
#include "data/value.h"

namespace tamboro {

// One stored row in a compact, immutable encoding: a presence bitmap, one
// offset per present field and the values' bytes. Most fields of a title are
// blank, so only present values take room; any field is found in O(1).
class RowData {
public:
    RowData() = default;
    RowData(const RowData& o) { *this = o; }
    RowData& operator=(const RowData& o);
    RowData(RowData&&) noexcept = default;
    RowData& operator=(RowData&&) noexcept = default;

    bool has(int f) const {
        if (!buf_ || f < 0 || static_cast<size_t>(f) >= words_ * 64u) return false;
        return (word(static_cast<size_t>(f) >> 6) >> (f & 63)) & 1u;
    }
    std::string_view raw(int f) const;  // empty when blank

    int64_t getInt(int f) const { return readScalar<int64_t>(f); }
    double getReal(int f) const { return readScalar<double>(f); }
    bool getBool(int f) const { auto r = raw(f); return !r.empty() && r[0] != 0; }
    std::string_view getText(int f) const { return raw(f); }

    // Calls fn(field, bytes) for each present field in field order; for
    // walking a whole row without looking each field up.
    template <class Fn> void forEachPresent(Fn&& fn) const {
        if (!buf_) return;
        const uint8_t* offs = buf_.get() + words_ * 8;
        unsigned present = 0;
        for (size_t i = 0; i < words_; ++i) present += std::popcount(word(i));
        const char* data = reinterpret_cast<const char*>(offs + (present + 1) * 4);
        unsigned k = 0;
        for (size_t w = 0; w < words_; ++w) {
            for (uint64_t bits = word(w); bits; bits &= bits - 1, ++k) {
                uint32_t a, b;
                std::memcpy(&a, offs + k * 4, 4);
                std::memcpy(&b, offs + (k + 1) * 4, 4);
                fn(static_cast<int>(w * 64 + static_cast<size_t>(std::countr_zero(bits))), std::string_view(data + a, b - a));
            }
        }
    }

    Value value(int f, FieldType t) const;
    size_t byteSize() const { return size_; }
    // Asks the processor to start loading the row's head (presence bits and
    // offsets); scans over many rows call it a few rows ahead.
    void prefetch() const { __builtin_prefetch(buf_.get()); }
    bool empty() const { return !buf_; }

    static RowData fromValues(const std::vector<Value>& values, const Schema& schema);
    std::vector<Value> toValues(const Schema& schema) const;

private:
    friend class RowBuilder;
    uint64_t word(size_t i) const { uint64_t w; std::memcpy(&w, buf_.get() + i * 8, 8); return w; }
    template <class T> T readScalar(int f) const {
        auto r = raw(f);
        T v{};
        if (r.size() == sizeof(T)) std::memcpy(&v, r.data(), sizeof(T));
        return v;
    }

    std::unique_ptr<uint8_t[]> buf_;
    uint32_t size_ = 0;
    uint32_t words_ = 0;
};

// Builds a RowData from values given in any order (a later value of the same
// field wins). Reusable: finish() leaves the builder empty.
class RowBuilder {
public:
    explicit RowBuilder(size_t fieldCount) : fieldCount_(fieldCount) {}
    void setInt(int f, int64_t v) { put(f, &v, sizeof v); }
    void setReal(int f, double v) { put(f, &v, sizeof v); }
    void setBool(int f, bool v) { uint8_t b = v ? 1 : 0; put(f, &b, 1); }
    void setText(int f, std::string_view s) { put(f, s.data(), s.size()); }
    void setValue(int f, FieldType t, const Value& v);
    RowData finish();

private:
    void put(int f, const void* p, size_t n);
    struct Entry { int field; uint32_t off, len; };
    size_t fieldCount_;
    std::vector<Entry> entries_;
    std::string bytes_;
    bool sorted_ = true;
};

}  // namespace tamboro
