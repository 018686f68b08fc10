#include <QtTest>

#include "app/search_slots.h"
#include "data/sjis.h"

using tamboro::SearchSlots;
using tamboro::sj;
using tamboro::toUtf8;

class SearchSlotsTest : public QObject {
    Q_OBJECT
private slots:
    void assembledExampleJoinsSlotsInOrder() {
        SearchSlots s;
        s.setImpression(2, true);
        s.setTitle(sj("スター"));
        s.setRating("5");
        s.setGenre1(3, false);
        QCOMPARE(QString::fromStdString(toUtf8(s.filterText())),
                 QString("CODE > 0 AND ジャンル１ = 3 AND 評価 = 5 AND タイトル = 'スター*' AND IMPRESS2 = TRUE"));
    }
    void noCriterionGivesBaseText() { QCOMPARE(QString::fromStdString(SearchSlots().filterText()), QString("CODE > 0")); }
    void longFragmentsUseTwoBlanksAfterOrAndTheirDigitWidths() {
        SearchSlots s;
        s.setCast(sj("渡辺"));
        s.setSound(2, false);
        s.setLanguage(-1, false);
        QCOMPARE(QString::fromStdString(toUtf8(s.slot(SearchSlots::Cast))),
                 QString(" AND (出演者１ = '渡辺*' OR  出演者２ = '渡辺*' OR  出演者３ = '渡辺*' OR  "
                         "出演者４ = '渡辺*' OR  出演者５ = '渡辺*')"));
        QCOMPARE(QString::fromStdString(toUtf8(s.slot(SearchSlots::Sound))),
                 QString(" AND (音声日本語１ = 2 OR  音声日本語２ = 2 OR  音声日本語３ = 2 OR  音声英語１ = 2 OR  "
                         "音声英語２ = 2 OR  音声英語３ = 2)"));
        QCOMPARE(QString::fromStdString(toUtf8(s.slot(SearchSlots::Language))),
                 QString(" AND (音声言語1 = -1 OR  音声言語2 = -1 OR  音声言語3 = -1 OR  音声言語4 = -1 OR  "
                         "音声言語5 = -1 OR  音声言語6 = -1)"));
    }
    void boundsFollowTheirRadioChoice() {
        SearchSlots s;
        s.setYear("1990", false);
        s.setWatched("2004/01/31", true);
        s.setWatchCount("3", true);
        s.setRunningTime("120", false);
        QCOMPARE(QString::fromStdString(toUtf8(s.slot(SearchSlots::Year))), QString(" AND 製作年 >= 1990"));
        QCOMPARE(QString::fromStdString(toUtf8(s.slot(SearchSlots::Watched))), QString(" AND 鑑賞日 <= '2004/01/31'"));
        QCOMPARE(QString::fromStdString(toUtf8(s.slot(SearchSlots::WatchCount))), QString(" AND 回数 <= 3"));
        QCOMPARE(QString::fromStdString(toUtf8(s.slot(SearchSlots::RunningTime))), QString(" AND 収録時間 >= 120"));
    }
    void textsAreTakenAsTheyStand() {
        SearchSlots s;
        s.setTitle(" Ocean's ");
        s.setDvdRating("4");
        QCOMPARE(QString::fromStdString(toUtf8(s.slot(SearchSlots::Title))), QString(" AND タイトル = ' Ocean's *'"));
        QCOMPARE(QString::fromStdString(toUtf8(s.slot(SearchSlots::DvdRating))), QString(" AND 予備６ = '4'"));
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
        QCOMPARE(QString::fromStdString(s.filterText()), QString("CODE > 0 AND IMPRESS3 = TRUE"));
        s.clearAll();
        QCOMPARE(QString::fromStdString(s.filterText()), QString("CODE > 0"));
    }
};

QTEST_APPLESS_MAIN(SearchSlotsTest)
#include "search_slots_test.moc"
