#pragma once
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tamboro {

// The one exception type of the data layer. The message is UTF-8 so that any
// front end can show it without knowing the catalogue's Shift-JIS.
class DataError : public std::runtime_error {
public:
    explicit DataError(const std::string& utf8Message) : std::runtime_error(utf8Message) {}
    explicit DataError(std::string_view utf8Message) : std::runtime_error(std::string(utf8Message)) {}
    explicit DataError(const char* utf8Message) : std::runtime_error(utf8Message) {}
};

// Replaces each "%s" of a UTF-8 template with the next argument (UTF-8).
// A "%s" left without an argument stays as it is; extra arguments are unused.
std::string formatMessage(std::string_view tmpl, std::initializer_list<std::string_view> args);

}  // namespace tamboro
