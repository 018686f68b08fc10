#include "data/packet_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <future>

#include "data/catalogue_schema.h"
#include "data/error.h"
#include "data/packet_writer.h"
#include "data/sjis.h"
#include "data/table.h"
#include "temp_folder.h"

using namespace tamboro;
using namespace tamboro::test;
namespace fs = std::filesystem;

namespace {

// Restores a folder's permissions however the test ends.
class PermissionGuard {
public:
    PermissionGuard(fs::path p, fs::perms perms) : path_(std::move(p)), old_(fs::status(path_).permissions()) {
        fs::permissions(path_, perms);
    }
    ~PermissionGuard() { fs::permissions(path_, old_); }

private:
    fs::path path_;
    fs::perms old_;
};

// Limits the size of files this process writes; a write beyond it fails
// with EFBIG instead of killing the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = old_;
        r.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &r);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

std::string soundFile(int rows) {
    Packet p;
    p.schema = schemaOf(CatalogueTable::Sound);
    RowBuilder b(2);
    for (int i = 1; i <= rows; ++i) {
        b.setInt(0, i);
        b.setText(1, sj("ステレオ") + std::to_string(i));
        p.rows.push_back({b.finish(), 0});
    }
    return writePacket(p, false);
}

// A fresh folder, and a table over its Sound.xml.
struct PacketFile : ::testing::Test {
    TempFolder dir;
    fs::path file = dir / "Sound.xml";
    std::unique_ptr<Table> open(const std::string& content, bool logging = false) {
        spit(file, content);
        auto t = std::make_unique<Table>("CSound", file, schemaOf(CatalogueTable::Sound));
        t->setIndexFields("SOUND_CD");
        t->open();
        t->setLogging(logging);
        return t;
    }
};

void renameFirst(Table& t, const std::string& name) {
    t.first();
    t.edit();
    t.fieldByName("SOUND_NAME").setText(name);
    t.post();
}

// The names in a folder, sorted.
std::vector<std::string> entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// True when a temporary file was left anywhere under folder.
bool anyTemporaryFile(const fs::path& folder) {
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.path().extension() == ".tmp") return true;
    return false;
}

// The message of the DataError f throws, or "(succeeded)".
template <class F>
std::string failure(F&& f) {
    try {
        f();
    } catch (const DataError& e) {
        return e.what();
    }
    return "(succeeded)";
}

}  // namespace

TEST_F(PacketFile, AbsentOrEmptyFileIsAbsentAndAFileThatIsNoPacketIsNamed) {
    EXPECT_FALSE(readPacketFile(file));
    EXPECT_FALSE(readPacketFile(dir / "missing" / "Sound.xml"));
    spit(file, "");
    EXPECT_FALSE(readPacketFile(file));
    spit(file, soundFile(2));
    auto p = readPacketFile(file);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->rows.size(), 2u);
    spit(file, "<html></html>");
    const std::string m = failure([&] { readPacketFile(file); });
    EXPECT_EQ(m.rfind("データパケットが間違っています: Sound.xml: byte 0: ", 0), 0u) << m;
    fs::create_directories(dir / "Genre.xml");
    EXPECT_THROW(readPacketFile(dir / "Genre.xml"), DataError);
}

TEST_F(PacketFile, TableWithABadFileStaysClosedAndLeavesItAlone) {
    const std::string junk = soundFile(3).substr(0, 200);
    spit(file, junk);
    Table t("CSound", file, schemaOf(CatalogueTable::Sound));
    EXPECT_THROW(t.open(), DataError);
    EXPECT_FALSE(t.active());
    t.close();
    EXPECT_EQ(slurp(file), junk);
}

TEST_F(PacketFile, UnchangedTableWritesNothingEvenIfItsFileWentAway) {
    // An unusual but valid layout must survive untouched.
    const std::string text = "\n<DATAPACKET>" + soundFile(1).substr(soundFile(1).find("<METADATA>"));
    auto t = open(text);
    t->close();
    EXPECT_EQ(slurp(file), text);
    t->open();
    fs::remove(file);
    t->close();
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(PacketFile, ChangedTableWritesItsFileOnClose) {
    auto t = open(soundFile(2));
    renameFirst(*t, "5.1ch");
    t->close();
    auto p = readPacketFile(file);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->rows.size(), 2u);
    EXPECT_EQ(p->rows[0].data.getText(1), "5.1ch");
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"Sound.xml"});
}

