#include <QTemporaryDir>
#include <QTest>
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

}  // namespace

class IniFileTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path file;

private slots:
    void init() {
        QVERIFY(dir.isValid());
        file = fs::path(dir.path().toStdString()) / "TAMBORO.INI";
        fs::remove(file);
    }

    void missingFileReadsEmptyAndFirstWriteCreatesIt() {
        IniFile ini(file);
        QVERIFY(!ini.readString("TFMain", "BUpPath"));
        QCOMPARE(ini.readInteger("TFMain", "PlaceFlags", 7), 7);
        QVERIFY(!fs::exists(file));
        ini.writeString("TFMain", "BupPath", "");
        ini.writeInteger("TFMain", "PlaceShowCmd", 1);
        QCOMPARE(slurp(file), std::string("[TFMain]\r\nBupPath=\r\nPlaceShowCmd=1\r\n"));
        QCOMPARE(*ini.readString("tfmain", "bupPATH"), std::string());
    }

    void namesMatchWithoutCaseAndKeepTheirSpelling() {
        spit(file, "[tfmain]\nBUPPATH=/old\n");
        IniFile ini(file);
        QCOMPARE(*ini.readString("TFMain", "BUpPath"), std::string("/old"));
        ini.writeString("TFMain", "BupPath", "/new");
        QCOMPARE(slurp(file), std::string("[tfmain]\nBUPPATH=/new\n"));
    }

    void writingKeepsOtherSectionsKeysAndComments() {
        spit(file,
             "; settings\r\n[Other]\r\nBupPath=keep\r\n\r\n[TFMain]\r\nPlaceFlags=0\r\n\r\n[Tail]\r\nx = 1 \r\n");
        IniFile ini(file);
        ini.writeInteger("TFMain", "PlaceShowCmd", 3);
        ini.writeInteger("TFMain", "PlaceFlags", -2);
        ini.writeString("New", "k", "v");
        QCOMPARE(slurp(file), std::string("; settings\r\n[Other]\r\nBupPath=keep\r\n\r\n[TFMain]\r\n"
                                          "PlaceFlags=-2\r\nPlaceShowCmd=3\r\n\r\n[Tail]\r\nx = 1 \r\n"
                                          "[New]\r\nk=v\r\n"));
        QCOMPARE(*ini.readString("Tail", "X"), std::string("1"));
        QCOMPARE(*ini.readString("other", "bupPath"), std::string("keep"));
    }

    void fileWithoutFinalLineEndGetsNoStrayBlankLine() {
        spit(file, "[TFMain]\nA=1");
        IniFile ini(file);
        ini.writeInteger("TFMain", "B", 2);
        ini.writeInteger("Next", "C", 3);
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
        ini.writeInteger("a", "k", 9);
        QCOMPARE(slurp(file), std::string("[A]\nk=9\nk=2\n[a]\nk=3\n"));
    }

    void shiftJisValuesAndNamesRoundTrip() {
        IniFile ini(file);
        const std::string folder = sj("/home/利用者/バックアップ");
        ini.writeString("TFMain", "BupPath", folder);
        QCOMPARE(*ini.readString("TFMain", "BUPPATH"), folder);
        QCOMPARE(slurp(file), "[TFMain]\r\nBupPath=" + folder + "\r\n");
        // Kanji differing only in a trail byte that is an ASCII letter stay apart:
        // 0x8341 and 0x8361 are two different katakana.
        ini.writeString("TFMain", "\x83\x41", "one");
        QVERIFY(!ini.readString("TFMain", "\x83\x61"));
    }

    void backupFolderIsReadUnderAnySpellingAndWrittenAsBupPath() {
        QCOMPARE(readBackupFolder(file), QString());
        spit(file, "[TFMain]\r\nbUPpATH=" + sj("/mnt/ディスク") + "\r\n");
        QCOMPARE(readBackupFolder(file), QString::fromUtf8("/mnt/ディスク"));
        writeBackupFolder(file, QString());
        QCOMPARE(slurp(file), std::string("[TFMain]\r\nbUPpATH=\r\n"));
        fs::remove(file);
        writeBackupFolder(file, QStringLiteral("/b"));
        QCOMPARE(slurp(file), std::string("[TFMain]\r\nBupPath=/b\r\n"));
    }

    void failedWriteNamesTheFile() {
        fs::create_directory(file);  // root may write anywhere; a folder cannot be written as a file
        IniFile ini(file);
        QVERIFY(!ini.readString("TFMain", "BupPath"));
        try {
            ini.writeString("TFMain", "BupPath", "x");
            QFAIL("no error");
        } catch (const IniWriteError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QString::fromStdString(file.string()) + QString::fromUtf8(" に書き込めません"));
        }
        fs::remove(file);
    }

    void settingsFileNameReplacesOrAppendsTheExtension() {
        QCOMPARE(settingsFileFor("/opt/tamboro/Tamboro.exe").string(), std::string("/opt/tamboro/Tamboro.INI"));
        QCOMPARE(settingsFileFor("/opt/tam.boro/tamboro").string(), std::string("/opt/tam.boro/tamboro.INI"));
        QCOMPARE(settingsFileFor("/usr/bin/a.b.c").string(), std::string("/usr/bin/a.b.INI"));
    }
};

QTEST_MAIN(IniFileTest)
#include "ini_file_test.moc"
