#pragma once
#include <QString>
#include <string>
#include <string_view>

// The one crossing between the catalogue's Shift-JIS bytes and Qt's text.
namespace tamboro {

QString fromSjis(std::string_view sjis);
// Characters Shift-JIS cannot hold become "?".
std::string toSjisQ(const QString& text);

}  // namespace tamboro
