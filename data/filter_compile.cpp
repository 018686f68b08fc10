// Turns a parsed filter into evaluation nodes: checks types, gives each
// constant compared with a field that field's type, and picks the direct
// field-against-constant nodes wherever it can.
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

#include "data/error.h"
#include "data/filter_eval.h"
#include "data/filter_messages.h"
#include "data/filter_parser.h"
#include "data/locale_jp.h"
#include "data/messages.h"
#include "data/row_filter.h"
#include "data/sjis.h"
#include "data/table.h"

namespace tamboro {

namespace filter {

namespace {

// A string constant keeps at most this many bytes.
constexpr size_t kMaxConstantBytes = 255;

using Kind = Ast::Kind;

[[noreturn]] void fail(std::string_view text) { throw DataError(std::string(text)); }
[[noreturn]] void failWith(std::string_view tmpl, std::string_view sjisArg) {
    throw DataError(formatMessage(tmpl, {toUtf8(sjisArg)}));
}

CompareOp mirrored(CompareOp op) {
    switch (op) {
    case CompareOp::Lt: return CompareOp::Gt;
    case CompareOp::Gt: return CompareOp::Lt;
    case CompareOp::Le: return CompareOp::Ge;
    case CompareOp::Ge: return CompareOp::Le;
    default: return op;
    }
}

bool isInteger(FieldType t) { return t == FieldType::Int16 || t == FieldType::Int32 || t == FieldType::Int64; }
bool isReal(FieldType t) { return t == FieldType::Currency || t == FieldType::Float; }
// Memos and the kinds no catalogue table uses take part in no comparison.
bool isComparable(FieldType t) {
    return t != FieldType::Memo && t != FieldType::Blob && t != FieldType::Other;
}

// A decimal integer: optional sign, digits only.
int64_t readInteger(const std::string& text, FieldType t) {
    int64_t v = 0;
    const char* b = text.data();
    const char* e = b + text.size();
    if (b != e && *b == '+') ++b;
    if (b == e || (*b == '-' && b + 1 == e)) failWith(msg::kFilterNotInteger, text);
    auto [p, ec] = std::from_chars(b, e, v);
    if (ec == std::errc::result_out_of_range) fail(msg::kFilterConstRange);
    if (ec != std::errc() || p != e) failWith(msg::kFilterNotInteger, text);
    if (t == FieldType::Int16 && (v < -32768 || v > 32767)) fail(msg::kFilterConstRange);
    if (t == FieldType::Int32 && (v < INT32_MIN || v > INT32_MAX)) fail(msg::kFilterConstRange);
    return v;
}

// A decimal number as the scanner takes it: sign, digits, point, exponent.
std::optional<double> readNumber(const std::string& text) {
    const char* b = text.data();
    const char* e = b + text.size();
    if (b != e && *b == '+') ++b;
    double v = 0;
    auto [p, ec] = std::from_chars(b, e, v);
    if (p != e || b == e) return std::nullopt;
    if (ec == std::errc::result_out_of_range) return std::nullopt;
    if (ec != std::errc()) return std::nullopt;
    return v;
}

// The text of a string constant: cut, then the trailing "*" rule.
std::string stringConstant(const std::string& literal, bool& prefix) {
    std::string s = literal.size() > kMaxConstantBytes ? cutToBytes(literal, kMaxConstantBytes) : literal;
    prefix = s.size() > 1 && s.back() == '*';
    if (prefix) s.pop_back();
    return s;
}

std::optional<bool> readBool(const Ast& c) {
    if (c.kind == Kind::Bool) return !c.negated;
    if (c.kind != Kind::String) return std::nullopt;
    std::string u = upperAsciiSjis(c.text);
    if (u == "TRUE") return true;
    if (u == "FALSE") return false;
    return std::nullopt;
}

// Static kind of an expression before its constants are typed.
enum class SKind { Number, Text, Bool, AnyNumber, AnyText };

struct Operand {
    ExprPtr expr;     // set unless a constant waiting for its type
    SKind kind;
    const Ast* constant = nullptr;
};

class Compiler {
public:
    Compiler(const Schema& s, bool noCase) : schema_(s), noCase_(noCase) {}

