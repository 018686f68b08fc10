#include "about/about_form.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "controls/app_font.h"
#include "controls/disc_animation.h"

namespace tamboro {
namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(x, y, 255 - x, 18);
    return l;
}

}  // namespace

// The close box closes it too; Escape does nothing, as there is no cancel button.
TFAbout::TFAbout(QWidget* parent) : TFixedDialog(QSize(298, 209), CloseBox::Ends, parent) {
    setObjectName(QStringLiteral("FAbout"));
    setWindowTitle(QStringLiteral(" ﾊﾞｰｼﾞｮﾝ情報"));
    setFont(appFont(12));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setGeometry(18, 18, 263, 127);

    imgDvd = new QLabel(panel);
    imgDvd->setObjectName(QStringLiteral("imgDvd"));
    imgDvd->setPixmap(QPixmap::fromImage(drawStillDisc()));
    imgDvd->setGeometry(8, 8, 50, 50);

    label(panel, "ProductName", QStringLiteral("DVD コレクション カタログ"), 66, 8);
    QLabel* title = label(panel, "Label2", QStringLiteral("Tamboro"), 66, 28);
    QFont bold = appFont(16);
    bold.setBold(true);
    title->setFont(bold);
    title->setFixedHeight(22);
    label(panel, "Version", QStringLiteral("Version %1").arg(QCoreApplication::applicationVersion().isEmpty()
                                                                 ? QStringLiteral("0.1")
                                                                 : QCoreApplication::applicationVersion()),
          66, 54);
    label(panel, "Copyright", QStringLiteral("個人の DVD コレクションのための目録"), 8, 80);
    label(panel, "Label1", QStringLiteral("データは実行フォルダに保存されます"), 8, 100);

    btnClose = new QPushButton(QStringLiteral("閉じる"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(96, 160, 105, 33);
    btnClose->setDefault(true);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tamboro
