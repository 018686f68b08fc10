#pragma once
#include <QFont>

namespace tamboro {

// The family every window of the program is laid out for.
inline constexpr const char* kAppFontFamily = "ＭＳ Ｐゴシック";

// Maps the Windows family onto the metric-compatible IPA P Gothic, so layouts
// keep their sizes where the original font is missing. Safe to call twice.
void installFontSubstitutions();

// "ＭＳ Ｐゴシック" at the given pixel size (12 for windows, 15 for the date
// picker); installs the substitution first.
QFont appFont(int pixelSize = 12);

}  // namespace tamboro
