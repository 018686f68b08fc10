#include "data/field.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "data/error.h"
#include "data/locale_jp.h"
#include "data/messages.h"
#include "data/sjis.h"
#include "data/table.h"

namespace tamboro {

namespace {

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

enum class IntText { Ok, NotInteger, TooBig };

// Decimal integer with an optional sign and blanks around. A well-formed
// integer beyond 64 bits is TooBig, so that it is refused for its range,
// not for its form.
IntText parseInteger(std::string_view s, int64_t& v) {
    s = trimBlanks(s);
    const bool plus = !s.empty() && s.front() == '+';
    if (plus) s.remove_prefix(1);
    if (s.empty() || s.front() == '+' || (plus && s.front() == '-')) return IntText::NotInteger;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (p != s.data() + s.size()) return IntText::NotInteger;
    if (ec == std::errc::result_out_of_range) return IntText::TooBig;
    return ec == std::errc() ? IntText::Ok : IntText::NotInteger;
}

// A text holding a 32-bit integer, as integer reads of text fields take it.
std::optional<int64_t> parseInt32(std::string_view s) {
    int64_t v = 0;
    if (parseInteger(s, v) != IntText::Ok || v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return v;
}

bool isPrefixNoCase(std::string_view prefix, std::string_view word) {
    if (prefix.size() > word.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char a = prefix[i], b = word[i];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
        if (a != b) return false;
    }
    return true;
}

// The values an integer field holds; false for other types.
bool integerRange(FieldType t, int64_t& lo, int64_t& hi) {
    switch (t) {
    case FieldType::Int16: lo = INT16_MIN, hi = INT16_MAX; return true;
    case FieldType::Int32: lo = INT32_MIN, hi = INT32_MAX; return true;
    case FieldType::Int64: lo = INT64_MIN, hi = INT64_MAX; return true;
    default: return false;
    }
}

std::string formatReal(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

}  // namespace

const FieldDef& Field::def() const { return table_->schema_[static_cast<size_t>(index_)]; }

Value Field::value() const {
    if (!table_->active()) return Value();
    return table_->currentValue(index_, position_);
}

int64_t Field::asInteger() const {
    Value v = value();
    if (v.isNull()) return 0;
    if (storageOf(type()) == Storage::Text) {
        auto n = parseInt32(v.asText());
        if (!n) throw DataError(formatMessage(msg::kNotInteger, {toUtf8(v.asText()), toUtf8(name())}));
        return *n;
    }
    if (storageOf(type()) == Storage::Float) return static_cast<int64_t>(std::llround(v.asReal()));
    return v.asInt();
}

std::string Field::asString() const {
    if (type() == FieldType::Currency) return editText();
    return displayText();
}

double Field::asDateTime() const {
    Value v = value();
    if (v.isNull()) return 0.0;
    if (storageOf(type()) == Storage::Text) {
        auto d = parseDateTime(toUtf8(v.asText()));
        if (!d) throw DataError(formatMessage(msg::kNotDateTime, {toUtf8(v.asText())}));
        return *d;
    }
    return v.asReal();
}

bool Field::asBoolean() const {
    Value v = value();
    if (v.isNull()) return false;
    if (storageOf(type()) == Storage::Text) {
        std::string_view t = v.asText();
        if (!t.empty() && isPrefixNoCase(t, "TRUE")) return true;
        if (!t.empty() && isPrefixNoCase(t, "FALSE")) return false;
        throw DataError(formatMessage(msg::kNotBoolean, {toUtf8(t), toUtf8(name())}));
    }
    return v.asBool();
}

double Field::asFloat() const { return value().asReal(); }

void Field::checkRange(int64_t v, std::string_view text) const {
    int64_t lo = 0, hi = 0;
    if (integerRange(type(), lo, hi) && (v < lo || v > hi)) throwOutOfRange(text);
}

void Field::throwOutOfRange(std::string_view text) const {
    int64_t lo = 0, hi = 0;
    integerRange(type(), lo, hi);
    throw DataError(formatMessage(msg::kOutOfRange, {text, toUtf8(name()), std::to_string(lo), std::to_string(hi)}));
}

void Field::setInteger(int64_t v) {
    switch (storageOf(type())) {
    case Storage::Int:
        checkRange(v, std::to_string(v));
        table_->assign(index_, Value::integer(v));
        break;
    case Storage::Float: table_->assign(index_, Value::real(static_cast<double>(v))); break;
    case Storage::Bool: table_->assign(index_, Value::boolean(v != 0)); break;
    case Storage::Text: setString(std::to_string(v)); break;
    }
}

void Field::setString(std::string_view sjis) { setText(sjis); }

void Field::setDateTime(double v) {
    switch (type()) {
    case FieldType::Date: {
        // The day the date-time text shows: before day 0 the time of day
        // counts towards day 0, so -1.25 is 1899/12/29, not 1899/12/28.
        int32_t day = 0, ms = 0;
        splitDateTime(v, day, ms);
        table_->assign(index_, Value::integer(day));
        break;
    }
    case FieldType::String:
    case FieldType::Memo: setText(toSjis(formatDateTime(v))); break;
    default:
        if (storageOf(type()) == Storage::Int) setInteger(static_cast<int64_t>(std::floor(v)));
        else table_->assign(index_, Value::real(v));
    }
}

void Field::setBoolean(bool v) {
    if (storageOf(type()) == Storage::Text) setText(v ? "True" : "False");
    else if (storageOf(type()) == Storage::Bool) table_->assign(index_, Value::boolean(v));
    else setInteger(v ? 1 : 0);
}

void Field::setFloat(double v) {
    if (storageOf(type()) == Storage::Float) table_->assign(index_, Value::real(v));
    else if (storageOf(type()) == Storage::Text) setText(formatReal(v));
    else setInteger(static_cast<int64_t>(std::llround(v)));
}

void Field::setValue(const Value& v) {
    if (v.isNull()) return clear();
    switch (storageOf(type())) {
    case Storage::Int: setInteger(v.asInt()); break;
    case Storage::Float: setFloat(v.asReal()); break;
    case Storage::Bool: setBoolean(v.asBool()); break;
    case Storage::Text: setText(v.asText()); break;
    }
}

void Field::clear() { table_->assign(index_, Value()); }

std::string Field::displayText() const {
    if (type() == FieldType::Currency) return toSjis(displayTextUtf8());
    Value v = value();
    if (v.isNull()) return {};
    switch (type()) {
    case FieldType::Int32:
    case FieldType::Int16:
    case FieldType::Int64: return std::to_string(v.asInt());
    case FieldType::Date: return formatShortDate(static_cast<int32_t>(v.asInt()));
    case FieldType::DateTime: return formatDateTime(v.asReal());
    case FieldType::Boolean: return v.asBool() ? "True" : "False";
    case FieldType::Float: return formatReal(v.asReal());
    default: return v.asText();
    }
}

std::string Field::displayTextUtf8() const {
    if (type() == FieldType::Currency) {
        Value v = value();
        return v.isNull() ? std::string() : formatCurrencyDisplay(v.asReal());
    }
    return toUtf8(displayText());
}

std::string Field::editText() const {
    if (type() == FieldType::Currency) {
        Value v = value();
        return v.isNull() ? std::string() : formatCurrencyEdit(v.asReal());
    }
    return displayText();
}

void Field::setText(std::string_view sjis) {
    FieldType t = type();
    if (sjis.empty() && t != FieldType::String && t != FieldType::Memo && t != FieldType::Other &&
        t != FieldType::Blob)
        return clear();
    switch (t) {
    case FieldType::Int32:
    case FieldType::Int16:
    case FieldType::Int64: {
        int64_t n = 0;
        switch (parseInteger(sjis, n)) {
        case IntText::NotInteger:
            throw DataError(formatMessage(msg::kNotInteger, {toUtf8(sjis), toUtf8(name())}));
        case IntText::TooBig: {
            std::string_view digits = trimBlanks(sjis);
            if (digits.front() == '+') digits.remove_prefix(1);
            throwOutOfRange(digits);
        }
        case IntText::Ok: break;
        }
        checkRange(n, std::to_string(n));
        table_->assign(index_, Value::integer(n));
        return;
    }
    case FieldType::String:
        table_->assign(index_, Value::text(width() > 0 ? cutToBytes(sjis, static_cast<size_t>(width()))
                                                       : std::string(sjis)));
        return;
    case FieldType::Date: {
        auto d = parseShortDate(toUtf8(sjis));
        if (!d) throw DataError(formatMessage(msg::kNotDate, {toUtf8(sjis)}));
        table_->assign(index_, Value::integer(*d));
        return;
    }
    case FieldType::DateTime: {
        auto d = parseDateTime(toUtf8(sjis));
        if (!d) throw DataError(formatMessage(msg::kNotDateTime, {toUtf8(sjis)}));
        table_->assign(index_, Value::real(*d));
        return;
    }
    case FieldType::Boolean:
        if (isPrefixNoCase(sjis, "FALSE")) table_->assign(index_, Value::boolean(false));
        else if (isPrefixNoCase(sjis, "TRUE")) table_->assign(index_, Value::boolean(true));
        else throw DataError(formatMessage(msg::kNotBoolean, {toUtf8(sjis), toUtf8(name())}));
        return;
    case FieldType::Currency:
    case FieldType::Float: {
        auto d = parseCurrency(toUtf8(sjis));
        if (!d) throw DataError(formatMessage(msg::kNotFloat, {toUtf8(sjis), toUtf8(name())}));
        table_->assign(index_, Value::real(*d));
        return;
    }
    default: table_->assign(index_, Value::text(std::string(sjis))); return;
    }
}

}  // namespace tamboro