    CondPtr root(const Ast& a) {
        CondPtr c = cond(a);
        // A lone comparison rejects a row whose field is blank; under AND,
        // OR and NOT the blank field's zero value decides instead.
        bool nullTest = a.kind == Kind::Compare &&
                        (a.kids[0]->kind == Kind::Null || a.kids[1]->kind == Kind::Null);
        if ((a.kind == Kind::Compare && !nullTest) || a.kind == Kind::In) {
            std::vector<int> fields;
            collectFields(a, fields);
            if (!fields.empty()) return makeBlankGuard(std::move(fields), std::move(c));
        }
        return c;
    }

private:
    const FieldDef& def(const Ast& a) const { return schema_[static_cast<size_t>(a.field)]; }

    static void collectFields(const Ast& a, std::vector<int>& out) {
        if (a.kind == Kind::Field) {
            for (int f : out)
                if (f == a.field) return;
            out.push_back(a.field);
        }
        for (const auto& k : a.kids) collectFields(*k, out);
    }

    CondPtr cond(const Ast& a) {
        switch (a.kind) {
        case Kind::Or:
        case Kind::And: {
            std::vector<CondPtr> kids;
            kids.reserve(a.kids.size());
            for (const auto& k : a.kids) kids.push_back(cond(*k));
            return a.kind == Kind::Or ? makeOr(std::move(kids)) : makeAnd(std::move(kids));
        }
        case Kind::Not: return makeNot(cond(*a.kids[0]));
        case Kind::Compare: return compare(a);
        case Kind::In: return inList(a);
        case Kind::IsNull: return isNull(*a.kids[0], a.negated);
        case Kind::Bool: return makeConstant(!a.negated);
        case Kind::Field:
            if (def(a).type == FieldType::Boolean) return makeBoolField(a.field);
            break;
        default: break;
        }
        fail(msg::kFilterNotBoolean);
    }

    CondPtr isNull(const Ast& operand, bool negated) {
        std::vector<int> fields;
        collectFields(operand, fields);
        return makeIsNull(std::move(fields), operand.kind == Kind::Null, negated);
    }

    CondPtr compare(const Ast& a) {
        const Ast& l = *a.kids[0];
        const Ast& r = *a.kids[1];
        if (l.kind == Kind::Null || r.kind == Kind::Null) {
            if (a.op != CompareOp::Eq && a.op != CompareOp::Ne) fail(msg::kFilterNullOperator);
            return isNull(l.kind == Kind::Null ? r : l, a.op == CompareOp::Ne);
        }
        if (l.kind == Kind::Field && r.isConstant()) return fieldConstant(l, a.op, r);
        if (r.kind == Kind::Field && l.isConstant()) return fieldConstant(r, mirrored(a.op), l);
        Operand x = operand(l), y = operand(r);
        CompareOp op = a.op;
        if (!x.expr && y.expr) {  // keep the constant on the right
            std::swap(x, y);
            op = mirrored(op);
        }
        bool prefix = false;
        unify(x, y, op == CompareOp::Eq || op == CompareOp::Ne ? &prefix : nullptr);
        return makeCompare(op, std::move(x.expr), std::move(y.expr), noCase_, prefix);
    }

    CondPtr fieldConstant(const Ast& field, CompareOp op, const Ast& c) {
        const FieldDef& d = def(field);
        const int f = field.field;
        const FieldType t = d.type;
        if (isInteger(t)) {
            if (c.kind == Kind::Bool) fail(msg::kFilterTypeMismatch);
            return makeIntCompare(f, op, readInteger(c.text, t), 0);
        }
        switch (t) {
        case FieldType::Date: return makeIntCompare(f, op, readDay(c), kBlankDay);
        case FieldType::DateTime:
            return makeRealCompare(f, op, readDateTime(c), -std::numeric_limits<double>::infinity());
        case FieldType::Currency:
        case FieldType::Float: return makeRealCompare(f, op, readReal(c, d), 0.0);
        case FieldType::Boolean: {
            auto b = readBool(c);
            if (!b) fail(msg::kFilterTypeMismatch);
            return makeBoolCompare(f, op, *b);
        }
        case FieldType::String: {
            if (c.kind == Kind::Bool) fail(msg::kFilterTypeMismatch);
            bool prefix = false;
            std::string k = c.kind == Kind::String ? stringConstant(c.text, prefix) : c.text;
            if (op == CompareOp::Eq || op == CompareOp::Ne)
                return makeTextEquals(f, op == CompareOp::Ne, std::move(k), prefix, noCase_);
            if (prefix) k.push_back('*');
            return makeTextOrder(f, op, std::move(k), noCase_);
        }
        default: fail(msg::kFilterTypeMismatch);
        }
    }

