#include "controls/sjis_qt.h"

#include "data/field.h"
#include "data/sjis.h"

namespace tamboro {

QString fromSjis(std::string_view sjis) { return QString::fromStdString(toUtf8(sjis)); }

QString fieldText(const Field& field) { return QString::fromStdString(field.displayTextUtf8()); }

std::string toSjisQ(const QString& text) { return toSjis(text.toStdString()); }

}  // namespace tamboro
