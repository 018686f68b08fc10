#include "report/title_report.h"

#include <QDate>

#include "controls/sjis_qt.h"
#include "data/data_module.h"
#include "data/locale_jp.h"

namespace tamboro {

using report::ReportContent;

namespace {

// How many titles pass between two progress reports.
constexpr int kProgressStep = 256;

}  // namespace

QPrn1::QPrn1(TDM1& dm) : dm_(dm) {
    scrolled_ = dm_.subscribeDvdAfterScroll([this] { CDvdAfterScroll(); });
}

void QPrn1::CDvdAfterScroll() {
    Table& dvd = dm_.CDvd;
    // A blank code counts as 0, and so does the missing title of an empty list.
    const bool onTitle = dvd.active() && dvd.recNo() >= 0;
    lookUpGenres(onTitle ? static_cast<int32_t>(dvd.fieldU8(fld::Genre1).asInteger()) : 0,
                 onTitle ? static_cast<int32_t>(dvd.fieldU8(fld::Genre2).asInteger()) : 0);
}

void QPrn1::lookUpGenres(int32_t genre1, int32_t genre2) {
    genre1_.clear();
    genre2_.clear();
    Table& genres = dm_.CGenre;
    if (!genres.active()) return;
    genres.setKey();
    genres.fieldU8(fld::GenreCode1).setInteger(genre1);
    if (genres.gotoKey()) genre1_ = fromSjis(genres.fieldU8(fld::GenreName).asString());
    // CGenre2 lists only the sub-genres of CGenre's current row, which the
    // look-up above has just chosen.
    Table& subGenres = dm_.CGenre2;
    if (!subGenres.active()) return;
    subGenres.setKey();
    subGenres.fieldU8(fld::GenreCode1).setInteger(genre1);
    subGenres.fieldU8(fld::GenreCode2).setInteger(genre2);
    if (subGenres.gotoKey()) genre2_ = fromSjis(subGenres.fieldU8(fld::GenreName2).asString());
}

std::optional<ReportContent> QPrn1::build(const Progress& progress) {
    Table& dvd = dm_.CDvd;
    const int before = dvd.recNo();
    ReportContent content;
    content.header = {QGenre1, QGenre2, QMakeDate};

    // The grid and the other bound controls hear once, at the end of the walk.
    ControlsPaused paused(dm_.dataSources());
    dvd.first();
    const int total = dvd.recordCount();
    if (total == 0) {
        // Printed even when empty: one band of blank fields, its genre cells
        // showing what code 0 looks up.
        lookUpGenres(0, 0);
        ReportContent::Row row;
        row[report::DGenre1] = genre1_;
        row[report::DGenre2] = genre2_;
        content.rows.push_back(std::move(row));
        return content;
    }

    const std::pair<report::DetailSlot, std::string_view> fields[] = {
        {report::DCode, fld::Code},         {report::DTitle, fld::Title},         {report::DBoxNo, fld::BoxNo},
        {report::DWatched, fld::WatchedDate}, {report::DRunTime, fld::RunningTime}, {report::DSubTitle, fld::SubTitle},
        {report::DDvdNo, fld::DvdNo},       {report::DCount, fld::WatchCount},    {report::DRating, fld::Rating},
    };
    std::vector<std::pair<report::DetailSlot, Field>> bound;
    for (const auto& [slot, name] : fields) bound.emplace_back(slot, dvd.fieldU8(name));

    content.rows.reserve(static_cast<size_t>(total));
    for (int done = 0; !dvd.eof(); ++done) {
        if (progress && done % kProgressStep == 0 && !progress(done, total)) {
            if (before >= 0 && before < dvd.recordCount()) dvd.moveTo(before);
            return std::nullopt;
        }
        ReportContent::Row row;
        for (const auto& [slot, field] : bound) row[slot] = fieldText(field);
        row[report::DGenre1] = genre1_;
        row[report::DGenre2] = genre2_;
        content.rows.push_back(std::move(row));
        dvd.next();
    }
    content.titles = static_cast<int>(content.rows.size());
    if (progress) progress(total, total);
    return content;
}

QString todayShortDate() {
    const QDate today = QDate::currentDate();
    return QString::fromStdString(formatShortDate(dayNumber(today.year(), today.month(), today.day())));
}

}  // namespace tamboro
