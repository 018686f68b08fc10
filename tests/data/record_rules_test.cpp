// The data module's rules, exercised as the windows will use them: through
// table operations on a catalogue folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "data/data_module.h"
#include "data/fresh_install.h"
#include "data/locale_jp.h"
#include "data/packet_file.h"
#include "data/packet_writer.h"
#include "table_fixture.h"
#include "temp_folder.h"

using namespace tamboro;
using namespace tamboro::test;
namespace fs = std::filesystem;

namespace {

// A catalogue folder whose titles carry the given codes.
struct Catalogue : ::testing::Test {
    TempFolder dir;
    std::unique_ptr<TDM1> dm;

    void writeTitles(std::initializer_list<int> codes) {
        Packet p;
        p.schema = schemaOf(CatalogueTable::Dvd);
        RowBuilder b(p.schema.size());
        for (int c : codes) {
            b.setInt(0, c);
            b.setText(5, "title " + std::to_string(c));
            p.rows.push_back({b.finish(), 0});
        }
        replaceFileContent(dir.path() / "DvdData.xml", writePacket(p, false));
    }
    void start() {
        createMissingFiles(dir.path());
        dm = std::make_unique<TDM1>(dir.path());
        dm->openAtCreation();
        dm->OpenForEditor();
    }
    Field dvd(std::string_view utf8) { return dm->CDvd.fieldU8(utf8); }
    bool gotoCode(int code) {
        dm->CDvd.setIndexFields("CODE");
        dm->CDvd.setKey();
        dvd("CODE").setInteger(code);
        return dm->CDvd.gotoKey();
    }
};

// ---- derived ratings ------------------------------------------------------

TEST_F(Catalogue, DerivedRatingsRoundTheMeanOfTheNonZeroParts) {
    writeTitles({1});
    start();
    using R = std::optional<int>;
    const R _ = std::nullopt;
    // The mean of the non-zero parts in single precision: halves go to even,
    // but 2.5 and 4.5 go up. DVD rating: picture, sound and spare 5.
    const std::pair<std::vector<R>, const char*> dvdCases[] = {
        {{3, 2, _}, "3"}, {{5, 4, 0}, "5"}, {{1, 2, 0}, "2"}, {{_, _, _}, "0"}, {{4, 0, 0}, "4"}, {{7, 6, 0}, "6"},
    };
    const std::string_view dvdParts[] = {fld::PictureLevel, fld::SoundLevel, fld::spare(5)};
    for (const auto& [inputs, expected] : dvdCases) {
        dm->CDvd.edit();
        for (size_t i = 0; i < 3; ++i) inputs[i] ? dvd(dvdParts[i]).setInteger(*inputs[i]) : dvd(dvdParts[i]).clear();
        dm->CDvd.post();
        EXPECT_EQ(dvd(fld::DvdRating).asString(), expected);
    }
    // Movie rating: spares 1 to 4.
    const std::pair<std::vector<R>, const char*> movieCases[] = {
        {{5, 5, 4, 1}, "4"} /* 3.75 */, {{_, _, _, _}, "0"}, {{3, 2, 0, 0}, "3"} /* 2.5 goes up */,
        {{1, 2, 1, 2}, "2"} /* 1.5 to even 2 */, {{4, 3, 0, 0}, "4"} /* 3.5 to even 4 */,
    };
    for (const auto& [inputs, expected] : movieCases) {
        dm->CDvd.edit();
        for (int k = 1; k <= 4; ++k)
            inputs[k - 1] ? dvd(fld::spare(k)).setInteger(*inputs[k - 1]) : dvd(fld::spare(k)).clear();
        dm->CDvd.post();
        EXPECT_EQ(dvd(fld::MovieRating).asString(), expected);
    }
}

// ---- numbering --------------------------------------------------------------

TEST_F(Catalogue, NewTitlesNeverReuseNumbersWithinARunOrAfterARestart) {
    writeTitles({1, 2, 6});
    start();
    EXPECT_EQ(dm->lastCode(), 6);
    dm->AddNewTitle();
    EXPECT_EQ(dvd("CODE").asInteger(), 7);
    EXPECT_TRUE(dvd(fld::Color).asBoolean());
    EXPECT_FALSE(dvd(fld::impress(10)).isNull());
    EXPECT_TRUE(dvd(fld::aspect(4)).isNull());
    EXPECT_TRUE(dvd(fld::Title).isNull());
    dm->CDvd.post();
    dm->CDvd.remove();  // title 7 goes again
    dm->AddNewTitle();
    EXPECT_EQ(dvd("CODE").asInteger(), 8);
    dm->CDvd.cancel();  // a cancelled title still uses up its number
    dm->AddNewTitle();
    EXPECT_EQ(dvd("CODE").asInteger(), 9);
    dm->CDvd.post();
    dm->closeCatalogue();

    dm.reset();
    start();
    EXPECT_EQ(dm->lastCode(), 9);
}

TEST_F(Catalogue, ReopeningAfterRestoreRaisesTheCounter) {
    writeTitles({1, 2});
    start();
    dm->closeCatalogue();
    writeTitles({1, 2, 50});  // a restore brought a bigger catalogue
    dm->CDvd.open();
    dm->AddNewTitle();
    EXPECT_EQ(dvd("CODE").asInteger(), 51);
    dm->CDvd.post();
    dm->closeCatalogue();
    writeTitles({1});  // an older, smaller backup does not lower it
    dm->CDvd.open();
    EXPECT_EQ(dm->lastCode(), 51);
    dm->AddNewTitle();
    EXPECT_EQ(dvd("CODE").asInteger(), 52);
}

TEST_F(Catalogue, NoNumberIsLeftAtTheTopOfTheRange) {
    writeTitles({INT32_MAX});
    start();
    EXPECT_NE(errorOf([&] { dm->AddNewTitle(); }), "");
    EXPECT_EQ(dm->CDvd.state(), TableState::Browse);
    EXPECT_EQ(dm->CDvd.recordCount(), 1);
    EXPECT_EQ(dm->lastCode(), INT32_MAX);
}

// ---- viewing history --------------------------------------------------------

TEST_F(Catalogue, ViewingsRollUpIntoCountAndLatestDate) {
    writeTitles({1, 2});
    start();
    ASSERT_TRUE(gotoCode(2));
    for (const char* day : {"2004/01/05", "2003/12/31"}) {
        dm->CHistory.append();
        EXPECT_EQ(dm->CHistory.fieldU8(fld::Code).asInteger(), 2);
        dm->CHistory.fieldU8(fld::AppRecDate).setText(day);
        dm->CHistory.post();
    }
    EXPECT_EQ(dm->CDvd.state(), TableState::Edit);  // not posted by the rule
    dm->CDvd.post();
    EXPECT_EQ(dvd(fld::WatchCount).asInteger(), 2);
    EXPECT_EQ(dvd(fld::WatchedDate).displayText(), "2004/01/05");
    EXPECT_EQ(dm->CHistory.fieldU8(fld::AppRecDate).displayText(), "2004/01/05");  // history ends on the latest

    dm->CHistory.remove();  // the latest
    dm->CDvd.post();
    EXPECT_EQ(dvd(fld::WatchedDate).displayText(), "2003/12/31");
    dm->CHistory.remove();
    dm->CDvd.post();
    EXPECT_EQ(dvd(fld::WatchCount).asInteger(), 0);
    // No viewing left: no date at all, rather than a fake 1899/12/30 viewing.
    EXPECT_TRUE(dvd(fld::WatchedDate).isNull());
    ASSERT_TRUE(gotoCode(1));
    EXPECT_EQ(dm->CHistory.recordCount(), 0);

    // A viewing without a date is counted but dates nothing.
    dm->CHistory.append();
    dm->CHistory.fieldU8(fld::Coment).setText("date unknown");
    dm->CHistory.post();
    dm->CDvd.post();
    EXPECT_EQ(dvd(fld::WatchCount).asInteger(), 1);
    EXPECT_TRUE(dvd(fld::WatchedDate).isNull()) << dvd(fld::WatchedDate).displayText();
}

TEST_F(Catalogue, AViewingStillPendingIsRolledUpIntoTheTitleThatIsPosted) {
    // Each way of finishing the title completes the pending viewing first;
    // its roll-up must be in the row that gets stored.
    const std::pair<const char*, std::function<void(TDM1&)>> finishes[] = {
        {"edit then post", [](TDM1& m) { m.CDvd.edit(); m.CDvd.post(); }},
        {"post while editing", [](TDM1& m) { m.CDvd.post(); }},
        {"move on", [](TDM1& m) { m.CDvd.next(); }},
    };
    for (const auto& [how, finish] : finishes) {
        SCOPED_TRACE(how);
        fs::remove(dir.path() / "History.xml");
        writeTitles({1, 2});
        start();
        ASSERT_TRUE(gotoCode(1));
        if (std::string_view(how) == "post while editing") {
            dm->CDvd.edit();
            dvd(fld::Title).setText("renamed");
        }
        dm->CHistory.append();
        dm->CHistory.fieldU8(fld::AppRecDate).setText("2004/01/05");
        finish(*dm);
        EXPECT_EQ(dm->CDvd.state(), TableState::Browse);
        ASSERT_TRUE(gotoCode(1));
        EXPECT_EQ(dvd(fld::WatchCount).asInteger(), 1);
        EXPECT_EQ(dvd(fld::WatchedDate).displayText(), "2004/01/05");
        dm->closeCatalogue();
        dm.reset();
    }
}

// ---- genres -----------------------------------------------------------------

TEST_F(Catalogue, DeletingAGenreDeletesOnlyItsSubGenres) {
    writeTitles({1});
    start();
    auto addSub = [&](int g1, int g2) {
        dm->CGenre.setKey();
        dm->CGenre.fieldU8(fld::GenreCode1).setInteger(g1);
        ASSERT_TRUE(dm->CGenre.gotoKey());
        dm->CGenre2.append();
        dm->CGenre2.fieldU8(fld::GenreCode2).setInteger(g2);
        dm->CGenre2.fieldU8(fld::GenreName2).setText("sub");
        dm->CGenre2.post();
    };
    for (int k = 1; k <= 3; ++k) addSub(100, k);
    addSub(200, 1);
    addSub(900, 1);
    dm->CGenre.first();
    dm->CGenre.remove();  // genre 100
    int rows = 0;
    for (const StoredRow& r : dm->CGenre2.storedRows()) rows += r.current();
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(dm->CGenre.recordCount(), 5);
    EXPECT_EQ(dm->CGenre.fieldU8(fld::GenreCode1).asInteger(), 200);
    EXPECT_EQ(dm->CGenre2.recordCount(), 1);
}

// ---- opening and closing together --------------------------------------------

TEST_F(Catalogue, OpeningTitlesOpensEveryTableAndClosingWritesOnlyChangedOnes) {
    writeTitles({1});
    start();
    for (Table* t : {&dm->CGenre, &dm->CGenre2, &dm->CSound, &dm->CLange, &dm->CHistory, &dm->CImpress})
        EXPECT_TRUE(t->active()) << t->name();
    const std::string dvdBefore = slurp(dir.path() / "DvdData.xml");
    fs::remove(dir.path() / "Impress.xml");  // unchanged tables must not write even then
    dm->CSound.append();
    dm->CSound.fieldU8(fld::SoundCd).setInteger(1);
    dm->CSound.fieldU8(fld::SoundName).setText(sj("ステレオ"));
    dm->CSound.post();
    dm->CDvd.close();
    for (Table* t : {&dm->CGenre, &dm->CGenre2, &dm->CSound, &dm->CLange, &dm->CHistory, &dm->CImpress})
        EXPECT_FALSE(t->active()) << t->name();
    EXPECT_EQ(slurp(dir.path() / "DvdData.xml"), dvdBefore);
    EXPECT_FALSE(fs::exists(dir.path() / "Impress.xml"));
    EXPECT_FALSE(fs::exists(dir.path() / "Genre.xml"));
    EXPECT_NE(slurp(dir.path() / "Sound.xml").find(sj("ステレオ")), std::string::npos);
}

TEST_F(Catalogue, ClosingWithAViewingPendingClosesEveryTableAndDropsThePendingEdits) {
    const std::pair<const char*, std::function<void(TDM1&)>> closes[] = {
        {"close the catalogue", [](TDM1& m) { m.closeCatalogue(); }},
        {"close the titles", [](TDM1& m) { m.CDvd.close(); }},
    };
    for (const auto& [how, close] : closes) {
        SCOPED_TRACE(how);
        writeTitles({1});
        start();
        const std::string dvdBefore = slurp(dir.path() / "DvdData.xml");
        dm->CSound.append();
        dm->CSound.fieldU8(fld::SoundCd).setInteger(1);
        dm->CSound.fieldU8(fld::SoundName).setText("DTS");
        dm->CSound.post();
        dm->CHistory.append();
        dm->CHistory.fieldU8(fld::AppRecDate).setText("2004/01/05");

        EXPECT_EQ(errorOf([&] { close(*dm); }), "");
        for (Table* t : {&dm->CDvd, &dm->CGenre, &dm->CGenre2, &dm->CSound, &dm->CLange, &dm->CHistory,
                         &dm->CImpress})
            EXPECT_FALSE(t->active()) << t->name();
        EXPECT_NE(slurp(dir.path() / "Sound.xml").find("DTS"), std::string::npos);
        // Neither the viewing nor its roll-up was stored: nothing half done.
        EXPECT_EQ(slurp(dir.path() / "DvdData.xml"), dvdBefore);
        dm->CDvd.open();
        EXPECT_EQ(dm->CHistory.recordCount(), 0);
        EXPECT_TRUE(dvd(fld::WatchCount).isNull());
        dm->closeCatalogue();
        dm.reset();
        fs::remove(dir.path() / "Sound.xml");
    }
}

TEST_F(Catalogue, RenamedLanguageKeepsItsChangeLogInTheFile) {
    writeTitles({1});
    start();
    for (int k = 1; k <= 2; ++k) {
        dm->CLange.append();
        dm->CLange.fieldU8(fld::LangeCd).setInteger(k);
        dm->CLange.fieldU8(fld::LangeName).setText(k == 1 ? sj("日本語") : sj("英語"));
        dm->CLange.post();
    }
    dm->closeCatalogue();
    dm->CDvd.open();
    dm->CLange.last();
    dm->CLange.edit();
    dm->CLange.fieldU8(fld::LangeName).setText(sj("英語（米）"));
    dm->CLange.post();
    dm->closeCatalogue();
    const std::string file = slurp(dir.path() / "Lange.xml");
    EXPECT_NE(file.find("CHANGE_LOG=\"1 0 4 2 0 4 3 2 8\""), std::string::npos) << toUtf8(file);
    EXPECT_NE(file.find("RowState=\"5\""), std::string::npos);
    EXPECT_NE(file.find("RowState=\"12\""), std::string::npos);
    dm->CDvd.open();
    EXPECT_EQ(dm->CLange.recordCount(), 2);
    dm->CLange.last();
    EXPECT_EQ(dm->CLange.fieldU8(fld::LangeName).asString(), sj("英語（米）"));
}

}  // namespace
