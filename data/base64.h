#pragma once
#include <string>
#include <string_view>

// Base64 with the RFC 4648 alphabet and "=" padding, as memos are stored.
namespace tamboro {

// Appends the encoding of bytes to out, as one run without line breaks.
void appendBase64(std::string_view bytes, std::string& out);

// Decodes text into out (replacing its content). Characters before the first
// alphabet character are skipped, as is white space inside the run; the last
// group may go without its "=" padding. Returns npos when the text is valid,
// else the offset of the first character at fault: one outside the alphabet
// inside the run, anything after the padding, padding that does not fill the
// last group, a last group of a single character, or, when no alphabet
// character comes at all, the first that is not white space.
size_t decodeBase64(std::string_view text, std::string& out);

}  // namespace tamboro
