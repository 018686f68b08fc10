#include "controls/fixed_dialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>

namespace tamboro {
namespace {

Qt::WindowFlags flagsFor(TFixedDialog::CloseBox closeBox) {
    Qt::WindowFlags f = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeBox == TFixedDialog::CloseBox::Ends) f |= Qt::WindowCloseButtonHint;
    return f;
}

}  // namespace

TFixedDialog::TFixedDialog(const QSize& clientSize, CloseBox closeBox, QWidget* parent)
    : QDialog(parent, flagsFor(closeBox)), closeBox_(closeBox) {
    setFixedSize(clientSize);
}

void TFixedDialog::setVisible(bool visible) {
    if (visible && !isVisible()) {
        if (designed_) {
            move(*designed_);
        } else if (const QScreen* s = screen()) {
            // The frame is known once the window has been shown.
            QRect r(QPoint(0, 0), frameGeometry().size());
            r.moveCenter(s->availableGeometry().center());
            move(r.topLeft());
        }
    }
    QDialog::setVisible(visible);
}

void TFixedDialog::keyPressEvent(QKeyEvent* e) {
    if (e->matches(QKeySequence::Cancel)) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

// Ending by the window's own buttons (done, accept, reject) sends no close
// event; what arrives here is the close box, Alt+F4 or the system.
void TFixedDialog::closeEvent(QCloseEvent* e) {
    if (closeBox_ == CloseBox::None) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

}  // namespace tamboro
