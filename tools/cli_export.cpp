#include <filesystem>
#include <fstream>

#include "data/error.h"
#include "data/sjis.h"
#include "tools/cli_commands.h"
#include "tools/cli_output.h"
#include "tools/cli_tables.h"

namespace tamboro::cli {

namespace {

void exportTable(Table& t, RowWriter& writer) {
    std::vector<std::string> names;
    for (const FieldDef& f : t.schema().fields()) names.push_back(toUtf8(f.name));
    writer.header(names);
    std::vector<Cell> cells(names.size());
    const int count = t.recordCount();
    for (int pos = 0; pos < count; ++pos) {
        for (size_t i = 0; i < names.size(); ++i) {
            Field field = t.fieldAt(static_cast<int>(i), pos);
            if (field.isNull()) cells[i].reset();
            else cells[i] = field.displayTextUtf8();
        }
        writer.row(cells);
    }
    writer.finish();
}

}  // namespace

int runExport(const CommandLine& cl, std::ostream& out, std::ostream&) {
    auto to = cl.option("to");
    if (!to || to->empty()) throw UsageError{"export needs --to DIR"};
    std::string format = cl.optionOr("format", "csv");
    if (format != "csv" && format != "json") throw UsageError{"--format must be csv or json"};
    const std::filesystem::path dir = cl.optionOr("dir", ".");
    const std::filesystem::path target = *to;
    std::error_code ec;
    std::filesystem::create_directories(target, ec);
    if (ec) throw DataError(target.string() + ": " + ec.message());
    // Open every table first, so that a bad data file writes nothing at all.
    std::vector<std::pair<CatalogueTable, std::unique_ptr<Table>>> tables;
    for (CatalogueTable which : kAllTables) {
        tables.emplace_back(which, standaloneTable(which, dir));
        tables.back().second->open();
    }
    for (auto& [which, table] : tables) {
        const std::filesystem::path file = target / (std::string(definitionOf(which).tableName) + "." + format);
        std::ofstream os(file, std::ios::binary | std::ios::trunc);
        if (!os) throw DataError(file.string() + ": cannot be written");
        auto writer = makeRowWriter(format, os);
        exportTable(*table, *writer);
        os.flush();
        if (!os) throw DataError(file.string() + ": cannot be written");
        out << file.filename().string() << '\t' << table->recordCount() << '\n';
    }
    return 0;
}

}  // namespace tamboro::cli
