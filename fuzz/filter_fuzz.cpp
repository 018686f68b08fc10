// Feeds arbitrary bytes to the filter language as a text for the title
// table: it must either compile, and then test any row without failing, or
// throw DataError. The first byte picks the case-insensitive option.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "data/catalogue_schema.h"
#include "data/error.h"
#include "data/locale_jp.h"
#include "data/row_filter.h"
#include "data/sjis.h"
#include "data/table.h"

namespace {

using namespace tamboro;

struct Fixture {
    Table table{"CDvd", "DvdData.xml", schemaOf(CatalogueTable::Dvd)};
    std::vector<RowData> rows;

    Fixture() {
        const Schema& s = table.schema();
        RowBuilder b(s.size());
        rows.push_back(b.finish());  // every field blank
        // Every field given a value of its type.
        for (size_t f = 0; f < s.size(); ++f) {
            switch (storageOf(s[f].type)) {
            case Storage::Int: b.setInt(static_cast<int>(f), s[f].type == FieldType::Date ? dayNumber(2004, 1, 31) : 7); break;
            case Storage::Float: b.setReal(static_cast<int>(f), 38000.5); break;
            case Storage::Bool: b.setBool(static_cast<int>(f), true); break;
            case Storage::Text: b.setText(static_cast<int>(f), toSjis("Star ｽﾀｰ スター*'")); break;
            }
        }
        rows.push_back(b.finish());
        b.setText(s.indexOf(toSjis("タイトル")), "");
        b.setInt(0, -5);
        rows.push_back(b.finish());
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Fixture fx;
    if (size == 0) return 0;
    const bool noCase = data[0] & 1;
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::unique_ptr<RowFilter> filter;
    try {
        filter = compileFilter(text, fx.table, noCase);
    } catch (const DataError&) {
        return 0;
    }
    if (filter)
        for (const RowData& r : fx.rows) (void)filter->accepts(r);
    return 0;
}
