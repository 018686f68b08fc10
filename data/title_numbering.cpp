// Numbering of new titles and the editor's duties at start-up.
#include <algorithm>

#include "data/data_module.h"
#include "data/error.h"
#include "data/sjis.h"

namespace tamboro {

int32_t TDM1::highestCode() const {
    int f = CDvd.schema().indexOf(sj(fld::Code));
    if (f < 0 || !CDvd.active()) return 0;
    int64_t best = 0;
    for (const StoredRow& r : CDvd.storedRows())
        if (r.current() && r.data.has(f)) best = std::max(best, r.data.getInt(f));
    return static_cast<int32_t>(std::clamp<int64_t>(best, 0, INT32_MAX));
}

void TDM1::OpenForEditor() {
    const bool wasOpen = CDvd.active();
    CDvd.open();  // raises the counter through the open rule
    CDvd.last();
    // Opening scanned the codes already; a table open before was not.
    if (wasOpen) LastCode = std::max(LastCode, highestCode());
}

void TDM1::AddNewTitle() {
    CDvd.append();
    try {
        // At the top of the range the field refuses the next number.
        const int64_t next = static_cast<int64_t>(LastCode) + 1;
        CDvd.fieldU8(fld::Code).setInteger(next);
        LastCode = static_cast<int32_t>(next);
    } catch (...) {
        CDvd.cancel();
        throw;
    }
    for (int k = 1; k <= 10; ++k) CDvd.fieldU8(fld::impress(k)).setBoolean(false);
    CDvd.fieldU8(fld::Color).setBoolean(true);
    for (int k = 1; k <= 3; ++k) CDvd.fieldU8(fld::aspect(k)).setBoolean(false);
    for (std::string_view f : {fld::Squeeze, fld::MultiAngle, fld::MultiStory, fld::SubJapanese, fld::SubEnglish,
                               fld::SubDubbed, fld::SubOther})
        CDvd.fieldU8(f).setBoolean(false);
}

std::vector<std::string> TDM1::impressionNames() {
    std::vector<std::string> names;
    if (!CImpress.active()) return names;
    Field name = CImpress.fieldU8(fld::ImpName);
    for (int p = 0; p < CImpress.recordCount() && p < 10; ++p)
        names.push_back(CImpress.fieldAt(name.index(), p).asString());
    return names;
}

void TDM1::closeCatalogue() {
    // Save everything first: a failed write then leaves every table open
    // with its rows, and the next attempt writes again.
    const std::array<Table*, 7> all = {&CDvd, &CGenre, &CGenre2, &CSound, &CLange, &CHistory, &CImpress};
    auto each = [&](void (Table::*step)()) {
        std::string errors;
        for (Table* t : all) {
            try {
                (t->*step)();
            } catch (const std::exception& e) {
                if (!errors.empty()) errors += "\n";
                errors += e.what();
            }
        }
        if (!errors.empty()) throw DataError(errors);
    };
    each(&Table::flush);
    // One table failing to close must not keep the others open.
    each(&Table::close);
}

}  // namespace tamboro
