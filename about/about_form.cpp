#include "about/about_form.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "about/program_identity.h"
#include "controls/app_font.h"
#include "controls/disc_animation.h"

namespace tamboro {
namespace {

constexpr int kPanelWidth = 263;
constexpr int kTextLeft = 70;  // clear of the disc, which grows to 50 x 53

QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int y, int height = 16) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(x, y, kPanelWidth - 8 - x, height);
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
    panel->setGeometry(18, 18, kPanelWidth, 127);

    // The label takes each picture's size, and without a background of its
    // own the panel shows around the disc.
    imgDvd = new QLabel(panel);
    imgDvd->setObjectName(QStringLiteral("imgDvd"));
    imgDvd->move(10, 8);
    animation_ = new DiscAnimation(imgDvd, this);

    label(panel, "ProductName", QStringLiteral("個人の DVD コレクションの目録"), kTextLeft, 10);
    QLabel* title = label(panel, "Label2", QStringLiteral("Tamboro"), kTextLeft, 28, 22);
    QFont bold = appFont(16);
    bold.setBold(true);
    title->setFont(bold);
    label(panel, "Version", QStringLiteral("バージョン %1").arg(programVersion()), kTextLeft, 52);
    label(panel, "Copyright", QStringLiteral("Copyright © 2026 Tamboro の開発者"), 10, 80);
    label(panel, "Label1", QStringLiteral("MIT ライセンスで配布しています"), 10, 100);

    btnClose = new QPushButton(QStringLiteral("閉じる"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(96, 160, 105, 33);
    btnClose->setDefault(true);
    connect(btnClose, &QPushButton::clicked, this, &TFAbout::btnCloseClick);
}

void TFAbout::btnCloseClick() { accept(); }

}  // namespace tamboro
