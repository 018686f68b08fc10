// tamboro-cli: the catalogue's data layer on the command line, for scripts
// and checks. It reads the data files and never writes them.
#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "data/data_folder_rule.h"
#include "data/error.h"
#include "tools/cli_commands.h"
#include "tools/cli_options.h"

namespace {

using namespace tamboro::cli;

struct Command {
    std::string_view name;
    std::string_view summary;
    std::vector<OptionSpec> options;
    int (*run)(const CommandLine&, std::ostream&, std::ostream&);
};

const std::vector<OptionSpec> kCommon = {
    {"dir", "folder of the data files (default: the current folder; for the installed program, the user's data folder)"}};

// The installed tamboro keeps the catalogue in the user's data folder, so
// the installed companion looks there too; any other copy reads the current folder.
std::string defaultDataFolder() {
    if (tamboro::runsFromInstalledBin(tamboro::runningExecutableFolder(), tamboro::installedBinFolder()))
        return tamboro::userDataFolder().string();
    return ".";
}

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {"check", "open the seven tables; one line per file: FILE<TAB>ROWS or FILE<TAB>error", {}, runCheck},
        {"list",
         "list a table's rows in its order",
         {{"table", "CDvd (default), CGenre, CGenre2, CSound, CLange, CImpress or CHistory"},
          {"fields", "F1,F2,... field names to show (default: all)"},
          {"format", "tsv (default), csv or json"},
          {"filter", "TEXT a filter expression, as the program's search builds them"},
          {"order", "F1;F2 index fields to order by (default: the table's own order)"}},
         runList},
        {"export",
         "write every table as a UTF-8 file (CDvd.csv, ...) for spreadsheets",
         {{"to", "the folder to write into"}, {"format", "csv (default) or json"}},
         runExport},
        {"resave", "write every table into another folder, as if it had changed", {{"to", "the folder to write into"}},
         runResave},
#ifdef TAMBORO_CLI_REPORT
        {"report",
         "write the title list report of the listed titles as an A4 PDF file",
         {{"to", "FILE.pdf the file to write"},
          {"filter", "TEXT a filter expression, as the program's search builds them"},
          {"order", "F1;F2 index fields to order by (default: the code order)"},
          {"genre1", "TEXT the genre-1 criterion text printed in the page header"},
          {"genre2", "TEXT the genre-2 criterion text printed in the page header"}},
         runReport},
#endif
    };
    return all;
}

void usage(std::ostream& out) {
    out << "usage: tamboro-cli COMMAND [--dir DIR] [options]\n\ncommands:\n";
    for (const Command& c : commands()) {
        out << "  " << c.name << "\t" << c.summary << '\n';
        for (const OptionSpec& o : c.options) out << "      --" << o.name << "\t" << o.help << '\n';
    }
    out << "\ncommon options:\n";
    for (const OptionSpec& o : kCommon) out << "      --" << o.name << "\t" << o.help << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    try {
        CommandLine cl = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
        if (cl.command.empty() || cl.command == "help") {
            usage(cl.command.empty() && !cl.option("help") ? std::cerr : std::cout);
            return cl.command.empty() && !cl.option("help") ? 2 : 0;
        }
        for (const Command& c : commands()) {
            if (c.name != cl.command) continue;
            if (cl.option("help")) {
                usage(std::cout);
                return 0;
            }
            checkOptions(cl, c.options, kCommon);
            if (!cl.option("dir")) cl.options.emplace("dir", defaultDataFolder());
            if (!cl.words.empty()) throw UsageError{"unexpected argument '" + cl.words.front() + "'"};
            int status = c.run(cl, std::cout, std::cerr);
            errno = 0;
            std::cout.flush();
            if (!std::cout) {
                // A cut listing must not pass for a whole one (a full disk, /dev/full).
                const int err = errno;
                std::cerr << "tamboro-cli: the output could not be written"
                          << (err ? std::string(": ") + std::strerror(err) : std::string()) << '\n';
                return 1;
            }
            return status;
        }
        throw UsageError{"unknown command '" + cl.command + "'"};
    } catch (const UsageError& e) {
        std::cerr << "tamboro-cli: " << e.message << "\n(see tamboro-cli --help)\n";
        return 2;
    } catch (const tamboro::DataError& e) {
        std::cerr << "tamboro-cli: " << e.what() << '\n';
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "tamboro-cli: " << e.what() << '\n';
        return 1;
    }
}
