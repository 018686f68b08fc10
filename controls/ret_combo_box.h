#pragma once
#include <QComboBox>

#include "controls/enter_rule.h"

namespace tamboro {

// A combo box on which Enter moves the focus on. With the list open, Enter
// closes it without taking the highlighted entry.
class TRetComboBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(bool ReturnNext READ returnNext WRITE setReturnNext)
public:
    explicit TRetComboBox(QWidget* parent = nullptr);

    bool returnNext() const { return returnNext_; }
    void setReturnNext(bool on) { returnNext_ = on; }
    KeyHandlers& keyHandlers() { return keys_; }

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool returnNext_ = true;
    KeyHandlers keys_;
    PopupEnterFilter* popupFilter_;
};

}  // namespace tamboro
