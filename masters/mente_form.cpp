#include "masters/mente_form.h"

#include <QPushButton>

#include "controls/app_font.h"
#include "controls/caption_db_navi.h"
#include "controls/db_grid.h"
#include "controls/form_parts.h"
#include "controls/message_boxes.h"
#include "data/catalogue_schema.h"
#include "data/data_module.h"

namespace tamboro {
namespace {

using Navi = TCaptionDBNavi;

const QColor kGenreColour(0x80, 0xFF, 0x80);
const QColor kListColour(0x80, 0xFF, 0xFF);
const QColor kImpressColour(0xFF, 0x80, 0x40);

// A navigator over a list: the visible buttons with their captions; the
// hidden positions before them carry a placeholder.
TCaptionDBNavi* listNavigator(QWidget* parent, const char* name, DataSource& source, const QRect& place,
                              const QList<Navi::TNavigateBtn>& kinds) {
    auto* navi = named(new TCaptionDBNavi(parent), name, place);
    navi->setDataSource(&source);
    QStringList captions(Navi::kButtonCount, QStringLiteral("あ"));
    QStringList hints(Navi::kButtonCount, QString());
    captions[Navi::nbInsert] = QStringLiteral("挿入");
    captions[Navi::nbDelete] = QStringLiteral("削除");
    captions[Navi::nbPost] = QStringLiteral("更新");
    hints[Navi::nbInsert] = QStringLiteral("レコードの挿入");
    hints[Navi::nbDelete] = QStringLiteral("レコードの削除");
    hints[Navi::nbPost] = QStringLiteral("レコードの登録");
    navi->setCaptions(captions);
    navi->setHints(hints);
    navi->setShowHint(true);
    navi->setVisibleButtons(kinds);
    navi->setGeometry(place);  // again: with ten buttons it could not be this narrow
    return navi;
}

TDBGrid* listGrid(QWidget* parent, const char* name, DataSource& source, const QRect& place,
                  std::vector<TableColumn> columns) {
    return named(new TDBGrid(source, std::move(columns), parent), name, place);
}

// Posts the row the grid's table is still editing once the grid is left.
void postIfEditing(Table& t) {
    if (t.state() == TableState::Edit || t.state() == TableState::Insert) t.post();
}

}  // namespace

TFMente::TFMente(TDM1& dm, const ImpressBoxTable* mainWindowBoxes, const ImpressBoxTable* editorBoxes,
                 QWidget* parent)
    : TFixedDialog(QSize(739, 553), CloseBox::None, parent),
      dm_(dm),
      mainWindowBoxes_(mainWindowBoxes),
      editorBoxes_(editorBoxes) {
    setObjectName(QStringLiteral("FMente"));
    setWindowTitle(QStringLiteral("設定"));
    setFont(appFont(12));
    buildGroups();
    BEnd = new QPushButton(QStringLiteral("閉じる (&X)"), this);
    BEnd->setObjectName(QStringLiteral("BEnd"));
    BEnd->setGeometry(332, 504, 145, 41);
    BEnd->setAutoDefault(false);
    connect(BEnd, &QPushButton::clicked, this, [this] { BEndClick(); });
    connectExits();
    setTabOrder();
}

void TFMente::buildGroups() {
    const auto insertDeletePost = QList<Navi::TNavigateBtn>{Navi::nbInsert, Navi::nbDelete, Navi::nbPost};
    const QRect naviPlace(6, 30, 150, 38);

    // The two genre lists share the left column, major above minor.
    Panel2 = panel(this, "Panel2", QRect(8, 8, 294, 537), QFrame::Sunken);
    captionTile(Panel2, "GenreTile", QStringLiteral("ジャンル（大分類）"), QRect(6, 6, 128, 20), kGenreColour);
    CaptionDBNavi2 = listNavigator(Panel2, "CaptionDBNavi2", dm_.GenreSource, naviPlace, insertDeletePost);
    GenreGrid = listGrid(Panel2, "GenreGrid", dm_.GenreSource, QRect(6, 72, 282, 190),
                         {{fld::GenreCode1, QStringLiteral("大分類")}, {fld::GenreName, QStringLiteral("ジャンル"), 198}});
    captionTile(Panel2, "Genre2Tile", QStringLiteral("ジャンル（小分類）"), QRect(6, 274, 128, 20), kGenreColour);
    CaptionDBNavi3 = listNavigator(Panel2, "CaptionDBNavi3", dm_.GenreSource2, naviPlace.translated(0, 268),
                                   insertDeletePost);
    Genre2Grid = listGrid(Panel2, "Genre2Grid", dm_.GenreSource2, QRect(6, 340, 282, 190),
                          {{fld::GenreCode2, QStringLiteral("小分類")}, {fld::GenreName2, QStringLiteral("ジャンル"), 197}});

    Panel4 = panel(this, "Panel4", QRect(310, 8, 421, 246), QFrame::Sunken);
    captionTile(Panel4, "SoundTile", QStringLiteral("サウンド"), QRect(6, 6, 90, 20), kListColour);
    CaptionDBNavi1 = listNavigator(Panel4, "CaptionDBNavi1", dm_.SoundSource, naviPlace, insertDeletePost);
    SoundGrid = listGrid(Panel4, "SoundGrid", dm_.SoundSource, QRect(6, 72, 330, 168),
                         {{fld::SoundCd, QStringLiteral("CODE"), 60}, {fld::SoundName, QStringLiteral("サウンド"), 231}});

    Panel7 = panel(this, "Panel7", QRect(310, 262, 190, 232), QFrame::Sunken);
    captionTile(Panel7, "LangeTile", QStringLiteral("音声言語"), QRect(6, 6, 90, 20), kListColour);
    CaptionDBNavi5 = listNavigator(Panel7, "CaptionDBNavi5", dm_.LangeSource, naviPlace, insertDeletePost);
    LangeGrid = listGrid(Panel7, "LangeGrid", dm_.LangeSource, QRect(6, 72, 150, 154),
                         {{fld::LangeCd, QStringLiteral("CODE"), 40}, {fld::LangeName, QStringLiteral("言語"), 68}});

    // The impressions are only renamed here: the grid comes first, its
    // navigator only posts.
    Panel1 = panel(this, "Panel1", QRect(508, 262, 223, 283), QFrame::Sunken);
    captionTile(Panel1, "ImpressTile", QStringLiteral("印象"), QRect(6, 6, 90, 20), kImpressColour);
    ImpressGrid = listGrid(Panel1, "ImpressGrid", dm_.ImpressSource, QRect(6, 30, 140, 226),
                           {{fld::ImpName, QStringLiteral("印象"), 100}});
    CaptionDBNavi4 = listNavigator(Panel1, "CaptionDBNavi4", dm_.ImpressSource, QRect(152, 30, 62, 38),
                                   {Navi::nbPost});
}

void TFMente::connectExits() {
    const std::pair<TDBGrid*, void (TFMente::*)()> exits[] = {
        {GenreGrid, &TFMente::GenreGridExit}, {Genre2Grid, &TFMente::Genre2GridExit},
        {SoundGrid, &TFMente::SoundGridExit}, {LangeGrid, &TFMente::LangeGridExit},
        {ImpressGrid, &TFMente::ImpressGridExit}};
    for (const auto& [grid, handler] : exits)
        connect(grid, &TDBGrid::exited, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
}

void TFMente::setTabOrder() {
    QWidget* order[] = {CaptionDBNavi2, GenreGrid, CaptionDBNavi3, Genre2Grid, CaptionDBNavi1, SoundGrid,
                        CaptionDBNavi5, LangeGrid,      ImpressGrid, CaptionDBNavi4, BEnd};
    for (size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void TFMente::GenreGridExit() { postIfEditing(dm_.CGenre); }
void TFMente::Genre2GridExit() { postIfEditing(dm_.CGenre2); }
void TFMente::SoundGridExit() { postIfEditing(dm_.CSound); }
void TFMente::LangeGridExit() { postIfEditing(dm_.CLange); }
void TFMente::ImpressGridExit() { postIfEditing(dm_.CImpress); }

void TFMente::BEndClick() {
    // A text a grid refused as the button took the focus keeps the window
    // open on it (its message is on its way); any other pending cell is
    // written now.
    for (TDBGrid* grid : {GenreGrid, Genre2Grid, SoundGrid, LangeGrid, ImpressGrid})
        if (grid->editorShown() && (grid->textRefused() || !grid->writeCell())) return;
    const bool done = guarded([this] {
        dm_.CImpress.first();
        captionImpressBoxes(dm_, {mainWindowBoxes_, editorBoxes_});
        dm_.CImpress.first();
    });
    if (done) accept();
}

}  // namespace tamboro
