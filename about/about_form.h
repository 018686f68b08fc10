#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

namespace tamboro {

// The version window, shown modally from the main window's popup menu.
class TFAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    QLabel* imgDvd;
    QPushButton* btnClose;
};

}  // namespace tamboro
