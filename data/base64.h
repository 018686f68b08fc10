#pragma once
#include <string>
#include <string_view>

// Base64 with the RFC 4648 alphabet and "=" padding, as memos are stored.
namespace tamboro {

// Appends the encoding of bytes to out, as one run without line breaks.
void appendBase64(std::string_view bytes, std::string& out);

// Decodes text into out (replacing its content). Characters before the first
// alphabet character are skipped, as are white space inside the run and a
// final incomplete group; decoding stops at "=". Returns the offset of the
// first character that is none of these, or npos when the text is valid.
size_t decodeBase64(std::string_view text, std::string& out);

}  // namespace tamboro
