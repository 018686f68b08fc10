#pragma once
#include <QDialog>
#include <QPoint>
#include <QSize>
#include <optional>

namespace tamboro {

// A modal window of fixed client size, centred on the screen (or at a
// designed position) each time it is shown, that Escape never closes: the
// windows have no cancel button. What the title bar's close box does is
// the window's choice.
class TFixedDialog : public QDialog {
    Q_OBJECT
public:
    enum class CloseBox {
        None,  // no title-bar buttons; only the window's own close button ends it
        Ends,  // a close box that ends the window as rejected, like Cancel
    };

    TFixedDialog(const QSize& clientSize, CloseBox closeBox, QWidget* parent = nullptr);

    // Shows the window at this screen position instead of centred.
    void setDesignedPosition(const QPoint& topLeft) { designed_ = topLeft; }
    CloseBox closeBox() const { return closeBox_; }

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    CloseBox closeBox_;
    std::optional<QPoint> designed_;
};

}  // namespace tamboro
