#include "masters/mente_form.h"

#include <QPushButton>

#include "controls/app_font.h"
#include "controls/message_boxes.h"
#include "data/data_module.h"

namespace tamboro {

TFMente::TFMente(TDM1& dm, const ImpressBoxTable* mainWindowBoxes, const ImpressBoxTable* editorBoxes,
                 QWidget* parent)
    : TFixedDialog(QSize(739, 553), CloseBox::None, parent),
      dm_(dm),
      mainWindowBoxes_(mainWindowBoxes),
      editorBoxes_(editorBoxes) {
    setObjectName(QStringLiteral("FMente"));
    setWindowTitle(QStringLiteral("設定"));
    setFont(appFont(12));
    BEnd = new QPushButton(QStringLiteral("閉じる (&X)"), this);
    BEnd->setObjectName(QStringLiteral("BEnd"));
    BEnd->setGeometry(297, 500, 145, 41);
    BEnd->setAutoDefault(false);
    connect(BEnd, &QPushButton::clicked, this, [this] { BEndClick(); });
}

void TFMente::BEndClick() {
    const bool done = guarded([this] {
        dm_.CImpress.first();
        captionImpressBoxes(dm_, {mainWindowBoxes_, editorBoxes_});
        dm_.CImpress.first();
    });
    if (done) accept();
}

}  // namespace tamboro
