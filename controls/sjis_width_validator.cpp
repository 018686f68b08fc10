#include "controls/sjis_width_validator.h"

#include <QWidget>

#include "controls/sjis_qt.h"
#include "controls/warning_beep.h"

namespace tamboro {

int sjisBytes(const QString& text) { return static_cast<int>(toSjisQ(text).size()); }

SjisWidthValidator::SjisWidthValidator(int widthBytes, QObject* parent) : QValidator(parent), width_(widthBytes) {}

QValidator::State SjisWidthValidator::validate(QString& input, int& pos) const {
    if (width_ <= 0) return Acceptable;
    int total = sjisBytes(input);
    if (total <= width_) return Acceptable;
    // Shift-JIS has no shift states, so a text's bytes are the sum of its
    // characters' bytes.
    auto dropBefore = [&input, &total](int at) {
        const int n = at >= 2 && input.at(at - 1).isLowSurrogate() && input.at(at - 2).isHighSurrogate() ? 2 : 1;
        total -= sjisBytes(input.mid(at - n, n));
        input.remove(at - n, n);
        return n;
    };
    // Drop characters just before the cursor (the newest insertion), then
    // from the end if the text was set whole.
    while (pos > 0 && total > width_) pos -= dropBefore(pos);
    while (!input.isEmpty() && total > width_) dropBefore(static_cast<int>(input.size()));
    auto* w = qobject_cast<QWidget*>(parent());
    if (w && w->hasFocus()) warningBeep();
    return Acceptable;
}

}  // namespace tamboro
