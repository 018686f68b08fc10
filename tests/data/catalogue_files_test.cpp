#include "data/catalogue_files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "data/data_module.h"
#include "data/error.h"
#include "data/fresh_install.h"
#include "data/sjis.h"
#include "table_fixture.h"
#include "temp_folder.h"

using namespace tamboro;
using namespace tamboro::test;
namespace fs = std::filesystem;

namespace {

size_t entriesIn(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A catalogue of three titles written to its folder; Genre.xml never written.
struct CatalogueFiles : ::testing::Test {
    TempFolder dir, other;
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
    fs::path file(const fs::path& folder, CatalogueTable t) { return folder / std::string(definitionOf(t).fileName); }
};

TEST_F(CatalogueFiles, CopyReplacesWholeOrNotAtAll) {
    spit(other / "DvdData.xml", "an older backup");
    EXPECT_TRUE(copyFileSafely(dir / "DvdData.xml", other / "DvdData.xml"));
    EXPECT_EQ(slurp(other / "DvdData.xml"), slurp(dir / "DvdData.xml"));
    spit(other / "Genre.xml", "kept");
    EXPECT_FALSE(copyFileSafely(dir / "Genre.xml", other / "Genre.xml"));  // nothing to copy: no failure
    EXPECT_EQ(slurp(other / "Genre.xml"), "kept");
    // Onto itself through a link to its folder: the file stays as it is.
    const std::string before = slurp(dir / "DvdData.xml");
    fs::create_directory_symlink(dir.path(), other / "link");
    EXPECT_TRUE(copyFileSafely(dir / "DvdData.xml", other.path() / "link" / "DvdData.xml"));
    EXPECT_EQ(slurp(dir / "DvdData.xml"), before);
    // The disk fills (a file size limit stands in): the old copy stays whole.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &small);
    const std::string failed = errorOf([&] { copyFileSafely(dir / "Lange.xml", other / "Genre.xml"); });
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_NE(failed.find("Genre.xml"), std::string::npos) << failed;
    EXPECT_EQ(slurp(other / "Genre.xml"), "kept");
    EXPECT_EQ(entriesIn(other.path()), 3u);  // no temporary file left
    EXPECT_EQ(entriesIn(dir.path()), 6u);
}

TEST_F(CatalogueFiles, CheckAcceptsOnlyWhatTheTableCanOpen) {
    EXPECT_FALSE(checkTableFile(dir / "Genre.xml", CatalogueTable::Genre));  // absent: nothing to check
    for (CatalogueTable t : kCopyOrder) {
        if (t == CatalogueTable::Genre) continue;
        EXPECT_TRUE(checkTableFile(file(dir.path(), t), t));
    }
    const std::string good = slurp(dir / "DvdData.xml");
    fs::create_directory(other / "folder.xml");
    spit(other / "empty.xml", "");  // would open as a missing file
    spit(other / "text.xml", "<html>not a packet</html>");
    spit(other / "cut.xml", good.substr(0, good.size() - 1));
    spit(other / "half.xml", good.substr(0, good.size() / 2));
    for (const char* name : {"folder.xml", "empty.xml", "text.xml", "cut.xml", "half.xml"})
        EXPECT_NE(errorOf([&] { checkTableFile(other / name, CatalogueTable::Dvd); }).find(name), std::string::npos)
            << name;
    // Another table's packet lacks the fields the genre list is ordered by.
    EXPECT_NE(errorOf([&] { checkTableFile(dir / "DvdData.xml", CatalogueTable::Genre); }).find("GENRE_CODE1"),
              std::string::npos);
}

TEST_F(CatalogueFiles, SavedCopyHoldsEveryTableAsInMemoryAndNamesWhatFailed) {
    dm.OpenForEditor();
    dm.CDvd.first();
    dm.CDvd.edit();
    dm.CDvd.fieldU8(fld::Title).setString(sj("未保存の変更"));
    dm.CDvd.post();
    fs::create_directories(other / "Lange.xml" / "x");
    const std::string failed = errorOf([&] { saveCatalogueCopy(dm, other.path()); });
    EXPECT_NE(failed.find("Lange.xml"), std::string::npos) << failed;
    EXPECT_EQ(failed.find("DvdData.xml"), std::string::npos) << failed;  // the others were written all the same
    fs::remove_all(other / "Lange.xml");
    saveCatalogueCopy(dm, other.path());
    EXPECT_EQ(entriesIn(other.path()), 7u);  // the built-in genres too
    TDM1 copy(other.path());
    copy.openAtCreation();
    copy.OpenForEditor();
    copy.CDvd.first();
    EXPECT_EQ(toUtf8(copy.CDvd.fieldU8(fld::Title).asString()), "未保存の変更");
    EXPECT_EQ(copy.CDvd.recordCount(), 3);
    EXPECT_EQ(copy.CGenre.recordCount(), 6);
}

}  // namespace
