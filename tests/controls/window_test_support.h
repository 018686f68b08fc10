#pragma once
// Shared by the window and control suites: modal windows, message boxes and
// pictures of windows.
#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

#include "controls/message_boxes.h"

namespace tamboro::test {

// Takes every message box while alive, in place of the user: the default
// error box's texts in messages, every box in boxes, each answered with answer.
class ErrorCollector {
public:
    ErrorCollector()
        : previous_(setBoxHook([this](const BoxShown& box) {
              if (box.kind == BoxKind::Error) messages.push_back(box.text);
              boxes.push_back(box);
              return answer;
          })) {}
    ~ErrorCollector() { setBoxHook(std::move(previous_)); }
    ErrorCollector(const ErrorCollector&) = delete;
    ErrorCollector& operator=(const ErrorCollector&) = delete;

    QStringList messages;
    std::vector<BoxShown> boxes;
    bool answer = true;

private:
    BoxHook previous_;
};

// Runs action on the next modal window to open, once it is showing.
inline void onNextModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

// Clicks the named button of the next modal window.
inline void clickOnNextModal(const char* buttonName, QWidget** seen = nullptr) {
    onNextModal([buttonName, seen](QWidget* modal) {
        if (seen) *seen = modal;
        if (auto* b = modal->findChild<QPushButton*>(QString::fromLatin1(buttonName))) b->click();
    });
}

// A picture of window, saved into a fresh temporary folder and read back,
// so that what a person would look at is what the checks look at.
inline QImage savedPicture(QWidget& window, const QTemporaryDir& dir, const QString& name) {
    const QString file = QDir(dir.path()).filePath(name + QStringLiteral(".png"));
    if (!window.grab().save(file)) return QImage();
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

// Pixels of control in the picture of its window that its text colours
// account for: the control drawn again with its text transparent differs
// from the picture exactly where its text was drawn.
inline int textInk(const QImage& picture, QWidget* window, QWidget* control) {
    const QPalette shown = control->palette();
    QPalette hidden = shown;
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        hidden.setColor(role, Qt::transparent);
    control->setPalette(hidden);
    const QImage blank = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
    control->setPalette(shown);
    const QPoint at = control->mapTo(window, QPoint(0, 0));
    int ink = 0;
    for (int y = 0; y < blank.height(); ++y)
        for (int x = 0; x < blank.width(); ++x) ink += picture.pixel(at + QPoint(x, y)) != blank.pixel(x, y);
    return ink;
}

// Whether control shows text in the picture of its window: every character
// has a glyph in the control's font, and the text is drawn.
inline bool showsText(const QImage& picture, QWidget* window, QWidget* control, const QString& text) {
    const QFontMetrics fm(control->font());
    for (QChar c : text)
        if (!c.isSpace() && !fm.inFont(c)) return false;
    return textInk(picture, window, control) >= 5 * text.size();
}

}  // namespace tamboro::test
