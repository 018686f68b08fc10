#include "controls/warning_beep.h"

#include <QApplication>
#include <utility>

namespace tamboro {
namespace {
std::function<void()>& hook() {
    static std::function<void()> h;
    return h;
}
}  // namespace

void warningBeep() {
    if (hook())
        hook()();
    else
        QApplication::beep();
}

std::function<void()> setWarningBeepHook(std::function<void()> h) {
    return std::exchange(hook(), std::move(h));
}

}  // namespace tamboro
