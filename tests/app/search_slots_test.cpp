// The filter fragments themselves; search_criteria_test checks each through
// its control, so these are the cases the controls reach only awkwardly.
#include <QtTest>

#include "app/search_slots.h"
#include "data/sjis.h"

using tamboro::SearchSlots;
using tamboro::sj;

namespace {
QString u8(const std::string& sjis) { return QString::fromStdString(tamboro::toUtf8(sjis)); }
}  // namespace

class SearchSlotsTest : public QObject {
    Q_OBJECT
private slots:
    void assembledExampleJoinsSlotsInOrder() {
        SearchSlots s;
        s.setImpression(2, true);
        s.setTitle(sj("スター"));
        s.setRating("5");
        s.setGenre1(3, false);
        QCOMPARE(u8(s.filterText()), "CODE > 0 AND ジャンル１ = 3 AND 評価 = 5 AND タイトル = 'スター*' AND IMPRESS2 = TRUE");
    }
    void fragmentsTakeTheirValuesAsTheyStand() {
        SearchSlots s;
        s.setLanguage(-1, false);
        s.setYear("1990", false);
        s.setWatched("2004/01/31", true);
        s.setWatchCount("3", true);
        s.setRunningTime("120", false);
        s.setTitle(" Ocean's ");
        QCOMPARE(u8(s.slot(SearchSlots::Language)), " AND (音声言語1 = -1 OR  音声言語2 = -1 OR  音声言語3 = -1 OR  "
                                                    "音声言語4 = -1 OR  音声言語5 = -1 OR  音声言語6 = -1)");
        QCOMPARE(u8(s.slot(SearchSlots::Year)), " AND 製作年 >= 1990");
        QCOMPARE(u8(s.slot(SearchSlots::Watched)), " AND 鑑賞日 <= '2004/01/31'");
        QCOMPARE(u8(s.slot(SearchSlots::WatchCount)), " AND 回数 <= 3");
        QCOMPARE(u8(s.slot(SearchSlots::RunningTime)), " AND 収録時間 >= 120");
        QCOMPARE(u8(s.slot(SearchSlots::Title)), " AND タイトル = ' Ocean's *'");
    }
    void emptyTextsAndUntickedBoxesEmptyTheirSlots() {
        SearchSlots s;
        s.setTitle("x");
        s.setTitle("");
        s.setGenre1(100, false);
        s.setGenre1(100, true);
        s.setImpression(7, true);
        s.setImpression(3, true);
        s.setImpression(7, false);
        QCOMPARE(u8(s.filterText()), "CODE > 0 AND IMPRESS3 = TRUE");
        s.clearAll();
        QCOMPARE(u8(s.filterText()), "CODE > 0");
    }
};

QTEST_APPLESS_MAIN(SearchSlotsTest)
#include "search_slots_test.moc"
