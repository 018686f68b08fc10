#include <system_error>

#include "data/error.h"
#include "data/packet_file.h"
#include "tools/cli_commands.h"
#include "tools/cli_tables.h"

namespace tamboro::cli {

int runResave(const CommandLine& cl, std::ostream& out, std::ostream& err) {
    namespace fs = std::filesystem;
    auto to = cl.option("to");
    if (!to || to->empty()) throw UsageError{"resave needs --to DIR2"};
    const fs::path from = cl.optionOr("dir", "."), target = *to;
    std::error_code ec;
    fs::create_directories(target, ec);
    if (ec) throw DataError("cannot create folder '" + target.string() + "': " + ec.message());
    if (fs::equivalent(from, target, ec)) throw UsageError{"--to must be another folder than --dir"};
    int status = 0;
    for (CatalogueTable t : kAllTables) {
        const std::string_view file = definitionOf(t).fileName;
        try {
            auto table = standaloneTable(t, from);
            table->open();
            // As the program writes them: only the language list keeps its log.
            table->setLogging(t == CatalogueTable::Lange);
            writePacketFile(target / file, *table);
            out << file << '\t' << currentRowCount(*table) << '\n';
        } catch (const DataError& e) {
            err << file << '\t' << e.what() << '\n';
            status = 1;
        }
    }
    return status;
}

}  // namespace tamboro::cli
