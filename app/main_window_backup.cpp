// Backup and restore of the data files, and the rescue when the catalogue
// cannot be written at exit.
#include "app/backup_restore.h"
#include "app/main_window.h"
#include "controls/folder_dialog.h"
#include "controls/message_boxes.h"
#include "data/catalogue_files.h"

namespace tamboro {

namespace {

void showOutcome(bool restore, const QStringList& failures) {
    if (failures.isEmpty()) ShowInformation(QString::fromUtf8(restore ? kRestoreDone : kBackupDone));
    else ShowDefaultError(copyFailureText(restore, failures));
}

}  // namespace

TFolderDialog* TFMain::folderDialog() {
    if (!FolderDialog1) FolderDialog1 = new TFolderDialog(this);
    return FolderDialog1;
}

bool TFMain::pickBackupFolder(const QString& title) {
    TFolderDialog* picker = folderDialog();
    picker->setTitle(title);
    picker->setDirectory(BupPath);
    if (!picker->Execute()) return false;
    const QString picked = picker->directory();
    // Stored, it would come back garbled at the next start.
    if (!fitsSettingsFile(picked)) {
        ShowDefaultError(QStringLiteral("フォルダ '%1' にはシフトJISで表せない文字が含まれているため、"
                                        "バックアップフォルダとして設定ファイルに保存できません。"
                                        "別のフォルダを指定してください")
                             .arg(picked));
        return false;
    }
    // Kept from here on, whatever the rest of the command does.
    BupPath = picked;
    return true;
}

void TFMain::BackupB1Click() {
    if (!pickBackupFolder(QStringLiteral("バックアップ先フォルダ指定"))) return;
    guarded([this] {
        const std::filesystem::path folder = folderPath(BupPath);
        makeBackupFolder(folder);
        showOutcome(false, backupCatalogue(dm_, folder));
    });
}

void TFMain::BackUpF1Click() {
    if (!AskConfirmation(QStringLiteral("バックアップデータを復元してもよろしいですか？　"
                                        "データは以前にバックアップデータを作成したときの状態に戻ります。")))
        return;
    if (!pickBackupFolder(QStringLiteral("バックアップデータの存在するフォルダ指定"))) return;
    guarded([this] { showOutcome(true, restoreCatalogue(dm_, folderPath(BupPath))); });
}

bool TFMain::saveElsewhereAfterFailedClose() {
    if (!AskConfirmation(QStringLiteral("データファイルを書き込めないため、終了できません。"
                                        "データを別のフォルダに保存して終了しますか？")))
        return false;
    TFolderDialog* picker = folderDialog();
    picker->setTitle(QStringLiteral("データの保存先フォルダ指定"));
    picker->setDirectory(BupPath);
    if (!picker->Execute()) return false;
    const QString picked = picker->directory();
    return guarded([this, &picked] {
        const std::filesystem::path folder = folderPath(picked);
        makeBackupFolder(folder);
        saveCatalogueCopy(dm_, folder);
        ShowInformation(QStringLiteral("データを %1 に保存しました。プログラムを終了します。").arg(picked));
    });
}

}  // namespace tamboro