TEST_F(PacketFile, LanguageRenameKeepsBothVersionsAndTheLog) {
    Packet p;
    p.schema = schemaOf(CatalogueTable::Lange);
    RowBuilder b(2);
    for (const auto& [code, name] : {std::pair{1, "日本語"}, std::pair{2, "英語"}}) {
        b.setInt(0, code);
        b.setText(1, sj(name));
        p.rows.push_back({b.finish(), 0});
    }
    spit(dir / "Lange.xml", writePacket(p, true));
    Table t("CLange", dir / "Lange.xml", schemaOf(CatalogueTable::Lange));
    t.setIndexFields("LANGE_CD");
    t.open();
    t.last();
    t.edit();
    t.fieldByName("LANGE_NAME").setText(sj("英語（米）"));
    t.post();
    t.close();
    std::string text = slurp(dir / "Lange.xml");
    EXPECT_NE(text.find("<PARAMS CHANGE_LOG=\"3 2 8\"/>"), std::string::npos) << text;
    EXPECT_NE(text.find("<ROW RowState=\"1\" LANGE_CD=\"2\""), std::string::npos);
    EXPECT_NE(text.find("<ROW RowState=\"8\" LANGE_CD=\"2\""), std::string::npos);
    t.open();
    EXPECT_EQ(t.recordCount(), 2);
    t.last();
    EXPECT_EQ(t.fieldByName("LANGE_NAME").asString(), sj("英語（米）"));
    ASSERT_EQ(t.changeLog().size(), 1u);
    EXPECT_EQ(t.changeLog()[0].row, 2u);
    EXPECT_EQ(t.changeLog()[0].oldRow, 1u);
    t.close();
    EXPECT_EQ(slurp(dir / "Lange.xml"), text);
}

// ---- failing writes ---------------------------------------------------------------

TEST_F(PacketFile, FailedWriteKeepsTheOldFileAndTheTableRetries) {
    const std::string old = soundFile(2);
    auto t = open(old);
    renameFirst(*t, std::string(40, 'x'));
    {
        FileSizeLimit limit(old.size());  // fails for root as well
        const std::string m = failure([&] { t->close(); });
        EXPECT_NE(m.find("Sound.xml"), std::string::npos) << m;
        EXPECT_EQ(slurp(file), old);
        EXPECT_TRUE(t->active());
        EXPECT_EQ(t->changeCount(), 1);
    }
    t->close();
    EXPECT_FALSE(t->active());
    auto p = readPacketFile(file);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->rows[0].data.getText(1), std::string(40, 'x'));
}

// The data file may be writable while its folder is not: the message says
// where the temporary file could not go, and why.
TEST_F(PacketFile, TemporaryFileThatCannotBeCreatedIsNamedWithItsFolder) {
    std::string m = failure([&] { replaceFileContent(dir / "gone" / "Sound.xml", soundFile(1)); });
    EXPECT_EQ(m.rfind("フォルダ '" + (dir / "gone").string() + "' に一時ファイル 'Sound.xml.", 0), 0u) << m;
    EXPECT_NE(m.find(".tmp' を作成できません: No such file or directory"), std::string::npos) << m;
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    spit(file, soundFile(1));
    PermissionGuard guard(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    m = failure([&] { replaceFileContent(file, soundFile(2)); });
    EXPECT_EQ(m.rfind("フォルダ '" + dir.path().string() + "' に一時ファイル", 0), 0u) << m;
    EXPECT_NE(m.find("Permission denied"), std::string::npos) << m;
    EXPECT_EQ(slurp(file), soundFile(1));
}

TEST_F(PacketFile, WriteFailingMidwayLeavesTheOldFileWhole) {
    const std::string old = soundFile(3);
    auto t = open(old);
    for (int i = 0; i < 200; ++i) {  // grow the table well past the limit below
        t->append();
        t->fieldByName("SOUND_CD").setInteger(100 + i);
        t->fieldByName("SOUND_NAME").setText(std::string(30, 'x'));
        t->post();
    }
    {
        FileSizeLimit limit(4096);
        const std::string m = failure([&] { t->close(); });
        EXPECT_NE(m.find("File too large"), std::string::npos) << m;
    }
    EXPECT_EQ(slurp(file), old);
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"Sound.xml"});  // no temporary file left
    EXPECT_EQ(t->recordCount(), 203);
    t->close();
    EXPECT_EQ(readPacketFile(file)->rows.size(), 203u);
}

