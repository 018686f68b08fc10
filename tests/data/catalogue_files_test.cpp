#include "data/catalogue_files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "data/data_module.h"
#include "data/error.h"
#include "data/fresh_install.h"
#include "data/sjis.h"
#include "temp_folder.h"

using namespace tamboro;
using namespace tamboro::test;
namespace fs = std::filesystem;

namespace {

// Files this process writes may not grow beyond the limit (EFBIG, as a full
// disk would refuse them).
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

std::string messageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const DataError& e) {
        return e.what();
    }
    return "(no error)";
}

size_t entriesIn(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A catalogue of three titles written to its folder.
struct Catalogue : ::testing::Test {
    TempFolder dir;
    TDM1 dm{dir.path()};
    void SetUp() override {
        createMissingFiles(dir.path());
        dm.openAtCreation();
        dm.OpenForEditor();
        for (const char* title : {"七人の侍", "羅生門", "東京物語"}) {
            dm.AddNewTitle();
            dm.CDvd.fieldU8(fld::Title).setString(sj(title));
            dm.CDvd.post();
        }
        dm.closeCatalogue();
    }
};

using CopyFileSafely = Catalogue;

TEST_F(CopyFileSafely, ReplacesTheTargetWithTheSourceBytesAndLeavesNothingElse) {
    TempFolder to;
    spit(to / "DvdData.xml", "an older backup, longer than the new one ..................................");
    EXPECT_TRUE(copyFileSafely(dir / "DvdData.xml", to / "DvdData.xml"));
    EXPECT_EQ(slurp(to / "DvdData.xml"), slurp(dir / "DvdData.xml"));
    EXPECT_TRUE(copyFileSafely(dir / "Lange.xml", to / "Lange.xml"));  // a new file
    EXPECT_EQ(slurp(to / "Lange.xml"), slurp(dir / "Lange.xml"));
    EXPECT_EQ(entriesIn(to.path()), 2u);
}

TEST_F(CopyFileSafely, MissingSourceIsSkippedAndTheSameFileIsLeftAlone) {
    TempFolder to;
    spit(to / "Genre.xml", "kept");
    EXPECT_FALSE(copyFileSafely(dir / "Genre.xml", to / "Genre.xml"));  // never written: no file
    EXPECT_EQ(slurp(to / "Genre.xml"), "kept");
    // Onto itself, by the same path, through a doubled separator and
    // through a link: a plain copy would truncate it first.
    const std::string before = slurp(dir / "DvdData.xml");
    fs::create_symlink(dir.path(), to / "link");
    for (const fs::path& self : {dir / "DvdData.xml", fs::path(dir.path().string() + "//DvdData.xml"),
                                 to.path() / "link" / "DvdData.xml"}) {
        EXPECT_TRUE(copyFileSafely(dir / "DvdData.xml", self)) << self;
        EXPECT_EQ(slurp(dir / "DvdData.xml"), before) << self;
    }
    EXPECT_EQ(entriesIn(dir.path()), 6u);  // no temporary file left
}

TEST_F(CopyFileSafely, FailuresNameTheFileAndLeaveTheOldTargetWhole) {
    TempFolder to;
    const std::string old(4096, 'o');
    spit(to / "DvdData.xml", old);
    // A source that is no file.
    fs::create_directory(dir / "Genre.xml");
    EXPECT_NE(messageOf([&] { copyFileSafely(dir / "Genre.xml", to / "DvdData.xml"); }).find("Genre.xml"),
              std::string::npos);
    // A target folder in the file's place.
    fs::create_directories(to / "History.xml" / "in-the-way");
    EXPECT_NE(messageOf([&] { copyFileSafely(dir / "History.xml", to / "History.xml"); }).find("History.xml"),
              std::string::npos);
    EXPECT_TRUE(fs::exists(to / "History.xml" / "in-the-way"));
    // The disk fills during the copy.
    {
        FileSizeLimit limit(64);
        EXPECT_NE(messageOf([&] { copyFileSafely(dir / "DvdData.xml", to / "DvdData.xml"); }).find("DvdData.xml"),
                  std::string::npos);
    }
    EXPECT_EQ(slurp(to / "DvdData.xml"), old);
    EXPECT_EQ(entriesIn(to.path()), 2u);  // the temporary file went too
}

using CheckTableFile = Catalogue;

TEST_F(CheckTableFile, AcceptsWhatTheTableOpensAndNothingElse) {
    EXPECT_FALSE(checkTableFile(dir / "Genre.xml", CatalogueTable::Genre));  // absent: nothing to check
    for (CatalogueTable t : kCopyOrder) {
        if (t == CatalogueTable::Genre) continue;
        EXPECT_TRUE(checkTableFile(dir.path() / std::string(definitionOf(t).fileName), t)) << definitionOf(t).fileName;
    }
    const std::string good = slurp(dir / "DvdData.xml");
    TempFolder bad;
    fs::create_directory(bad / "Sound.xml");
    spit(bad / "Empty.xml", "");
    spit(bad / "Text.xml", "not a packet at all");
    struct Row {
        const char* file;
        CatalogueTable table;
        const char* why;
    };
    const Row rows[] = {
        {"Sound.xml", CatalogueTable::Sound, "a folder in its place"},
        {"Empty.xml", CatalogueTable::Dvd, "empty: the table would open it as missing"},
        {"Text.xml", CatalogueTable::Dvd, "no packet"},
    };
    for (const Row& r : rows)
        EXPECT_NE(messageOf([&] { checkTableFile(bad / r.file, r.table); }).find(r.file), std::string::npos) << r.why;
    // Another table's packet: the genre list's order field is missing.
    EXPECT_NE(messageOf([&] { checkTableFile(dir / "DvdData.xml", CatalogueTable::Genre); }).find("GENRE_CODE1"),
              std::string::npos);
    // Every cut of the file is refused; only the whole of it passes.
    for (size_t n = 1; n < good.size(); n += 1 + n / 8) {
        spit(bad / "Cut.xml", good.substr(0, n));
        EXPECT_THROW(checkTableFile(bad / "Cut.xml", CatalogueTable::Dvd), DataError) << n;
    }
}

using SaveCatalogueCopy = Catalogue;

TEST_F(SaveCatalogueCopy, WritesAllSevenTablesThatThenOpenAsTheyWere) {
    dm.OpenForEditor();
    dm.CDvd.first();
    dm.CDvd.edit();
    dm.CDvd.fieldU8(fld::Title).setString(sj("未保存の変更"));
    dm.CDvd.post();
    TempFolder rescue;
    saveCatalogueCopy(dm, rescue.path());
    EXPECT_EQ(entriesIn(rescue.path()), 7u);  // the built-in genres as well
    TDM1 copy(rescue.path());
    copy.openAtCreation();
    copy.OpenForEditor();
    EXPECT_EQ(copy.CDvd.recordCount(), 3);
    copy.CDvd.first();
    EXPECT_EQ(toUtf8(copy.CDvd.fieldU8(fld::Title).asString()), "未保存の変更");
    EXPECT_EQ(copy.CGenre.recordCount(), 6);
}

TEST_F(SaveCatalogueCopy, TriesEveryTableAndNamesThoseThatFailed) {
    dm.OpenForEditor();
    TempFolder rescue;
    fs::create_directories(rescue / "History.xml" / "x");
    fs::create_directories(rescue / "Lange.xml" / "x");
    const std::string message = messageOf([&] { saveCatalogueCopy(dm, rescue.path()); });
    EXPECT_NE(message.find("History.xml"), std::string::npos) << message;
    EXPECT_NE(message.find("Lange.xml"), std::string::npos) << message;
    EXPECT_EQ(message.find("DvdData.xml"), std::string::npos) << message;
    for (CatalogueTable t : kCopyOrder) {
        if (t == CatalogueTable::History || t == CatalogueTable::Lange) continue;
        EXPECT_TRUE(checkTableFile(rescue.path() / std::string(definitionOf(t).fileName), t));
    }
}

}  // namespace
