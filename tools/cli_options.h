#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamboro::cli {

// A parsed command line: the command word, its "--name value" options and
// any other words. Options may also be written "--name=value".
struct CommandLine {
    std::string command;
    std::map<std::string, std::string, std::less<>> options;
    std::vector<std::string> words;

    std::optional<std::string> option(std::string_view name) const;
    std::string optionOr(std::string_view name, std::string_view fallback) const;
};

// What a command accepts; commands are listed in one table so that new ones
// and new options slot in without touching the parser.
struct OptionSpec {
    std::string_view name;  // without the dashes
    std::string_view help;
};

// Thrown for a command line that cannot be run (exit status 2).
struct UsageError {
    std::string message;
};

// Splits argv into command, options and words; every option but --help
// takes a value. Throws UsageError.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// Throws UsageError for an option that is in neither list.
void checkOptions(const CommandLine& cl, const std::vector<OptionSpec>& commandOptions,
                  const std::vector<OptionSpec>& commonOptions);

// "A,B,C" into its parts, dropping blanks around each.
std::vector<std::string> splitList(std::string_view text, char sep = ',');

}  // namespace tamboro::cli
