#pragma once
#include <QString>
#include <exception>
#include <functional>

namespace tamboro {

// The text the default error box shows: the message with "." appended
// unless its last character already sorts at or below ".".
QString errorBoxText(const QString& message);

// The application's default error box: titled "Tamboro", error icon, the
// message, one OK button. Returns when the user has closed it.
void ShowDefaultError(const QString& message);
void ShowDefaultError(const std::exception& e);

// Where errors go instead of the modal box, for tests; an empty function
// restores the box.
using ErrorBoxHook = std::function<void(const QString& text)>;
void setErrorBoxHook(ErrorBoxHook hook);

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
