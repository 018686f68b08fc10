#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/schema.h"

// The syntax tree of a filter text, with field names already resolved.
namespace tamboro::filter {

enum class CompareOp { Eq, Ne, Lt, Gt, Le, Ge };

struct Ast {
    enum class Kind {
        Or, And, Not,       // kids: operands
        Compare,            // kids: left, right; op
        In,                 // kids: left, then the list items
        IsNull,             // kids: operand; negated for IS NOT NULL
        Sum, Product,       // kids: operands; ops: '+', '-', '*', '/' before kids 1..n
        Field,              // field
        Number, String,     // text: the number as written, the literal's bytes
        Bool, Null          // negated: False
    };
    Kind kind = Kind::Null;
    CompareOp op = CompareOp::Eq;
    bool negated = false;
    int field = -1;
    std::string text;
    std::string ops;
    std::vector<std::unique_ptr<Ast>> kids;

    bool isConstant() const { return kind == Kind::Number || kind == Kind::String || kind == Kind::Bool; }
};

using AstPtr = std::unique_ptr<Ast>;

// Deeper nesting of parentheses, NOT and IN lists is rejected.
constexpr int kMaxFilterDepth = 256;

// Parses a Shift-JIS filter text; nullptr when it holds no token at all.
// Throws DataError with the language's message for a malformed text.
AstPtr parseFilter(std::string_view sjisText, const Schema& schema);

}  // namespace tamboro::filter
