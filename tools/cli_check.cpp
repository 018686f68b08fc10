#include <map>

#include "data/data_module.h"
#include "data/error.h"
#include "tools/cli_commands.h"
#include "tools/cli_tables.h"

namespace tamboro::cli {

int runCheck(const CommandLine& cl, std::ostream& out, std::ostream&) {
    // Through the data module, as the program opens its tables. The title
    // table's opening opens the others and fails with their errors, so they
    // are opened first, each on its own, to tell whose file is at fault.
    TDM1 dm(cl.optionOr("dir", "."));
    std::map<CatalogueTable, std::string> errors;
    for (CatalogueTable t : {CatalogueTable::Genre, CatalogueTable::Genre2, CatalogueTable::Sound,
                             CatalogueTable::Lange, CatalogueTable::Impress, CatalogueTable::History,
                             CatalogueTable::Dvd}) {
        Table& table = dm.table(t);
        try {
            table.open();
        } catch (const DataError& e) {
            if (!table.active()) errors[t] = e.what();  // else another table's error, already told
        }
    }
    int status = 0;
    for (CatalogueTable t : kAllTables) {
        out << definitionOf(t).fileName << '\t';
        auto it = errors.find(t);
        if (it != errors.end()) {
            out << it->second << '\n';
            status = 1;
        } else {
            out << currentRowCount(dm.table(t)) << '\n';
        }
    }
    return status;
}

}  // namespace tamboro::cli
