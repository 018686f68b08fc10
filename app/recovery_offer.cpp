#include "app/recovery_offer.h"

#include <optional>
#include <string>

#include "controls/message_boxes.h"
#include "data/recovery.h"

namespace tamboro {

namespace {

QString u8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Keeps an unusable copy out of the way of the next close, which removes
// the recovery folder, and says where it went.
void reportUnreadable(const std::filesystem::path& dataFolder, const std::string& stamp, const std::exception& why) {
    QString text = QStringLiteral("復元データを読み込めないため、復元しませんでした。データファイルはそのまま使います。\n") +
                   QString::fromUtf8(why.what());
    try {
        const std::filesystem::path kept = setRecoveryCopyAside(dataFolder, stamp);
        text += QStringLiteral("\n復元データは '%1' に残してあります").arg(u8(kept.string()));
    } catch (const std::exception& e) {
        text += QLatin1Char('\n') + QString::fromUtf8(e.what());
    }
    ShowDefaultError(text);
}

}  // namespace

void offerRecovery(const std::filesystem::path& dataFolder) {
    std::optional<RecoveryMarker> marker;
    try {
        marker = findRecoveryCopy(dataFolder);
    } catch (const std::exception& e) {
        reportUnreadable(dataFolder, std::string(), e);
        return;
    }
    if (!marker) return;
    const QString question = QStringLiteral("前回は正常に終了しませんでした。保存されていない変更を復元しますか？\n\n"
                                            "最後に復元データを保存した時刻: %1")
                                 .arg(u8(marker->time));
    if (!AskConfirmation(question)) {
        guarded([&] { setRecoveryCopyAside(dataFolder, marker->stamp); });
        return;
    }
    try {
        checkRecoveryCopy(dataFolder, *marker);
    } catch (const std::exception& e) {
        reportUnreadable(dataFolder, marker->stamp, e);
        return;
    }
    try {
        applyRecoveryCopy(dataFolder, *marker);
    } catch (const std::exception& e) {
        // Some data files may be replaced already: say where the old ones are.
        const std::filesystem::path kept = recoveryFolderOf(dataFolder) / kReplacedFolderName;
        ShowDefaultError(QString::fromUtf8(e.what()) +
                         QStringLiteral("\n置き換える前のデータファイルは '%1' にあります").arg(u8(kept.string())));
    }
}

}  // namespace tamboro
