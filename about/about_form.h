#pragma once
#include "controls/fixed_dialog.h"

class QLabel;
class QPushButton;

namespace tamboro {

// The version window, shown modally from the main window's popup menu.
class TFAbout : public TFixedDialog {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* parent = nullptr);

private:
    QLabel* imgDvd;
    QPushButton* btnClose;
};

}  // namespace tamboro
