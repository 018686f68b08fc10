#pragma once
#include "controls/db_edit.h"
#include "controls/enter_rule.h"

namespace tamboro {

// A bound edit on which Enter moves the focus on, as Tab does; leaving by
// Enter writes the field as leaving by Tab does.
class TDBRetEdit : public TDBEdit {
    Q_OBJECT
    Q_PROPERTY(bool ReturnNext READ returnNext WRITE setReturnNext)
public:
    explicit TDBRetEdit(QWidget* parent = nullptr);

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
