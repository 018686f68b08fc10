#include "tools/cli_tables.h"

#include "data/sjis.h"
#include "tools/cli_options.h"

namespace tamboro::cli {

namespace {

bool sameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

}  // namespace

CatalogueTable tableNamed(std::string_view name) {
    for (CatalogueTable t : kAllTables) {
        const TableDefinition& d = definitionOf(t);
        std::string_view stem = d.fileName.substr(0, d.fileName.size() - 4);
        if (sameNoCase(name, d.tableName) || sameNoCase(name, d.fileName) || sameNoCase(name, stem)) return t;
    }
    throw UsageError{"unknown table '" + std::string(name) + "' (CDvd, CGenre, CGenre2, CSound, CLange, CImpress, CHistory)"};
}

std::unique_ptr<Table> standaloneTable(CatalogueTable t, const std::filesystem::path& folder) {
    const TableDefinition& d = definitionOf(t);
    auto table = std::make_unique<Table>(std::string(d.tableName), folder / d.fileName, schemaOf(t));
    table->setIndexFields(sj(d.indexFields));
    if (t == CatalogueTable::Dvd) table->setCaseInsensitiveFilter(true);
    if (t == CatalogueTable::Genre) {
        table->setBuiltinRows(builtinGenrePacket());
        table->setBuiltinReusable(true);
    }
    return table;
}

int currentRowCount(const Table& t) {
    int n = 0;
    for (const StoredRow& r : t.storedRows()) n += r.current() ? 1 : 0;
    return n;
}

}  // namespace tamboro::cli
