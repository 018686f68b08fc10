#pragma once

class QWidget;

namespace tamboro {

// Whether a control opens or closes the Japanese input method when entered.
enum class ImeMode { DontCare, Open, Close };

// Sets the control's mode and keeps it applied each time the control takes
// the focus (a combo box resets the attribute when made editable).
void setImeMode(QWidget* control, ImeMode mode);
ImeMode imeMode(const QWidget* control);

}  // namespace tamboro
