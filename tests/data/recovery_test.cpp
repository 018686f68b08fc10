#include "data/recovery.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

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

std::map<std::string, std::string> filesIn(const fs::path& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.is_regular_file()) out[e.path().filename().string()] = slurp(e.path());
    return out;
}

// A saved catalogue of two titles, then a run that changes titles, history
// and the language list (the one table with a change log) and never closes.
struct Recovery : ::testing::Test {
    TempFolder dir;
    std::unique_ptr<TDM1> dm;
    std::map<std::string, std::string> saved;  // the data files before the run
    fs::path copy = recoveryFolderOf(dir.path());

    void SetUp() override {
        createMissingFiles(dir.path());
        start();
        for (const char* title : {"七人の侍", "羅生門"}) addTitle(title);
        dm->CLange.append();
        dm->CLange.fieldU8(fld::LangeCd).setInteger(1);
        dm->CLange.fieldU8(fld::LangeName).setString(sj("日本語"));
        dm->CLange.post();
        dm->closeCatalogue();
        saved = filesIn(dir.path());
        start();
    }
    void start() {
        dm = std::make_unique<TDM1>(dir.path());
        dm->openAtCreation();
        dm->OpenForEditor();
    }
    void addTitle(const char* title) {
        dm->AddNewTitle();
        dm->CDvd.fieldU8(fld::Title).setString(sj(title));
        dm->CDvd.post();
    }
    void changeTitlesHistoryAndLanguages() {
        addTitle("東京物語");
        dm->CHistory.append();
        dm->CHistory.fieldU8(fld::AppRecDate).setText("2004/12/25");
        dm->CHistory.post();
        dm->CLange.first();
        dm->CLange.edit();
        dm->CLange.fieldU8(fld::LangeName).setString(sj("日本語字幕"));
        dm->CLange.post();
    }
    std::chrono::system_clock::time_point at(int hour, int minute) {
        std::tm t{};
        t.tm_year = 2026 - 1900;
        t.tm_mon = 11;
        t.tm_mday = 10;
        t.tm_hour = hour;
        t.tm_min = minute;
        t.tm_isdst = -1;
        return std::chrono::system_clock::from_time_t(std::mktime(&t));
    }
};

TEST_F(Recovery, CopyHoldsWhatCloseWouldWriteAndLeavesTheDataFiles) {
    changeTitlesHistoryAndLanguages();
    dm->CDvd.edit();  // a pending edit is not part of either
    dm->CDvd.fieldU8(fld::Title).setString(sj("未確定"));
    EXPECT_EQ(updateRecoveryCopy(*dm, at(17, 5)), 3);
    EXPECT_EQ(filesIn(dir.path()), saved);

    std::optional<RecoveryMarker> marker = findRecoveryCopy(dir.path());
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->time, "2026/12/10 17:05:00");
    EXPECT_EQ(marker->stamp, "20261210-170500");
    EXPECT_EQ(marker->tables,
              (std::vector<CatalogueTable>{CatalogueTable::Dvd, CatalogueTable::History, CatalogueTable::Lange}));
    std::map<std::string, std::string> copied = filesIn(copy);
    EXPECT_EQ(copied.size(), 4u);
    EXPECT_NO_THROW(checkRecoveryCopy(dir.path(), *marker));

    dm->closeCatalogue();
    for (const char* name : {"DvdData.xml", "History.xml", "Lange.xml"}) EXPECT_EQ(copied[name], slurp(dir / name)) << name;
    for (const char* name : {"Genre.xml", "Genre2.xml", "Sound.xml", "Impress.xml"})
        EXPECT_EQ(saved.count(name) ? saved[name] : "", fs::exists(dir / name) ? slurp(dir / name) : "") << name;
}

