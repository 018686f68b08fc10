#include "data/filter_parser.h"

#include "data/error.h"
#include "data/filter_messages.h"
#include "data/filter_scanner.h"
#include "data/messages.h"
#include "data/sjis.h"

namespace tamboro::filter {

namespace {

constexpr std::string_view kFunctions[] = {"UPPER", "LOWER", "SUBSTRING", "TRIM", "TRIMLEFT", "TRIMRIGHT",
                                           "YEAR",  "MONTH", "DAY",       "HOUR", "MINUTE",   "SECOND",
                                           "GETDATE", "DATE", "TIME"};
constexpr std::string_view kAggregates[] = {"SUM", "MIN", "MAX", "AVG", "COUNT"};

template <size_t N>
bool isOneOf(const Token& t, const std::string_view (&words)[N]) {
    for (std::string_view w : words)
        if (t.is(w)) return true;
    return false;
}

AstPtr node(Ast::Kind kind) {
    auto a = std::make_unique<Ast>();
    a->kind = kind;
    return a;
}

class Parser {
public:
    Parser(std::string_view text, const Schema& schema) : scanner_(text), schema_(schema) {}

    AstPtr parse() {
        advance();
        if (tok_.kind == Tok::End) return nullptr;
        AstPtr e = expression();
        if (tok_.kind != Tok::End) throw DataError(std::string(msg::kFilterTrailing));
        return e;
    }

private:
    void advance() { tok_ = scanner_.next(); }
    Tok peekKind() const {
        Scanner copy = scanner_;
        return copy.next().kind;
    }
    [[noreturn]] void failAtToken(std::string_view tmpl) const {
        throw DataError(formatMessage(tmpl, {displayOf(tok_)}));
    }

    AstPtr expression();
    AstPtr term();
    AstPtr factor();
    AstPtr comparison();
    AstPtr arithmetic(bool sum);
    AstPtr primary();
    AstPtr fieldNode(const std::string& sjisName);
    AstPtr inList(AstPtr left);

