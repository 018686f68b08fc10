// Building the main window: panels, criteria, grid, buttons, popup menu.
#include <QContextMenuEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "app/dvd_grid_columns.h"
#include "app/dvd_grid_view.h"
#include "app/main_window.h"
#include "controls/button_pictures.h"
#include "controls/form_page.h"
#include "controls/form_parts.h"
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

using Keep = std::function<void(QWidget*)>;

// A criterion: a control on a panel, one row high, with its input method
// mode and its place in the tab order.
FormRow criterionRow(const char* name, RowKind kind, const char* parent, int x, int y, int width, ImeMode ime,
                     int tab, Keep keep) {
    return {.name = name, .kind = kind, .parent = parent, .place = QRect(x, y, width, kRowHeight), .ime = ime,
            .tab = tab, .keep = std::move(keep)};
}

FormRow radioRow(const char* name, const char* parent, const char* caption, int x, int y, int width, int tab,
                 Keep keep) {
    return {.name = name, .kind = RowKind::RadioButton, .parent = parent, .place = QRect(x, y, width, kRowHeight),
            .tab = tab, .caption = QString::fromUtf8(caption), .keep = std::move(keep)};
}

FormRow labelRow(const char* parent, const char* caption, int x, int y, int width) {
    return {.kind = RowKind::Label, .parent = parent, .place = QRect(x, y, width, kRowHeight),
            .caption = QString::fromUtf8(caption)};
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

void TFMain::buildCriteria() {
    constexpr auto Combo = RowKind::RetComboBox, Edit = RowKind::RetEdit, Number = RowKind::NumberEdit;
    constexpr auto Open = ImeMode::Open, Close = ImeMode::Close;
    const int y = 7;            // top band: genres, then the three ratings headed by their tile
    const int r1 = 8, r2 = 36;  // second band, two rows
    std::vector<FormRow> rows = {
        labelRow("Panel4", "ジャンル（大分類）", 6, y, 106),
        criterionRow("CmbSGenre1", Combo, "Panel4", 112, y, 130, Close, 1, into(CmbSGenre1)),
        labelRow("Panel4", "ジャンル（小分類）", 250, y, 106),
        criterionRow("CmbSGenre2", Combo, "Panel4", 356, y, 130, Close, 2, into(CmbSGenre2)),
        {.name = "Panel17", .kind = RowKind::CaptionTile, .parent = "Panel4", .place = QRect(496, y, 38, kRowHeight),
         .caption = QStringLiteral("評価"), .keep = into(Panel17)},
        labelRow("Panel4", "総合", 542, y, 28),
        criterionRow("CmbSHyouka", Combo, "Panel4", 570, y, 46, Close, 3, into(CmbSHyouka)),
        labelRow("Panel4", "DVD", 622, y, 28),
        criterionRow("CmbSDvdHyouka", Combo, "Panel4", 650, y, 46, Close, 4, into(CmbSDvdHyouka)),
        labelRow("Panel4", "映画", 702, y, 28),
        criterionRow("CmbSCinemaHyouka", Combo, "Panel4", 730, y, 46, Close, 5, into(CmbSCinemaHyouka)),

        labelRow("pnlTop", "タイトル名", 6, r1, 60),
        criterionRow("ESTitle", Edit, "pnlTop", 66, r1, 252, Open, 6, into(ESTitle)),
        labelRow("pnlTop", "製作年", 328, r1, 40),
        criterionRow("ESSeisakunen", Number, "pnlTop", 368, r1, 50, Close, 7, into(ESSeisakunen)),
        radioRow("RdSeisakuNen1", "pnlTop", "以前", 424, r1, 50, 8, into(RdSeisakuNen1)),
        radioRow("RdSeisakuNen2", "pnlTop", "以降", 476, r1, 50, 9, into(RdSeisakuNen2)),
        labelRow("pnlTop", "製作国", 538, r1, 40),
        criterionRow("ESSeisakuKoku", Edit, "pnlTop", 578, r1, 120, Open, 10, into(ESSeisakuKoku)),
        labelRow("pnlTop", "監督", 6, r2, 60),
        criterionRow("ESKantoku", Edit, "pnlTop", 66, r2, 150, Open, 11, into(ESKantoku)),
        labelRow("pnlTop", "出演者", 226, r2, 40),
        criterionRow("ESShutsuen", Edit, "pnlTop", 266, r2, 152, Open, 12, into(ESShutsuen)),
        labelRow("pnlTop", "サウンド", 428, r2, 50),
        criterionRow("CmbSSound", Combo, "pnlTop", 478, r2, 130, Close, 13, into(CmbSSound)),
        labelRow("pnlTop", "音声言語", 618, r2, 50),
        criterionRow("CmbSLange", Combo, "pnlTop", 668, r2, 112, Close, 14, into(CmbSLange)),

        // Left column: last watched (its calendar button comes below), watch count, running time.
        labelRow("Panel3", "前回鑑賞日", 8, 4, 64),
        criterionRow("ESKanshouDate", Edit, "Panel3", 8, 27, 100, Close, 15, into(ESKanshouDate)),
        radioRow("RdKanshou1", "Panel3", "以前", 8, 50, 56, 16, into(RdKanshou1)),
        radioRow("RdKanshou2", "Panel3", "以降", 66, 50, 56, 17, into(RdKanshou2)),
        labelRow("Panel2", "鑑賞回数", 8, 4, 52),
        criterionRow("ESKaisuu", Number, "Panel2", 62, 4, 50, Close, 18, into(ESKaisuu)),
        labelRow("Panel2", "回", 116, 4, 20),
        radioRow("RdKaisuu1", "Panel2", "以下", 8, 28, 56, 19, into(RdKaisuu1)),
        radioRow("RdKaisuu2", "Panel2", "以上", 66, 28, 56, 20, into(RdKaisuu2)),
        labelRow("Panel5", "収録時間", 8, 4, 52),
        criterionRow("ESShuuroku", Number, "Panel5", 62, 4, 50, Close, 21, into(ESShuuroku)),
        labelRow("Panel5", "分", 116, 4, 20),
        radioRow("RdShuuroku1", "Panel5", "以下", 8, 28, 56, 22, into(RdShuuroku1)),
        radioRow("RdShuuroku2", "Panel5", "以上", 66, 28, 56, 23, into(RdShuuroku2)),
    };
    static const char* const kImpressNames[] = {"ChkSImpress1", "ChkSImpress2", "ChkSImpress3", "ChkSImpress4",
                                                "ChkSImpress5", "ChkSImpress6", "ChkSImpress7", "ChkSImpress8",
                                                "ChkSImpress9", "ChkSImpress10"};
    for (int n = 1; n <= 10; ++n)
        rows.push_back({.name = kImpressNames[n - 1], .kind = RowKind::RetCheckBox, .parent = "Panel15",
                        .place = QRect(10, 6 + (n - 1) * 22, kLeftWidth - 16, 20), .tab = 23 + n,
                        .keep = into(ChkSImpress[static_cast<size_t>(n)])});
    buildFormPage(this, rows);

    for (TRetComboBox* c : {CmbSGenre1, CmbSGenre2, CmbSHyouka, CmbSDvdHyouka, CmbSCinemaHyouka, CmbSSound, CmbSLange})
        c->setMaxVisibleItems(16);
    const QStringList ratings{QStringLiteral("5"), QStringLiteral("4"), QStringLiteral("3"),
                              QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("0")};
    // Shown empty, as no rating criterion is in force, also before the first
    // activation clears the criteria (a desktop may show the window inactive).
    for (TRetComboBox* c : {CmbSHyouka, CmbSDvdHyouka, CmbSCinemaHyouka}) {
        c->addItems(ratings);
        c->setCurrentIndex(-1);
        c->setEditText(QString());
    }
    for (QRadioButton* r : {RdSeisakuNen1, RdKanshou1, RdKaisuu1, RdShuuroku1}) r->setChecked(true);
    for (int n = 1; n <= 10; ++n) ChkSImpress[static_cast<size_t>(n)]->setProperty("Tag", n);

    auto* calendar = named(new QToolButton(Panel3), "SPopUpCalcBtn", QRect(74, 4, 22, kRowHeight));
    calendar->setAutoRaise(true);
    calendar->setFocusPolicy(Qt::NoFocus);
    calendar->setIcon(buttonPicture(ButtonPicture::Calendar));
    calendar->setToolTip(QStringLiteral("Calendar"));
    SPopUpCalcBtn = calendar;
}

void TFMain::buildGrid() {
    DvdGrid = named(new DvdGridView(Panel1), "DvdGrid", Panel1->rect());
    gridModel_ = new TableModel(dm_.DvdSource, dvdGridColumns(), this);
    DvdGrid->setModel(gridModel_);
    // The given widths, widened where a column's title or its widest usual
    // value would be cut.
    const QFontMetrics fm(DvdGrid->font());
    for (int c = 0; c < gridModel_->columnCount(); ++c)
        DvdGrid->setColumnWidth(
            c, std::max(gridModel_->columnWidth(c, fm), DvdGrid->widthToShow(c, gridModel_->column(c).widest)));
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
    // The criteria are chained already, panel by panel, ending with the
    // impression boxes (Panel15); the grid and the buttons follow.
    std::vector<QWidget*> chain = {ChkSImpress[10], DvdGrid};
    for (QWidget* b : {BSearch, BKaijo, BSTouroku, BSTitle, BSGenre, BAdd, BEdit, BPrint, BMente, BSClose})
        chain.push_back(b);  // pnlRight
    for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

}  // namespace tamboro
