#include "data/collation.h"

#include <unicode/ucol.h>

#include <memory>

#include "data/error.h"
#include "data/sjis.h"

namespace tamboro {
namespace {

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};

// The Japanese collator at quaternary strength, with the Shift-JIS bytes as
// the last tie-break. ICU's "ja" rules order by sound first, then case (lower
// first), then kana kind; width and the code page's duplicate kanji (NEC and
// IBM rows, compatibility ideographs) are left equal. The byte tie-break makes
// the order total, so "equal" means the same text and equality on text never
// folds widths, kana kinds or kanji variants. It is also cheaper than ICU's
// identical level, which appends a whole decomposed copy of the text.
struct Collation {
    std::unique_ptr<UCollator, CollatorCloser> coll;
    std::u16string left, right;

    Collation() {
        UErrorCode err = U_ZERO_ERROR;
        coll.reset(ucol_open("ja", &err));
        if (U_FAILURE(err) || !coll)
            throw DataError(formatMessage("日本語の照合順序を開けません (%s)", {u_errorName(err)}));
        ucol_setStrength(coll.get(), UCOL_QUATERNARY);
    }

    int compare(std::string_view a, std::string_view b) {
        left.clear();
        right.clear();
        toUtf16(a, left);
        toUtf16(b, right);
        UCollationResult r = ucol_strcoll(coll.get(), reinterpret_cast<const UChar*>(left.data()),
                                          static_cast<int32_t>(left.size()),
                                          reinterpret_cast<const UChar*>(right.data()),
                                          static_cast<int32_t>(right.size()));
        if (r != UCOL_EQUAL) return r == UCOL_LESS ? -1 : 1;
        const int bytes = a.compare(b);
        return (bytes > 0) - (bytes < 0);
    }
};

// One collator per thread: a UCollator is not safe for concurrent use, and
// opening one costs far more than a comparison.
Collation& collation() {
    thread_local Collation c;
    return c;
}

// Folds one character code (a byte, or lead << 8 | trail) to lower case if it
// is an upper-case letter of a cased alphabet; anything else is unchanged.
// Upper and lower case of each alphabet occupy parallel runs of the code page.
inline unsigned foldCode(unsigned code) {
    if (code < 0x100) return (code >= 'A' && code <= 'Z') ? code + 0x20 : code;
    if (code >= 0x8260 && code <= 0x8279) return code + 0x21;  // full-width Ａ-Ｚ → ａ-ｚ
    if (code >= 0x839F && code <= 0x83B6) return code + 0x20;  // Greek Α-Ω → α-ω
    if (code >= 0x8440 && code <= 0x8460) {                    // Cyrillic А-Я → а-я
        // The lower-case run skips 0x847F, which is no valid second byte.
        unsigned lower = code + 0x30;
        return lower >= 0x847F ? lower + 1 : lower;
    }
    return code;
}

// The text with every cased letter lowered; lengths and byte structure are
// kept, since each fold stays within its width.
std::string foldCase(std::string_view s) {
    std::string out(s);
    size_t i = 0;
    while (i < out.size()) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (isLeadByte(c) && i + 1 < out.size()) {
            unsigned code = foldCode((c << 8) | static_cast<unsigned char>(out[i + 1]));
            out[i + 1] = static_cast<char>(code & 0xFF);
            i += 2;
        } else {
            out[i] = static_cast<char>(foldCode(c));
            ++i;
        }
    }
    return out;
}

}  // namespace

int collate(std::string_view a, std::string_view b) { return collation().compare(a, b); }

void appendSortKey(std::string_view sjis, std::string& out) {
    Collation& c = collation();
    c.left.clear();
    toUtf16(sjis, c.left);
    const auto* src = reinterpret_cast<const UChar*>(c.left.data());
    const auto len = static_cast<int32_t>(c.left.size());

    // Write straight into out with a generous guess; retry only for the rare
    // text whose key is longer.
    const size_t start = out.size();
    size_t room = c.left.size() * 6 + 32;
    out.resize(start + room);
    int32_t need = ucol_getSortKey(c.coll.get(), src, len, reinterpret_cast<uint8_t*>(out.data() + start),
                                   static_cast<int32_t>(room));
    if (need > static_cast<int32_t>(room)) {
        room = static_cast<size_t>(need);
        out.resize(start + room);
        need = ucol_getSortKey(c.coll.get(), src, len, reinterpret_cast<uint8_t*>(out.data() + start),
                               static_cast<int32_t>(room));
    }
    if (need <= 0) {
        out.resize(start);
        throw DataError("並べ替えキーを作成できません");
    }
    // Replace the terminating NUL by a zero separator and the text's own
    // bytes, the tie-break of collate(). No collation key byte is zero, so a
    // key that is a prefix of another still sorts first, as its text does,
    // and only equal collation keys reach the bytes.
    out.resize(start + static_cast<size_t>(need) - 1);
    out.push_back('\0');
    out.append(sjis);
}

// Case-insensitive order: both texts are lowered letter by letter (the same
// folding as equalNoCase) and then collated as usual. A collator at
// secondary strength, or case level tricks, would also fold widths, kana
// kinds and small kana, which must stay distinct.
int collateNoCase(std::string_view a, std::string_view b) { return collate(foldCase(a), foldCase(b)); }

bool equalNoCase(std::string_view a, std::string_view b) {
    // Folding never changes a character's byte length.
    if (a.size() != b.size()) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(a.data());
    const auto* q = reinterpret_cast<const unsigned char*>(b.data());
    const size_t n = a.size();
    size_t i = 0;
    while (i < n) {
        const unsigned ca = p[i], cb = q[i];
        if ((ca | cb) < 0x80) {  // both ASCII: the common case
            if (ca != cb && foldCode(ca) != foldCode(cb)) return false;
            ++i;
            continue;
        }
        const bool leadA = isLeadByte(static_cast<unsigned char>(ca)) && i + 1 < n;
        const bool leadB = isLeadByte(static_cast<unsigned char>(cb)) && i + 1 < n;
        if (leadA != leadB) return false;
        if (leadA) {
            // Compare whole characters, so a second byte that happens to be
            // an ASCII letter code is never folded on its own.
            if (foldCode((ca << 8) | p[i + 1]) != foldCode((cb << 8) | q[i + 1])) return false;
            i += 2;
        } else {
            if (ca != cb) return false;
            ++i;
        }
    }
    return true;
}

}  // namespace tamboro
