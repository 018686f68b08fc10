#include "data/recovery.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "data/data_module.h"
#include "data/error.h"
#include "data/fresh_install.h"
#include "data/sjis.h"
#include "temp_folder.h"

using namespace tamboro;
using namespace tamboro::test;
namespace fs = std::filesystem;

namespace {

std::string messageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const DataError& e) {
        return e.what();
    }
    return "(no error)";
}

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
    // Where the data files stand when the run dies now.
    void crash() { dm.reset(); }
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
    EXPECT_EQ(updateRecoveryCopy(*dm), 0);  // nothing changed: no folder at all
    EXPECT_FALSE(fs::exists(copy));

    addTitle("東京物語");
    EXPECT_EQ(updateRecoveryCopy(*dm), 1);
    // A backup writes and reopens every table: the copy must not bring back
    // the titles as they were before it.
    dm->closeCatalogue();
    dm->OpenForEditor();
    EXPECT_EQ(updateRecoveryCopy(*dm), 0);
    EXPECT_FALSE(fs::exists(copy));

    dm->CSound.append();
    dm->CSound.fieldU8(fld::SoundCd).setInteger(1);
    dm->CSound.fieldU8(fld::SoundName).setString(sj("DTS"));
    dm->CSound.post();
    addTitle("雨に唄えば");
    EXPECT_EQ(updateRecoveryCopy(*dm), 2);
    dm->closeCatalogue();
    dm->OpenForEditor();
    fs::create_directories(copy / kReplacedFolderName);
    spit(copy / kReplacedFolderName / "DvdData.xml", "kept from an earlier recovery");
    dm->CSound.first();
    dm->CSound.remove();
    EXPECT_EQ(updateRecoveryCopy(*dm), 1);
    EXPECT_EQ(findRecoveryCopy(dir.path())->tables, std::vector<CatalogueTable>{CatalogueTable::Sound});
    EXPECT_FALSE(fs::exists(copy / "DvdData.xml"));  // written since: gone from the copy
    dm->closeCatalogue();
    EXPECT_EQ(updateRecoveryCopy(*dm), 0);
    EXPECT_FALSE(findRecoveryCopy(dir.path()));
    EXPECT_EQ(slurp(copy / kReplacedFolderName / "DvdData.xml"), "kept from an earlier recovery");
}

TEST_F(Recovery, ApplyPutsTheCopyInPlaceAndKeepsWhatItReplaced) {
    changeTitlesHistoryAndLanguages();
    updateRecoveryCopy(*dm);
    const std::map<std::string, std::string> copied = filesIn(copy);
    crash();
    // The run died: its changes are not in the data files.
    EXPECT_EQ(filesIn(dir.path()), saved);

    applyRecoveryCopy(dir.path(), *findRecoveryCopy(dir.path()));
    for (const char* name : {"DvdData.xml", "History.xml", "Lange.xml"}) {
        EXPECT_EQ(slurp(dir / name), copied.at(name)) << name;
        EXPECT_EQ(slurp(copy / kReplacedFolderName / name), saved.at(name)) << name;
    }
    for (const char* name : {"Genre2.xml", "Sound.xml", "Impress.xml"}) EXPECT_EQ(slurp(dir / name), saved.at(name));
    // Taken: the same copy is not offered again.
    EXPECT_FALSE(findRecoveryCopy(dir.path()));
    EXPECT_TRUE(filesIn(copy).empty());

    start();
    EXPECT_EQ(dm->CDvd.recordCount(), 3);
    dm->CDvd.last();
    EXPECT_EQ(toUtf8(dm->CDvd.fieldU8(fld::Title).asString()), "東京物語");
    EXPECT_EQ(dm->CHistory.recordCount(), 1);
    EXPECT_EQ(dm->lastCode(), 3);
}

