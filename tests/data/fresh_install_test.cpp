#include "data/fresh_install.h"

#include <gtest/gtest.h>

#include "data/catalogue_schema.h"
#include "data/data_module.h"
#include "data/error.h"
#include "data/packet_file.h"
#include "data/sjis.h"
#include "temp_folder.h"

using namespace tamboro;
using namespace tamboro::test;
namespace fs = std::filesystem;

TEST(FreshInstall, FirstStartInAnEmptyFolderOpensAllSevenTables) {
    TempFolder dir;
    auto created = createMissingFiles(dir.path());
    EXPECT_EQ(created.size(), 6u);
    EXPECT_FALSE(fs::exists(dir / "Genre.xml"));
    TDM1 dm(dir.path());
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
    TempFolder dir;
    spit(dir / "Sound.xml", "not a packet");
    spit(dir / "Impress.xml", "");  // empty: holds nothing, filled like a missing file
    auto created = createMissingFiles(dir.path());
    EXPECT_EQ(created.size(), 5u);
    EXPECT_EQ(fs::file_size(dir / "Sound.xml"), 12u);
    EXPECT_GT(fs::file_size(dir / "Impress.xml"), 0u);
    auto before = fs::last_write_time(dir / "DvdData.xml");
    EXPECT_TRUE(createMissingFiles(dir.path()).empty());
    EXPECT_EQ(fs::last_write_time(dir / "DvdData.xml"), before);
}

TEST(FreshInstall, ReportsAFolderThatCannotBeWritten) {
    TempFolder dir;
    EXPECT_THROW(createMissingFiles(dir / "missing"), DataError);
}
