#pragma once
#include <string_view>

// Messages of the filter language, in UTF-8; "%s" marks the offending token.
namespace tamboro::msg {

constexpr std::string_view kFilterIllegalChar = "フィルター式に不正な文字 '%s' が含まれています。";
constexpr std::string_view kFilterOpenLiteral = "文字列定数が不完全です";
constexpr std::string_view kFilterOpenBracket = "項目名が不完全です";
constexpr std::string_view kFilterTrailing = "フィルター式が正しく終わっていません";
constexpr std::string_view kFilterNotBoolean = "フィルター式の形式が正しくありません";
constexpr std::string_view kFilterOperandMissing = "式が必要な場所に %s。";
constexpr std::string_view kFilterCloseMissing = "')' が必要な場所に%sがあります。";
constexpr std::string_view kFilterOpenMissing = "'(' が必要なところに %s が現れました。";
constexpr std::string_view kFilterListSeparator = "')' または ',' が必要なところに %s が現れました。";
constexpr std::string_view kFilterEmptyIn = "IN 述語のリストは空であってはならない";
constexpr std::string_view kFilterBadKeyword = "キーワードが間違っています";
constexpr std::string_view kFilterNullOperator = "NULL は '=' または '<>' 以外と組み合わせることはできません";
constexpr std::string_view kFilterTypeMismatch = "式内の型不一致";
constexpr std::string_view kFilterAggregate = "集合式はフィルター式中には許されません";
constexpr std::string_view kFilterConstRange = "定数が範囲を超えています";
constexpr std::string_view kFilterNotInteger = "'%s' は整数ではありません";
// Our own: a text nested deeper than the parser follows.
constexpr std::string_view kFilterTooDeep = "フィルター式の括弧の入れ子が深すぎます";
// Shown in place of a token when the text ended where one was needed.
constexpr std::string_view kFilterEndOfText = "式の終わり";

}  // namespace tamboro::msg