    static int64_t readDay(const Ast& c) {
        if (c.kind == Kind::Bool) fail(msg::kFilterTypeMismatch);
        auto day = parseShortDate(toUtf8(c.text));
        if (!day) failWith(msg::kNotDate, c.text);
        return *day;
    }

    static double readDateTime(const Ast& c) {
        if (c.kind == Kind::Bool) fail(msg::kFilterTypeMismatch);
        auto v = parseDateTime(toUtf8(c.text));
        if (!v) failWith(msg::kNotDate, c.text);
        return *v;
    }

    static double readReal(const Ast& c, const FieldDef& d) {
        if (c.kind == Kind::Bool) fail(msg::kFilterTypeMismatch);
        auto v = readNumber(c.text);
        if (!v) throw DataError(formatMessage(msg::kNotFloat, {toUtf8(c.text), toUtf8(d.name)}));
        return *v;
    }

    static std::string stringText(const Ast* c, bool* prefix) {
        if (c->kind != Kind::String) return c->text;
        bool p = false;
        std::string s = stringConstant(c->text, p);
        if (prefix) *prefix = p;
        else if (p) s.push_back('*');
        return s;
    }

    // The expression of a general operand; constants wait for their type.
    Operand operand(const Ast& a) {
        switch (a.kind) {
        case Kind::Number: return {nullptr, SKind::AnyNumber, &a};
        case Kind::String: return {nullptr, SKind::AnyText, &a};
        case Kind::Bool: return {makeBoolValue(!a.negated), SKind::Bool, nullptr};
        case Kind::Null: fail(msg::kFilterNullOperator);
        case Kind::Field: {
            FieldType t = def(a).type;
            if (!isComparable(t)) fail(msg::kFilterTypeMismatch);
            if (t == FieldType::String) return {makeFieldValue(a.field, ValueKind::Text, false), SKind::Text};
            if (t == FieldType::Boolean) return {makeFieldValue(a.field, ValueKind::Bool, false), SKind::Bool};
            bool date = t == FieldType::Date || t == FieldType::DateTime;
            bool real = t == FieldType::DateTime || isReal(t);
            return {makeFieldValue(a.field, date ? ValueKind::Date : ValueKind::Number, real), SKind::Number};
        }
        case Kind::Sum:
        case Kind::Product: return arithmetic(a);
        default: return {makeCondValue(cond(a)), SKind::Bool, nullptr};
        }
    }

    Operand arithmetic(const Ast& a) {
        std::vector<Operand> parts;
        bool anyText = false, anyNumber = false;
        for (const auto& k : a.kids) {
            parts.push_back(operand(*k));
            SKind s = parts.back().kind;
            if (s == SKind::Bool) fail(msg::kFilterTypeMismatch);
            anyText = anyText || s == SKind::Text || s == SKind::AnyText;
            anyNumber = anyNumber || s == SKind::Number;
        }
        const bool text = anyText && !anyNumber && a.ops.find_first_not_of('+') == std::string::npos;
        if (anyText && !text) fail(msg::kFilterTypeMismatch);
        std::vector<ExprPtr> exprs;
        for (auto& p : parts) {
            settle(p, text ? SKind::Text : SKind::Number, nullptr);
            exprs.push_back(std::move(p.expr));
        }
        return {makeArithmetic(std::move(exprs), a.ops, text), text ? SKind::Text : SKind::Number, nullptr};
    }

