// Building the report from the title table: which titles, in which order,
// with which texts, and where the table's cursor is left.
#include <QTest>
#include <tuple>

#include "data/data_module.h"
#include "report/title_report.h"
#include "tests/app/app_fixture.h"

using namespace tamboro;
using namespace tamboro::report;
using namespace tamboro::test;

namespace {

// A catalogue opened as the program opens it.
struct OpenCatalogue {
    explicit OpenCatalogue(const std::vector<TitleSpec>& titles = dozenTitles(),
                           const std::function<void(TDM1&)>& extra = {})
        : folder(titles, extra), dm(folder.path()) {
        dm.openAtCreation();
        dm.OpenForEditor();
    }
    void filter(const std::string& utf8) {
        dm.CDvd.setFilterText(sj(utf8));
        dm.CDvd.setFiltered(true);
    }
    CatalogueFolder folder;
    TDM1 dm;
};

std::vector<TitleSpec> numbered(int n) {
    std::vector<TitleSpec> out;
    for (int i = 1; i <= n; ++i) out.push_back({"作品" + std::to_string(i), 100, 0});
    return out;
}

void addSubGenres(TDM1& dm) { addSearchTestData(dm); }

// SF (3) with 宇宙 (1) and 青春 (2); 洋画 (100) with アクション (1) and ドラマ (2).
void addGenreLists(TDM1& dm) {
    CatalogueFolder::addRow(dm.CGenre, fld::GenreCode1, fld::GenreName, {{3, "SF"}});
    const std::tuple<int, int, const char*> subGenres[] = {{3, 1, "宇宙"}, {3, 2, "青春"}, {100, 1, "アクション"}, {100, 2, "ドラマ"}};
    for (auto [major, minor, name] : subGenres) {
        gotoCode(dm.CGenre, fld::GenreCode1, major);
        dm.CGenre2.append();
        dm.CGenre2.fieldU8(fld::GenreCode1).setInteger(major);
        dm.CGenre2.fieldU8(fld::GenreCode2).setInteger(minor);
        dm.CGenre2.fieldU8(fld::GenreName2).setString(sj(name));
        dm.CGenre2.post();
    }
}

}  // namespace

class ReportBuildTest : public QObject {
    Q_OBJECT
private slots:
    // The listed titles, in the table's current order and filter, each with
    // the display texts of its fields; the last one is current afterwards.
    void rowsFollowTheListAndItsOrder() {
        OpenCatalogue c(searchTitleSpecs(), addSubGenres);
        c.dm.CDvd.setIndexFields(sj(fld::Title));
        c.filter("CODE > 0 AND ジャンル１ = 3");
        QPrn1 report(c.dm);
        const auto built = report.build();
        QVERIFY(built);
        QCOMPARE(built->titles, 2);
        QCOMPARE(built->rows[0][DTitle], QStringLiteral("スター・ウォーズ"));
        QCOMPARE(built->rows[1][DTitle], QStringLiteral("スタンド・バイ・ミー"));
        const ReportContent::Row& star = built->rows[0];
        QCOMPARE(star[DCode], QStringLiteral("1"));
        QCOMPARE(star[DWatched], QStringLiteral("2004/01/10"));
        QCOMPARE(star[DRunTime], QStringLiteral("121"));
        QCOMPARE(star[DCount], QStringLiteral("3"));
        QCOMPARE(star[DRating], QStringLiteral("5"));
        QCOMPARE(star[DSubTitle], QString());
        QCOMPARE(c.dm.CDvd.recNo(), c.dm.CDvd.recordCount() - 1);
        QCOMPARE(u8(c.dm.CDvd.fieldU8(fld::Title).asString()), QStringLiteral("スタンド・バイ・ミー"));
    }

