#pragma once
#include <QString>
#include <string>
#include <string_view>

// The one crossing between the catalogue's Shift-JIS bytes and Qt's text.
namespace tamboro {

class Field;

QString fromSjis(std::string_view sjis);
// A field's value as controls show it (an amount with the yen sign).
QString fieldText(const Field& field);
// Characters Shift-JIS cannot hold become "?".
std::string toSjisQ(const QString& text);

}  // namespace tamboro
