#include "editor/data_in_history_page.h"

#include <QDate>
#include <QDialog>
#include <QFrame>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/button_pictures.h"
#include "controls/caption_db_navi.h"
#include "controls/db_grid.h"
#include "controls/form_parts.h"
#include "controls/ime_mode.h"
#include "controls/message_boxes.h"
#include "controls/ret_edit.h"
#include "controls/sjis_qt.h"
#include "data/catalogue_schema.h"
#include "data/data_module.h"
#include "data/error.h"
#include "data/locale_jp.h"
#include "data/messages.h"
#include "editor/br_date_form.h"

namespace tamboro {

HistoryPage::HistoryPage(TDM1& dm, TBrDateForm* datePicker, QWidget* page)
    : QObject(page), dm_(dm), datePicker_(datePicker), page_(page) {
    setObjectName(QStringLiteral("HistoryPage"));
    buildPanel();
    buildGrid();
    auto* layout = new QVBoxLayout(page_);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(Panel16);
    layout->addWidget(HistoryGrid, 1);
    for (auto [from, to] : {std::pair<QWidget*, QWidget*>{EComent, BAdd2}, {BAdd2, BDel2}, {BDel2, CaptionDBNavi4},
                            {CaptionDBNavi4, HistoryGrid}})
        QWidget::setTabOrder(from, to);
}

void HistoryPage::buildPanel() {
    Panel16 = panel(page_, "Panel16", QRect(0, 0, 600, 66));
    Panel16->setFixedHeight(66);

    label(Panel16, QStringLiteral("鑑賞日"), 8, 8, 44);
    // Only the calendar fills the date, so its text always converts.
    EApprecDate = named(new TRetEdit(Panel16), "EApprecDate", QRect(52, 8, 80, kRowHeight));
    EApprecDate->setReadOnly(true);
    EApprecDate->setFocusPolicy(Qt::ClickFocus);
    setImeMode(EApprecDate, ImeMode::Close);
    PopupCalcBtn3 = named(new QToolButton(Panel16), "PopupCalcBtn3", QRect(133, 8, 22, kRowHeight));
    PopupCalcBtn3->setAutoRaise(true);
    PopupCalcBtn3->setFocusPolicy(Qt::NoFocus);
    PopupCalcBtn3->setIcon(buttonPicture(ButtonPicture::Calendar));
    PopupCalcBtn3->setToolTip(QStringLiteral("Calendar"));

    BAdd2 = named(new QPushButton(QStringLiteral("追加"), Panel16), "BAdd2", QRect(172, 2, 54, 33));
    BDel2 = named(new QPushButton(QStringLiteral("削除"), Panel16), "BDel2", QRect(230, 2, 54, 33));
    for (QPushButton* b : {BAdd2, BDel2}) b->setAutoDefault(false);

    CaptionDBNavi4 = named(new TCaptionDBNavi(Panel16), "CaptionDBNavi4", QRect(288, 2, 60, 33));
    CaptionDBNavi4->setDataSource(&dm_.HistorySource);
    QStringList captions(TCaptionDBNavi::kButtonCount, QStringLiteral("あ"));
    captions[TCaptionDBNavi::nbPost] = QStringLiteral("更新");
    CaptionDBNavi4->setCaptions(captions);
    CaptionDBNavi4->setShowHint(true);
    CaptionDBNavi4->setVisibleButtons({TCaptionDBNavi::nbPost});
    CaptionDBNavi4->setGeometry(288, 2, 60, 33);  // again: with ten buttons it could not be this narrow

    label(Panel16, QStringLiteral("コメント・メモ"), 8, 40, 84);
    EComent = named(new TRetEdit(Panel16), "EComent", QRect(92, 40, 480, kRowHeight));
    setImeMode(EComent, ImeMode::Open);

    connect(PopupCalcBtn3, &QToolButton::clicked, this, [this] { PopupCalcBtn3Click(); });
    connect(BAdd2, &QPushButton::clicked, this, [this] { BAdd2Click(); });
    connect(BDel2, &QPushButton::clicked, this, [this] { BDel2Click(); });
}

void HistoryPage::buildGrid() {
    HistoryGrid = new TDBGrid(dm_.HistorySource,
                              {{fld::AppRecDate, QStringLiteral("鑑賞日"), 85},
                               {fld::Coment, QStringLiteral("コメント・メモ"), 480}},
                              page_);
    HistoryGrid->setObjectName(QStringLiteral("HistoryGrid"));
    connect(HistoryGrid, &TDBGrid::exited, this, [this] { guarded([this] { HistoryGridExit(); }); });
}

void HistoryPage::PopupCalcBtn3Click() {
    if (!datePicker_) return;
    const bool ready = guarded([this] {
        const QString text = EApprecDate->text();
        datePicker_->SetDate(startDateFor(text));
    });
    if (!ready || datePicker_->exec() != QDialog::Accepted) return;
    guarded([this] { EApprecDate->setText(QString::fromStdString(formatDateTime(datePicker_->GetDate()))); });
}

void HistoryPage::BAdd2Click() {
    if (EApprecDate->text().isEmpty()) return;
    guarded([this] {
        Table& history = dm_.CHistory;
        history.append();
        history.fieldU8(fld::AppRecDate).setText(toSjisQ(EApprecDate->text()));
        history.fieldU8(fld::Coment).setString(toSjisQ(EComent->text()));
        history.post();
        EApprecDate->clear();
        EComent->clear();
    });
}

void HistoryPage::BDel2Click() {
    guarded([this] { dm_.CHistory.remove(); });
}

void HistoryPage::HistoryGridExit() {
    Table& history = dm_.CHistory;
    if (history.state() == TableState::Edit || history.state() == TableState::Insert) history.post();
}

}  // namespace tamboro
