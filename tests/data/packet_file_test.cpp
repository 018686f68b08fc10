#include "data/packet_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <random>
#include <sstream>

#include "data/catalogue_schema.h"
#include "data/error.h"
#include "data/packet_writer.h"
#include "data/sjis.h"
#include "data/table.h"

using namespace tamboro;
namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed afterwards.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("tamboro-packet-" + std::to_string(rd()) + std::to_string(::getpid()));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    fs::path operator/(const char* name) const { return path_ / name; }

private:
    fs::path path_;
};

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

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void spit(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

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

std::unique_ptr<Table> soundTable(const fs::path& file) {
    auto t = std::make_unique<Table>("CSound", file, schemaOf(CatalogueTable::Sound));
    t->setIndexFields("SOUND_CD");
    return t;
}

void renameFirst(Table& t, const std::string& name) {
    t.first();
    t.edit();
    t.fieldByName("SOUND_NAME").setText(name);
    t.post();
}

bool canWriteInto(const fs::path& folder) {
    fs::path probe = folder / "probe";
    std::ofstream out(probe);
    bool ok = static_cast<bool>(out);
    out.close();
    std::error_code ec;
    fs::remove(probe, ec);
    return ok;
}

}  // namespace

// ---- reading --------------------------------------------------------------------

TEST(PacketFile, TreatsAbsentAndEmptyFilesAsAbsent) {
    TempDir dir;
    EXPECT_FALSE(readPacketFile(dir / "Sound.xml"));
    EXPECT_FALSE(readPacketFile(dir / "missing" / "Sound.xml"));
    spit(dir / "Sound.xml", "");
    EXPECT_FALSE(readPacketFile(dir / "Sound.xml"));
    spit(dir / "Sound.xml", soundFile(2));
    auto p = readPacketFile(dir / "Sound.xml");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->rows.size(), 2u);
}

TEST(PacketFile, NamesTheFileWhenItIsNoPacket) {
    TempDir dir;
    spit(dir / "Sound.xml", "<html></html>");
    try {
        readPacketFile(dir / "Sound.xml");
        FAIL() << "accepted";
    } catch (const DataError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("データパケットが間違っています: Sound.xml: byte 0: ", 0), 0u) << e.what();
    }
    fs::create_directories(dir / "Genre.xml");
    EXPECT_THROW(readPacketFile(dir / "Genre.xml"), DataError);
}

// ---- tables opening and closing through the files -----------------------------------

TEST(PacketFile, TableWithABadFileStaysClosedAndLeavesItAlone) {
    TempDir dir;
    const std::string junk = soundFile(3).substr(0, 200);
    spit(dir / "Sound.xml", junk);
    auto t = soundTable(dir / "Sound.xml");
    EXPECT_THROW(t->open(), DataError);
    EXPECT_FALSE(t->active());
    t->close();
    EXPECT_EQ(slurp(dir / "Sound.xml"), junk);
}

TEST(PacketFile, UnchangedTableWritesNothingEvenIfItsFileWentAway) {
    TempDir dir;
    // An unusual but valid layout must survive untouched.
    const std::string text = "\n<DATAPACKET>" + soundFile(1).substr(soundFile(1).find("<METADATA>"));
    spit(dir / "Sound.xml", text);
    auto t = soundTable(dir / "Sound.xml");
    t->open();
    t->close();
    EXPECT_EQ(slurp(dir / "Sound.xml"), text);
    t->open();
    fs::remove(dir / "Sound.xml");
    t->close();
    EXPECT_FALSE(fs::exists(dir / "Sound.xml"));
}

TEST(PacketFile, ChangedTableWritesItsFileOnClose) {
    TempDir dir;
    spit(dir / "Sound.xml", soundFile(2));
    auto t = soundTable(dir / "Sound.xml");
    t->open();
    t->setLogging(false);
    renameFirst(*t, "5.1ch");
    t->close();
    auto p = readPacketFile(dir / "Sound.xml");
    ASSERT_TRUE(p);
    ASSERT_EQ(p->rows.size(), 2u);
    EXPECT_EQ(p->rows[0].data.getText(1), "5.1ch");
    EXPECT_FALSE(fs::exists(dir / "Sound.xml.tmp"));
}

