#pragma once
#include "controls/fixed_dialog.h"

class QLabel;
class QPushButton;

namespace tamboro {

class DiscAnimation;

// The version window, shown modally from the main window's popup menu. Its
// disc turns from creation on, shown or hidden, so each showing goes on
// from the frame the last one left.
class TFAbout : public TFixedDialog {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* parent = nullptr);

    // The disc's animation: its timer Timer2 and its FrameIndex.
    const DiscAnimation& discAnimation() const { return *animation_; }

private slots:
    void btnCloseClick();

private:
    QLabel* imgDvd;
    QPushButton* btnClose;
    DiscAnimation* animation_;
};

}  // namespace tamboro
