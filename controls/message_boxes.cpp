#include "controls/message_boxes.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <utility>

namespace tamboro {
namespace {

BoxHook& hook() {
    static BoxHook h;
    return h;
}

const QString kConfirmTitle = QStringLiteral("確認");

// No parent: the box is centred on the screen and blocks every window.
bool ask(const BoxShown& shown, QMessageBox::Icon icon, const QString& yesText, QMessageBox::ButtonRole yesRole,
         const QString& noText, QMessageBox::ButtonRole noRole) {
    if (hook()) return hook()(shown);
    QMessageBox box(icon, shown.title, shown.text);
    QPushButton* yes = box.addButton(yesText, yesRole);
    QPushButton* no = noText.isEmpty() ? nullptr : box.addButton(noText, noRole);
    box.setDefaultButton(yes);
    if (no) box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace

BoxHook setBoxHook(BoxHook h) { return std::exchange(hook(), std::move(h)); }

QString errorBoxText(const QString& message) {
    if (message.isEmpty() || message.back().unicode() <= u'.') return message;
    return message + QLatin1Char('.');
}

void ShowDefaultError(const QString& message) {
    ask({BoxKind::Error, QStringLiteral("Tamboro"), errorBoxText(message)}, QMessageBox::Critical,
        QStringLiteral("OK"), QMessageBox::AcceptRole, QString(), QMessageBox::RejectRole);
}

void ShowDefaultError(const std::exception& e) { ShowDefaultError(QString::fromUtf8(e.what())); }

void ShowDefaultErrorLater(QObject* context, const QString& message) {
    QTimer::singleShot(0, context, [message] { ShowDefaultError(message); });
}

void ShowInformation(const QString& text) {
    ask({BoxKind::Information, QStringLiteral("情報"), text}, QMessageBox::Information, QStringLiteral("OK"),
        QMessageBox::AcceptRole, QString(), QMessageBox::RejectRole);
}

bool AskConfirmation(const QString& text) {
    return ask({BoxKind::Confirmation, kConfirmTitle, text}, QMessageBox::Question, QStringLiteral("はい(&Y)"),
               QMessageBox::YesRole, QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
}

bool AskDeleteRecord() {
    return ask({BoxKind::DeleteRecord, kConfirmTitle, QStringLiteral("レコードを削除してもよいですか？")},
               QMessageBox::Question, QStringLiteral("OK"), QMessageBox::AcceptRole, QStringLiteral("キャンセル"),
               QMessageBox::RejectRole);
}

}  // namespace tamboro
