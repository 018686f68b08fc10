#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/filter_parser.h"
#include "data/row_data.h"

// Evaluation of a compiled filter straight on stored rows. Field indexes
// and constants are fixed when the filter is compiled; testing a row makes
// no Values and, for the forms the main window builds, allocates nothing.
namespace tamboro::filter {

// A truth-valued node.
class Cond {
public:
    virtual ~Cond() = default;
    virtual bool test(const RowData& row) const = 0;
};
using CondPtr = std::unique_ptr<Cond>;

// A value of a general expression (arithmetic, field against field).
struct Scalar {
    enum class Kind : uint8_t { Null, Number, Text, Bool };
    Kind kind = Kind::Null;
    bool flag = false;
    double number = 0;
    std::string_view text;
    std::string own;  // backs text when it was built (concatenation)
};

class Expr {
public:
    virtual ~Expr() = default;
    virtual void eval(const RowData& row, Scalar& out) const = 0;
};
using ExprPtr = std::unique_ptr<Expr>;

// The value a blank date or date-time reads as: earlier than any real day.
constexpr int64_t kBlankDay = INT64_MIN;

CondPtr makeAnd(std::vector<CondPtr> kids);
CondPtr makeOr(std::vector<CondPtr> kids);
CondPtr makeNot(CondPtr kid);
CondPtr makeConstant(bool value);
CondPtr makeBoolField(int field);  // the field is not false
// True exactly when one of the fields is blank (or always, for IS NULL on NULL).
CondPtr makeIsNull(std::vector<int> fields, bool always, bool negated);
// Rejects a row in which any of the fields is blank, else asks the child.
CondPtr makeBlankGuard(std::vector<int> fields, CondPtr kid);

// Field against a typed constant. A blank field reads as `blank`.
CondPtr makeIntCompare(int field, CompareOp op, int64_t constant, int64_t blank);
CondPtr makeRealCompare(int field, CompareOp op, double constant, double blank);
CondPtr makeBoolCompare(int field, CompareOp op, bool constant);
// "=" or "<>"; with prefix, only the field's first constant.size() bytes count.
CondPtr makeTextEquals(int field, bool negated, std::string constant, bool prefix, bool noCase);
CondPtr makeTextOrder(int field, CompareOp op, std::string constant, bool noCase);

// General comparisons; both sides have the same kind once evaluated.
// prefixRight: right is a text constant compared by the prefix rule.
CondPtr makeCompare(CompareOp op, ExprPtr left, ExprPtr right, bool noCase, bool prefixRight);
CondPtr makeIn(ExprPtr left, std::vector<ExprPtr> items, bool noCase);

// Expressions. A blank field reads as its zero value.
enum class ValueKind { Number, Date, Text, Bool };
ExprPtr makeFieldValue(int field, ValueKind kind, bool real);
ExprPtr makeNumberValue(double v);
ExprPtr makeTextValue(std::string v);
ExprPtr makeBoolValue(bool v);
ExprPtr makeCondValue(CondPtr c);
// ops[i] joins operands i and i+1: '+', '-', '*', '/'; texts only join by '+'.
ExprPtr makeArithmetic(std::vector<ExprPtr> operands, std::string ops, bool text);

}  // namespace tamboro::filter
