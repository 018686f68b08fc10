#pragma once
#include "controls/db_check_box.h"
#include "controls/enter_rule.h"

namespace tamboro {

// A bound check box on which Enter moves the focus on and never toggles it.
class TDBRetCheckBox : public TDBCheckBox {
    Q_OBJECT
    Q_PROPERTY(bool ReturnNext READ returnNext WRITE setReturnNext)
public:
    explicit TDBRetCheckBox(QWidget* parent = nullptr);
    explicit TDBRetCheckBox(const QString& text, QWidget* parent = nullptr);

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
