#include "editor/data_in_dvd_page.h"

#include "controls/form_parts.h"
#include "data/catalogue_schema.h"

namespace tamboro {
namespace {

constexpr int kStep = 24;

void addDiscRows(std::vector<FormRow>& rows, int& tab) {
    const int h = kRowHeight, x = 72;
    rows.push_back({.name = "Panel10", .kind = RowKind::Panel, .place = QRect(4, 4, 300, 300)});
    const struct { const char* name; const char* label; std::string_view field; ImeMode ime; int width; } lines[] = {
        {"EShinaban", "品番", fld::ProductNo, ImeMode::Close, 140},
        {"EHatsubaiDate", "発売日", fld::ReleaseDate, ImeMode::Close, 100},
        {"EHatsubaimoto", "発売元", fld::Publisher, ImeMode::Open, 220},
        {"EHanbaimoto", "販売元", fld::Distributor, ImeMode::Open, 220},
        {"EKakaku", "価格", fld::Price, ImeMode::Close, 90},
        {"ELijion", "ﾘｰｼﾞｮﾝ", fld::Region, ImeMode::Close, 50},
    };
    int y = 6;
    for (const auto& line : lines) {
        rows.push_back(labelRow("Panel10", line.label, QRect(8, y, 62, h)));
        rows.push_back(dbEditRow(line.name, "Panel10", QRect(x, y, line.width, h), line.field, line.ime, tab++));
        y += kStep;
    }
    rows.push_back(labelRow("Panel10", "記録形式", QRect(8, y, 62, h)));
    rows.push_back({.name = "CmbKiroku", .kind = RowKind::DbRetComboBox, .parent = "Panel10",
                    .place = QRect(x, y, 110, h), .field = fld::DiscFormat, .ime = ImeMode::Close, .tab = tab++,
                    .items = {"片面１層", "片面２層", "両面１層", "両面２層", "その他"}});
    y += kStep + 4;
    rows.push_back(labelRow("Panel10", "記録形式", QRect(8, y - 6, 62, 14)));
    rows.push_back(labelRow("Panel10", "メモ", QRect(8, y + 8, 62, 14)));
    rows.push_back(dbEditRow("EKirokuMemo", "Panel10", QRect(x, y, 220, h), fld::DiscFormatMemo, ImeMode::Open, tab++));
    y += kStep + 4;
    rows.push_back(labelRow("Panel10", "枚数", QRect(8, y, 62, h)));
    rows.push_back(dbEditRow("EMaisuu", "Panel10", QRect(x, y, 40, h), fld::Discs, ImeMode::Close, tab++));
    rows.push_back(labelRow("Panel10", "枚", QRect(x + 44, y, 20, h)));
    y += kStep;
    rows.push_back(labelRow("Panel10", "収録時間", QRect(8, y, 62, h)));
    rows.push_back(dbEditRow("EShuuroku", "Panel10", QRect(x, y, 50, h), fld::RunningTime, ImeMode::Close, tab++));
    rows.push_back(labelRow("Panel10", "分", QRect(x + 54, y, 20, h)));
    y += kStep;
    rows.push_back(labelRow("Panel10", "圧縮ﾚﾍﾞﾙ", QRect(8, y, 62, h)));
    rows.push_back(dbEditRow("EAttushuku", "Panel10", QRect(x, y, 90, h), fld::Compression, ImeMode::Close, tab++));

    rows.push_back({.name = "Panel13", .kind = RowKind::Panel, .place = QRect(4, 308, 300, 124)});
    rows.push_back(labelRow("Panel13", "特典", QRect(8, 4, 60, h)));
    rows.push_back({.name = "MTokuten", .kind = RowKind::DbMemo, .parent = "Panel13", .place = QRect(8, 26, 284, 92),
                    .field = fld::Bonus, .ime = ImeMode::Open, .tab = tab++});
}

void addSoundRows(std::vector<FormRow>& rows, int& tab) {
    rows.push_back({.name = "Panel12", .kind = RowKind::Panel, .place = QRect(308, 4, 310, 172)});
    rows.push_back(tileRow("Panel12Caption", "Panel12", "音声", 52, QColor(0x00, 0xFF, 0x80)));
    const char* soundNames[] = {"CmbSoundJp1", "CmbSoundJp2", "CmbSoundJp3", "CmbSoundEn1", "CmbSoundEn2",
                                "CmbSoundEn3"};
    const char* langNames[] = {"CmbLage1", "CmbLage2", "CmbLage3", "CmbLage4", "CmbLage5", "CmbLage6"};
    for (int k = 1; k <= 6; ++k) {
        const int y = 22 + (k - 1) * kStep;
        const std::string_view sound = k <= 3 ? fld::soundJapanese(k) : fld::soundEnglish(k - 3);
        rows.push_back({.kind = RowKind::Label, .parent = "Panel12", .place = QRect(8, y, 44, kRowHeight),
                        .caption = QStringLiteral("音声%1").arg(k)});
        rows.push_back({.name = soundNames[k - 1], .kind = RowKind::DbRetLookupComboBox, .parent = "Panel12",
                        .place = QRect(54, y, 122, kRowHeight), .field = sound, .ime = ImeMode::Close,
                        .tab = tab++, .listSource = "SoundSource", .keyField = fld::SoundCd,
                        .listField = fld::SoundName});
        rows.push_back({.name = langNames[k - 1], .kind = RowKind::DbRetLookupComboBox, .parent = "Panel12",
                        .place = QRect(180, y, 122, kRowHeight), .field = fld::language(k), .ime = ImeMode::Close,
                        .tab = tab++, .listSource = "LangeSource", .keyField = fld::LangeCd,
                        .listField = fld::LangeName});
    }
}

void addPictureRows(std::vector<FormRow>& rows, int& tab) {
    rows.push_back({.name = "Panel8", .kind = RowKind::Panel, .place = QRect(308, 180, 310, 144)});
    rows.push_back(tileRow("Panel8Caption", "Panel8", "画面", 52, QColor(0x80, 0xFF, 0xFF)));
    rows.push_back(labelRow("Panel8", "サイズ", QRect(8, 22, 60, kRowHeight)));
    rows.push_back(dbEditRow("EGamenSize", "Panel8", QRect(72, 22, 120, kRowHeight), fld::ScreenSize, ImeMode::Open, tab++));
    rows.push_back(labelRow("Panel8", "アスペクト", QRect(8, 46, 60, kRowHeight)));
    rows.push_back(dbCheckRow("ChkAspect1", "Panel8", "１６：９", QRect(72, 46, 76, 20), fld::aspect(1), tab++));
    rows.push_back(dbCheckRow("ChkAspect2", "Panel8", "ＬＢ", QRect(150, 46, 56, 20), fld::aspect(2), tab++));
    rows.push_back(dbCheckRow("ChkAspect3", "Panel8", "４：３", QRect(208, 46, 70, 20), fld::aspect(3), tab++));
    rows.push_back(dbCheckRow("ChkSceez", "Panel8", "スクイーズ", QRect(4, 70, 80, 20), fld::Squeeze, tab++));
    rows.push_back(dbCheckRow("ChkMAngle", "Panel8", "マルチアングル", QRect(84, 70, 104, 20), fld::MultiAngle, tab++));
    rows.push_back(dbCheckRow("ChkMStory", "Panel8", "マルチストーリー", QRect(188, 70, 118, 20), fld::MultiStory, tab++));
    rows.push_back({.name = "RDColor", .kind = RowKind::DbRadioGroup, .parent = "Panel8",
                    .place = QRect(8, 94, 200, 44), .field = fld::Color, .tab = tab++,
                    .items = {QStringLiteral("カラー"), QStringLiteral("モノクロ")}, .values = {"True", "False"}});

    rows.push_back({.name = "Panel9", .kind = RowKind::Panel, .place = QRect(308, 328, 310, 104)});
    rows.push_back(tileRow("Panel9Caption", "Panel9", "字幕", 52, QColor(0xFF, 0xFF, 0x80)));
    rows.push_back(dbCheckRow("ChkJimakuJp", "Panel9", "日本語", QRect(8, 24, 110, 20), fld::SubJapanese, tab++));
    rows.push_back(dbCheckRow("ChkJimakuEn", "Panel9", "英語", QRect(130, 24, 110, 20), fld::SubEnglish, tab++));
    rows.push_back(dbCheckRow("ChkJimakuJp2", "Panel9", "日本語吹替用", QRect(8, 48, 120, 20), fld::SubDubbed, tab++));
    rows.push_back(dbCheckRow("ChkJimakuEtc", "Panel9", "その他", QRect(130, 48, 110, 20), fld::SubOther, tab++));
}

}  // namespace

std::vector<FormRow> dvdPageRows() {
    std::vector<FormRow> rows;
    int tab = 1;
    addDiscRows(rows, tab);
    addSoundRows(rows, tab);
    addPictureRows(rows, tab);
    return rows;
}

}  // namespace tamboro
