#include "data/filter_scanner.h"

#include "data/error.h"
#include "data/filter_messages.h"
#include "data/sjis.h"

namespace tamboro::filter {

namespace {

unsigned char u(char c) { return static_cast<unsigned char>(c); }
bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHalfKana(char c) { return u(c) >= 0xA1 && u(c) <= 0xDF; }
bool isNameStart(char c) { return isAsciiLetter(c) || c == '_' || (u(c) >= 0x81 && u(c) <= 0xFE); }
bool isNameChar(char c) {
    return isAsciiLetter(c) || isDigit(c) || c == '_' || c == '.' || c == '[' || c == ']' ||
           isLeadByte(u(c)) || isHalfKana(c);
}
// A word as the literal look-ahead sees it (no "." or brackets).
bool isWordChar(char c) {
    return isAsciiLetter(c) || isDigit(c) || c == '_' || isLeadByte(u(c)) || isHalfKana(c);
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameWord(std::string_view a, std::string_view upperWord) {
    if (a.size() != upperWord.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upperWord[i]) return false;
    return true;
}

// Words after which a quote ends its literal even though more quotes follow.
bool isClosingWord(std::string_view w) {
    for (std::string_view k : {"AND", "OR", "LIKE", "IS", "NULL", "ASC", "ASCENDING", "DESC", "DESCENDING",
                               "SELECT", "FROM", "WHERE", "HAVING", "UNION", "PLAN"})
        if (sameWord(w, k)) return true;
    return false;
}

// Keywords that take an operand after them, so a "-" there starts a number.
bool isOperatorWord(std::string_view w) {
    for (std::string_view k : {"AND", "OR", "NOT", "LIKE", "IN", "IS"})
        if (sameWord(w, k)) return true;
    return false;
}

[[noreturn]] void fail(std::string_view tmpl, std::string_view sjisToken) {
    throw DataError(formatMessage(tmpl, {toUtf8(sjisToken)}));
}

}  // namespace

bool Token::is(std::string_view keyword) const { return kind == Tok::Name && sameWord(value, keyword); }

std::string displayOf(const Token& t) {
    if (t.kind == Tok::End) return std::string(msg::kFilterEndOfText);
    return toUtf8(t.source);
}

Scanner::Scanner(std::string_view sjisText) : text_(sjisText), lastQuote_(sjisText.rfind('\'')) {}

void Scanner::skipSeparators() {
    const size_t n = text_.size();
    for (;;) {
        while (pos_ < n && u(text_[pos_]) <= 0x20) ++pos_;
        if (pos_ + 1 < n && text_[pos_] == '/' && text_[pos_ + 1] == '*') {
            size_t end = text_.find("*/", pos_ + 2);
            if (end == std::string_view::npos) fail(msg::kFilterIllegalChar, "/*");
            pos_ = end + 2;
            continue;
        }
        return;
    }
}

void Scanner::noteToken(const Token& t) {
    switch (t.kind) {
    case Tok::Name: numberExpected_ = isOperatorWord(t.value); break;
    case Tok::Bracket:
    case Tok::Literal:
    case Tok::Number:
    case Tok::RParen: numberExpected_ = false; break;
    default: numberExpected_ = true; break;
    }
}

Token Scanner::next() {
    skipSeparators();
    Token t;
    t.offset = pos_;
    const size_t n = text_.size();
    if (pos_ >= n) {
        t.kind = Tok::End;
        return t;
    }
    const char c = text_[pos_];
    auto op = [&](Tok kind, size_t len) {
        t.kind = kind;
        t.source = text_.substr(pos_, len);
        pos_ += len;
    };
    const char c2 = pos_ + 1 < n ? text_[pos_ + 1] : '\0';
    if (isNameStart(c)) t = scanName();
    else if (c == '[') t = scanBracket();
    else if (c == '\'') t = scanLiteral();
    else if (isDigit(c) || (c == '-' && numberExpected_)) t = scanNumber();
    else if (c == '=') op(Tok::Eq, 1);
    else if (c == '<' && c2 == '>') op(Tok::Ne, 2);
    else if (c == '<' && c2 == '=') op(Tok::Le, 2);
    else if (c == '<') op(Tok::Lt, 1);
    else if (c == '>' && c2 == '=') op(Tok::Ge, 2);
    else if (c == '>') op(Tok::Gt, 1);
    else if (c == '(') op(Tok::LParen, 1);
    else if (c == ')') op(Tok::RParen, 1);
    else if (c == ',') op(Tok::Comma, 1);
    else if (c == '+') op(Tok::Plus, 1);
    else if (c == '-') op(Tok::Minus, 1);
    else if (c == '*') op(Tok::Star, 1);
    else if (c == '/') op(Tok::Slash, 1);
    else fail(msg::kFilterIllegalChar, text_.substr(pos_, 1));
    noteToken(t);
    return t;
}

Token Scanner::scanName() {
    const size_t start = pos_, n = text_.size();
    // The first byte: a double-byte character is taken whole.
    pos_ += (isLeadByte(u(text_[pos_])) && pos_ + 1 < n) ? 2 : 1;
    while (pos_ < n && isNameChar(text_[pos_]))
        pos_ += (isLeadByte(u(text_[pos_])) && pos_ + 1 < n) ? 2 : 1;
    Token t;
    t.kind = Tok::Name;
    t.offset = start;
    t.source = text_.substr(start, pos_ - start);
    t.value = std::string(t.source);
    return t;
}

Token Scanner::scanBracket() {
    const size_t start = pos_, n = text_.size();
    size_t i = pos_ + 1;
    while (i < n && text_[i] != ']') i += (isLeadByte(u(text_[i])) && i + 1 < n) ? 2 : 1;
    if (i >= n) fail(msg::kFilterOpenBracket, {});
    Token t;
    t.kind = Tok::Bracket;
    t.offset = start;
    t.source = text_.substr(start, i + 1 - start);
    t.value = std::string(text_.substr(start + 1, i - start - 1));
    pos_ = i + 1;
    return t;
}

// A quote ends the literal when no quote follows anywhere later, or when
// what follows reads as the continuation of an expression; otherwise it is
// an apostrophe inside the text ('Ocean's Eleven').
bool Scanner::quoteClosesAt(size_t quote) const {
    if (lastQuote_ == std::string_view::npos || lastQuote_ <= quote) return true;
    const size_t n = text_.size();
    size_t i = quote + 1;
    while (i < n && (u(text_[i]) <= 0x20 || text_[i] == ')')) ++i;
    while (i < n && (u(text_[i]) <= 0x20 || text_[i] == '(' || text_[i] == ',')) ++i;
    if (i >= n) return true;
    const char c = text_[i];
    const char c2 = i + 1 < n ? text_[i + 1] : '\0';
    if (c == '\'' || c == '"' || c == '<' || c == '=' || c == '>' || isDigit(c)) return true;
    if ((c == '/' && c2 == '*') || (c == '-' && isDigit(c2))) return true;
    if (!isWordChar(c)) return false;
    auto readWord = [&](size_t& at) {
        size_t s = at;
        while (at < n && isWordChar(text_[at])) at += (isLeadByte(u(text_[at])) && at + 1 < n) ? 2 : 1;
        return text_.substr(s, at - s);
    };
    std::string_view word = readWord(i);
    if (i < n && text_[i] == '.') return true;
    if (isClosingWord(word)) return true;
    std::string_view second;
    if (sameWord(word, "GROUP")) second = "BY";
    else if (sameWord(word, "ORDER")) second = "BY";
    else if (sameWord(word, "FOR")) second = "UPDATE";
    else return false;
    while (i < n && u(text_[i]) <= 0x20) ++i;
    return sameWord(readWord(i), second);
}

Token Scanner::scanLiteral() {
    const size_t start = pos_, n = text_.size();
    Token t;
    t.kind = Tok::Literal;
    t.offset = start;
    // Whole characters only, so the kept text never ends on half of one.
    bool full = false;
    auto keep = [&](std::string_view bytes) {
        if (full || t.value.size() + bytes.size() > kMaxLiteralBytes) full = true;
        else t.value.append(bytes);
    };
    size_t i = start + 1;
    while (i < n) {
        const char c = text_[i];
        if (c != '\'') {
            size_t len = (isLeadByte(u(c)) && i + 1 < n) ? 2 : 1;
            keep(text_.substr(i, len));
            i += len;
            continue;
        }
        if (i + 1 < n && text_[i + 1] == '\'') {  // doubled: one quote character
            keep("'");
            i += 2;
            continue;
        }
        if (quoteClosesAt(i)) {
            pos_ = i + 1;
            t.source = text_.substr(start, pos_ - start);
            return t;
        }
        keep("'");
        ++i;
    }
    fail(msg::kFilterOpenLiteral, {});
}

Token Scanner::scanNumber() {
    const size_t start = pos_, n = text_.size();
    ++pos_;
    while (pos_ < n) {
        const char c = text_[pos_];
        if (!(isDigit(c) || c == '+' || c == '-' || c == 'E' || c == 'e' || c == '.')) break;
        ++pos_;
    }
    Token t;
    t.kind = Tok::Number;
    t.offset = start;
    t.source = text_.substr(start, pos_ - start);
    t.value = std::string(t.source);
    return t;
}

}  // namespace tamboro::filter