TEST_F(Recovery, CopyFollowsWhatIsStillUnsaved) {
    addTitle("東京物語");
    EXPECT_EQ(updateRecoveryCopy(*dm), 1);
    // A backup writes and reopens every table: an older copy of the titles
    // must not come back after it.
    dm->closeCatalogue();
    dm->OpenForEditor();
    EXPECT_EQ(updateRecoveryCopy(*dm), 0);
    EXPECT_FALSE(fs::exists(copy));

    addTitle("雨に唄えば");
    updateRecoveryCopy(*dm);
    dm->closeCatalogue();
    dm->OpenForEditor();
    spit(copy / kReplacedFolderName, "kept from an earlier recovery");
    dm->CLange.first();
    dm->CLange.remove();
    EXPECT_EQ(updateRecoveryCopy(*dm), 1);
    EXPECT_EQ(findRecoveryCopy(dir.path())->tables, std::vector<CatalogueTable>{CatalogueTable::Lange});
    EXPECT_FALSE(fs::exists(copy / "DvdData.xml"));  // written since: gone from the copy
    dm->closeCatalogue();
    EXPECT_EQ(updateRecoveryCopy(*dm), 0);
    EXPECT_FALSE(findRecoveryCopy(dir.path()));
    EXPECT_EQ(slurp(copy / kReplacedFolderName), "kept from an earlier recovery");
}

TEST_F(Recovery, ApplyThatFailsHalfwayPutsBackWhatItReplaced) {
    changeTitlesHistoryAndLanguages();
    updateRecoveryCopy(*dm);
    dm.reset();  // the run dies
    // History.xml points into a folder that is gone: it reads as absent, and
    // cannot be written, after DvdData.xml was already replaced.
    fs::remove(dir / "History.xml");
    fs::create_symlink(dir / "gone" / "History.xml", dir / "History.xml");
    const RecoveryMarker marker = *findRecoveryCopy(dir.path());
    EXPECT_NE(errorOf([&] { applyRecoveryCopy(dir.path(), marker); }).find("History.xml"), std::string::npos);
    EXPECT_EQ(slurp(dir / "DvdData.xml"), saved.at("DvdData.xml"));
    EXPECT_EQ(slurp(dir / "Lange.xml"), saved.at("Lange.xml"));
    EXPECT_TRUE(findRecoveryCopy(dir.path()));  // still offered next time
}

TEST_F(Recovery, MarkerAcceptsOnlyWhatThisProgramWrites) {
    const RecoveryMarker m{"2026/12/10 17:05:03", "20261210-170503", {CatalogueTable::Dvd, CatalogueTable::History}};
    const RecoveryMarker back = parseRecoveryMarker(formatRecoveryMarker(m));
    EXPECT_EQ(back.time, m.time);
    EXPECT_EQ(back.stamp, m.stamp);
    EXPECT_EQ(back.tables, m.tables);
    // Written on another system's line ends, or with keys of a later version.
    EXPECT_EQ(parseRecoveryMarker("Tamboro recovery copy\r\ntime=t\r\nstamp=1\r\nnew=x\r\nfile=Sound.xml\r\n").tables,
              std::vector<CatalogueTable>{CatalogueTable::Sound});

    const std::string head = "Tamboro recovery copy\ntime=2026/12/10 17:05:03\n";
    for (const std::string& bad : {
             std::string(),
             std::string("something else\n"),
             head + "stamp=20261210-170503\n",                                  // no files
             std::string("Tamboro recovery copy\nstamp=1\nfile=DvdData.xml\n"),  // no time
             head + "stamp=../../x\nfile=DvdData.xml\n",                       // a stamp names a folder
             head + "stamp=1\nfile=../DvdData.xml\n",                          // only the seven data files
             head + "stamp=1\nfile=DvdData.xml\nfile=DvdData.xml\n",
         })
        EXPECT_THROW(parseRecoveryMarker(bad), DataError) << bad;

    // A marker that is no marker makes the copy unreadable, never absent.
    fs::create_directories(copy);
    spit(copy / kRecoveryMarkerName, "Tamboro recovery copy\ntime=x\nstamp=1\nfile=../../DvdData.xml\n");
    EXPECT_NE(errorOf([&] { findRecoveryCopy(dir.path()); }).find(kRecoveryMarkerName), std::string::npos);
}

}  // namespace
