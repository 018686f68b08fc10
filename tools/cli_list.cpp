#include "data/error.h"
#include "data/messages.h"
#include "data/sjis.h"
#include "tools/cli_commands.h"
#include "tools/cli_output.h"
#include "tools/cli_tables.h"

namespace tamboro::cli {

namespace {

std::vector<int> chosenFields(const Table& t, const CommandLine& cl) {
    std::vector<int> fields;
    auto list = cl.option("fields");
    if (!list) {
        for (size_t i = 0; i < t.schema().size(); ++i) fields.push_back(static_cast<int>(i));
        return fields;
    }
    for (const std::string& name : splitList(*list)) {
        int f = t.schema().indexOf(toSjis(name));
        if (f < 0) throw DataError(formatMessage(msg::kNoField, {name}));
        fields.push_back(f);
    }
    if (fields.empty()) throw UsageError{"--fields names no field"};
    return fields;
}

}  // namespace

int runList(const CommandLine& cl, std::ostream& out, std::ostream&) {
    auto writer = makeRowWriter(cl.optionOr("format", "tsv"), out);
    if (!writer) throw UsageError{"--format must be tsv, csv or json"};
    CatalogueTable which = tableNamed(cl.optionOr("table", "CDvd"));
    auto table = standaloneTable(which, cl.optionOr("dir", "."));
    table->open();
    if (auto order = cl.option("order")) table->setIndexFields(toSjis(*order));
    if (auto filter = cl.option("filter")) {
        // The title table filters without regard to case, as in the program.
        table->setCaseInsensitiveFilter(which == CatalogueTable::Dvd);
        table->setFilterText(toSjis(*filter));
        table->setFiltered(true);
    }
    const std::vector<int> fields = chosenFields(*table, cl);
    std::vector<std::string> names;
    for (int f : fields) names.push_back(toUtf8(table->schema()[static_cast<size_t>(f)].name));
    writer->header(names);
    std::vector<Cell> cells(fields.size());
    const int count = table->recordCount();
    // Once the output fails there is no use going on; the caller tells it.
    for (int pos = 0; pos < count && out; ++pos) {
        for (size_t i = 0; i < fields.size(); ++i) {
            Field field = table->fieldAt(fields[i], pos);
            if (field.isNull()) cells[i].reset();
            else cells[i] = field.displayTextUtf8();
        }
        writer->row(cells);
    }
    writer->finish();
    return 0;
}

}  // namespace tamboro::cli
