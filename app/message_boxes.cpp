#include "app/message_boxes.h"

#include <QMessageBox>
#include <QPushButton>

namespace tamboro {

void ShowInformation(const QString& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("情報"), text);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool AskConfirmation(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), text);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

bool AskDeleteRecord() {
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), QStringLiteral("レコードを削除してもよいですか？"));
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

}  // namespace tamboro
