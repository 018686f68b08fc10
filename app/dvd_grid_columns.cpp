#include "app/dvd_grid_columns.h"

#include <QApplication>
#include <QPalette>

#include "data/catalogue_schema.h"

namespace tamboro {

std::vector<TableColumn> dvdGridColumns() {
    const QColor face = QApplication::palette().color(QPalette::Button);
    const QColor paleYellow(255, 255, 128);
    const QString date = QStringLiteral("2004/12/25");
    const QString discNo = QStringLiteral("D00001");
    auto col = [](std::string_view field, int width, const char* title = nullptr) {
        return TableColumn{field, title ? QString::fromUtf8(title) : QString(), width};
    };
    std::vector<TableColumn> columns = {
        {fld::Code, {}, 32, face, {}, QStringLiteral("000000")},  // codes run to six digits
        {fld::Title, {}, 228, paleYellow},
        col(fld::Rating, 30),
        {fld::WatchedDate, {}, 0, {}, {}, date},
        col(fld::WatchCount, 30),
        col(fld::RunningTime, 36, "時間"),
        {fld::BoxNo, {}, 50, {}, {}, discNo},
        {fld::DvdNo, {}, 50, {}, {}, discNo},
        col(fld::PictureLevel, 30, "画質"),
        col(fld::SoundLevel, 30, "音質"),
        col(fld::SubTitle, 205),
        col(fld::EnglishTitle, 217),
        col(fld::Edition, 205, "エディション"),
        {fld::PurchaseDate, {}, 74, {}, {}, date},
        col(fld::Year, 0),
        col(fld::Country, 79),
        col(fld::Director, 211),
    };
    for (int k = 1; k <= 5; ++k) columns.push_back(col(fld::cast(k), 211));
    for (std::string_view f : {fld::Production, fld::ExecProducer, fld::Photography, fld::Music, fld::Original,
                               fld::Screenplay})
        columns.push_back(col(f, 211));
    return columns;
}

}  // namespace tamboro