TEST_F(PacketFile, ReplacingKeepsThePermissionsOfTheOldFile) {
    spit(file, "x");
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file, perms);
    replaceFileContent(file, soundFile(1));
    EXPECT_EQ(slurp(file), soundFile(1));
    EXPECT_EQ(fs::status(file).permissions(), perms);
}

// ---- links, leftovers and what is not a file ----------------------------------------

// A data file kept elsewhere through links: the save goes to the final
// target, and every link stays a link.
TEST_F(PacketFile, SavesThroughSymbolicLinks) {
    fs::create_directory(dir / "store");
    fs::create_directory(dir / "links");
    const fs::path real = dir / "store" / "Sound.xml";
    spit(real, "old");
    fs::create_symlink(real, dir / "links" / "Sound.xml");
    fs::create_symlink("links/Sound.xml", file);
    replaceFileContent(file, "new");
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_TRUE(fs::is_symlink(dir / "links" / "Sound.xml"));
    EXPECT_EQ(slurp(real), "new");
    EXPECT_FALSE(anyTemporaryFile(dir.path()));
    // A link whose target is not there yet gets it created.
    fs::create_symlink("store/New.xml", dir / "New.xml");
    replaceFileContent(dir / "New.xml", "new");
    EXPECT_TRUE(fs::is_symlink(dir / "New.xml"));
    EXPECT_EQ(slurp(dir / "store" / "New.xml"), "new");
}

// Whatever stands where a temporary file might go is never written through.
TEST_F(PacketFile, NeverWritesThroughWhatStandsBesideTheFile) {
    spit(file, "old");
    spit(dir / "victim", "keep me");
    for (const char* name : {"Sound.xml.tmp", "Sound.xml.a.tmp"}) fs::create_symlink(dir / "victim", dir / name);
    replaceFileContent(file, "new");
    EXPECT_EQ(slurp(dir / "victim"), "keep me");
    EXPECT_FALSE(fs::is_symlink(file));
    EXPECT_EQ(slurp(file), "new");
}

TEST_F(PacketFile, LeftoversOfAKilledSaveAreRemovedAndNothingElse) {
    std::vector<std::string> kept = {"Genre.xml.Ab3dE9xZ.tmp", "Sound.xml", "Sound.xml.Ab3dE9x.tmp",
                                     "Sound.xml.Ab3dE9xZ.bak"};
    for (const std::string& name : kept) spit(dir / name.c_str(), "other");
    fs::create_directory(dir / "Sound.xml.ZZZZZZZZ.tmp");  // a folder is never removed
    kept.push_back("Sound.xml.ZZZZZZZZ.tmp");
    spit(dir / "Sound.xml.Ab3dE9xZ.tmp", "<DATAPACK");
    fs::create_symlink(dir / "Genre.xml.Ab3dE9xZ.tmp", dir / "Sound.xml.q1w2e3r4.tmp");
    replaceFileContent(file, "new");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(entries(dir.path()), kept);
    EXPECT_EQ(slurp(dir / "Genre.xml.Ab3dE9xZ.tmp"), "other");  // the link went, not what it named
}

// A FIFO or a device in a data file's place is refused at once,
// by name, for reading and for saving; a FIFO must not block the reader.
TEST_F(PacketFile, RefusesWhatIsNotARegularFileAtOnce) {
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] { return failure([&] { readPacketFile(file); }); });
    if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ::close(::open(file.c_str(), O_WRONLY | O_NONBLOCK));  // let the reader go
        FAIL() << "reading a FIFO blocks";
    }
    const std::string m = reading.get();
    EXPECT_EQ(m, "ファイル '" + file.string() + "' は通常のファイルではないため使えません (名前付きパイプ)");
    Table t("CSound", file, schemaOf(CatalogueTable::Sound));
    EXPECT_EQ(failure([&] { t.open(); }), m);
    EXPECT_FALSE(t.active());
    // Saving through a link onto the FIFO would replace it.
    fs::create_symlink(file, dir / "Link.xml");
    EXPECT_NE(failure([&] { replaceFileContent(dir / "Link.xml", "x"); }).find("(名前付きパイプ)"), std::string::npos);
    EXPECT_TRUE(fs::is_fifo(file));
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"Link.xml", "Sound.xml"}));
    fs::create_symlink("/dev/null", dir / "Null.xml");
    EXPECT_NE(failure([&] { readPacketFile(dir / "Null.xml"); }).find("(デバイス)"), std::string::npos);
}
