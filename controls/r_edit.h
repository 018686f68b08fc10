#pragma once
#include <QLineEdit>

#include "controls/enter_rule.h"

namespace tamboro {

// A one-line edit for numbers: aligns its text, filters typed characters by
// a numeric type, selects all when entered from the keyboard, and moves the
// focus with Enter and Down (forward) and Up (backward).
class TREdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(TAlignment Alignment READ textAlignment WRITE setTextAlignment)
    Q_PROPERTY(bool ReturnNext READ returnNext WRITE setReturnNext)
    Q_PROPERTY(TNumericType NumericType READ numericType WRITE setNumericType)
    Q_PROPERTY(bool AutoSelect READ autoSelect WRITE setAutoSelect)
public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)
    enum TNumericType { ntDontCare, ntPlusInteger, ntPlusReal, ntInteger, ntReal };
    Q_ENUM(TNumericType)

    explicit TREdit(QWidget* parent = nullptr);

    TAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TAlignment a);
    bool returnNext() const { return returnNext_; }
    void setReturnNext(bool on) { returnNext_ = on; }
    // Takes effect with the next typed character; the text is left as it is.
    TNumericType numericType() const { return numericType_; }
    void setNumericType(TNumericType t) { numericType_ = t; }
    bool autoSelect() const { return autoSelect_; }
    void setAutoSelect(bool on) { autoSelect_ = on; }
    // The form's handlers: key-down before the focus rule, key-press before
    // the filter (it sees every character, carriage return included).
    KeyHandlers& keyHandlers() { return keys_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    bool focusRule(int key);
    QChar filterChar(QChar ch);
    QChar filterSign(QChar ch);
    QChar reject();

    TAlignment alignment_ = taLeftJustify;
    bool mouseActivated_ = false;
    bool returnNext_ = true;
    TNumericType numericType_ = ntDontCare;
    bool autoSelect_ = true;
    KeyHandlers keys_;
};

}  // namespace tamboro
