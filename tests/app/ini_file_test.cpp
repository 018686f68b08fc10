#include <sys/resource.h>

#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/ini_file.h"
#include "app/settings.h"
#include "data/sjis.h"

using namespace tamboro;
namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void spit(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

// Files may not grow past the limit while alive, as on a full disk; a write
// beyond it fails with EFBIG instead of killing the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldSignal_)(int) = SIG_DFL;
};

}  // namespace

class IniFileTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path file;

private slots:
    void init() {
        QVERIFY(dir.isValid());
        file = fs::path(dir.path().toStdString()) / "TAMBORO.INI";
        fs::remove_all(file);
    }

    void missingFileReadsEmptyAndFirstSaveCreatesIt() {
        IniFile ini(file);
        QVERIFY(!ini.readString("TFMain", "BUpPath"));
        QCOMPARE(ini.readInteger("TFMain", "PlaceFlags", 7), 7);
        ini.save();  // nothing set, nothing created
        QVERIFY(!fs::exists(file));
        ini.setString("TFMain", "BupPath", "");
        ini.setInteger("TFMain", "PlaceShowCmd", 1);
        QVERIFY(!fs::exists(file));  // until saved
        ini.save();
        QCOMPARE(slurp(file), std::string("[TFMain]\r\nBupPath=\r\nPlaceShowCmd=1\r\n"));
        QCOMPARE(*IniFile(file).readString("tfmain", "bupPATH"), std::string());
    }

    void namesMatchWithoutCaseAndKeepTheirSpelling() {
        spit(file, "[tfmain]\nBUPPATH=/old\n");
        IniFile ini(file);
        QCOMPARE(*ini.readString("TFMain", "BUpPath"), std::string("/old"));
        ini.setString("TFMain", "BupPath", "/new");
        ini.save();
        QCOMPARE(slurp(file), std::string("[tfmain]\nBUPPATH=/new\n"));
    }

    void writingKeepsOtherSectionsKeysAndComments() {
        spit(file,
             "; settings\r\n[Other]\r\nBupPath=keep\r\n\r\n[TFMain]\r\nPlaceFlags=0\r\n\r\n[Tail]\r\nx = 1 \r\n");
        IniFile ini(file);
        ini.setInteger("TFMain", "PlaceShowCmd", 3);
        ini.setInteger("TFMain", "PlaceFlags", -2);
        ini.setString("New", "k", "v");
        ini.save();
        QCOMPARE(slurp(file), std::string("; settings\r\n[Other]\r\nBupPath=keep\r\n\r\n[TFMain]\r\n"
                                          "PlaceFlags=-2\r\nPlaceShowCmd=3\r\n\r\n[Tail]\r\nx = 1 \r\n"
                                          "[New]\r\nk=v\r\n"));
        QCOMPARE(*ini.readString("Tail", "X"), std::string("1"));
        QCOMPARE(*ini.readString("other", "bupPath"), std::string("keep"));
    }

    // Nothing the program does not change may move by a byte: mixed line
    // ends, blanks, comments, values of other programs, hexadecimal numbers.
    void untouchedLinesKeepEveryByte() {
        const std::string head = "\xEF\xBB\xBF; made by hand\r\n[Other]\nName = 東京 \r\n\r\n[TFMain]\r\nPlaceFlags=0x0\n";
        spit(file, head + "PlaceShowCmd = 1\r\nBupPath=\r\n[Tail]\rodd\n");
        IniFile ini(file);
        ini.setInteger("TFMain", "PlaceFlags", 0);
        ini.setInteger("TFMain", "PlaceShowCmd", 1);
        ini.setString("TFMain", "BupPath", "");
        QVERIFY(!ini.changed());
        ini.setInteger("TFMain", "PlaceShowCmd", 3);
        ini.setInteger("TFMain", "PlaceMaxPos.X", -1);
        ini.save();
        QCOMPARE(slurp(file), head + "PlaceShowCmd = 3\r\nBupPath=\r\nPlaceMaxPos.X=-1\r\n[Tail]\rodd\n");
    }

    void fileWithoutFinalLineEndGetsNoStrayBlankLine() {
        spit(file, "[TFMain]\nA=1");
        IniFile ini(file);
        ini.setInteger("TFMain", "B", 2);
        ini.setInteger("Next", "C", 3);
        ini.save();
        QCOMPARE(slurp(file), std::string("[TFMain]\nA=1\nB=2\n[Next]\nC=3\n"));
    }

    void integers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");  // 99 is the fallback
        QTest::newRow("decimal") << "120" << 120;
        QTest::newRow("negative") << "-32000" << -32000;
        QTest::newRow("blanks trimmed") << "  44 " << 44;
        QTest::newRow("0x hex") << "0x1F" << 31;
        QTest::newRow("0X hex") << "0X10" << 16;
        QTest::newRow("dollar hex") << "$ff" << 255;
        QTest::newRow("hex pattern") << "$FFFFFFFF" << -1;
        QTest::newRow("lowest") << "-2147483648" << INT32_MIN;
        QTest::newRow("too big") << "2147483648" << 99;
        QTest::newRow("hex too big") << "0x100000000" << 99;
        QTest::newRow("word") << "abc" << 99;
        QTest::newRow("trailing junk") << "12px" << 99;
        QTest::newRow("empty") << "" << 99;
        QTest::newRow("bare prefix") << "0x" << 99;
        QTest::newRow("bare dollar") << "$" << 99;
        QTest::newRow("sign only") << "-" << 99;
        QTest::newRow("real") << "1.5" << 99;
    }
    void integers() {
        QFETCH(QString, text);
        spit(file, "[TFMain]\nPlaceFlags=" + text.toStdString() + "\n");
        QTEST(IniFile(file).readInteger("TFMain", "PlaceFlags", 99), "expected");
    }

    void firstSectionAndKeyOfANameWin() {
        spit(file, "[A]\nk=1\nk=2\n[a]\nk=3\n");
        IniFile ini(file);
        QCOMPARE(ini.readInteger("A", "K", 0), 1);
        ini.setInteger("a", "k", 9);
        ini.save();
        QCOMPARE(slurp(file), std::string("[A]\nk=9\nk=2\n[a]\nk=3\n"));
    }

    void shiftJisValuesAndNamesRoundTrip() {
        IniFile ini(file);
        const std::string folder = sj("/home/利用者/バックアップ");
        ini.setString("TFMain", "BupPath", folder);
        ini.save();
        QCOMPARE(*IniFile(file).readString("TFMain", "BUPPATH"), folder);
        QCOMPARE(slurp(file), "[TFMain]\r\nBupPath=" + folder + "\r\n");
        // Kanji differing only in a trail byte that is an ASCII letter stay apart:
        // 0x8341 and 0x8361 are two different katakana.
        ini.setString("TFMain", "\x83\x41", "one");
        QVERIFY(!ini.readString("TFMain", "\x83\x61"));
    }

    void backupFolderIsReadUnderAnySpellingAndWrittenAsBupPath() {
        QCOMPARE(readBackupFolder(file), QString());
        spit(file, "[TFMain]\r\nbUPpATH=" + sj("/mnt/ディスク") + "\r\n");
        QCOMPARE(readBackupFolder(file), QString::fromUtf8("/mnt/ディスク"));
        IniFile ini(file);
        writeBackupFolder(ini, QString());
        ini.save();
        QCOMPARE(slurp(file), std::string("[TFMain]\r\nbUPpATH=\r\n"));
        fs::remove(file);
        IniFile fresh(file);
        writeBackupFolder(fresh, QString());
        fresh.save();
        QCOMPARE(slurp(file), std::string("[TFMain]\r\nBupPath=\r\n"));
    }

    // Another program wrote the folder in UTF-8: it reads garbled, but an
    // exit that did not change it must not make it worse.
    void backupFolderInAnotherEncodingKeepsItsBytesUntilChanged() {
        spit(file, "[TFMain]\nBupPath=/mnt/ディスク\n");
        IniFile ini(file);
        writeBackupFolder(ini, readBackupFolder(ini));
        QVERIFY(!ini.changed());
        writeBackupFolder(ini, QStringLiteral("/mnt/控え"));
        ini.save();
        QCOMPARE(slurp(file), "[TFMain]\nBupPath=" + sj("/mnt/控え") + "\n");
    }

    void failedSaveGivesPathAndReason_data() {
        QTest::addColumn<bool>("folderInTheWay");  // else the parent folder is missing
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder at its name") << true << QString::fromUtf8("通常のファイルではありません");
        QTest::newRow("no parent folder") << false << QString::fromUtf8(std::strerror(ENOENT));
    }
    void failedSaveGivesPathAndReason() {
        QFETCH(bool, folderInTheWay);
        QFETCH(QString, reason);
        fs::path target = file;
        if (folderInTheWay) fs::create_directory(target);  // root may write anywhere, but not this
        else target = file.parent_path() / "gone" / "TAMBORO.INI";
        IniFile ini(target);
        QVERIFY(!ini.readString("TFMain", "BupPath"));
        ini.setString("TFMain", "BupPath", "x");
        try {
            ini.save();
            QFAIL("no error");
        } catch (const IniWriteError& e) {
            const QString message = QString::fromUtf8(e.what());
            QVERIFY2(message.startsWith(QString::fromStdString(target.string()) + QString::fromUtf8(" に書き込めません: ")),
                     qPrintable(message));
            QVERIFY2(message.contains(reason), qPrintable(message));
        }
        QCOMPARE(fs::is_directory(target), folderInTheWay);
    }

    // A disk that fills up during the save: the old file stays whole, and
    // nothing half-written is left beside it.
    void saveCutShortLeavesTheOldFileWhole() {
        std::string before = "[Other]\r\n";
        for (int i = 0; i < 200; ++i) before += "Key" + std::to_string(i) + "=some value\r\n";
        spit(file, before);
        IniFile ini(file);
        ini.setString("TFMain", "BupPath", "/b");
        {
            FileSizeLimit limit(1000);
            QVERIFY_THROWS_EXCEPTION(IniWriteError, ini.save());
        }
        QCOMPARE(slurp(file), before);
        QCOMPARE(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()), 1);
        ini.save();
        QCOMPARE(slurp(file), before + "[TFMain]\r\nBupPath=/b\r\n");
    }

    void settingsFileNameReplacesOrAppendsTheExtension() {
        QCOMPARE(settingsFileFor("/opt/tamboro/Tamboro.exe").string(), std::string("/opt/tamboro/Tamboro.INI"));
        QCOMPARE(settingsFileFor("/opt/tam.boro/tamboro").string(), std::string("/opt/tam.boro/tamboro.INI"));
        QCOMPARE(settingsFileFor("/usr/bin/a.b.c").string(), std::string("/usr/bin/a.b.INI"));
    }
};

QTEST_MAIN(IniFileTest)
#include "ini_file_test.moc"
