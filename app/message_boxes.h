#pragma once
#include <QString>

namespace tamboro {

// The program's message boxes, centred on the screen.

// Information: titled "情報", one button "OK".
void ShowInformation(const QString& text);

// Confirmation: titled "確認", "はい(&Y)" (the default) and "いいえ(&N)"
// (taken by Escape). True for yes.
bool AskConfirmation(const QString& text);

// The deletion question of data grids and navigators: titled "確認",
// "OK" and "キャンセル", "レコードを削除してもよいですか？". True for OK.
bool AskDeleteRecord();

}  // namespace tamboro
