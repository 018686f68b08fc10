// The printed page itself: pages rendered to images at ten pixels per
// millimetre and looked at where the cells and lines must be.
#include <QTest>

#include "report/band_layout.h"
#include "tests/report/report_test_support.h"

using namespace tamboro;
using namespace tamboro::report;
using namespace tamboro::test;

namespace {

constexpr double kLeft = kMarginLeftMm;
constexpr double kHeaderTop = kMarginTopMm;
const double kFirstDetailTop = detailBandTopMm(0);

// One title whose every field is filled.
ReportContent oneFullTitle() {
    ReportContent c = contentOfRows(1);
    ReportContent::Row& r = c.rows[0];
    r[DCode] = QStringLiteral("12345");
    r[DTitle] = QStringLiteral("七人の侍");
    r[DBoxNo] = QStringLiteral("A1");
    r[DWatched] = QStringLiteral("2004/01/10");
    r[DRunTime] = QStringLiteral("207");
    r[DGenre1] = QStringLiteral("邦画");
    r[DSubTitle] = QStringLiteral("完全版");
    r[DDvdNo] = QStringLiteral("3");
    r[DCount] = QStringLiteral("12");
    r[DRating] = QStringLiteral("5");
    r[DGenre2] = QStringLiteral("時代劇");
    c.header = {QStringLiteral("邦画"), QStringLiteral("時代劇"), QStringLiteral("2026/12/10")};
    return c;
}

}  // namespace

class PageLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void pageCounts_data() {
        QTest::addColumn<int>("titles");
        QTest::addColumn<int>("pages");
        QTest::newRow("none still prints a page") << 0 << 1;
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("a full page") << 23 << 1;
        QTest::newRow("one over") << 24 << 2;
        QTest::newRow("two full pages") << 46 << 2;
        QTest::newRow("5,000") << 5000 << 218;
        QTest::newRow("100,000") << 100000 << 4348;
    }
    void pageCounts() {
        QFETCH(int, titles);
        QFETCH(int, pages);
        QCOMPARE(pageCountFor(titles), pages);
        const ReportContent c = contentOfRows(titles);
        QCOMPARE(c.pageCount(), pages);
        int rows = 0;
        for (int p = 0; p < c.pageCount(); ++p) rows += c.rowCountOn(p);
        QCOMPARE(rows, std::max(1, titles));  // every row on exactly one page
    }

    // Header rules and the verticals of header and rows meet in unbroken
    // columns, across the joint between the bands.
    void linesLineUpBetweenHeaderAndRows() {
        const QImage page = renderPage(contentOfRows(3), 0);
        for (double y : {10.19, 20.64})  // the thick rules across the header
            for (double x = 1.0; x < 189.0; x += 7.3)
                QVERIFY2(anyDark(page, kLeft + x, kHeaderTop + y - 0.15, kLeft + x + 0.1, kHeaderTop + y + 0.15),
                         qPrintable(QStringLiteral("rule at %1 broken at x %2").arg(y).arg(x)));
        // Each band's verticals over its own span: the header's, then each
        // row's from just above the row (over the joint) to above its rule.
        std::vector<std::pair<double, double>> spans{{kHeaderTop + 10.4, kHeaderTop + 20.85}};
        for (int i = 0; i < 3; ++i) spans.emplace_back(detailBandTopMm(i) - 0.4, detailBandTopMm(i) + 10.5);
        for (double x : {0.13, 11.77, 100.67, 117.61, 140.89, 155.71, 190.10}) {
            for (const auto& [from, to] : spans)
                for (double y = from; y < to; y += 0.2)
                    QVERIFY2(anyDark(page, kLeft + x - 0.15, y, kLeft + x + 0.15, y + 0.1),
                             qPrintable(QStringLiteral("vertical at %1 broken at y %2").arg(x).arg(y)));
            // Nothing above the header's ruled part.
            QVERIFY(!anyDark(page, kLeft + x - 0.15, kHeaderTop + 9.9, kLeft + x + 0.15, kHeaderTop + 10.0));
        }
        // Between two columns a row is white but for its rules.
        QVERIFY(!anyDark(page, kLeft + 3, detailBandTopMm(3) + 1, kLeft + 10, detailBandTopMm(3) + 10));
    }

    void dottedRulesAreDotted() {
        const QImage page = renderPage(contentOfRows(1), 0);
        for (double y : {kHeaderTop + 15.35, kFirstDetailTop + 5.16}) {
            int darkPx = 0, lightPx = 0;
            for (int x = px(kLeft + 20); x < px(kLeft + 90); ++x) {
                bool d = false;
                for (int dy = -1; dy <= 1; ++dy) d = d || dark(page, x, px(y) + dy);
                (d ? darkPx : lightPx)++;
            }
            QVERIFY2(darkPx > 100 && lightPx > 100, qPrintable(QStringLiteral("y %1").arg(y)));
        }
    }

    // The second page begins with the header again and holds the 24th title.
    void laterPagesBeginWithTheHeader() {
        const ReportContent c = contentOfRows(24);
        const QImage page2 = renderPage(c, 1);
        const QImage page1 = renderPage(c, 0);
        // The underlined heading and the column captions.
        QVERIFY(anyDark(page2, kLeft + 71.97, kHeaderTop + 2.12, kLeft + 102.13, kHeaderTop + 7.94));
        QVERIFY(anyDark(page2, kLeft + 13.76, kHeaderTop + 10.85, kLeft + 24.87, kHeaderTop + 15.35));
        // One band: its bottom rule, and white where a second would be.
        QVERIFY(anyDark(page2, kLeft + 30, kFirstDetailTop + 10.7, kLeft + 31, kFirstDetailTop + 11.0));
        QVERIFY(!anyDark(page2, kLeft - 5, detailBandTopMm(1) + 1, kLeft + 195, kPaperHeightMm));
        // "24" in the code cell of page 2; the first page's last band is the 23rd.
        QVERIFY(anyDark(page2, kLeft + 2.12, kFirstDetailTop + 0.26, kLeft + 12.97, kFirstDetailTop + 4.76));
        QVERIFY(anyDark(page1, kLeft + 2.12, detailBandTopMm(22) + 0.26, kLeft + 12.97, detailBandTopMm(22) + 4.76));
        QVERIFY(!anyDark(page1, kLeft - 5, detailBandTopMm(23) + 0.1, kLeft + 195, kPaperHeightMm));
    }

    // Cells print inside their boxes with their alignment.
    void cellsSitInTheirBoxes() {
        const QImage page = renderPage(oneFullTitle(), 0);
        const double top = kFirstDetailTop;
        auto span = [&](double x, double y, double w, double h) {
            // A little room around the box, to see text that strays out of it.
            return darkSpan(page, kLeft + x - 0.9, top + y + 0.3, kLeft + x + w + 0.9, top + y + h - 0.3);
        };
        // Left aligned: starts at the box's left edge.
        auto [codeL, codeR] = span(2.12, 0.26, 10.85, 4.50);
        QVERIFY(codeL >= kLeft + 2.12 && codeL < kLeft + 2.12 + 1.0);
        // Right aligned: ends at the box's right edge, before "分" and "回".
        // (Measured short of the units, which follow at once.)
        auto [timeL, timeR] = darkSpan(page, kLeft + 141.2, top + 0.6, kLeft + 150.75, top + 4.4);
        QVERIFY2(timeR <= kLeft + 150.55 + 0.1 && timeR > kLeft + 150.55 - 1.0, qPrintable(QString::number(timeR)));
        QVERIFY(timeL > kLeft + 141.82 + 2.0);
        auto [countL, countR] = darkSpan(page, kLeft + 122.0, top + 6.4, kLeft + 133.8, top + 10.2);
        QVERIFY(countR <= kLeft + 131.50 + 0.1 && countR > kLeft + 131.50 - 1.0);
        // Centred.
        auto [rateL, rateR] = span(142.88, 6.09, 11.91, 4.50);
        QVERIFY(rateL > 0);
        QVERIFY(std::abs((rateL + rateR) / 2 - (kLeft + 142.88 + 11.91 / 2)) < 0.6);
        // The fixed units.
        QVERIFY(anyDark(page, kLeft + 150.81, top + 0.26, kLeft + 154.51, top + 3.96));
        QVERIFY(anyDark(page, kLeft + 133.88, top + 6.09, kLeft + 137.58, top + 9.79));
        // Header texts: the date after "作成日：", the two genre criteria.
        QVERIFY(anyDark(page, kLeft + 171.45, kHeaderTop + 5.29, kLeft + 190.0, kHeaderTop + 9.79));
        QVERIFY(anyDark(page, kLeft + 1.06, kHeaderTop + 6.09, kLeft + 32.0, kHeaderTop + 9.79));
        QVERIFY(anyDark(page, kLeft + 32.81, kHeaderTop + 6.09, kLeft + 63.77, kHeaderTop + 9.79));
    }

    // Blank cells print nothing; the units, rules and captions still print.
    void blankRowPrintsOnlyItsFixedParts() {
        const QImage page = renderPage(contentOfRows(0), 0);
        const double top = kFirstDetailTop;
        QVERIFY(!anyDark(page, kLeft + 13.76, top + 0.4, kLeft + 99.5, top + 4.6));   // title
        QVERIFY(!anyDark(page, kLeft + 157.69, top + 0.4, kLeft + 188.6, top + 3.8));  // genre 1
        QVERIFY(!anyDark(page, kLeft + 1.06, kHeaderTop + 6.2, kLeft + 63.7, kHeaderTop + 9.7));  // header genres
        QVERIFY(anyDark(page, kLeft + 150.81, top + 0.26, kLeft + 154.51, top + 3.96));  // 分
        QVERIFY(anyDark(page, kLeft + 133.88, top + 6.09, kLeft + 137.58, top + 9.79));  // 回
        QVERIFY(anyDark(page, kLeft + 30, top + 10.7, kLeft + 31, top + 11.0));          // its bottom rule
    }

    // A title wider than its box prints its first line only, wrapped at the
    // box's width: nothing below that line, nothing past the box.
    void longTextPrintsOneLineInsideItsBox() {
        ReportContent c = oneFullTitle();
        QString longTitle;
        for (int i = 0; i < 8; ++i) longTitle += QStringLiteral("ロード・オブ・ザ・リング ");
        c.rows[0][DTitle] = longTitle;
        c.rows[0][DSubTitle].clear();
        c.rows[0][DGenre1] = QStringLiteral("ドキュメンタリー・ドキュメンタリー・ドキュメンタリー");
        const QImage page = renderPage(c, 0);
        const double top = kFirstDetailTop;
        QVERIFY(anyDark(page, kLeft + 13.76, top + 0.26, kLeft + 99.75, top + 3.9));
        // A second line would start about 3.6 mm down and show in 4.0..5.0.
        QVERIFY(!anyDark(page, kLeft + 13.76, top + 4.0, kLeft + 99.75, top + 5.0));
        QVERIFY(!anyDark(page, kLeft + 101.0, top + 0.26, kLeft + 103.5, top + 4.76));
        QVERIFY(!anyDark(page, kLeft + 13.76, top + 6.09, kLeft + 99.75, top + 10.5));  // the empty subtitle
        // A number a little wider than its box prints whole, not cut short.
        ReportContent date = oneFullTitle(), cut = oneFullTitle();
        date.rows[0][DWatched] = QStringLiteral("2007/09/27 2007/09/27");
        cut.rows[0][DWatched] = QStringLiteral("2007/09/2");
        QVERIFY(renderPage(date, 0) != renderPage(cut, 0));
        date.rows[0][DWatched] = QStringLiteral("2007/09/27");
        const QImage whole = renderPage(date, 0);
        QVERIFY(anyDark(whole, kLeft + 130, top + 0.26, kLeft + 140.5, top + 4.0));
        QVERIFY(!anyDark(whole, kLeft + 120.91, top + 4.0, kLeft + 139.17, top + 5.0));
        // The genre cell keeps to its box too.
        QVERIFY(!anyDark(page, kLeft + 157.69, top + 3.8, kLeft + 188.5, top + 5.0));
        QVERIFY(!anyDark(page, kLeft + 188.7, top + 0.26, kLeft + 189.9, top + 3.96));
    }
};

QTEST_MAIN(PageLayoutTest)
#include "page_layout_test.moc"
