#include "controls/impress_captions.h"

#include <QAbstractButton>

#include "controls/sjis_qt.h"
#include "data/data_module.h"

namespace tamboro {

ImpressBoxTable findImpressBoxes(const QObject& window, const char* prefix) {
    ImpressBoxTable boxes{};
    for (int n = 1; n <= 10; ++n)
        boxes[static_cast<size_t>(n)] =
            window.findChild<QAbstractButton*>(QString::fromUtf8(prefix) + QString::number(n));
    return boxes;
}

void captionImpressBoxes(TDM1& dm, std::initializer_list<const ImpressBoxTable*> tables) {
    const std::vector<std::string> names = dm.impressionNames();
    for (int i = 1; i <= 10; ++i) {
        QString caption;
        if (!names.empty()) caption = fromSjis(names[std::min<size_t>(static_cast<size_t>(i - 1), names.size() - 1)]);
        for (const ImpressBoxTable* table : tables)
            if (table && (*table)[static_cast<size_t>(i)]) (*table)[static_cast<size_t>(i)]->setText(caption);
    }
}

}  // namespace tamboro