TEST(PacketFile, LanguageRenameKeepsBothVersionsAndTheLog) {
    TempDir dir;
    Packet p;
    p.schema = schemaOf(CatalogueTable::Lange);
    RowBuilder b(2);
    b.setInt(0, 1);
    b.setText(1, sj("日本語"));
    p.rows.push_back({b.finish(), 0});
    b.setInt(0, 2);
    b.setText(1, sj("英語"));
    p.rows.push_back({b.finish(), 0});
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

TEST(PacketFile, FailedWriteKeepsTheOldFileAndTheTableRetries) {
    TempDir dir;
    const std::string old = soundFile(2);
    spit(dir / "Sound.xml", old);
    auto t = soundTable(dir / "Sound.xml");
    t->open();
    t->setLogging(false);
    renameFirst(*t, "changed");
    {
        // An unwritable folder; root ignores permissions, so there a folder
        // standing where the temporary file goes makes the write fail.
        PermissionGuard guard(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
        bool privileged = canWriteInto(dir.path());
        if (privileged) fs::create_directory(dir / "Sound.xml.tmp");
        try {
            t->close();
            FAIL() << "close reported success";
        } catch (const DataError& e) {
            std::string m = e.what();
            EXPECT_NE(m.find("Sound.xml"), std::string::npos) << m;
            EXPECT_NE(m.find(privileged ? "Is a directory" : "Permission denied"), std::string::npos) << m;
        }
        EXPECT_EQ(slurp(dir / "Sound.xml"), old);
        EXPECT_TRUE(t->active());
        EXPECT_EQ(t->changeCount(), 1);
        if (privileged) fs::remove(dir / "Sound.xml.tmp");
    }
    t->close();
    EXPECT_FALSE(t->active());
    auto p = readPacketFile(dir / "Sound.xml");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->rows[0].data.getText(1), "changed");
}

TEST(PacketFile, WriteFailingMidwayLeavesTheOldFileWhole) {
    TempDir dir;
    const std::string old = soundFile(3);
    spit(dir / "Sound.xml", old);
    auto t = soundTable(dir / "Sound.xml");
    t->open();
    t->setLogging(false);
    for (int i = 0; i < 200; ++i) {  // grow the table well past the limit below
        t->append();
        t->fieldByName("SOUND_CD").setInteger(100 + i);
        t->fieldByName("SOUND_NAME").setText(std::string(30, 'x'));
        t->post();
    }
    {
        FileSizeLimit limit(4096);
        try {
            t->close();
            FAIL() << "close reported success";
        } catch (const DataError& e) {
            EXPECT_NE(std::string(e.what()).find("File too large"), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(slurp(dir / "Sound.xml"), old);
    EXPECT_FALSE(fs::exists(dir / "Sound.xml.tmp"));
    EXPECT_EQ(t->recordCount(), 203);
    t->close();
    EXPECT_EQ(readPacketFile(dir / "Sound.xml")->rows.size(), 203u);
}

TEST(PacketFile, WriteIntoAMissingFolderFailsNamingTheFile) {
    TempDir dir;
    EXPECT_THROW(replaceFileContent(dir / "gone" / "Sound.xml", soundFile(1)), DataError);
    replaceFileContent(dir / "Sound.xml", soundFile(1));
    EXPECT_EQ(slurp(dir / "Sound.xml"), soundFile(1));
}

TEST(PacketFile, ReplacingKeepsThePermissionsOfTheOldFile) {
    TempDir dir;
    spit(dir / "Sound.xml", "x");
    fs::permissions(dir / "Sound.xml", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    replaceFileContent(dir / "Sound.xml", soundFile(1));
    EXPECT_EQ(fs::status(dir / "Sound.xml").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}
