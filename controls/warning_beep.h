#pragma once
#include <functional>

namespace tamboro {

// The platform's default warning beep, sounded when a control refuses input.
void warningBeep();

// Replaces the beep (tests count beeps this way); an empty function restores
// the platform's. Returns the previous replacement.
std::function<void()> setWarningBeepHook(std::function<void()> hook);

}  // namespace tamboro
