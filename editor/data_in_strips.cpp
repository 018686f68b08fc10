#include "editor/data_in_strips.h"

#include "controls/form_parts.h"
#include "data/catalogue_schema.h"

namespace tamboro {
namespace {

FormRow caption(const char* parent, const char* text, int x, int y, int width) {
    return {.kind = RowKind::Label, .parent = parent, .place = QRect(x, y, width, kRowHeight),
            .caption = QString::fromUtf8(text)};
}

}  // namespace

std::vector<FormRow> dataInStripRows() {
    constexpr int y = 6, h = kRowHeight;
    return {
        {.name = "Panel4", .kind = RowKind::Panel, .place = QRect(0, 0, 792, kCodeStripHeight)},
        caption("Panel4", "CODE", 8, y, 36),
        // Shown, never typed: the code is handed out when a title is added.
        {.name = "ECode", .kind = RowKind::DbRetEdit, .parent = "Panel4", .place = QRect(44, y, 56, h),
         .field = fld::Code, .colour = QColor(0xC8, 0xC8, 0xC8)},
        caption("Panel4", "ジャンル（大分類）", 108, y, 110),
        {.name = "CmbGenre1", .kind = RowKind::DbRetLookupComboBox, .parent = "Panel4",
         .place = QRect(218, y, 136, h), .field = fld::Genre1, .ime = ImeMode::Close, .tab = 1,
         .listSource = "GenreSource", .keyField = fld::GenreCode1, .listField = fld::GenreName},
        caption("Panel4", "ジャンル（小分類）", 362, y, 110),
        {.name = "CmbGenre2", .kind = RowKind::RetComboBox, .parent = "Panel4", .place = QRect(472, y, 136, h),
         .ime = ImeMode::Close, .tab = 2},
        caption("Panel4", "BOX番号", 616, y, 48),
        dbEditRow("EBoxNo", "Panel4", QRect(664, y, 36, h), fld::BoxNo, ImeMode::Close, 3),
        caption("Panel4", "ＤＶＤ番号", 706, y, 56),
        dbEditRow("EDvdNo", "Panel4", QRect(754, y, 32, h), fld::DvdNo, ImeMode::Close, 4),

        {.name = "pnlTop", .kind = RowKind::Panel, .place = QRect(0, kCodeStripHeight, 792, kTitleStripHeight)},
        caption("pnlTop", "タイトル名", 8, 4, 70),
        {.name = "ETitle", .kind = RowKind::DbRetEdit, .parent = "pnlTop", .place = QRect(80, 4, 318, h),
         .field = fld::Title, .ime = ImeMode::Open, .tab = 5, .colour = QColor(0xFF, 0xFF, 0x80)},
        caption("pnlTop", "サブタイトル", 406, 4, 72),
        dbEditRow("ESubTitle", "pnlTop", QRect(480, 4, 304, h), fld::SubTitle, ImeMode::Open, 6),
        caption("pnlTop", "英語タイトル", 8, 29, 70),
        dbEditRow("EEnTitle", "pnlTop", QRect(80, 29, 318, h), fld::EnglishTitle, ImeMode::Open, 7),
        caption("pnlTop", "エディション", 406, 29, 72),
        dbEditRow("EEditon", "pnlTop", QRect(480, 29, 304, h), fld::Edition, ImeMode::Open, 8),
    };
}

}  // namespace tamboro
