#include "controls/sjis_qt.h"

#include "data/sjis.h"

namespace tamboro {

QString fromSjis(std::string_view sjis) { return QString::fromStdString(toUtf8(sjis)); }

std::string toSjisQ(const QString& text) { return toSjis(text.toStdString()); }

}  // namespace tamboro
