#include "app/error_box.h"

#include <QMessageBox>

namespace tamboro {
namespace {

ErrorBoxHook& hook() {
    static ErrorBoxHook h;
    return h;
}

}  // namespace

QString errorBoxText(const QString& message) {
    if (message.isEmpty() || message.back().unicode() <= u'.') return message;
    return message + QLatin1Char('.');
}

void ShowDefaultError(const QString& message) {
    const QString text = errorBoxText(message);
    if (hook()) {
        hook()(text);
        return;
    }
    // No parent: the box is centred on the screen and blocks every window.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tamboro"), text);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

void ShowDefaultError(const std::exception& e) { ShowDefaultError(QString::fromUtf8(e.what())); }

void setErrorBoxHook(ErrorBoxHook h) { hook() = std::move(h); }

}  // namespace tamboro
