#include "data/packet_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

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

bool canWriteInto(const fs::path& folder) {
    fs::path probe = folder / "probe";
    bool ok = static_cast<bool>(std::ofstream(probe));
    std::error_code ec;
    fs::remove(probe, ec);
    return ok;
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
    EXPECT_FALSE(fs::exists(dir / "Sound.xml.tmp"));
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
    renameFirst(*t, "changed");
    {
        // An unwritable folder; root ignores permissions, so there a folder
        // standing where the temporary file goes makes the write fail.
        PermissionGuard guard(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
        bool privileged = canWriteInto(dir.path());
        if (privileged) fs::create_directory(dir / "Sound.xml.tmp");
        const std::string m = failure([&] { t->close(); });
        EXPECT_NE(m.find("Sound.xml"), std::string::npos) << m;
        EXPECT_NE(m.find(privileged ? "Is a directory" : "Permission denied"), std::string::npos) << m;
        EXPECT_EQ(slurp(file), old);
        EXPECT_TRUE(t->active());
        EXPECT_EQ(t->changeCount(), 1);
        if (privileged) fs::remove(dir / "Sound.xml.tmp");
    }
    t->close();
    EXPECT_FALSE(t->active());
    auto p = readPacketFile(file);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->rows[0].data.getText(1), "changed");
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
    EXPECT_FALSE(fs::exists(dir / "Sound.xml.tmp"));
    EXPECT_EQ(t->recordCount(), 203);
    t->close();
    EXPECT_EQ(readPacketFile(file)->rows.size(), 203u);
}

TEST_F(PacketFile, ReplacingFailsIntoAMissingFolderAndKeepsThePermissionsOfTheOldFile) {
    EXPECT_THROW(replaceFileContent(dir / "gone" / "Sound.xml", soundFile(1)), DataError);
    spit(file, "x");
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file, perms);
    replaceFileContent(file, soundFile(1));
    EXPECT_EQ(slurp(file), soundFile(1));
    EXPECT_EQ(fs::status(file).permissions(), perms);
}
