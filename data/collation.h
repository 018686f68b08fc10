#pragma once
#include <string>
#include <string_view>

// Ordering and comparison of Shift-JIS text under the Japanese locale.
namespace tamboro {

// Case-sensitive Japanese collation (ICU "ja"): <0, 0, >0. Only the same
// bytes compare equal: texts that differ only in width, kana kind or kanji
// variant are ordered, never tied.
int collate(std::string_view a, std::string_view b);

// Sort key for collate(): the byte order of keys (as std::string compares
// them, a shorter prefix first) equals collate() order. Appends the key to
// out; it may contain zero bytes, so its length is out's growth.
void appendSortKey(std::string_view sjis, std::string& out);

// Ordering that ignores letter case only (used by case-insensitive filters);
// it reports equal exactly when equalNoCase does.
int collateNoCase(std::string_view a, std::string_view b);

// Equality that folds letter case only (ASCII, full-width Latin, Greek,
// Cyrillic); widths, kana kinds and everything else must match exactly.
bool equalNoCase(std::string_view a, std::string_view b);

// Exact equality as the filter's case-sensitive "=" sees it.
inline bool equalExact(std::string_view a, std::string_view b) { return a == b; }

}  // namespace tamboro
