#pragma once
#include <QString>
#include <exception>
#include <functional>

class QObject;

namespace tamboro {

// The boxes every window shows, centred on the screen: the default error
// box, the information box and the two questions. One hook takes them all,
// so that a test sees each box and answers it in place of the user.

enum class BoxKind { Error, Information, Confirmation, DeleteRecord };

// A box as the user would see it.
struct BoxShown {
    BoxKind kind;
    QString title;
    QString text;
};

// The hook answers in place of the user: true for "はい(&Y)" or "OK". An
// empty function puts the boxes back on the screen. Returns the previous one.
using BoxHook = std::function<bool(const BoxShown& box)>;
BoxHook setBoxHook(BoxHook hook);

// The text the default error box shows: the message with "." appended
// unless its last character already sorts at or below ".".
QString errorBoxText(const QString& message);

// The application's default error box: titled "Tamboro", error icon, the
// message, one OK button. Returns when the user has closed it.
void ShowDefaultError(const QString& message);
void ShowDefaultError(const std::exception& e);

// The same once control is back in the event loop, so that no modal box
// runs in the middle of a focus change. Dropped if context is gone by then.
void ShowDefaultErrorLater(QObject* context, const QString& message);

// Information: titled "情報", one button "OK".
void ShowInformation(const QString& text);

// Confirmation: titled "確認", "はい(&Y)" (the default) and "いいえ(&N)"
// (taken by Escape). True for yes.
bool AskConfirmation(const QString& text);

// The deletion question of data grids and navigators: titled "確認",
// "OK" and "キャンセル", "レコードを削除してもよいですか？". True for OK.
bool AskDeleteRecord();

// Runs a handler; an exception it raises goes to the default error box and
// the program goes on. True when the handler ran to its end.
template <class F>
bool guarded(F&& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        ShowDefaultError(e);
        return false;
    }
}

}  // namespace tamboro
