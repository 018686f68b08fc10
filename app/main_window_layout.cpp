// Building the main window: panels, criteria, grid, buttons, popup menu.
#include <QContextMenuEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "app/button_pictures.h"
#include "app/dvd_grid_model.h"
#include "app/dvd_grid_view.h"
#include "app/main_window.h"
#include "controls/form_parts.h"
#include "controls/ime_mode.h"
#include "controls/r_edit.h"
#include "controls/ret_check_box.h"
#include "controls/ret_combo_box.h"
#include "controls/ret_edit.h"
#include "data/data_module.h"

namespace tamboro {
namespace {

// Band and column sizes of the client area (792 x 553).
constexpr int kWidth = 792;
constexpr int kHeight = 553;
constexpr int kTopBand = 36;
constexpr int kSecondBand = 65;
constexpr int kBandsBottom = kTopBand + kSecondBand;
constexpr int kRightWidth = 166;
constexpr int kGridWidth = 457;
constexpr int kLeftWidth = kWidth - kRightWidth - kGridWidth;

TRetComboBox* criterionCombo(QWidget* parent, const char* name, const QRect& r) {
    auto* c = named(new TRetComboBox(parent), name, r);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    // Typing stays typing: no completion from the entries.
    c->setCompleter(nullptr);
    c->setMaxVisibleItems(16);
    setImeMode(c, ImeMode::Close);
    return c;
}

TRetEdit* criterionEdit(QWidget* parent, const char* name, const QRect& r, ImeMode ime) {
    auto* e = named(new TRetEdit(parent), name, r);
    setImeMode(e, ime);
    return e;
}

TREdit* numberEdit(QWidget* parent, const char* name, const QRect& r) {
    auto* e = named(new TREdit(parent), name, r);
    e->setTextAlignment(TREdit::taRightJustify);
    e->setNumericType(TREdit::ntPlusInteger);
    setImeMode(e, ImeMode::Close);
    return e;
}

QRadioButton* radio(QWidget* parent, const char* name, const QString& text, const QRect& r, bool checked = false) {
    auto* b = named(new QRadioButton(text, parent), name, r);
    b->setChecked(checked);
    return b;
}

}  // namespace

void TFMain::buildPanels() {
    Panel4 = panel(this, "Panel4", QRect(0, 0, kWidth, kTopBand));
    pnlTop = panel(this, "pnlTop", QRect(0, kTopBand, kWidth, kSecondBand), QFrame::Sunken);
    const int leftHeights[] = {76, 54, 54};
    int y = kBandsBottom;
    Panel3 = panel(this, "Panel3", QRect(0, y, kLeftWidth, leftHeights[0]));
    y += leftHeights[0];
    Panel2 = panel(this, "Panel2", QRect(0, y, kLeftWidth, leftHeights[1]));
    y += leftHeights[1];
    Panel5 = panel(this, "Panel5", QRect(0, y, kLeftWidth, leftHeights[2]));
    y += leftHeights[2];
    Panel15 = panel(this, "Panel15", QRect(0, y, kLeftWidth, kHeight - y));
    Panel1 = panel(this, "Panel1", QRect(kLeftWidth, kBandsBottom, kGridWidth, kHeight - kBandsBottom), QFrame::Plain);
    Panel1->setFrameShape(QFrame::NoFrame);
    pnlRight = panel(this, "pnlRight", QRect(kWidth - kRightWidth, kBandsBottom, kRightWidth, kHeight - kBandsBottom));
}

void TFMain::buildCriteriaTop() {
    // Top band: genres, then the three ratings headed by their small panel.
    const int y = 7;
    label(Panel4, QStringLiteral("ジャンル（大分類）"), 6, y, 106);
    CmbSGenre1 = criterionCombo(Panel4, "CmbSGenre1", QRect(112, y, 130, kRowHeight));
    label(Panel4, QStringLiteral("ジャンル（小分類）"), 250, y, 106);
    CmbSGenre2 = criterionCombo(Panel4, "CmbSGenre2", QRect(356, y, 130, kRowHeight));
    Panel17 = captionTile(Panel4, "Panel17", QStringLiteral("評価"), QRect(496, y, 38, kRowHeight));
    const QStringList ratings{QStringLiteral("5"), QStringLiteral("4"), QStringLiteral("3"),
                              QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("0")};
    label(Panel4, QStringLiteral("総合"), 542, y, 28);
    CmbSHyouka = criterionCombo(Panel4, "CmbSHyouka", QRect(570, y, 46, kRowHeight));
    label(Panel4, QStringLiteral("DVD"), 622, y, 28);
    CmbSDvdHyouka = criterionCombo(Panel4, "CmbSDvdHyouka", QRect(650, y, 46, kRowHeight));
    label(Panel4, QStringLiteral("映画"), 702, y, 28);
    CmbSCinemaHyouka = criterionCombo(Panel4, "CmbSCinemaHyouka", QRect(730, y, 46, kRowHeight));
    for (TRetComboBox* c : {CmbSHyouka, CmbSDvdHyouka, CmbSCinemaHyouka}) c->addItems(ratings);

    // Second band, two rows.
    const int r1 = 8, r2 = 36;
    label(pnlTop, QStringLiteral("タイトル名"), 6, r1, 60);
    ESTitle = criterionEdit(pnlTop, "ESTitle", QRect(66, r1, 252, kRowHeight), ImeMode::Open);
    label(pnlTop, QStringLiteral("製作年"), 328, r1, 40);
    ESSeisakunen = numberEdit(pnlTop, "ESSeisakunen", QRect(368, r1, 50, kRowHeight));
    RdSeisakuNen1 = radio(pnlTop, "RdSeisakuNen1", QStringLiteral("以前"), QRect(424, r1, 50, kRowHeight), true);
    RdSeisakuNen2 = radio(pnlTop, "RdSeisakuNen2", QStringLiteral("以降"), QRect(476, r1, 50, kRowHeight));
    label(pnlTop, QStringLiteral("製作国"), 538, r1, 40);
    ESSeisakuKoku = criterionEdit(pnlTop, "ESSeisakuKoku", QRect(578, r1, 120, kRowHeight), ImeMode::Open);
    label(pnlTop, QStringLiteral("監督"), 6, r2, 60);
    ESKantoku = criterionEdit(pnlTop, "ESKantoku", QRect(66, r2, 150, kRowHeight), ImeMode::Open);
    label(pnlTop, QStringLiteral("出演者"), 226, r2, 40);
    ESShutsuen = criterionEdit(pnlTop, "ESShutsuen", QRect(266, r2, 152, kRowHeight), ImeMode::Open);
    label(pnlTop, QStringLiteral("サウンド"), 428, r2, 50);
    CmbSSound = criterionCombo(pnlTop, "CmbSSound", QRect(478, r2, 130, kRowHeight));
    label(pnlTop, QStringLiteral("音声言語"), 618, r2, 50);
    CmbSLange = criterionCombo(pnlTop, "CmbSLange", QRect(668, r2, 112, kRowHeight));
}

void TFMain::buildCriteriaLeft() {
    label(Panel3, QStringLiteral("前回鑑賞日"), 8, 4, 64);
    auto* calendar = named(new QToolButton(Panel3), "SPopUpCalcBtn", QRect(74, 4, 22, kRowHeight));
    calendar->setAutoRaise(true);
    calendar->setFocusPolicy(Qt::NoFocus);
    calendar->setIcon(buttonPicture(ButtonPicture::Calendar));
    calendar->setToolTip(QStringLiteral("Calendar"));
    SPopUpCalcBtn = calendar;
    ESKanshouDate = criterionEdit(Panel3, "ESKanshouDate", QRect(8, 27, 100, kRowHeight), ImeMode::Close);
    RdKanshou1 = radio(Panel3, "RdKanshou1", QStringLiteral("以前"), QRect(8, 50, 56, kRowHeight), true);
    RdKanshou2 = radio(Panel3, "RdKanshou2", QStringLiteral("以降"), QRect(66, 50, 56, kRowHeight));

    label(Panel2, QStringLiteral("鑑賞回数"), 8, 4, 52);
    ESKaisuu = numberEdit(Panel2, "ESKaisuu", QRect(62, 4, 50, kRowHeight));
    label(Panel2, QStringLiteral("回"), 116, 4, 20);
    RdKaisuu1 = radio(Panel2, "RdKaisuu1", QStringLiteral("以下"), QRect(8, 28, 56, kRowHeight), true);
    RdKaisuu2 = radio(Panel2, "RdKaisuu2", QStringLiteral("以上"), QRect(66, 28, 56, kRowHeight));

    label(Panel5, QStringLiteral("収録時間"), 8, 4, 52);
    ESShuuroku = numberEdit(Panel5, "ESShuuroku", QRect(62, 4, 50, kRowHeight));
    label(Panel5, QStringLiteral("分"), 116, 4, 20);
    RdShuuroku1 = radio(Panel5, "RdShuuroku1", QStringLiteral("以下"), QRect(8, 28, 56, kRowHeight), true);
    RdShuuroku2 = radio(Panel5, "RdShuuroku2", QStringLiteral("以上"), QRect(66, 28, 56, kRowHeight));

    for (int n = 1; n <= 10; ++n) {
        auto* box = new TRetCheckBox(Panel15);
        box->setObjectName(QStringLiteral("ChkSImpress%1").arg(n));
        box->setProperty("Tag", n);
        box->setGeometry(10, 6 + (n - 1) * 22, kLeftWidth - 16, 20);
        ChkSImpress[static_cast<size_t>(n)] = box;
    }
}

void TFMain::buildGrid() {
    DvdGrid = named(new DvdGridView(Panel1), "DvdGrid", Panel1->rect());
    gridModel_ = new DvdGridModel(dm_.DvdSource, this);
    DvdGrid->setModel(gridModel_);
    // The given widths, widened where a column's title or its widest usual
    // value would be cut.
    const QFontMetrics fm(DvdGrid->font());
    for (int c = 0; c < gridModel_->columnCount(); ++c)
        DvdGrid->setColumnWidth(
            c, std::max(gridModel_->columnWidth(c, fm), DvdGrid->widthToShow(c, gridModel_->widestText(c))));
}

void TFMain::buildButtons() {
    struct Spec {
        QPushButton** button;
        const char* name;
        const char* caption;
        ButtonPicture picture;
        int gapBefore;
    };
    const Spec specs[] = {
        {&BSearch, "BSearch", "抽出 (&T)", ButtonPicture::Search, 4},
        {&BKaijo, "BKaijo", "抽出解除 (&K)", ButtonPicture::ClearSearch, 0},
        {&BSTouroku, "BSTouroku", "登録番号順", ButtonPicture::SortByNumber, 11},
        {&BSTitle, "BSTitle", "タイトル名順", ButtonPicture::SortByTitle, 0},
        {&BSGenre, "BSGenre", "ジャンル順", ButtonPicture::SortByGenre, 0},
        {&BAdd, "BAdd", "新規 (&N)", ButtonPicture::NewTitle, 11},
        {&BEdit, "BEdit", "閲覧・修正 (&E)", ButtonPicture::EditTitle, 0},
        {&BPrint, "BPrint", "印刷(&P)", ButtonPicture::Print, 11},
        {&BMente, "BMente", "設定 (&S)", ButtonPicture::Settings, 0},
        {&BSClose, "BSClose", "終了 (&X)", ButtonPicture::Exit, 0},
    };
    const int x = (kRightWidth - 153) / 2;
    int y = 0;
    for (const Spec& s : specs) {
        y += s.gapBefore;
        auto* b = named(new QPushButton(QString::fromUtf8(s.caption), pnlRight), s.name, QRect(x, y, 153, 41));
        b->setIcon(buttonPicture(s.picture));
        b->setIconSize(QSize(32, 32));
        b->setAutoDefault(false);
        *s.button = b;
        y += 41;
    }
}

void TFMain::buildPopupMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char* name, const char* caption, void (TFMain::*handler)()) {
        QAction* a = PopupMenu1->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        if (handler) connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return a;
    };
    auto separator = [this](const char* name) { PopupMenu1->addSeparator()->setObjectName(QString::fromLatin1(name)); };
    item("N1", "新規(&N)", &TFMain::BAddClick);
    item("E1", "閲覧・修正(&E)", &TFMain::BEditClick);
    separator("N2");
    item("S1", "設定(&S)", &TFMain::BMenteClick);
    item("NFieldAdd", "フィールドデータ更新", nullptr);  // kept in the menu; does nothing
    separator("N4");
    item("BackupB1", "ﾊﾞｯｸｱｯﾌﾟﾃﾞｰﾀの作成(&B)", &TFMain::BackupB1Click);
    item("BackUpF1", "ﾊﾞｯｸｱｯﾌﾟﾃﾞｰﾀの復元(&F)", &TFMain::BackUpF1Click);
    separator("N3");
    item("About1", "ﾊﾞｰｼﾞｮﾝ情報(&A)", &TFMain::About1Click);
    item("Exit1", "終了(&X)", &TFMain::BSCloseClick);

    // Right-clicks on these panels, and on controls on them without a menu
    // of their own, reach the panel and open the menu there.
    for (QFrame* p : {Panel4, Panel1, pnlRight, Panel3, Panel2, Panel5, Panel15}) {
        p->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(p, &QWidget::customContextMenuRequested, this,
                [this, p](const QPoint& pos) { PopupMenu1->popup(p->mapToGlobal(pos)); });
    }
}

