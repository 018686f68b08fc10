#pragma once
#include <QLineEdit>

#include "controls/enter_rule.h"

namespace tamboro {

// A single-line edit on which Enter moves the focus on, as Tab does.
class TRetEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(bool ReturnNext READ returnNext WRITE setReturnNext)
public:
    explicit TRetEdit(QWidget* parent = nullptr);

    bool returnNext() const { return returnNext_; }
    void setReturnNext(bool on) { returnNext_ = on; }
    // The form's key-down and key-press handlers; they never see Enter while
    // ReturnNext is on.
    KeyHandlers& keyHandlers() { return keys_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool returnNext_ = true;
    KeyHandlers keys_;
};

}  // namespace tamboro
