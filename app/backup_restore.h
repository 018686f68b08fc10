#pragma once
#include <QString>
#include <QStringList>
#include <filesystem>

namespace tamboro {

class TDM1;

// The messages backup and restore end with.
inline constexpr const char* kBackupDone = "バックアップデータファイルを作成しました。";
inline constexpr const char* kRestoreDone = "バックアップデータファイルを復元しました。";

// The folder the picker returned, as a path.
std::filesystem::path folderPath(const QString& folder);

// Whether the settings file, which is Shift-JIS, can hold the folder's path
// so that it reads back the same at the next start.
bool fitsSettingsFile(const QString& folder);

// Creates the backup folder unless a folder or a file is at its path
// already. Throws DataError "I/O エラー (n)" when it cannot.
void makeBackupFolder(const std::filesystem::path& folder);

// Closes the catalogue (changed tables written first), copies its seven
// files into the backup folder and opens it again on its first listed
// title. Returns the copies that failed, one line each naming the file and
// why; a file the catalogue does not have is no failure.
QStringList backupCatalogue(TDM1& dm, const std::filesystem::path& backupFolder);

// Closes the catalogue, copies the files the backup folder holds over the
// catalogue's and opens it again. Every file the backup holds is checked
// before any is copied: when one cannot be opened, nothing is copied, the
// catalogue opens as it was and DataError names the file. Returns the
// copies that failed, as backupCatalogue does.
QStringList restoreCatalogue(TDM1& dm, const std::filesystem::path& backupFolder);

// The closing message's text when some copies failed.
QString copyFailureText(bool restore, const QStringList& failures);

}  // namespace tamboro
