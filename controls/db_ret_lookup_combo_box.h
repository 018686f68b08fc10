#pragma once
#include "controls/db_lookup_combo_box.h"
#include "controls/enter_rule.h"

namespace tamboro {

// A bound lookup combo box on which Enter moves the focus on. With the list
// open, Enter closes it without a choice and the field keeps its value; an
// entry is picked from the open list with the mouse.
class TDBRetLookupComboBox : public TDBLookupComboBox {
    Q_OBJECT
    Q_PROPERTY(bool ReturnNext READ returnNext WRITE setReturnNext)
public:
    explicit TDBRetLookupComboBox(QWidget* parent = nullptr);

    bool returnNext() const { return returnNext_; }
    void setReturnNext(bool on) { returnNext_ = on; }
    // The form's key-down and key-press handlers; they never see Enter while
    // ReturnNext is on.
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