    Scanner scanner_;
    const Schema& schema_;
    Token tok_;
    int depth_ = 0;
};

// Runs of OR and of AND become one node each, so a long text makes a wide
// tree rather than a deep one.
AstPtr Parser::expression() {
    if (++depth_ > kMaxFilterDepth) throw DataError(std::string(msg::kFilterTooDeep));
    AstPtr first = term();
    if (tok_.is("OR")) {
        AstPtr any = node(Ast::Kind::Or);
        any->kids.push_back(std::move(first));
        while (tok_.is("OR")) {
            advance();
            any->kids.push_back(term());
        }
        first = std::move(any);
    }
    --depth_;
    return first;
}

AstPtr Parser::term() {
    AstPtr first = factor();
    if (!tok_.is("AND")) return first;
    AstPtr all = node(Ast::Kind::And);
    all->kids.push_back(std::move(first));
    while (tok_.is("AND")) {
        advance();
        all->kids.push_back(factor());
    }
    return all;
}

AstPtr Parser::factor() {
    if (!tok_.is("NOT")) return comparison();
    advance();
    AstPtr n = node(Ast::Kind::Not);
    n->kids.push_back(comparison());
    return n;
}

AstPtr Parser::comparison() {
    AstPtr left = arithmetic(true);
    CompareOp op;
    switch (tok_.kind) {
    case Tok::Eq: op = CompareOp::Eq; break;
    case Tok::Ne: op = CompareOp::Ne; break;
    case Tok::Lt: op = CompareOp::Lt; break;
    case Tok::Gt: op = CompareOp::Gt; break;
    case Tok::Le: op = CompareOp::Le; break;
    case Tok::Ge: op = CompareOp::Ge; break;
    default:
        // LIKE is part of the language, but nothing here needs patterns.
        if (tok_.is("LIKE")) failAtToken(msg::kFilterIllegalChar);
        if (tok_.is("IN")) return inList(std::move(left));
        if (tok_.is("IS")) {
            advance();
            AstPtr n = node(Ast::Kind::IsNull);
            if (tok_.is("NOT")) {
                n->negated = true;
                advance();
            }
            if (!tok_.is("NULL")) throw DataError(std::string(msg::kFilterBadKeyword));
            advance();
            n->kids.push_back(std::move(left));
            return n;
        }
        return left;
    }
    advance();
    AstPtr c = node(Ast::Kind::Compare);
    c->op = op;
    c->kids.push_back(std::move(left));
    c->kids.push_back(arithmetic(true));
    return c;
}

AstPtr Parser::inList(AstPtr left) {
    advance();
    if (tok_.kind != Tok::LParen) failAtToken(msg::kFilterOpenMissing);
    advance();
    if (tok_.kind == Tok::RParen) throw DataError(std::string(msg::kFilterEmptyIn));
    AstPtr in = node(Ast::Kind::In);
    in->kids.push_back(std::move(left));
    for (;;) {
        in->kids.push_back(expression());
        if (tok_.kind == Tok::Comma) {
            advance();
            continue;
        }
        if (tok_.kind != Tok::RParen) failAtToken(msg::kFilterListSeparator);
        advance();
        return in;
    }
}

// sum: product { ("+" | "-") product }; product: primary { ("*" | "/") primary }.
AstPtr Parser::arithmetic(bool sum) {
    auto operand = [&] { return sum ? arithmetic(false) : primary(); };
    AstPtr first = operand();
    auto opChar = [&]() -> char {
        if (sum) return tok_.kind == Tok::Plus ? '+' : tok_.kind == Tok::Minus ? '-' : '\0';
        return tok_.kind == Tok::Star ? '*' : tok_.kind == Tok::Slash ? '/' : '\0';
    };
    if (!opChar()) return first;
    AstPtr chain = node(sum ? Ast::Kind::Sum : Ast::Kind::Product);
    chain->kids.push_back(std::move(first));
    while (char c = opChar()) {
        advance();
        chain->ops.push_back(c);
        chain->kids.push_back(operand());
    }
    return chain;
}

AstPtr Parser::fieldNode(const std::string& sjisName) {
    int f = schema_.indexOf(sjisName);
    if (f < 0) throw DataError(formatMessage(msg::kNoField, {toUtf8(sjisName)}));
    AstPtr n = node(Ast::Kind::Field);
    n->field = f;
    n->text = sjisName;
    return n;
}

AstPtr Parser::primary() {
    AstPtr n;
    switch (tok_.kind) {
    case Tok::LParen:
        advance();
        n = expression();
        if (tok_.kind != Tok::RParen) failAtToken(msg::kFilterCloseMissing);
        break;
    case Tok::Literal:
        n = node(Ast::Kind::String);
        n->text = tok_.value;
        break;
    case Tok::Number:
        n = node(Ast::Kind::Number);
        n->text = tok_.value;
        break;
    case Tok::Bracket: n = fieldNode(tok_.value); break;
    case Tok::Name:
        if (tok_.is("NULL")) {
            n = node(Ast::Kind::Null);
        } else if (tok_.is("TRUE") || tok_.is("FALSE")) {
            n = node(Ast::Kind::Bool);
            n->negated = tok_.is("FALSE");
        } else if (tok_.is("AND") || tok_.is("OR") || tok_.is("NOT") || tok_.is("IS") || tok_.is("IN") ||
                   tok_.is("LIKE")) {
            failAtToken(msg::kFilterOperandMissing);
        } else if ((isOneOf(tok_, kAggregates) || isOneOf(tok_, kFunctions)) && peekKind() == Tok::LParen) {
            // Functions are part of the language but unused here: rejected.
            if (isOneOf(tok_, kAggregates)) throw DataError(std::string(msg::kFilterAggregate));
            failAtToken(msg::kFilterIllegalChar);
        } else {
            n = fieldNode(tok_.value);
        }
        break;
    default: failAtToken(msg::kFilterOperandMissing);
    }
    advance();
    return n;
}

}  // namespace

AstPtr parseFilter(std::string_view sjisText, const Schema& schema) { return Parser(sjisText, schema).parse(); }

}  // namespace tamboro::filter
