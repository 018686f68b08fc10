#pragma once
#include <QValidator>

namespace tamboro {

// Keeps a text within a number of Shift-JIS bytes, as a field of that width
// stores it. Input that does not fit is cut at the cursor, so a typed or
// pasted insertion keeps only the characters that fit (with a beep) and the
// text already there stays whole.
class SjisWidthValidator : public QValidator {
    Q_OBJECT
public:
    SjisWidthValidator(int widthBytes, QObject* parent);
    int widthBytes() const { return width_; }
    void setWidthBytes(int w) { width_ = w; }

    State validate(QString& input, int& pos) const override;

private:
    int width_;
};

// Shift-JIS length of a text in bytes.
int sjisBytes(const QString& text);

}  // namespace tamboro