TEST_F(Recovery, UnusableCopyReplacesNothing) {
    changeTitlesHistoryAndLanguages();
    updateRecoveryCopy(*dm);
    crash();
    const RecoveryMarker marker = *findRecoveryCopy(dir.path());
    const std::string goodHistory = slurp(copy / "History.xml");
    struct Fault {
        const char* what;
        std::function<void()> make;
        const char* named;
    };
    const std::vector<Fault> faults = {
        {"not a packet", [&] { spit(copy / "History.xml", "<garbage"); }, "History.xml"},
        {"empty", [&] { spit(copy / "History.xml", ""); }, "History.xml"},
        {"missing", [&] { fs::remove(copy / "History.xml"); }, "History.xml"},
        {"cut short", [&] { spit(copy / "History.xml", goodHistory.substr(0, goodHistory.size() / 2)); }, "History.xml"},
    };
    for (const Fault& f : faults) {
        f.make();
        const std::string error = messageOf([&] { applyRecoveryCopy(dir.path(), marker); });
        EXPECT_NE(error.find(f.named), std::string::npos) << f.what << ": " << error;
        EXPECT_EQ(filesIn(dir.path()), saved) << f.what;  // not even DvdData.xml, which read well
        EXPECT_TRUE(findRecoveryCopy(dir.path())) << f.what;
        EXPECT_FALSE(fs::exists(copy / kReplacedFolderName)) << f.what;
        spit(copy / "History.xml", goodHistory);
    }
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
             head + "stamp=1\nfile=/etc/passwd\n",
             head + "stamp=1\nfile=DvdData.xml\nfile=DvdData.xml\n",
         })
        EXPECT_THROW(parseRecoveryMarker(bad), DataError) << bad;

    // A marker that is no marker makes the copy unreadable, never absent.
    fs::create_directories(copy);
    spit(copy / kRecoveryMarkerName, "Tamboro recovery copy\ntime=x\nstamp=1\nfile=../../DvdData.xml\n");
    EXPECT_NE(messageOf([&] { findRecoveryCopy(dir.path()); }).find(kRecoveryMarkerName), std::string::npos);
    fs::remove(copy / kRecoveryMarkerName);
    fs::create_directory(copy / kRecoveryMarkerName);
    EXPECT_THROW(findRecoveryCopy(dir.path()), DataError);
}

TEST_F(Recovery, SetAsideKeepsEveryCopyUnderItsTime) {
    addTitle("東京物語");
    updateRecoveryCopy(*dm, at(17, 5));
    const std::map<std::string, std::string> first = filesIn(copy);
    EXPECT_EQ(setRecoveryCopyAside(dir.path(), "20261210-170500"), dir / ".tamboro-recovery-20261210-170500");
    updateRecoveryCopy(*dm, at(17, 5));
    EXPECT_EQ(setRecoveryCopyAside(dir.path(), "20261210-170500"), dir / ".tamboro-recovery-20261210-170500-2");
    EXPECT_EQ(filesIn(dir / ".tamboro-recovery-20261210-170500"), first);
    // No usable stamp: the folder's own time names it, and nothing outside.
    updateRecoveryCopy(*dm, at(17, 5));
    const fs::path third = setRecoveryCopyAside(dir.path(), "../x");
    EXPECT_EQ(third.parent_path(), dir.path());
    EXPECT_EQ(third.filename().string().rfind(".tamboro-recovery-", 0), 0u);
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_EQ(filesIn(dir.path()), saved);

    // A normal close removes only the live folder; the ones set aside stay.
    updateRecoveryCopy(*dm);
    removeRecoveryFolder(dir.path());
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_TRUE(fs::exists(third));
    EXPECT_NO_THROW(removeRecoveryFolder(dir.path()));
}

TEST_F(Recovery, FailedWriteSaysWhyAndLeavesTheDataFiles) {
    addTitle("東京物語");
    spit(copy, "a file where the folder goes");
    EXPECT_NE(messageOf([&] { updateRecoveryCopy(*dm); }).find(kRecoveryFolderName), std::string::npos);
    fs::remove(copy);
    fs::create_directories(copy / "DvdData.xml" / "in the way");
    EXPECT_NE(messageOf([&] { updateRecoveryCopy(*dm); }).find("DvdData.xml"), std::string::npos);
    EXPECT_FALSE(findRecoveryCopy(dir.path()));  // no marker for a copy that failed
    EXPECT_EQ(filesIn(dir.path()), saved);
}

}  // namespace
