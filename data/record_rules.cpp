// The handlers TDM1 hooks to its tables' events: derived ratings, the
// last-watched roll-up, the genre cascade, and opening and closing together.
#include <algorithm>
#include <cmath>
#include <string>

#include "data/data_module.h"
#include "data/error.h"
#include "data/sjis.h"

namespace tamboro {

namespace {

// Mean of the non-zero ratings in single precision, 2.5 and 4.5 nudged up,
// then rounded half to even.
std::string derivedRating(Table& t, std::initializer_list<std::string_view> fields) {
    int n = 0;
    int64_t sum = 0;
    for (std::string_view f : fields) {
        int64_t v = t.fieldU8(f).asInteger();
        if (v != 0) ++n;
        sum += v;
    }
    float a = n == 0 ? 0.0f : static_cast<float>(static_cast<double>(sum) / n);
    if (a == 2.5f) a = 2.6f;
    if (a == 4.5f) a = 4.6f;
    long r = std::lrint(a);  // the default rounding mode takes halves to even
    return std::to_string(r);
}

// Runs every step, then reports the errors of all that failed.
template <class F>
void eachThenThrow(std::initializer_list<Table*> tables, F step) {
    std::string errors;
    for (Table* t : tables) {
        try {
            step(*t);
        } catch (const std::exception& e) {
            if (!errors.empty()) errors += "\n";
            errors += e.what();
        }
    }
    if (!errors.empty()) throw DataError(errors);
}

}  // namespace

void TDM1::hookRules() {
    CDvd.beforeOpen = [this](Table&) { CDvdBeforeOpen(); };
    CDvd.afterOpen = [this](Table&) { CDvdAfterOpen(); };
    CDvd.afterClose = [this](Table&) { CDvdAfterClose(); };
    CDvd.beforePost = [this](Table&) { CDvdBeforePost(); };
    CDvd.afterScroll = [this](Table&) { CDvdAfterScroll(); };
    CGenre.afterOpen = [](Table& t) { t.setLogging(false); };
    CGenre.beforeDelete = [this](Table&) { CGenreBeforeDelete(); };
    CGenre2.afterOpen = [](Table& t) { t.setLogging(false); };
    CSound.afterOpen = [](Table& t) { t.setLogging(false); };
    CHistory.afterOpen = [](Table& t) { t.setLogging(false); };
    CHistory.afterPost = [this](Table&) { CHistoryAfterPost(); };
    CHistory.afterDelete = [this](Table&) { CHistoryAfterPost(); };
    CImpress.afterOpen = [](Table& t) { t.setLogging(false); };
    // CLange has no handler: it keeps its change log.
    for (Table* t : {&CDvd, &CGenre, &CGenre2, &CSound, &CLange, &CImpress, &CHistory}) t->sealEvents();
}

void TDM1::CDvdBeforeOpen() {}

void TDM1::CDvdAfterOpen() {
    CDvd.setLogging(false);
    // A restore may have brought titles numbered beyond the counter.
    LastCode = std::max(LastCode, highestCode());
    eachThenThrow({&CGenre, &CGenre2, &CSound, &CLange, &CHistory, &CImpress}, [](Table& t) { t.open(); });
}

void TDM1::CDvdAfterClose() {
    eachThenThrow({&CGenre, &CGenre2, &CSound, &CLange, &CHistory, &CImpress}, [](Table& t) { t.close(); });
}

void TDM1::CDvdBeforePost() {
    CDvd.fieldU8(fld::DvdRating).setString(derivedRating(CDvd, {fld::PictureLevel, fld::SoundLevel, fld::spare(5)}));
    CDvd.fieldU8(fld::MovieRating)
        .setString(derivedRating(CDvd, {fld::spare(1), fld::spare(2), fld::spare(3), fld::spare(4)}));
}

void TDM1::CDvdAfterScroll() { dvdScrolled_.notify(); }

void TDM1::CHistoryAfterPost() {
    CDvd.edit();
    CDvd.fieldU8(fld::WatchCount).setInteger(CHistory.recordCount());
    CHistory.last();
    // No viewing left, or only undated ones (a blank date sorts first): the
    // title has no last-watched date, not the zero day 1899/12/30.
    Field watched = CDvd.fieldU8(fld::WatchedDate);
    Field latest = CHistory.fieldU8(fld::AppRecDate);
    if (latest.isNull()) watched.clear();
    else watched.setDateTime(latest.asDateTime());
}

void TDM1::CGenreBeforeDelete() {
    if (!CGenre2.active()) return;
    CGenre2.first();
    int n = CGenre2.recordCount();
    for (int i = 0; i < n; ++i) CGenre2.remove();
}

}  // namespace tamboro
