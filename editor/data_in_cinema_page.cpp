#include "editor/data_in_cinema_page.h"

#include "controls/form_parts.h"
#include "data/catalogue_schema.h"

namespace tamboro {
namespace {

constexpr int kStep = 24;

}  // namespace

std::vector<FormRow> cinemaPageRows() {
    const int h = kRowHeight;
    std::vector<FormRow> rows = {
        {.name = "Panel6", .kind = RowKind::Panel, .place = QRect(4, 4, 400, 304)},
        labelRow("Panel6", "制作年", QRect(8, 6, 50, h)),
        dbEditRow("ESeisakuNen", "Panel6", QRect(60, 6, 50, h), fld::Year, ImeMode::Close, 1),
        labelRow("Panel6", "年", QRect(114, 6, 20, h)),
        labelRow("Panel6", "制作国", QRect(150, 6, 40, h)),
        dbEditRow("ESeisakuKoku", "Panel6", QRect(192, 6, 200, h), fld::Country, ImeMode::Open, 2),
        labelRow("Panel6", "監督", QRect(8, 6 + kStep, 50, h)),
        dbEditRow("EKantoku", "Panel6", QRect(60, 6 + kStep, 332, h), fld::Director, ImeMode::Open, 3),
        labelRow("Panel6", "演出", QRect(8, 6 + 2 * kStep, 50, h)),
        dbMemoRow("MEnshutsu", "Panel6", QRect(60, 6 + 2 * kStep, 332, 44), fld::Direction, 4),
    };
    // One-line fields under the memo, one row each.
    const struct { const char* name; const char* label; std::string_view field; } lines[] = {
        {"ESeisaku", "制作", fld::Production},   {"ESoushiki", "製作", fld::ExecProducer},
        {"ESatsuei", "撮影", fld::Photography}, {"EOngaku", "音楽", fld::Music},
        {"EGensaku", "原作", fld::Original},    {"EKyakuhon", "脚本", fld::Screenplay},
    };
    int y = 6 + 2 * kStep + 50, tab = 5;
    for (const auto& line : lines) {
        if (line.field == fld::ExecProducer) {
            rows.push_back(labelRow("Panel6", "製作", QRect(8, y - 6, 50, 14)));
            rows.push_back(labelRow("Panel6", "総指揮", QRect(8, y + 8, 50, 14)));
        } else {
            rows.push_back(labelRow("Panel6", line.label, QRect(8, y, 50, h)));
        }
        rows.push_back(dbEditRow(line.name, "Panel6", QRect(60, y, 332, h), line.field, ImeMode::Open, tab++));
        y += kStep + (line.field == fld::ExecProducer ? 4 : 0);
    }
    rows.push_back(labelRow("Panel6", "受賞", QRect(8, y, 50, h)));
    rows.push_back(dbMemoRow("MAward", "Panel6", QRect(60, y, 332, 304 - y - 6), fld::Awards, tab++));

    rows.push_back({.name = "Panel5", .kind = RowKind::Panel, .place = QRect(408, 4, 210, 304)});
    rows.push_back(labelRow("Panel5", "出演者", QRect(8, 4, 80, h)));
    const char* castNames[] = {"EShutsuen1", "EShutsuen2", "Eshutsuen3", "EShutsuen4", "EShutsuen5"};
    for (int k = 1; k <= 5; ++k)
        rows.push_back(dbEditRow(castNames[k - 1], "Panel5", QRect(8, 4 + k * kStep, 194, h), fld::cast(k),
                            ImeMode::Open, tab++));
    rows.push_back(labelRow("Panel5", "声優", QRect(8, 4 + 6 * kStep, 80, h)));
    rows.push_back(dbMemoRow("MSeiyuu", "Panel5", QRect(8, 4 + 7 * kStep, 194, 304 - 4 - 7 * kStep - 6), fld::VoiceActors,
                        tab++));

    rows.push_back({.name = "Panel7", .kind = RowKind::Panel, .place = QRect(4, 312, 614, 120)});
    rows.push_back(labelRow("Panel7", "ストーリー", QRect(8, 4, 100, h)));
    rows.push_back(dbMemoRow("MStory", "Panel7", QRect(8, 26, 598, 88), fld::Story, tab++));
    return rows;
}

}  // namespace tamboro
