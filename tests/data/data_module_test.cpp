#include <gtest/gtest.h>

#include "data/data_module.h"
#include "data/fresh_install.h"
#include "table_fixture.h"
#include "temp_folder.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

TEST(DataModule, GenreOpensFromBuiltInRowsInCodeOrderAgainAfterAnUnchangedClose) {
    TempFolder dir;
    TDM1 dm(dir.path());
    dm.openAtCreation();
    ASSERT_TRUE(dm.CGenre.active());
    EXPECT_FALSE(dm.CDvd.active());
    EXPECT_FALSE(dm.CHistory.active());
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<std::pair<int, std::string>> rows;
        for (dm.CGenre.first(); !dm.CGenre.eof(); dm.CGenre.next())
            rows.emplace_back(static_cast<int>(dm.CGenre.fieldU8("GENRE_CODE1").asInteger()),
                              toUtf8(dm.CGenre.fieldU8("GENRE_NAME").asString()));
        EXPECT_EQ(rows, (std::vector<std::pair<int, std::string>>{
                            {100, "洋画"}, {200, "邦画"}, {300, "アニメ"}, {400, "音楽"}, {500, "スポーツ"}, {900, "その他"}}));
        dm.CGenre.close();  // unchanged: nothing written
        EXPECT_FALSE(std::filesystem::exists(dir / "Genre.xml"));
        dm.CGenre.open();
    }
}

TEST(DataModule, SchemasMatchTheCatalogue) {
    TDM1 dm("/nonexistent");
    EXPECT_EQ(dm.CDvd.schema().size(), 106u);
    EXPECT_EQ(dm.CDvd.schema().indexOf(sj("音声言語1")), 100);
    EXPECT_EQ(dm.CDvd.schema().indexOf(sj("音声言語１")), -1);  // full-width digit is another name
    EXPECT_EQ(dm.CDvd.schema().indexOf(sj("予備１０")), 84);
    EXPECT_EQ(dm.CDvd.schema()[105].name, sj("音声言語6"));
    EXPECT_EQ(dm.CDvd.schema()[47].type, FieldType::Currency);
    for (const FieldDef& f : dm.CDvd.schema().fields()) EXPECT_LE(f.name.size(), 16u) << toUtf8(f.name);
    EXPECT_TRUE(dm.CDvd.caseInsensitiveFilter());
    EXPECT_EQ(dm.CHistory.schema()[2].width, 200);
}

struct OpenCatalogue : ::testing::Test {
    TempFolder dir;
    std::unique_ptr<TDM1> dm = std::make_unique<TDM1>(dir.path());
    void SetUp() override {
        createMissingFiles(dir.path());
        dm->openAtCreation();
        dm->OpenForEditor();
        for (int code = 1; code <= 3; ++code) {
            dm->CDvd.append();
            dm->CDvd.fieldU8(fld::Code).setInteger(code);
            dm->CDvd.post();
        }
    }
};

TEST_F(OpenCatalogue, RuleHooksAreSealedAgainstWindows) {
    EXPECT_THROW(dm->CDvd.afterScroll = [](Table&) {}, std::logic_error);
    EXPECT_THROW(dm->CDvd.beforePost = nullptr, std::logic_error);
    EXPECT_THROW(dm->CLange.afterPost = [](Table&) {}, std::logic_error);  // unused hooks too
    // The rule survived the attempt: posting still derives the ratings.
    dm->CDvd.edit();
    dm->CDvd.fieldU8(fld::PictureLevel).setInteger(4);
    dm->CDvd.post();
    EXPECT_EQ(dm->CDvd.fieldU8(fld::DvdRating).asString(), "4");
}

TEST_F(OpenCatalogue, OpeningForTheEditorAgainCountsCodesPostedMeanwhile) {
    EXPECT_EQ(dm->lastCode(), 0);  // the fixture's titles bypassed the counter
    dm->OpenForEditor();
    EXPECT_EQ(dm->lastCode(), 3);
}

TEST_F(OpenCatalogue, AfterScrollListenersRunInOrderUntilTheirHandleGoes) {
    std::string heard;
    auto code = [&] { return std::to_string(dm->CDvd.fieldU8(fld::Code).asInteger()); };
    auto editor = dm->subscribeDvdAfterScroll([&] { heard += "e" + code(); });
    ListenerList::Subscription report = dm->subscribeDvdAfterScroll([&] { heard += "r" + code(); });
    dm->CDvd.first();
    EXPECT_EQ(heard, "e1r1");
    {
        auto brief = dm->subscribeDvdAfterScroll([&] { heard += "b"; });
        dm->CDvd.next();
    }
    dm->CDvd.next();
    EXPECT_EQ(heard, "e1r1e2r2be3r3");

    // A listener may end another's subscription, or its own, while they are told.
    heard.clear();
    ListenerList::Subscription self;
    self = dm->subscribeDvdAfterScroll([&] {
        heard += "s";
        self.reset();
    });
    editor = dm->subscribeDvdAfterScroll([&] { report.reset(); });
    dm->CDvd.first();
    dm->CDvd.last();
    EXPECT_EQ(heard, "r1s");
    EXPECT_FALSE(report.active());

    // A handle that outlives the data module ends quietly.
    dm.reset();
    editor.reset();
    EXPECT_FALSE(editor.active());
}

}  // namespace
