// Where the program keeps its data files and settings file: beside a
// portable copy, in the user's own folders for the installed one.
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <optional>

#include "app/application.h"
#include "app/data_folder.h"
#include "data/data_folder_rule.h"
#include "data/error.h"

using namespace tamboro;
namespace fs = std::filesystem;

namespace {

// Sets (or, with nullopt, unsets) an environment variable for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<QByteArray> value) : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
        if (value) qputenv(name, *value);
        else qunsetenv(name);
    }
    ~ScopedEnv() {
        if (had_) qputenv(name_, old_);
        else qunsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

// A home of its own, so that no test reaches the real user's folders.
struct FakeUser {
    QTemporaryDir home;
    ScopedEnv h{"HOME", home.path().toUtf8()};
    ScopedEnv d{"XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8()};
    ScopedEnv c{"XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8()};
    fs::path dataFolder() const { return fs::path(home.path().toStdString()) / "data" / "Tamboro"; }
    fs::path configFolder() const { return fs::path(home.path().toStdString()) / "config" / "Tamboro"; }
};

fs::path pathOf(const QTemporaryDir& dir) { return fs::path(dir.path().toStdString()); }

// What a first start leaves: every data file but Genre.xml, which the genre
// table writes only once its built-in rows change.
const char* const kDataFiles[] = {"DvdData.xml", "Genre2.xml", "Sound.xml", "History.xml", "Impress.xml", "Lange.xml"};

}  // namespace

class DataFolderTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { initialiseApplication(); }

    void installedBinIsRecognisedByFolderNotByName_data() {
        QTest::addColumn<QString>("executableFolder");  // relative to the temporary root
        QTest::addColumn<QString>("installedBin");
        QTest::addColumn<bool>("installed");
        QTest::newRow("same folder") << "usr/bin" << "usr/bin" << true;
        QTest::newRow("trailing separator") << "usr/bin" << "usr/bin/" << true;
        QTest::newRow("dot segments") << "usr/bin" << "usr/lib/../bin" << true;
        QTest::newRow("through a link") << "bin" << "usr/bin" << true;  // merged /usr
        QTest::newRow("another folder") << "home/me/Tamboro" << "usr/bin" << false;
        QTest::newRow("a folder inside it") << "usr/bin/sub" << "usr/bin" << false;
        QTest::newRow("its parent") << "usr" << "usr/bin" << false;
        QTest::newRow("no installation named") << "usr/bin" << "" << false;
    }
    void installedBinIsRecognisedByFolderNotByName() {
        QFETCH(QString, executableFolder);
        QFETCH(QString, installedBin);
        QFETCH(bool, installed);
        QTemporaryDir root;
        const fs::path r = pathOf(root);
        fs::create_directories(r / "usr/bin/sub");
        fs::create_directories(r / "usr/lib");
        fs::create_directories(r / "home/me/Tamboro");
        fs::create_directory_symlink("usr/bin", r / "bin");
        const fs::path bin = installedBin.isEmpty() ? fs::path() : r / installedBin.toStdString();
        QCOMPARE(runsFromInstalledBin(r / executableFolder.toStdString(), bin), installed);
    }

    // tamboro-cli has no Qt, so it finds the user's data folder by itself:
    // it must agree with the program's.
    void userDataFolderAgreesWithQt_data() {
        QTest::addColumn<bool>("xdgSet");
        QTest::newRow("XDG_DATA_HOME set") << true;
        QTest::newRow("XDG_DATA_HOME unset") << false;
    }
    void userDataFolderAgreesWithQt() {
        QFETCH(bool, xdgSet);
        QTemporaryDir home;
        ScopedEnv h("HOME", home.path().toUtf8());
        ScopedEnv d("XDG_DATA_HOME", xdgSet ? std::optional<QByteArray>((home.path() + "/xdg/").toUtf8()) : std::nullopt);
        const fs::path qt = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
        QCOMPARE(QString::fromStdString(userDataFolder().lexically_normal().string()),
                 QString::fromStdString(qt.lexically_normal().string()));
        QVERIFY(userDataFolder().string().starts_with(home.path().toStdString()));
    }

    void portableFolderKeepsItsFilesBesideTheExecutable() {
        FakeUser user;
        QTemporaryDir portable, elsewhere;
        const fs::path exe = pathOf(portable) / "tamboro";
        const StartupPaths paths = startupPathsFor(exe, pathOf(elsewhere));
        QCOMPARE(paths.dataFolder, pathOf(portable));
        QCOMPARE(paths.iniFile, pathOf(portable) / "tamboro.INI");
        {
            Program program(paths);
        }
        for (const char* f : kDataFiles) QVERIFY2(fs::exists(pathOf(portable) / f), f);
        QVERIFY(fs::exists(pathOf(portable) / "tamboro.INI"));
        QVERIFY(!fs::exists(user.dataFolder()));
        QVERIFY(!fs::exists(user.configFolder()));
    }

    // Run from the installation's bin folder, the program leaves that folder
    // alone (root could write there) and creates the user's folders.
    void installedProgramUsesTheUsersFoldersCreatedOnFirstStart() {
        FakeUser user;
        QTemporaryDir bin;
        const fs::path exe = pathOf(bin) / "tamboro";
        const StartupPaths paths = startupPathsFor(exe, pathOf(bin));
        QCOMPARE(paths.dataFolder, user.dataFolder());
        QCOMPARE(paths.iniFile, user.configFolder() / "tamboro.INI");
        QVERIFY(!fs::exists(user.dataFolder()));
        {
            Program program(paths);
        }
        for (const char* f : kDataFiles) QVERIFY2(fs::exists(user.dataFolder() / f), f);
        QVERIFY(fs::exists(user.configFolder() / "tamboro.INI"));
        QVERIFY(fs::is_empty(pathOf(bin)));
        // A second start finds the same catalogue.
        QCOMPARE(startupPathsFor(exe, pathOf(bin)).dataFolder, user.dataFolder());
    }

    void aFolderThatCannotBeCreatedIsAnErrorNamingIt() {
        FakeUser user;
        fs::create_directories(user.dataFolder().parent_path());
        std::ofstream(user.dataFolder()) << "a file where the folder should be";
        QTemporaryDir bin;
        const StartupPaths paths = startupPathsFor(pathOf(bin) / "tamboro", pathOf(bin));
        try {
            createStartupFolders(paths);
            QFAIL("no error for a file in the data folder's place");
        } catch (const DataError& e) {
            QVERIFY2(std::string(e.what()).find(user.dataFolder().string()) != std::string::npos, e.what());
        }
    }
};

QTEST_MAIN(DataFolderTest)
#include "data_folder_test.moc"