    // Gives a waiting constant the kind it is compared with.
    static void settle(Operand& o, SKind want, bool* prefix) {
        if (o.expr) {
            if (o.kind != want) fail(msg::kFilterTypeMismatch);
            return;
        }
        const Ast& c = *o.constant;
        if (want == SKind::Text) {
            o.expr = makeTextValue(stringText(&c, prefix));
        } else if (want == SKind::Number) {
            auto v = readNumber(c.text);
            if (!v && c.kind == Kind::String) {
                if (auto day = parseShortDate(toUtf8(c.text))) v = *day;
                else fail(msg::kFilterTypeMismatch);
            }
            if (!v) failWith(msg::kFilterNotInteger, c.text);
            o.expr = makeNumberValue(*v);
        } else {
            fail(msg::kFilterTypeMismatch);
        }
        o.kind = want;
    }

    static SKind settledKind(SKind k) {
        return k == SKind::AnyNumber ? SKind::Number : k == SKind::AnyText ? SKind::Text : k;
    }

    // Brings both sides to one kind; a text constant on the right may turn
    // into a prefix when `prefix` is given.
    static void unify(Operand& x, Operand& y, bool* prefix) {
        SKind want = x.expr ? x.kind : (x.kind == y.kind ? settledKind(x.kind) : SKind::Number);
        settle(x, want, nullptr);
        settle(y, want, prefix);
    }

    CondPtr inList(const Ast& a) {
        const Ast& left = *a.kids[0];
        std::vector<ExprPtr> items;
        Operand l = operand(left);
        const FieldDef* field = left.kind == Kind::Field ? &def(left) : nullptr;
        for (size_t i = 1; i < a.kids.size(); ++i) {
            const Ast& item = *a.kids[i];
            if (item.kind == Kind::Null) fail(msg::kFilterNullOperator);
            if (field && item.isConstant()) {
                items.push_back(typedConstant(*field, item));
                continue;
            }
            Operand r = operand(item);
            if (!l.expr && r.expr) {
                settle(l, r.kind, nullptr);
            } else if (!l.expr) {
                settle(l, settledKind(l.kind), nullptr);
            }
            settle(r, l.kind, nullptr);
            items.push_back(std::move(r.expr));
        }
        if (!l.expr) settle(l, settledKind(l.kind), nullptr);
        return makeIn(std::move(l.expr), std::move(items), noCase_);
    }

    // A constant in a field's IN list, typed as that field.
    ExprPtr typedConstant(const FieldDef& d, const Ast& c) {
        const FieldType t = d.type;
        if (!isComparable(t)) fail(msg::kFilterTypeMismatch);
        if (isInteger(t)) {
            if (c.kind == Kind::Bool) fail(msg::kFilterTypeMismatch);
            return makeNumberValue(static_cast<double>(readInteger(c.text, t)));
        }
        switch (t) {
        case FieldType::Date: return makeNumberValue(static_cast<double>(readDay(c)));
        case FieldType::DateTime: return makeNumberValue(readDateTime(c));
        case FieldType::Boolean: {
            auto b = readBool(c);
            if (!b) fail(msg::kFilterTypeMismatch);
            return makeBoolValue(*b);
        }
        case FieldType::String:
            if (c.kind == Kind::Bool) fail(msg::kFilterTypeMismatch);
            return makeTextValue(c.kind == Kind::String ? cutToBytes(c.text, kMaxConstantBytes) : c.text);
        default: return makeNumberValue(readReal(c, d));
        }
    }

    const Schema& schema_;
    bool noCase_;
};

class CompiledFilter final : public RowFilter {
public:
    explicit CompiledFilter(CondPtr root) : root_(std::move(root)) {}
    bool accepts(const RowData& row) const override { return root_->test(row); }

private:
    CondPtr root_;
};

}  // namespace

}  // namespace filter

std::unique_ptr<RowFilter> compileFilter(std::string_view sjisText, const Table& table, bool caseInsensitive) {
    filter::AstPtr ast = filter::parseFilter(sjisText, table.schema());
    if (!ast) return nullptr;
    filter::Compiler c(table.schema(), caseInsensitive);
    return std::make_unique<filter::CompiledFilter>(c.root(*ast));
}

}  // namespace tamboro
