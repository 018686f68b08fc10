#include "tools/cli_options.h"

namespace tamboro::cli {

std::optional<std::string> CommandLine::option(std::string_view name) const {
    auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

std::string CommandLine::optionOr(std::string_view name, std::string_view fallback) const {
    auto v = option(name);
    return v ? *v : std::string(fallback);
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            std::string name = a.substr(2), value;
            size_t eq = name.find('=');
            if (eq != std::string::npos) {
                value = name.substr(eq + 1);
                name.resize(eq);
            } else if (name != "help") {
                if (i + 1 >= args.size()) throw UsageError{"option --" + name + " needs a value"};
                value = args[++i];
            }
            if (!cl.options.emplace(name, value).second) throw UsageError{"option --" + name + " given twice"};
        } else if (cl.command.empty()) {
            cl.command = a;
        } else {
            cl.words.push_back(a);
        }
    }
    return cl;
}

void checkOptions(const CommandLine& cl, const std::vector<OptionSpec>& commandOptions,
                  const std::vector<OptionSpec>& commonOptions) {
    for (const auto& [name, value] : cl.options) {
        bool known = name == "help";
        for (const auto* list : {&commandOptions, &commonOptions})
            for (const OptionSpec& o : *list) known = known || o.name == name;
        if (!known) throw UsageError{"unknown option --" + name + " for " + cl.command};
    }
}

std::vector<std::string> splitList(std::string_view text, char sep) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(sep, start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view part = text.substr(start, end - start);
        while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
        if (!part.empty()) out.emplace_back(part);
        start = end + 1;
    }
    return out;
}

}  // namespace tamboro::cli
