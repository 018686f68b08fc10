#include "data/fresh_install.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <random>

#include "data/catalogue_schema.h"
#include "data/data_module.h"
#include "data/error.h"
#include "data/packet_file.h"
#include "data/sjis.h"

using namespace tamboro;
namespace fs = std::filesystem;

namespace {

struct Folder {
    fs::path path = fs::temp_directory_path() / ("tamboro-fresh-" + std::to_string(std::random_device()()) +
                                                 std::to_string(::getpid()));
    Folder() { fs::create_directories(path); }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

}  // namespace

TEST(FreshInstall, FirstStartInAnEmptyFolderOpensAllSevenTables) {
    Folder dir;
    auto created = createMissingFiles(dir.path);
    EXPECT_EQ(created.size(), 6u);
    EXPECT_FALSE(fs::exists(dir.path / "Genre.xml"));
    TDM1 dm(dir.path);
    dm.openAtCreation();
    for (CatalogueTable t : {CatalogueTable::Dvd, CatalogueTable::Genre2, CatalogueTable::Sound,
                             CatalogueTable::Lange, CatalogueTable::Impress, CatalogueTable::History}) {
        Table& table = dm.table(t);
        ASSERT_NO_THROW(table.open()) << table.name();
        EXPECT_EQ(table.schema().size(), schemaOf(t).size());
    }
    EXPECT_EQ(dm.CGenre.recordCount(), 6);
    EXPECT_EQ(dm.CDvd.recordCount(), 0);
    EXPECT_EQ(dm.CImpress.recordCount(), 10);
}

TEST(FreshInstall, ImpressionsAreNumberedOneToTenWithShortLabels) {
    Packet p = defaultImpressPacket();
    ASSERT_EQ(p.rows.size(), 10u);
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(p.rows[i].data.getInt(0), static_cast<int64_t>(i + 1));
        std::string_view name = p.rows[i].data.getText(1);
        EXPECT_FALSE(name.empty());
        EXPECT_LE(name.size(), 20u);
        EXPECT_EQ(toSjis(toUtf8(name)), name);  // no unmapped character
    }
}

TEST(FreshInstall, NeverTouchesExistingFiles) {
    Folder dir;
    { std::ofstream(dir.path / "Sound.xml") << "not a packet"; }
    { std::ofstream(dir.path / "Impress.xml"); }  // empty: holds nothing, filled like a missing file
    auto created = createMissingFiles(dir.path);
    EXPECT_EQ(created.size(), 5u);
    EXPECT_EQ(fs::file_size(dir.path / "Sound.xml"), 12u);
    EXPECT_GT(fs::file_size(dir.path / "Impress.xml"), 0u);
    auto before = fs::last_write_time(dir.path / "DvdData.xml");
    EXPECT_TRUE(createMissingFiles(dir.path).empty());
    EXPECT_EQ(fs::last_write_time(dir.path / "DvdData.xml"), before);
}

TEST(FreshInstall, ReportsAFolderThatCannotBeWritten) {
    Folder dir;
    EXPECT_THROW(createMissingFiles(dir.path / "missing"), DataError);
}
