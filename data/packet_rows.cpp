// Reading the ROWDATA part of a packet: rows, their values and the change log.
#include <algorithm>

#include "data/base64.h"
#include "data/locale_jp.h"
#include "data/packet_reader_impl.h"
#include "data/packet_text.h"

namespace tamboro::packet_reading {


void Reader::parseRows() {
    openTag("ROWDATA");
    skipAttrs();
    if (closed_) return;
    builder_.emplace(defs_.size());
    for (size_t i = 0; i < attrNames_.size(); ++i) byAttr_.emplace(attrNames_[i], static_cast<int>(i));
    for (;;) {
        if (p_ < e_ && *p_ == '<' && tagIs("ROW")) {
            parseRow();
            continue;
        }
        skipMisc();
        if (startsWith("</")) break;
        if (!tagIs("ROW")) fail(p_, "expected <ROW> or </ROWDATA>");
    }
    expectEndTag("ROWDATA");
}

int Reader::inferField(std::string_view attrName) {
    // A packet of rows only: each new attribute becomes a string field.
    int f = static_cast<int>(defs_.size());
    FieldDef fd = FieldDef::make(std::string(attrName), FieldType::String, 1);
    if (utf8_) {
        fd.name.clear();
        appendSjis(attrName, attrName.data(), true, fd.name, -1, " in an attribute name");
    }
    attrNames_.emplace_back(attrName);
    defs_.push_back(std::move(fd));
    // The map's keys view the stored names; rebuild after the vector moved.
    byAttr_.clear();
    for (size_t i = 0; i < attrNames_.size(); ++i) byAttr_.emplace(attrNames_[i], static_cast<int>(i));
    return f;
}

void Reader::parseRow() {
    openTag("ROW");
    RowBuilder& b = *builder_;
    uint32_t status = 0;
    size_t hint = 0;
    const size_t n = attrNames_.size();
    std::vector<std::pair<int, std::string>> loose;
    // A second value for a field would be dropped silently at the next save.
    const size_t rowMark = rows_.size() + looseRows_.size() + 1;
    bool haveState = false;
    Attr a;
    while (nextAttr(a)) {
        int f;
        if (a.name == "RowState") {
            if (haveState) fail(a.name.data(), "expected RowState only once in a ROW");
            haveState = true;
            auto [q, ec] = std::from_chars(a.value.data(), a.value.data() + a.value.size(), status);
            if (a.value.empty() || ec != std::errc() || q != a.value.data() + a.value.size() || status > 255)
                fail(a.at, "expected a RowState number from 0 to 255");
            continue;
        }
        if (hint < n && a.name == attrNames_[hint]) {
            f = static_cast<int>(hint);
        } else {
            auto it = byAttr_.find(a.name);
            if (it != byAttr_.end()) f = it->second;
            else if (rowsOnly_) f = inferField(a.name);
            else continue;  // an attribute no field claims
        }
        hint = static_cast<size_t>(f) + 1;
        if (seenInRow_.size() <= static_cast<size_t>(f)) seenInRow_.resize(static_cast<size_t>(f) + 1, 0);
        if (seenInRow_[static_cast<size_t>(f)] == rowMark)
            fail(a.name.data(), "expected one value" + forField(f) + " in a ROW, not two");
        seenInRow_[static_cast<size_t>(f)] = rowMark;
        if (rowsOnly_) loose.emplace_back(f, decode(a, buf_, true, f));
        else setValue(b, f, a);
    }
    if (!closed_) {
        skipMisc();
        expectEndTag("ROW");
    }
    // The removed-without-log bit is internal; a file never sets it.
    uint8_t st = static_cast<uint8_t>(status & ~uint32_t(RowRemoved));
    if (rowsOnly_) {
        looseRows_.push_back(std::move(loose));
        looseStatus_.push_back(st);
    } else {
        rows_.push_back({b.finish(), st});
    }
}

void Reader::setValue(RowBuilder& b, int f, const Attr& a) {
    const FieldDef& fd = defs_[static_cast<size_t>(f)];
    FieldType t = fd.type;
    bool text = t == FieldType::String || t == FieldType::Other;
    std::string_view v = decode(a, buf_, text, f);
    if (text) {
        b.setText(f, v);
        return;
    }
    auto bad = [&](std::string_view what) { fail(a.at, "expected " + std::string(what) + forField(f)); };
    // No value: blank, except for memos, where it is an empty text as for
    // strings (the writer writes an empty memo so).
    if (v.empty() && t != FieldType::Memo && t != FieldType::Blob) return;
    switch (t) {
    case FieldType::Int16:
    case FieldType::Int32:
    case FieldType::Int64: {
        std::string_view s = v;
        if (s.front() == '+') s.remove_prefix(1);
        int64_t x = 0;
        auto [q, ec] = std::from_chars(s.data(), s.data() + s.size(), x);
        if (s.empty() || ec != std::errc() || q != s.data() + s.size()) bad("an integer");
        if (t == FieldType::Int16 && (x < INT16_MIN || x > INT16_MAX)) bad("an integer from -32768 to 32767");
        if (t == FieldType::Int32 && (x < INT32_MIN || x > INT32_MAX)) bad("a 32-bit integer");
        b.setInt(f, x);
        return;
    }
    case FieldType::Date:
    case FieldType::DateTime: {
        int32_t day, ms;
        if (!parseStamp(v, day, ms)) bad(t == FieldType::Date ? "a date yyyymmdd" : "a date-time yyyymmddThh:mm:sssss");
        if (t == FieldType::Date) b.setInt(f, day);
        else b.setReal(f, joinDateTime(day, ms));
        return;
    }
    case FieldType::Boolean:
        if (v.front() == 'T' || v.front() == 't') b.setBool(f, true);
        else if (v.front() == 'F' || v.front() == 'f') b.setBool(f, false);
        else bad("TRUE or FALSE");
        return;
    case FieldType::Currency:
    case FieldType::Float: {
        std::string_view s = v;
        if (s.front() == '+') s.remove_prefix(1);
        double x = 0;
        auto [q, ec] = std::from_chars(s.data(), s.data() + s.size(), x);
        if (s.empty() || ec != std::errc() || q != s.data() + s.size()) bad("a number");
        b.setReal(f, x);
        return;
    }
    case FieldType::Memo:
    case FieldType::Blob: {
        size_t at = decodeBase64(v, buf2_);
        if (at != std::string_view::npos) {
            // Report where in the file, when the value was not rewritten.
            const char* where = v.data() == a.value.data() ? a.at + at : a.at;
            fail(where, "expected Base64 text" + forField(f));
        }
        if (t == FieldType::Memo && utf8_) {
            // The memo's bytes are UTF-8 as well; they are not the file's, so
            // the place reported is the value's start.
            std::string sjis;
            appendSjis(buf2_, a.at, false, sjis, f, " in the memo");
            b.setText(f, sjis);
        } else {
            b.setText(f, buf2_);
        }
        return;
    }
    case FieldType::String:
    case FieldType::Other: break;
    }
}

void Reader::finish() {
    if (rowsOnly_) {
        for (FieldDef& fd : defs_) fd.width = 1;
        RowBuilder b(defs_.size());
        for (size_t r = 0; r < looseRows_.size(); ++r) {
            for (auto& [f, v] : looseRows_[r]) {
                auto& w = defs_[static_cast<size_t>(f)].width;
                w = std::max(w, static_cast<int>(v.size()));
                b.setText(f, v);
            }
            rows_.push_back({b.finish(), looseStatus_[r]});
        }
    }
    if (!changeLogAt_) return;
    // Triples of 1-based ROW positions (0 for none) and the kind of change.
    std::vector<uint32_t> nums;
    const char* s = changeLogText_.data();
    const char* end = s + changeLogText_.size();
    while (s < end) {
        while (s < end && isSpace(*s)) ++s;
        if (s == end) break;
        uint32_t v = 0;
        auto [q, ec] = std::from_chars(s, end, v);
        if (ec != std::errc()) fail(changeLogAt_, "expected CHANGE_LOG as unsigned numbers");
        nums.push_back(v);
        s = q;
        if (s < end && !isSpace(*s)) fail(changeLogAt_, "expected CHANGE_LOG as unsigned numbers");
    }
    if (nums.size() % 3 != 0) fail(changeLogAt_, "expected CHANGE_LOG in triples");
    const size_t count = rows_.size();
    for (size_t i = 0; i < nums.size(); i += 3) {
        uint32_t row = nums[i], old = nums[i + 1], kind = nums[i + 2];
        if (row == 0 || row > count || old > count || kind > 255)
            fail(changeLogAt_, "expected CHANGE_LOG positions of existing rows");
        log_.push_back({row - 1, old == 0 ? ChangeLogEntry::kNone : old - 1, static_cast<uint8_t>(kind)});
    }
}

}  // namespace tamboro::packet_reading
