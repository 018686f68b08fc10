#pragma once
#include <QCheckBox>

#include "controls/enter_rule.h"

namespace tamboro {

// A check box on which Enter moves the focus on (and never toggles it).
class TRetCheckBox : public QCheckBox {
    Q_OBJECT
    Q_PROPERTY(bool ReturnNext READ returnNext WRITE setReturnNext)
public:
    explicit TRetCheckBox(QWidget* parent = nullptr);
    explicit TRetCheckBox(const QString& text, QWidget* parent = nullptr);

    bool returnNext() const { return returnNext_; }
    void setReturnNext(bool on) { returnNext_ = on; }
    KeyHandlers& keyHandlers() { return keys_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool returnNext_ = true;
    KeyHandlers keys_;
};

}  // namespace tamboro
