// Backup and restore of the data files through the popup menu's commands,
// and the rescue of a catalogue that cannot be written at exit.
#include <sys/mount.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

#include "app/application.h"
#include "app/main_window.h"
#include "app_fixture.h"
#include "controls/folder_dialog.h"
#include "controls/table_model.h"

using namespace tamboro;
using namespace tamboro::test;
namespace fs = std::filesystem;

namespace {

const char* const kFiles[] = {"DvdData.xml", "History.xml", "Genre.xml", "Genre2.xml",
                              "Impress.xml", "Sound.xml",   "Lange.xml"};
const QString kBackupTitle = QStringLiteral("バックアップ先フォルダ指定");
const QString kRestoreTitle = QStringLiteral("バックアップデータの存在するフォルダ指定");
const QString kBackupDone = QStringLiteral("バックアップデータファイルを作成しました。");
const QString kRestoreDone = QStringLiteral("バックアップデータファイルを復元しました。");
const QString kRestoreQuestion = QStringLiteral(
    "バックアップデータを復元してもよろしいですか？　データは以前にバックアップデータを作成したときの状態に戻ります。");

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The seven data files of a folder, byte for byte; absent ones are left out.
using Files = std::map<std::string, std::string>;
Files filesOf(const fs::path& folder) {
    Files out;
    for (const char* name : kFiles)
        if (fs::is_regular_file(folder / name)) out[name] = readAll(folder / name);
    return out;
}

QString qpath(const fs::path& p) { return QString::fromStdString(p.string()); }

// What the folder picker showed when it opened.
struct PickerSeen {
    QString title, directory;
    bool shown = false;
};

// Answers the next folder picker of main: types folder into its path field
// and confirms it, confirms the computer item when folder is empty, or
// cancels when there is no folder.
std::shared_ptr<PickerSeen> answerPicker(TFMain& main, std::optional<QString> folder) {
    auto seen = std::make_shared<PickerSeen>();
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, seen, folder, &main] {
        TFolderBrowser* b = main.folderDialog()->browser();
        if (!b || !b->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        *seen = {b->titleLabel()->text(), b->pathEdit()->text(), true};
        if (!folder) return b->reject();
        b->pathEdit()->setText(*folder);
        b->okButton()->click();
    });
    timer->start();
    return seen;
}

QStringList texts(const std::vector<BoxShown>& boxes, BoxKind kind) {
    QStringList out;
    for (const BoxShown& b : boxes)
        if (b.kind == kind) out << b.text;
    return out;
}

// A mount on a folder of ours, taken down however the test ends.
class Mount {
public:
    // A tmpfs of the given size: a disk that fills.
    static std::unique_ptr<Mount> smallDisk(const fs::path& at, const char* size) {
        const std::string options = std::string("size=") + size;
        if (::mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()) != 0) return nullptr;
        return std::unique_ptr<Mount>(new Mount(at));
    }
    // The folder itself, read-only.
    static std::unique_ptr<Mount> readOnly(const fs::path& at) {
        if (::mount(at.c_str(), at.c_str(), nullptr, MS_BIND, nullptr) != 0) return nullptr;
        auto m = std::unique_ptr<Mount>(new Mount(at));
        if (::mount(nullptr, at.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) return nullptr;
        return m;
    }
    ~Mount() { ::umount2(at_.c_str(), MNT_DETACH); }

private:
    explicit Mount(fs::path at) : at_(std::move(at)) {}
    fs::path at_;
};

}  // namespace

class BackupRestoreTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CatalogueFolder> folder_;
    std::unique_ptr<QTemporaryDir> elsewhere_;  // where backups go
    std::unique_ptr<Program> program_;
    std::unique_ptr<ErrorCollector> boxes_;
    TFMain* main_ = nullptr;
    TDM1* dm_ = nullptr;

    fs::path there(const char* rel = "") const { return fs::path(elsewhere_->path().toStdString()) / rel; }

    void start() {
        program_ = std::make_unique<Program>(StartupPaths{folder_->path(), folder_->iniFile()});
        main_ = &program_->FMain();
        dm_ = &program_->DM1();
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_));
    }

    void retitleFirst(const char* title) {
        dm_->CDvd.first();
        dm_->CDvd.edit();
        dm_->CDvd.fieldU8(fld::Title).setString(sj(title));
        dm_->CDvd.post();
    }

    QString firstTitle() {
        dm_->CDvd.first();
        return u8(dm_->CDvd.fieldU8(fld::Title).asString());
    }

    std::shared_ptr<PickerSeen> backup(std::optional<QString> folder) {
        auto seen = answerPicker(*main_, std::move(folder));
        main_->BackupB1Click();
        return seen;
    }
    std::shared_ptr<PickerSeen> restore(std::optional<QString> folder) {
        auto seen = answerPicker(*main_, std::move(folder));
        main_->BackUpF1Click();
        return seen;
    }

    bool allOpen() const {
        for (Table* t : {&dm_->CDvd, &dm_->CGenre, &dm_->CGenre2, &dm_->CSound, &dm_->CLange, &dm_->CHistory,
                         &dm_->CImpress})
            if (!t->active()) return false;
        return true;
    }

