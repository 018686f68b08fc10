#include "data/error.h"

namespace tamboro {

std::string formatMessage(std::string_view tmpl, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(tmpl.size() + 32);
    auto next = args.begin();
    size_t i = 0;
    while (i < tmpl.size()) {
        size_t pos = tmpl.find("%s", i);
        if (pos == std::string_view::npos || next == args.end()) {
            out.append(tmpl.substr(i));
            break;
        }
        out.append(tmpl.substr(i, pos - i));
        out.append(*next++);
        // Continue after the placeholder, never inside the inserted text.
        i = pos + 2;
    }
    return out;
}

}  // namespace tamboro
