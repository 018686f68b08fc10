#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Tokens of the filter language, read from Shift-JIS text on demand.
namespace tamboro::filter {

enum class Tok {
    End,
    Name,     // field name or keyword
    Bracket,  // "[" name "]"
    Literal,  // '...'
    Number,
    Eq, Ne, Lt, Gt, Le, Ge,
    LParen, RParen, Comma,
    Plus, Minus, Star, Slash
};

struct Token {
    Tok kind = Tok::End;
    std::string_view source;  // as written, for messages
    std::string value;        // name without brackets, literal without quotes, number text
    size_t offset = 0;

    // True for a Name token spelling this keyword (upper-case ASCII), any case.
    bool is(std::string_view keyword) const;
};

// A literal keeps at most this many bytes.
constexpr size_t kMaxLiteralBytes = 256;

class Scanner {
public:
    explicit Scanner(std::string_view sjisText);
    // The next token; throws DataError on an illegal character, an
    // unterminated comment, literal or bracketed name.
    Token next();

private:
    void skipSeparators();
    Token scanName();
    Token scanBracket();
    Token scanLiteral();
    Token scanNumber();
    bool quoteClosesAt(size_t quote) const;
    void noteToken(const Token& t);

    std::string_view text_;
    size_t pos_ = 0;
    size_t lastQuote_ = std::string_view::npos;
    bool numberExpected_ = true;
};

// A token as the messages show it, in UTF-8.
std::string displayOf(const Token& t);

}  // namespace tamboro::filter