private slots:
    void init() {
        folder_ = std::make_unique<CatalogueFolder>();
        elsewhere_ = std::make_unique<QTemporaryDir>();
        boxes_ = std::make_unique<ErrorCollector>();
        start();
    }
    void cleanup() {
        if (main_) main_->close();
        program_.reset();
        boxes_.reset();
        folder_.reset();
        elsewhere_.reset();
        main_ = nullptr;
    }

    void backupChangeRestoreAndTheFolderIsOfferedAgainAfterARestart() {
        const QString folder = qpath(there("控え/2026"));  // does not exist yet
        retitleFirst("七人の侍（完全版）");
        auto seen = backup(folder);
        QCOMPARE(seen->title, kBackupTitle);
        QCOMPARE(seen->directory, QString());
        QCOMPARE(texts(boxes_->boxes, BoxKind::Information), QStringList{kBackupDone});
        QCOMPARE(main_->backupFolder(), folder);
        // The change was written first; the copies are the catalogue's files.
        const Files backedUp = filesOf(folder_->path());
        QCOMPARE(backedUp.size(), size_t(6));  // the built-in genres have no file
        QVERIFY(filesOf(there("控え/2026")) == backedUp);
        QVERIFY(allOpen());
        QCOMPARE(dm_->CDvd.recNo(), 0);

        retitleFirst("別の題名");
        boxes_->boxes.clear();
        seen = restore(folder);
        QCOMPARE(seen->title, kRestoreTitle);
        QCOMPARE(seen->directory, folder);
        QCOMPARE(boxes_->boxes.size(), size_t(2));
        QCOMPARE(boxes_->boxes[0].kind, BoxKind::Confirmation);
        QCOMPARE(boxes_->boxes[0].text, kRestoreQuestion);
        QCOMPARE(boxes_->boxes[1].kind, BoxKind::Information);
        QCOMPARE(boxes_->boxes[1].text, kRestoreDone);
        QCOMPARE(firstTitle(), QStringLiteral("七人の侍（完全版）"));
        QVERIFY(filesOf(folder_->path()) == backedUp);

        // The next run offers the same folder.
        QVERIFY(main_->close());
        program_.reset();
        start();
        QCOMPARE(main_->backupFolder(), folder);
        seen = backup(std::nullopt);
        QCOMPARE(seen->directory, folder);
    }

    void cancellingOrSayingNoChangesNothing() {
        retitleFirst("保存前");
        const Files before = filesOf(folder_->path());
        main_->setBackupFolder(qpath(there()));
        backup(std::nullopt);
        boxes_->answer = false;
        auto seen = answerPicker(*main_, std::nullopt);
        main_->BackUpF1Click();
        QVERIFY(!seen->shown);  // No: the picker never opened
        boxes_->answer = true;
        main_->BackUpF1Click();  // the same answer cancels this one
        QVERIFY(seen->shown);
        QVERIFY(filesOf(folder_->path()) == before);  // the change was not even written
        QCOMPARE(main_->backupFolder(), qpath(there()));
        QCOMPARE(texts(boxes_->boxes, BoxKind::Information), QStringList());
        QCOMPARE(dm_->CDvd.state(), TableState::Browse);
        QCOMPARE(firstTitle(), QStringLiteral("保存前"));
    }

    void restoreTakesWhatTheFolderHolds_data() {
        QTest::addColumn<QStringList>("held");
        QTest::newRow("only the titles") << QStringList{"DvdData.xml"};
        QTest::newRow("nothing") << QStringList{};
    }
    void restoreTakesWhatTheFolderHolds() {
        QFETCH(QStringList, held);
        backup(qpath(there()));
        for (const char* name : kFiles)
            if (!held.contains(name)) fs::remove(there(name));
        // Changes since the backup: a title and the sound list.
        retitleFirst("復元で消える");
        CatalogueFolder::addRow(dm_->CSound, fld::SoundCd, fld::SoundName, {{9, "復元で残る"}});
        boxes_->boxes.clear();
        restore(qpath(there()));
        QCOMPARE(texts(boxes_->boxes, BoxKind::Information), QStringList{kRestoreDone});
        QVERIFY(allOpen());
        QCOMPARE(firstTitle(), held.isEmpty() ? QStringLiteral("復元で消える") : QStringLiteral("七人の侍"));
        QCOMPARE(dm_->CSound.recordCount(), 4);  // written at the close, not in the backup
        const Files now = filesOf(folder_->path());
        for (const QString& name : held) QVERIFY(now.at(name.toStdString()) == readAll(there(qPrintable(name))));
    }

    void theProgramFolderPickedLeavesTheFilesAsTheyWere() {
        retitleFirst("自分自身へ");
        main_->FormClose();  // what the commands' close writes
        const Files written = filesOf(folder_->path());
        dm_->CDvd.open();
        for (const QString& pick : {qpath(folder_->path()), qpath(folder_->path()) + "/."}) {
            backup(pick);
            QVERIFY(filesOf(folder_->path()) == written);
            restore(pick);
            QVERIFY(filesOf(folder_->path()) == written);
        }
        QCOMPARE(boxes_->messages, QStringList());
        QCOMPARE(texts(boxes_->boxes, BoxKind::Information).size(), 4);
        QCOMPARE(firstTitle(), QStringLiteral("自分自身へ"));
        QVERIFY(QDir(qpath(folder_->path())).entryList(QDir::Files).filter(".tmp").isEmpty());
    }

    void aSearchInForceAndTheSortOrderAreKept() {
        main_->BSTitleClick();
        auto* genre = main_->findChild<QComboBox*>("CmbSGenre1");
        genre->setCurrentIndex(genre->findText(QStringLiteral("洋画")));
        main_->CmbSGenre1Click();
        main_->BSearchClick();
        const int listed = dm_->CDvd.recordCount();
        QCOMPARE(listed, 4);
        const std::string filter = dm_->CDvd.filterText(), order = dm_->CDvd.indexFields();
        for (bool restoring : {false, true}) {
            dm_->CDvd.last();
            restoring ? restore(qpath(there())) : backup(qpath(there()));
            QVERIFY(dm_->CDvd.filtered());
            QCOMPARE(dm_->CDvd.filterText(), filter);
            QCOMPARE(dm_->CDvd.indexFields(), order);
            QCOMPARE(dm_->CDvd.recordCount(), listed);
            QCOMPARE(dm_->CDvd.recNo(), 0);
            QCOMPARE(main_->dvdGridModel()->rowCount(), listed);
        }
    }

    void afterARestoreNewTitlesAreNumberedAboveEveryStoredCode() {
        std::vector<TitleSpec> twenty(20, TitleSpec{"昔の一本", 100, 1});
        CatalogueFolder older(twenty);
        QCOMPARE(dm_->lastCode(), 12);
        restore(qpath(older.path()));
        QCOMPARE(dm_->CDvd.recordCount(), 20);
        dm_->AddNewTitle();
        QCOMPARE(dm_->CDvd.fieldU8(fld::Code).asInteger(), int64_t(21));
        dm_->CDvd.cancel();
    }

    void aBrokenBackupIsRefusedAndTheCatalogueStays_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("fault");
        QTest::newRow("truncated") << "DvdData.xml" << "truncated";
        QTest::newRow("the last file cut short") << "Lange.xml" << "truncated";
        QTest::newRow("a folder") << "Impress.xml" << "folder";
        QTest::newRow("another table's") << "Sound.xml" << "genre2";
    }
    void aBrokenBackupIsRefusedAndTheCatalogueStays() {
        QFETCH(QString, file);
        QFETCH(QString, fault);
        backup(qpath(there()));
        const Files backedUp = filesOf(folder_->path());
        const fs::path broken = there(qPrintable(file));
        const std::string whole = readAll(broken);
        fs::remove(broken);
        if (fault == "truncated") std::ofstream(broken, std::ios::binary) << whole.substr(0, whole.size() * 2 / 3);
        if (fault == "folder") fs::create_directories(broken / "x");
        if (fault == "genre2") fs::copy_file(there("Genre2.xml"), broken);
        retitleFirst("復元の前");
        boxes_->boxes.clear();
        restore(qpath(there()));
        QCOMPARE(boxes_->messages.size(), 1);
        QVERIFY2(boxes_->messages[0].contains(file), qPrintable(boxes_->messages[0]));
        QCOMPARE(texts(boxes_->boxes, BoxKind::Information), QStringList());
        // Written at the close, then left alone; every table open on it.
        QVERIFY(readAll(folder_->file("DvdData.xml")).find(sj("復元の前")) != std::string::npos);
        Files now = filesOf(folder_->path());
        QVERIFY(now.erase("DvdData.xml") && backedUp.size() == now.size() + 1);
        for (const auto& [name, bytes] : now) QVERIFY2(bytes == backedUp.at(name), name.c_str());
        QVERIFY(allOpen());
        QCOMPARE(firstTitle(), QStringLiteral("復元の前"));
    }

    void aBackupOverAnOlderOneNamesTheCopiesThatFailed() {
        // Over an older backup, with a folder in one file's place.
        for (const char* name : kFiles) std::ofstream(there(name)) << "an older backup";
        fs::remove(there("Sound.xml"));
        fs::create_directories(there("Sound.xml/x"));
        backup(qpath(there()));
        QCOMPARE(texts(boxes_->boxes, BoxKind::Information), QStringList());
        QCOMPARE(boxes_->messages.size(), 1);
        QVERIFY(boxes_->messages[0].contains("Sound.xml"));
        QVERIFY(!boxes_->messages[0].contains("DvdData.xml"));
        for (const auto& [name, bytes] : filesOf(folder_->path()))  // replaced without asking, the next ones too
            if (name != "Sound.xml") QVERIFY2(readAll(there(name.c_str())) == bytes, name.c_str());
        QCOMPARE(readAll(there("Genre.xml")), std::string("an older backup"));  // the catalogue has none
        QVERIFY(allOpen());

        // A full disk: the older backup stays whole.
        const fs::path disk = there("disk");
        fs::create_directory(disk);
        auto mounted = Mount::smallDisk(disk, "64k");
        if (!mounted) QSKIP("cannot mount a small tmpfs here");
        std::ofstream(disk / "DvdData.xml") << "older";
        {
            std::ofstream fill(disk / "filler", std::ios::binary);
            const std::string block(4096, 'f');
            while (fill.write(block.data(), block.size())) {}
        }
        boxes_->messages.clear();
        backup(qpath(disk));
        QCOMPARE(boxes_->messages.size(), 1);
        QVERIFY2(boxes_->messages[0].contains("DvdData.xml"), qPrintable(boxes_->messages[0]));
        QCOMPARE(readAll(disk / "DvdData.xml"), std::string("older"));
        QVERIFY(QDir(qpath(disk)).entryList(QDir::Files).filter(".tmp").isEmpty());
    }

    void aRestoreIntoAReadOnlyFolderIsReported() {
        backup(qpath(there()));
        const Files before = filesOf(folder_->path());
        auto readOnly = Mount::readOnly(folder_->path());
        if (!readOnly) QSKIP("cannot mount the folder read-only here");
        boxes_->boxes.clear();
        restore(qpath(there()));
        QCOMPARE(boxes_->messages.size(), 1);
        for (const auto& [name, bytes] : before) QVERIFY(boxes_->messages[0].contains(QString::fromStdString(name)));
        QCOMPARE(texts(boxes_->boxes, BoxKind::Information), QStringList());
        readOnly.reset();
        QVERIFY(filesOf(folder_->path()) == before);
        QVERIFY(allOpen());
    }

    void aFolderTheSettingsFileCannotHoldIsRefused() {
        main_->setBackupFolder(qpath(there("前のもの")));
        const QString unfit = qpath(there()) + QStringLiteral("/映画🎬");
        backup(unfit);
        QCOMPARE(boxes_->messages.size(), 1);
        QVERIFY(boxes_->messages[0].contains(QStringLiteral("シフトJIS")));
        QCOMPARE(main_->backupFolder(), qpath(there("前のもの")));
        QVERIFY(!QDir(unfit).exists());
        restore(unfit);
        QCOMPARE(boxes_->messages.size(), 2);
        QCOMPARE(main_->backupFolder(), qpath(there("前のもの")));
        QCOMPARE(texts(boxes_->boxes, BoxKind::Information), QStringList());
        // A name Shift-JIS holds is fine, however un-Western.
        backup(qpath(there()) + QStringLiteral("/髙橋の①"));
        QCOMPARE(texts(boxes_->boxes, BoxKind::Information).size(), 1);
    }

    void theComputerItemWithNoFolderYetStopsWithAnIoError() {
        retitleFirst("書かれない");
        const Files before = filesOf(folder_->path());
        backup(QString());
        QCOMPARE(boxes_->messages.size(), 1);
        QVERIFY2(boxes_->messages[0].startsWith(QStringLiteral("I/O エラー (")), qPrintable(boxes_->messages[0]));
        QVERIFY(filesOf(folder_->path()) == before);  // the tables were not touched
        QCOMPARE(dm_->CDvd.state(), TableState::Browse);
    }

    void aCatalogueThatCannotBeWrittenAtExitIsSavedElsewhere() {
        retitleFirst("救われる変更");
        const fs::path file = folder_->file("DvdData.xml");
        fs::remove(file);
        fs::create_directories(file / "in-the-way");
        QSignalSpy closed(main_, &TFMain::closed);

        // Cancelling the picker keeps the window open, as answering No does.
        auto seen = answerPicker(*main_, std::nullopt);
        QVERIFY(!main_->close());
        QVERIFY(seen->shown);
        QCOMPARE(closed.count(), 0);
        QCOMPARE(texts(boxes_->boxes, BoxKind::Confirmation).size(), 1);

        boxes_->boxes.clear();
        const fs::path rescue = there("救出");
        answerPicker(*main_, qpath(rescue));
        QVERIFY(main_->close());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(boxes_->messages.size(), 2);  // the failed write, each time
        QCOMPARE(texts(boxes_->boxes, BoxKind::Information).size(), 1);
        QVERIFY(texts(boxes_->boxes, BoxKind::Information)[0].contains(qpath(rescue)));
        program_.reset();
        main_ = nullptr;

        TDM1 saved(rescue);
        saved.openAtCreation();
        saved.OpenForEditor();
        QCOMPARE(saved.CDvd.recordCount(), 12);
        saved.CDvd.first();
        QCOMPARE(u8(saved.CDvd.fieldU8(fld::Title).asString()), QStringLiteral("救われる変更"));
        QCOMPARE(saved.CSound.recordCount(), 3);
    }
};

QTEST_MAIN(BackupRestoreTest)
#include "backup_restore_test.moc"