    // Genre names come from the genre lists; a blank or unknown code prints
    // an empty cell, never the name of the title before.
    void genreCellsLookUpTheLists() {
        OpenCatalogue c(
            {{"既知", 3, 1}, {"副が不明", 3, 9}, {"主が不明", 777, 1}, {"ゼロ", 0, 0}, {"洋画", 100, 2}, {"空白", 100, 1}},
            [](TDM1& dm) {
                addGenreLists(dm);
                dm.CDvd.last();
                dm.CDvd.edit();
                dm.CDvd.fieldU8(fld::Genre1).clear();  // blank, not 0
                dm.CDvd.fieldU8(fld::Genre2).clear();
                dm.CDvd.post();
            });
        c.dm.CDvd.setIndexFields(sj(fld::Code));
        QPrn1 report(c.dm);
        const auto built = report.build();
        QVERIFY(built);
        const QStringList expected1{"SF", "SF", "", "", "洋画", ""};
        const QStringList expected2{"宇宙", "", "", "", "ドラマ", ""};
        QCOMPARE(built->titles, 6);
        for (int i = 0; i < built->titles; ++i) {
            QCOMPARE(built->rows[static_cast<size_t>(i)][DGenre1], expected1[i]);
            QCOMPARE(built->rows[static_cast<size_t>(i)][DGenre2], expected2[i]);
        }
        QCOMPARE(report.QLGenre1(), QString());  // the last title's, blank codes
    }

    // The labels follow the current title outside a build too.
    void labelsFollowTheCurrentTitle() {
        OpenCatalogue c(searchTitleSpecs(), addSubGenres);
        QPrn1 report(c.dm);
        c.dm.CDvd.first();  // code order
        c.dm.CDvd.next();
        c.dm.CDvd.prior();
        QCOMPARE(report.QLGenre1(), QStringLiteral("SF"));
        QCOMPARE(report.QLGenre2(), QStringLiteral("宇宙"));
        c.dm.CDvd.moveTo(3);
        QCOMPARE(c.dm.CDvd.fieldU8(fld::Code).asInteger(), 4);
        QCOMPARE(report.QLGenre1(), QStringLiteral("邦画"));
        QCOMPARE(report.QLGenre2(), QString());
    }

    // No listed title: one row of empty fields, whose genre cells show what
    // code 0 looks up, on one page.
    void emptyListGivesOneBlankRow() {
        OpenCatalogue c;
        QPrn1 report(c.dm);
        c.dm.CDvd.moveTo(1);  // a title with genres, before the list empties
        QCOMPARE(report.QLGenre1(), QStringLiteral("洋画"));
        c.filter("CODE < 0");
        auto built = report.build();
        QVERIFY(built);
        QCOMPARE(built->titles, 0);
        QCOMPARE(built->pageCount(), 1);
        QCOMPARE(int(built->rows.size()), 1);
        for (const QString& text : built->rows[0]) QVERIFY(text.isEmpty());

        // With a genre numbered 0, its name shows.
        CatalogueFolder::addRow(c.dm.CGenre, fld::GenreCode1, fld::GenreName, {{0, "未分類"}});
        built = report.build();
        QCOMPARE(built->rows[0][DGenre1], QStringLiteral("未分類"));
    }

    void pagesBreakAfter23Titles_data() {
        QTest::addColumn<int>("titles");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("onLastPage");
        QTest::newRow("23") << 23 << 1 << 23;
        QTest::newRow("24") << 24 << 2 << 1;
    }
    void pagesBreakAfter23Titles() {
        QFETCH(int, titles);
        QFETCH(int, pages);
        QFETCH(int, onLastPage);
        OpenCatalogue c(numbered(titles));
        QPrn1 report(c.dm);
        const auto built = report.build();
        QCOMPARE(built->pageCount(), pages);
        QCOMPARE(built->rowCountOn(pages - 1), onLastPage);
        QCOMPARE(built->rows.back()[DTitle], QStringLiteral("作品%1").arg(titles));
    }

    // Cancelling part way puts the title that was current back.
    void cancelledBuildLeavesTheCursor() {
        OpenCatalogue c(numbered(600));
        c.dm.CDvd.moveTo(16);
        QPrn1 report(c.dm);
        int calls = 0;
        int seenTotal = 0;
        const auto built = report.build([&](int done, int total) {
            ++calls;
            seenTotal = total;
            return done < 300;
        });
        QVERIFY(!built);
        QVERIFY(calls >= 2);
        QCOMPARE(seenTotal, 600);
        QCOMPARE(c.dm.CDvd.fieldU8(fld::Code).asInteger(), 17);
    }
};

QTEST_MAIN(ReportBuildTest)
#include "report_build_test.moc"
