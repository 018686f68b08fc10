#include "data/base64.h"

#include <array>
#include <cstdint>

namespace tamboro {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr uint8_t kInvalid = 0xFF, kSpace = 0xFE, kPad = 0xFD;

constexpr std::array<uint8_t, 256> makeDecodeTable() {
    std::array<uint8_t, 256> t{};
    for (auto& v : t) v = kInvalid;
    for (int i = 0; i < 64; ++i) t[static_cast<unsigned char>(kAlphabet[i])] = static_cast<uint8_t>(i);
    t[' '] = t['\t'] = t['\r'] = t['\n'] = kSpace;
    t['='] = kPad;
    return t;
}
constexpr std::array<uint8_t, 256> kDecode = makeDecodeTable();

}  // namespace

void appendBase64(std::string_view bytes, std::string& out) {
    const size_t n = bytes.size();
    const size_t start = out.size();
    out.resize(start + (n + 2) / 3 * 4);
    char* o = out.data() + start;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t i = 0;
    for (; i + 3 <= n; i += 3) {
        uint32_t v = (uint32_t(in[i]) << 16) | (uint32_t(in[i + 1]) << 8) | in[i + 2];
        *o++ = kAlphabet[v >> 18];
        *o++ = kAlphabet[(v >> 12) & 63];
        *o++ = kAlphabet[(v >> 6) & 63];
        *o++ = kAlphabet[v & 63];
    }
    if (i < n) {
        uint32_t v = uint32_t(in[i]) << 16;
        if (i + 1 < n) v |= uint32_t(in[i + 1]) << 8;
        *o++ = kAlphabet[v >> 18];
        *o++ = kAlphabet[(v >> 12) & 63];
        *o++ = i + 1 < n ? kAlphabet[(v >> 6) & 63] : '=';
        *o++ = '=';
    }
}

size_t decodeBase64(std::string_view text, std::string& out) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n && kDecode[s[i]] >= 64) ++i;  // leading junk
    out.clear();
    if (i == n) {
        // Nothing to decode: only white space may stand for an empty text,
        // anything else was meant as content and would be lost.
        for (size_t k = 0; k < n; ++k)
            if (kDecode[s[k]] != kSpace) return k;
        return std::string_view::npos;
    }
    out.resize((n - i) / 4 * 3 + 3);
    char* o = out.data();
    size_t count = 0;  // alphabet characters since the first
    // Fast path: whole groups of four alphabet characters.
    while (i + 4 <= n) {
        uint8_t a = kDecode[s[i]], b = kDecode[s[i + 1]], c = kDecode[s[i + 2]], d = kDecode[s[i + 3]];
        if ((a | b | c | d) >= 64) break;
        uint32_t v = (uint32_t(a) << 18) | (uint32_t(b) << 12) | (uint32_t(c) << 6) | d;
        *o++ = static_cast<char>(v >> 16);
        *o++ = static_cast<char>(v >> 8);
        *o++ = static_cast<char>(v);
        i += 4;
        count += 4;
    }
    // Slow path: white space inside the run, padding, the last group.
    uint32_t acc = 0;
    int bits = 0;
    size_t pads = 0, padAt = 0, last = i;
    for (; i < n; ++i) {
        uint8_t v = kDecode[s[i]];
        if (v == kSpace) continue;
        if (v == kPad) {
            if (pads++ == 0) padAt = i;
            continue;
        }
        if (v == kInvalid || pads) return i;
        last = i;
        ++count;
        acc = (acc << 6) | v;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            *o++ = static_cast<char>((acc >> bits) & 0xFF);
        }
    }
    // A lone character in the last group holds no whole byte; padding, when
    // present, must fill that group exactly.
    if (count % 4 == 1) return last;
    if (pads && (count + pads) % 4 != 0) return padAt;
    out.resize(static_cast<size_t>(o - out.data()));
    return std::string_view::npos;
}

}  // namespace tamboro
