#pragma once
// Shared by the window and control suites: modal windows and message boxes.
#include <QApplication>
#include <QPushButton>
#include <QStringList>
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

}  // namespace tamboro::test
