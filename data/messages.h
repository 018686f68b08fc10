#pragma once
#include <string_view>

// The data layer's messages, in UTF-8; "%s" marks where formatMessage puts
// the offending text and then the field name.
namespace tamboro::msg {

constexpr std::string_view kNoPacket = "データプロバイダ/パケットがありません";
constexpr std::string_view kBadPacket = "データパケットが間違っています";
constexpr std::string_view kClosed = "データセットは閉じているため, この操作は実行できません";
constexpr std::string_view kNoField = "項目 '%s' が見つかりません";
constexpr std::string_view kNotEditing = "データセットが編集または挿入モードではありません";
constexpr std::string_view kEmptyDataset = "空のデータセットには, この操作は実行できません";
constexpr std::string_view kNotInteger = "'%s' は項目 '%s' に適した整数値ではありません";
constexpr std::string_view kOutOfRange = "%s は項目 '%s' に適した値ではありません。%s から %s の範囲が許されます";
constexpr std::string_view kNotDate = "'%s' は日付ではありません";
constexpr std::string_view kNotBoolean = "'%s' は項目 '%s' に適した論理値ではありません";
constexpr std::string_view kNotIndexed = "項目 '%s' にはインデックスが無く変更できません";
// Not in the engine's own list: a typed amount or date-time that is no number.
constexpr std::string_view kNotFloat = "'%s' は項目 '%s' に適した浮動小数点値ではありません";
constexpr std::string_view kNotDateTime = "'%s' は日付または時刻ではありません";

}  // namespace tamboro::msg
