#include "editor/data_in_form.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "controls/app_font.h"
#include "controls/message_boxes.h"
#include "controls/sjis_qt.h"
#include "data/data_module.h"

namespace tamboro {

TFDataIn::TFDataIn(TDM1& dm, QWidget* parent) : TFixedDialog(QSize(792, 553), CloseBox::None, parent), dm_(dm) {
    setObjectName(QStringLiteral("FDataIn"));
    setWindowTitle(QStringLiteral("詳細"));
    setFont(appFont(12));

    auto* strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("Panel4"));
    strip->setFrameShape(QFrame::Panel);
    strip->setFrameShadow(QFrame::Raised);
    strip->setGeometry(0, 0, 792, 60);
    auto* codeLabel = new QLabel(QStringLiteral("CODE"), strip);
    codeLabel->setGeometry(12, 10, 60, 18);
    code_ = new QLabel(strip);
    code_->setObjectName(QStringLiteral("DBTextCode"));
    code_->setGeometry(80, 10, 100, 18);
    auto* titleLabel = new QLabel(QStringLiteral("タイトル"), strip);
    titleLabel->setGeometry(12, 34, 60, 18);
    title_ = new QLabel(strip);
    title_->setObjectName(QStringLiteral("DBTextTitle"));
    title_->setGeometry(80, 34, 600, 18);

    auto* impressions = new QFrame(this);
    impressions->setObjectName(QStringLiteral("PageCntl"));
    impressions->setFrameShape(QFrame::Panel);
    impressions->setFrameShadow(QFrame::Sunken);
    impressions->setGeometry(0, 60, 626, 493);
    for (int n = 1; n <= 10; ++n) {
        auto* box = new QCheckBox(impressions);
        box->setObjectName(QStringLiteral("ChkImpress%1").arg(n));
        box->setEnabled(false);
        box->setGeometry(16, 12 + (n - 1) * 22, 200, 20);
    }

    BEnd = new QPushButton(QStringLiteral("閉じる (&X)"), this);
    BEnd->setObjectName(QStringLiteral("BEnd"));
    BEnd->setGeometry(632, 500, 153, 41);
    BEnd->setAutoDefault(false);
    connect(BEnd, &QPushButton::clicked, this, [this] { BEndClick(); });
}

void TFDataIn::FormCreate(const ImpressBoxTable& mainWindowBoxes) {
    ImpressChecks = findImpressBoxes(*this, "ChkImpress");
    dm_.OpenForEditor();
    captionImpressBoxes(dm_, {&mainWindowBoxes, &ImpressChecks});
    if (dm_.CImpress.active()) dm_.CImpress.first();
}

void TFDataIn::AddNewTitle() { dm_.AddNewTitle(); }

int32_t TFDataIn::lastCode() const { return dm_.lastCode(); }

void TFDataIn::BEndClick() {
    const bool posted = guarded([this] {
        const TableState s = dm_.CDvd.state();
        if (s == TableState::Edit || s == TableState::Insert) dm_.CDvd.post();
    });
    if (posted) accept();
}

void TFDataIn::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    guarded([this] { showCurrentTitle(); });
}

void TFDataIn::showCurrentTitle() {
    if (!dm_.CDvd.active()) {
        code_->clear();
        title_->clear();
        return;
    }
    code_->setText(fieldText(dm_.CDvd.fieldU8(fld::Code)));
    title_->setText(fieldText(dm_.CDvd.fieldU8(fld::Title)));
}

}  // namespace tamboro
