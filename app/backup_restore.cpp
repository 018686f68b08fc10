#include "app/backup_restore.h"

#include <cerrno>
#include <string>
#include <system_error>

#include "controls/sjis_qt.h"
#include "data/catalogue_files.h"
#include "data/data_module.h"
#include "data/error.h"

namespace tamboro {

namespace {

namespace fs = std::filesystem;

std::string nameOf(CatalogueTable t) { return std::string(definitionOf(t).fileName); }

bool sameFolder(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

// Opening CDvd opens the six others; its order and filter were kept while
// it was closed, so the list comes back as the user left it.
void reopen(TDM1& dm) {
    dm.CDvd.open();
    dm.CDvd.first();
}

// Copies each file in the copy order, going on after a failure.
QStringList copyAll(TDM1& dm, const fs::path& backupFolder, bool restore) {
    QStringList failures;
    // The same folder both ends: every file would be copied onto itself.
    if (sameFolder(backupFolder, dm.folder())) return failures;
    for (CatalogueTable t : kCopyOrder) {
        const fs::path ours = dm.table(t).file();
        const fs::path theirs = backupFolder / nameOf(t);
        try {
            if (restore) copyFileSafely(theirs, ours);
            else copyFileSafely(ours, theirs);
        } catch (const std::exception& e) {
            failures << QString::fromUtf8(e.what());
        }
    }
    return failures;
}

}  // namespace

fs::path folderPath(const QString& folder) { return fs::path(folder.toStdU16String()); }

bool fitsSettingsFile(const QString& folder) { return fromSjis(toSjisQ(folder)) == folder; }

void makeBackupFolder(const fs::path& folder) {
    std::error_code ec;
    if (!folder.empty() && fs::symlink_status(folder, ec).type() != fs::file_type::not_found) return;
    // Nothing picked at all: there is no folder to make.
    if (folder.empty()) ec = std::make_error_code(std::errc::no_such_file_or_directory);
    else fs::create_directories(folder, ec);
    if (ec) throw DataError(formatMessage("I/O エラー (%s)", {std::to_string(ec.value())}));
}

QStringList backupCatalogue(TDM1& dm, const fs::path& backupFolder) {
    dm.closeCatalogue();
    const QStringList failures = copyAll(dm, backupFolder, false);
    reopen(dm);
    return failures;
}

QStringList restoreCatalogue(TDM1& dm, const fs::path& backupFolder) {
    dm.closeCatalogue();
    // A broken file copied over a good one would lose the catalogue and
    // leave every table closed: check them all before replacing any.
    if (!sameFolder(backupFolder, dm.folder())) {
        for (CatalogueTable t : kCopyOrder) {
            try {
                checkTableFile(backupFolder / nameOf(t), t);
            } catch (const std::exception& e) {
                std::string message = formatMessage(
                    "バックアップデータを復元できません。データは変更されていません。\n%s", {e.what()});
                try {
                    reopen(dm);
                } catch (const std::exception& again) {
                    message += "\n";
                    message += again.what();
                }
                throw DataError(message);
            }
        }
    }
    const QStringList failures = copyAll(dm, backupFolder, true);
    reopen(dm);
    return failures;
}

QString copyFailureText(bool restore, const QStringList& failures) {
    const QString head = restore ? QStringLiteral("バックアップデータファイルの復元で、次のファイルをコピーできませんでした。")
                                 : QStringLiteral("バックアップデータファイルの作成で、次のファイルをコピーできませんでした。");
    return head + QLatin1Char('\n') + failures.join(QLatin1Char('\n'));
}

}  // namespace tamboro
