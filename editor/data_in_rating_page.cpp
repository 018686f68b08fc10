#include "editor/data_in_rating_page.h"

#include "controls/form_parts.h"
#include "data/catalogue_schema.h"

namespace tamboro {
namespace {

constexpr int kComboX = 64, kComboWidth = 44, kFirstRowY = 24, kRowStep = 24;

// Rows within their group: 0 in 総合評価, 0-2 in DVD評価, 0-3 in 映画評価.
constexpr std::array<int, kRatingCount> kRowInGroup = {0, 0, 1, 2, 0, 1, 2, 3};

const std::array<const char*, kRatingCount> kLabels = {"総合", "画質", "音質", "内容", "シナリオ", "キャスト",
                                                       "演    出", "映　　像"};

FormRow caption(const char* parent, const QString& text, QRect place) {
    return {.kind = RowKind::Label, .parent = parent, .place = place, .caption = text};
}

}  // namespace

const std::array<RatingRow, kRatingCount>& ratingRows() {
    static const std::array<RatingRow, kRatingCount> rows = {{
        {"CmbHyouka", "ImgHyouka", fld::Rating},
        {"CmbGashitsu", "ImgGashitsu", fld::PictureLevel},
        {"CmbOnsei", "ImgOnsei", fld::SoundLevel},
        {"CmbNaiyou", "ImgNaiyou", fld::spare(5)},
        {"CmbSinario", "ImgSinario", fld::spare(1)},
        {"CmbCast", "ImgCast", fld::spare(2)},
        {"CmbEnshutsu", "ImgEnshutsu", fld::spare(3)},
        {"CmbEizou", "ImgEizou", fld::spare(4)},
    }};
    return rows;
}

const char* ratingPanel(int i) { return i == 0 ? "Panel21" : i <= 3 ? "Panel3" : "Panel20"; }

QRect ratingImagePlace(int i) {
    return QRect(kComboX + kComboWidth + 8, kFirstRowY + kRowInGroup[i] * kRowStep, 125, 20);
}

std::vector<FormRow> ratingPageRows() {
    std::vector<FormRow> rows = {
        {.name = "Panel21", .kind = RowKind::Panel, .place = QRect(4, 4, 300, 50)},
        tileRow("Panel21Caption", "Panel21", "総合評価", 64, QColor(0xFF, 0xFF, 0x80)),
        {.name = "Panel3", .kind = RowKind::Panel, .place = QRect(4, 56, 300, 98)},
        tileRow("Panel3Caption", "Panel3", "DVD評価", 64, QColor(0x80, 0xFF, 0xFF)),
        {.name = "Panel20", .kind = RowKind::Panel, .place = QRect(4, 156, 300, 122)},
        tileRow("Panel20Caption", "Panel20", "映画評価", 64, QColor(0x00, 0xFF, 0x80)),
    };
    int tab = 1;
    for (int i = 0; i < kRatingCount; ++i) {
        const int y = kFirstRowY + kRowInGroup[i] * kRowStep;
        rows.push_back(caption(ratingPanel(i), QString::fromUtf8(kLabels[i]), QRect(8, y, 54, kRowHeight)));
        rows.push_back({.name = ratingRows()[i].combo, .kind = RowKind::DbRetComboBox, .parent = ratingPanel(i),
                        .place = QRect(kComboX, y, kComboWidth, kRowHeight), .field = ratingRows()[i].field,
                        .ime = ImeMode::Close, .tab = tab++, .items = {"5", "4", "3", "2", "1", "0"}});
    }
    rows.push_back({.name = "Panel1", .kind = RowKind::Panel, .place = QRect(4, 280, 300, 150)});
    rows.push_back(caption("Panel1", QStringLiteral("コメント・感想"), QRect(8, 4, 120, kRowHeight)));
    rows.push_back({.name = "MComent", .kind = RowKind::DbMemo, .parent = "Panel1", .place = QRect(6, 26, 288, 118),
                    .field = fld::Comment, .ime = ImeMode::Open, .tab = tab++});
    rows.push_back({.name = "Panel15", .kind = RowKind::Panel, .place = QRect(308, 4, 160, 232)});
    for (int n = 1; n <= 10; ++n) {
        static const std::array<const char*, 10> names = {"ChkImpress1", "ChkImpress2", "ChkImpress3",
                                                         "ChkImpress4", "ChkImpress5", "ChkImpress6",
                                                         "ChkImpress7", "ChkImpress8", "ChkImpress9",
                                                         "ChkImpress10"};
        rows.push_back({.name = names[n - 1], .kind = RowKind::DbRetCheckBox, .parent = "Panel15",
                        .place = QRect(8, 6 + (n - 1) * 22, 146, 20), .field = fld::impress(n), .tab = tab++});
    }
    const QColor face(0xD4, 0xD0, 0xC8);
    rows.push_back({.name = "Panel2", .kind = RowKind::Panel, .place = QRect(308, 240, 304, 84)});
    rows.push_back(caption("Panel2", QStringLiteral("購入日"), QRect(8, 6, 70, kRowHeight)));
    rows.push_back({.name = "EKounyuu", .kind = RowKind::DbRetEdit, .parent = "Panel2",
                    .place = QRect(80, 6, 100, kRowHeight), .field = fld::PurchaseDate, .ime = ImeMode::Close,
                    .tab = tab++});
    rows.push_back(caption("Panel2", QStringLiteral("前回鑑賞日"), QRect(8, 31, 70, kRowHeight)));
    rows.push_back({.name = "EKanshouDate", .kind = RowKind::DbRetEdit, .parent = "Panel2",
                    .place = QRect(80, 31, 100, kRowHeight), .field = fld::WatchedDate, .colour = face});
    rows.push_back(caption("Panel2", QStringLiteral("鑑賞回数"), QRect(8, 56, 70, kRowHeight)));
    rows.push_back({.name = "EKaisuu", .kind = RowKind::DbRetEdit, .parent = "Panel2",
                    .place = QRect(80, 56, 50, kRowHeight), .field = fld::WatchCount, .colour = face});
    return rows;
}

}  // namespace tamboro