void TFMain::setTabOrder() {
    const std::vector<QWidget*> chain = {
        CmbSGenre1,   CmbSGenre2,   CmbSHyouka,    CmbSDvdHyouka, CmbSCinemaHyouka,  // Panel4
        ESTitle,      ESSeisakunen, RdSeisakuNen1, RdSeisakuNen2, ESSeisakuKoku,
        ESKantoku,    ESShutsuen,   CmbSSound,     CmbSLange,                         // pnlTop
        ESKanshouDate, RdKanshou1,  RdKanshou2,                                       // Panel3
        ESKaisuu,     RdKaisuu1,    RdKaisuu2,                                        // Panel2
        ESShuuroku,   RdShuuroku1,  RdShuuroku2,                                      // Panel5
    };
    std::vector<QWidget*> all = chain;
    for (int n = 1; n <= 10; ++n) all.push_back(ChkSImpress[static_cast<size_t>(n)]);  // Panel15
    all.push_back(DvdGrid);                                                               // Panel1
    for (QWidget* b : {BSearch, BKaijo, BSTouroku, BSTitle, BSGenre, BAdd, BEdit, BPrint, BMente, BSClose})
        all.push_back(b);  // pnlRight
    for (size_t i = 1; i < all.size(); ++i) QWidget::setTabOrder(all[i - 1], all[i]);
}

}  // namespace tamboro
