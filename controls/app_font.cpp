#include "controls/app_font.h"

#include <QStringList>

namespace tamboro {

void installFontSubstitutions() {
    const QString family = QString::fromUtf8(kAppFontFamily);
    const QStringList stand_ins{QStringLiteral("IPAPGothic"), QString::fromUtf8("IPA Pゴシック"),
                                QStringLiteral("IPAGothic")};
    if (QFont::substitutes(family) != stand_ins) {
        QFont::removeSubstitutions(family);
        QFont::insertSubstitutions(family, stand_ins);
    }
}

QFont appFont(int pixelSize) {
    installFontSubstitutions();
    QFont f(QString::fromUtf8(kAppFontFamily));
    f.setPixelSize(pixelSize);
    return f;
}

}  // namespace tamboro
