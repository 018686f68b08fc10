#include <QAbstractButton>
#include <algorithm>
#include <QComboBox>
#include <QRadioButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "controls/caption_db_navi.h"
#include "controls/db_combo_box.h"
#include "controls/db_edit.h"
#include "data/data_module.h"
#include "data/fresh_install.h"
#include "data/sjis.h"
#include "data/locale_jp.h"
#include "editor/br_date_form.h"
#include <QDate>
#include <QDir>
#include "controls/sjis_qt.h"
#include "controls/warning_beep.h"
#include "editor/data_in_form.h"
#include "tests/controls/window_test_support.h"

using namespace tamboro;

Q_DECLARE_METATYPE(std::optional<int>)
Q_DECLARE_METATYPE(tamboro::RatingPicture)

namespace {

// A fresh catalogue folder with the editor created on it, as at start-up.
struct Editor {
    QTemporaryDir dir;
    std::unique_ptr<TDM1> dm;
    std::unique_ptr<TFDataIn> window;

    Editor() {
        const std::filesystem::path path(dir.path().toStdString());
        createMissingFiles(path);
        dm = std::make_unique<TDM1>(path);
        dm->openAtCreation();
        window = std::make_unique<TFDataIn>(*dm);
        window->FormCreate(ImpressBoxTable{});
    }
    ~Editor() { window.reset(); }

    template <class T = QWidget>
    T* child(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    // Adds a posted title with these ratings, in the editor's rating order.
    void addTitle(const char* title, const std::vector<std::optional<int>>& ratings) {
        window->AddNewTitle();
        Table& t = dm->CDvd;
        t.fieldU8(fld::Title).setText(sj(title));
        const auto& rows = ratingRows();
        for (size_t i = 0; i < ratings.size(); ++i) {
            if (ratings[i]) t.fieldU8(rows[i].field).setInteger(*ratings[i]);
            else t.fieldU8(rows[i].field).clear();
        }
        t.post();
    }
    // Adds a genre with sub-genres numbered from 1; the genre table stays on it.
    void addGenre(int code, const QStringList& subs) {
        Table& g = dm->CGenre;
        g.append();
        g.fieldU8(fld::GenreCode1).setInteger(code);
        g.fieldU8(fld::GenreName).setText(sj("洋画"));
        g.post();
        Table& s = dm->CGenre2;
        for (int k = 0; k < subs.size(); ++k) {
            s.append();
            s.fieldU8(fld::GenreCode1).setInteger(code);
            s.fieldU8(fld::GenreCode2).setInteger(k + 1);
            s.fieldU8(fld::GenreName2).setText(sj(subs[k].toStdString()));
            s.post();
        }
    }
    QImage shown(int i) const { return window->ratingImage(i)->pixmap().toImage(); }
    QImage picture(RatingPicture p) const { return window->pictures().picture(p).toImage(); }
};

QStringList focusChainNames(QWidget* window, const QStringList& among) {
    QStringList seen;
    QWidget* w = window;
    do {
        w = w->nextInFocusChain();
        if (among.contains(w->objectName()) && !seen.contains(w->objectName())) seen << w->objectName();
    } while (w != window);
    return seen;
}

}  // namespace

class DataInFormTest : public QObject {
    Q_OBJECT

private slots:
    // The editor is destroyed before the data module at exit, and backup and
    // restore reopen the titles: the counter must not live in the editor.
    void theTitleCounterOutlivesTheEditor() {
        QTemporaryDir dir;
        const std::filesystem::path path(dir.path().toStdString());
        createMissingFiles(path);
        TDM1 dm(path);
        dm.openAtCreation();
        {
            TFDataIn editor(dm);
            editor.FormCreate(ImpressBoxTable{});
            QCOMPARE(editor.lastCode(), 0);
            for (int k = 0; k < 2; ++k) {
                editor.AddNewTitle();
                dm.CDvd.post();
            }
            QCOMPARE(editor.lastCode(), 2);
            QCOMPARE(dm.CDvd.fieldU8(fld::Code).asInteger(), 2);
            dm.CDvd.remove();
        }
        dm.closeCatalogue();
        dm.CDvd.open();
        QCOMPARE(dm.lastCode(), 2);
        dm.AddNewTitle();
        QCOMPARE(dm.CDvd.fieldU8(fld::Code).asInteger(), 3);  // the deleted 2 is not reused
    }

    void theFrameHasFourEqualTabsWithTheRatingsInFront() {
        Editor e;
        QCOMPARE(e.window->size(), QSize(792, 553));
        auto* pages = e.child<QTabWidget>("PageCntl");
        QVERIFY(pages);
        const QStringList tabs = {"評価", "作品情報", "DVD情報", "鑑賞履歴"};
        QCOMPARE(pages->count(), tabs.size());
        for (int i = 0; i < tabs.size(); ++i) {
            QCOMPARE(pages->tabText(i), tabs[i]);
            QCOMPARE(pages->tabBar()->tabRect(i).width(), 155);
        }
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE(e.child<QAbstractButton>("BEnd")->text(), QStringLiteral("閉じる (&X)"));
    }

    // Strips, then the page, then the buttons (the navigator takes no focus);
    // the code and the viewing figures are shown only, never typed.
    void theTabOrderRunsFromTheStripsToTheButtons() {
        Editor e;
        const QStringList order = {"CmbGenre1", "CmbGenre2", "EBoxNo", "EDvdNo", "ETitle", "ESubTitle", "EEnTitle",
                                   "EEditon", "CmbHyouka", "CmbGashitsu", "CmbOnsei", "CmbNaiyou", "CmbSinario",
                                   "CmbCast", "CmbEnshutsu", "CmbEizou", "MComent", "ChkImpress1", "ChkImpress10",
                                   "EKounyuu", "ESeisakuNen", "MAward", "EShutsuen1", "MStory", "EShinaban",
                                   "MTokuten", "CmbSoundJp1", "CmbLage1", "CmbSoundJp2", "ChkJimakuEtc",
                                   "BAdd", "BPost", "BDelete", "BEnd"};
        QStringList among = order;
        among << "ECode" << "EKanshouDate" << "EKaisuu";
        QStringList seen = focusChainNames(e.window.get(), among);
        // Tab stops only: the focus chain also holds click-only controls.
        seen.erase(std::remove_if(seen.begin(), seen.end(),
                                  [&](const QString& n) { return !(e.child(n.toLatin1().constData())->focusPolicy() & Qt::TabFocus); }),
                   seen.end());
        QCOMPARE(seen.mid(seen.indexOf("CmbGenre1")), order);
        for (const char* shownOnly : {"ECode", "EKanshouDate", "EKaisuu"}) {
            QVERIFY2(!(e.child(shownOnly)->focusPolicy() & Qt::TabFocus), shownOnly);
            QVERIFY2(e.child<QLineEdit>(shownOnly)->isReadOnly(), shownOnly);
        }
    }

    // Every check box and radio button shows its whole caption inside its
    // panel, on every page.
    void everyCaptionShowsWhole() {
        Editor e;
        e.window->show();
        for (QAbstractButton* b : e.window->findChildren<QAbstractButton*>()) {
            if (!qobject_cast<QCheckBox*>(b) && !qobject_cast<QRadioButton*>(b)) continue;
            const QString what = b->objectName() + QLatin1Char(' ') + b->text();
            QVERIFY2(b->sizeHint().width() <= b->width(), qPrintable(what));
            QVERIFY2(b->parentWidget()->rect().contains(b->geometry()), qPrintable(what));
        }
    }

    void deletingOnAnEmptyCatalogueAsksThenSaysThereIsNoData() {
        Editor e;
        test::ErrorCollector boxes;
        e.window->BDeleteClick();
        QCOMPARE(boxes.boxes.size(), size_t{2});
        QCOMPARE(boxes.boxes[0].text, QStringLiteral("【】 を削除してよろしいですか？"));
        QCOMPARE(boxes.boxes[1].text, QStringLiteral("データがありません。"));
        QVERIFY(boxes.messages.isEmpty());
    }

    void deletingAsksWithTheTitleAndNoKeepsIt() {
        Editor e;
        e.addTitle("ローマの休日", {});
        test::ErrorCollector boxes;
        boxes.answer = false;
        e.window->BDeleteClick();
        QCOMPARE(boxes.boxes.at(0).text, QStringLiteral("【ローマの休日】 を削除してよろしいですか？"));
        QCOMPARE(e.dm->CDvd.recordCount(), 1);
        boxes.answer = true;
        e.window->BDeleteClick();
        QCOMPARE(e.dm->CDvd.recordCount(), 0);
    }

    // A new title deleted before its first post leaves no trace, and its
    // code is not handed out again.
    void aNeverPostedTitleIsDiscardedAndItsCodeNotReused() {
        Editor e;
        e.addTitle("一", {});
        e.window->BAddClick();
        QCOMPARE(e.dm->CDvd.fieldU8(fld::Code).asInteger(), 2);
        test::ErrorCollector boxes;
        e.window->BDeleteClick();
        QCOMPARE(e.dm->CDvd.recordCount(), 1);
        QCOMPARE(e.dm->CDvd.fieldU8(fld::Code).asInteger(), 1);
        e.window->BAddClick();
        QCOMPARE(e.dm->CDvd.fieldU8(fld::Code).asInteger(), 3);
    }

    void postAndCloseKeepTheChange() {
        Editor e;
        e.window->BPostClick();  // browsing: nothing to do, no error
        e.window->BAddClick();
        e.window->BPostClick();
        QCOMPARE(e.dm->CDvd.state(), TableState::Browse);
        QCOMPARE(e.dm->CDvd.recordCount(), 1);
        e.window->show();
        e.window->BAddClick();
        e.window->BEndClick();
        QVERIFY(!e.window->isVisible());
        QCOMPARE(e.dm->CDvd.recordCount(), 2);
    }

    // A date that does not convert, still in its edit when "閉じる (&X)" is
    // pressed by its shortcut: the error is shown, the window stays open and
    // the title stays in insert state with what was typed.
    void aFailedPostKeepsTheWindowOpen() {
        Editor e;
        e.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(e.window.get()));
        e.window->BAddClick();
        e.dm->CDvd.fieldU8(fld::Title).setText(sj("未登録"));
        auto* bought = e.child<QLineEdit>("EKounyuu");
        e.window->findChild<QTabWidget*>()->setCurrentIndex(0);
        bought->setFocus();
        QTest::keyClicks(bought, QStringLiteral("2024/13/45"));
        test::ErrorCollector boxes;
        e.window->BEndClick();
        QCOMPARE(boxes.messages.size(), 1);
        QVERIFY(e.window->isVisible());
        QCOMPARE(e.dm->CDvd.state(), TableState::Insert);
        bought->selectAll();
        QTest::keyClicks(bought, QStringLiteral("2024/12/24"));
        e.window->BEndClick();
        QVERIFY(!e.window->isVisible());
        QCOMPARE(fieldText(e.dm->CDvd.fieldU8(fld::Title)), QStringLiteral("未登録"));
        QCOMPARE(fieldText(e.dm->CDvd.fieldU8(fld::PurchaseDate)), QStringLiteral("2024/12/24"));
    }

    // Typing into a posted title: Escape gives back the stored text, a key
    // a number field cannot take beeps and changes nothing.
    void escapeRestoresAndRefusedKeysBeep() {
        Editor e;
        e.addTitle("ローマの休日", {});
        e.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(e.window.get()));
        auto* title = e.child<QLineEdit>("ETitle");
        title->setFocus();
        title->selectAll();
        QTest::keyClicks(title, QStringLiteral("xyz"));
        QCOMPARE(title->text(), QStringLiteral("xyz"));
        QTest::keyClick(title, Qt::Key_Escape);
        QCOMPARE(title->text(), QStringLiteral("ローマの休日"));
        QVERIFY(e.window->isVisible());

        int beeps = 0;
        auto previous = setWarningBeepHook([&beeps] { ++beeps; });
        auto* discs = e.child<QLineEdit>("EMaisuu");
        discs->setFocus();
        QTest::keyClicks(discs, QStringLiteral("2a"));
        setWarningBeepHook(previous);
        QCOMPARE(discs->text(), QStringLiteral("2"));
        QCOMPARE(beeps, 1);
    }

    void aViewingIsStoredByEveryWayOfLeavingTheTitle_data() {
        QTest::addColumn<QString>("way");
        for (const char* way : {"BPost", "BEnd", "BAdd", "next"}) QTest::newRow(way) << QString::fromLatin1(way);
    }
    // The roll-up leaves the title being edited; whichever way the user goes
    // on, its new count is stored, not left pending.
    void aViewingIsStoredByEveryWayOfLeavingTheTitle() {
        QFETCH(QString, way);
        Editor e;
        e.addTitle("一", {});
        e.addTitle("二", {});
        e.dm->CDvd.first();
        e.window->show();
        auto* date = e.window->findChild<QLineEdit*>(QStringLiteral("EApprecDate"));
        date->setText(QStringLiteral("2026/12/10"));
        e.window->findChild<QPushButton*>(QStringLiteral("BAdd2"))->click();
        QCOMPARE(e.dm->CDvd.state(), TableState::Edit);
        if (way == "next") e.window->findChild<TCaptionDBNavi*>(QStringLiteral("CaptionDBNavi1"))->BtnClick(TCaptionDBNavi::nbNext);
        else e.window->findChild<QPushButton*>(way)->click();
        QVERIFY(e.dm->CDvd.state() != TableState::Edit);
        if (e.dm->CDvd.state() == TableState::Insert) e.dm->CDvd.cancel();
        e.dm->CDvd.first();
        QCOMPARE(e.dm->CDvd.fieldU8(fld::WatchCount).asInteger(), 1);
        QCOMPARE(fieldText(e.dm->CDvd.fieldU8(fld::WatchedDate)), QStringLiteral("2026/12/10"));
    }

    void picturesFollowTheCurrentTitle_data() {
        QTest::addColumn<std::optional<int>>("rating");
        QTest::addColumn<RatingPicture>("picture");
        QTest::newRow("blank") << std::optional<int>() << RatingPicture::ImgNone;
        QTest::newRow("0") << std::optional<int>(0) << RatingPicture::ImgNone;
        QTest::newRow("1") << std::optional<int>(1) << RatingPicture::ImgStar1;
        QTest::newRow("5") << std::optional<int>(5) << RatingPicture::ImgStar5;
        QTest::newRow("negative") << std::optional<int>(-1) << RatingPicture::ImgNone;
        QTest::newRow("above 5") << std::optional<int>(6) << RatingPicture::ImgNone;
    }
    // Each rating in its own image: the others of the title stay at 3.
    void picturesFollowTheCurrentTitle() {
        QFETCH(std::optional<int>, rating);
        QFETCH(RatingPicture, picture);
        Editor e;
        for (int i = 0; i < kRatingCount; ++i) {
            std::vector<std::optional<int>> ratings(kRatingCount, 3);
            ratings[i] = rating;
            e.addTitle("題", ratings);
        }
        e.dm->CDvd.first();
        for (int i = 0; i < kRatingCount; ++i) {
            for (int j = 0; j < kRatingCount; ++j)
                QCOMPARE(e.shown(j), e.picture(i == j ? picture : RatingPicture::ImgStar3));
            e.dm->CDvd.next();
        }
        e.window->AddNewTitle();  // a blank title: no stars anywhere
        for (int j = 0; j < kRatingCount; ++j) QCOMPARE(e.shown(j), e.picture(RatingPicture::ImgNone));
    }

    void aPickedRatingShowsItsPicture() {
        Editor e;
        e.addTitle("題", std::vector<std::optional<int>>(kRatingCount, 2));
        const struct { int position; RatingPicture picture; } picks[] = {
            {0, RatingPicture::ImgStar5}, {4, RatingPicture::ImgStar1}, {5, RatingPicture::ImgNone},
            {-1, RatingPicture::ImgNone}};  // nothing picked: the picture stays
        for (int i = 0; i < kRatingCount; ++i) {
            auto* combo = e.child<TDBComboBox>(ratingRows()[i].combo);
            for (const auto& pick : picks) {
                combo->setCurrentIndex(pick.position);
                emit combo->changedByUser();
                QCOMPARE(e.shown(i), e.picture(pick.picture));
            }
        }
    }

    // Major genre, then a sub-genre of it; the old sub-genre code stays
    // until one is picked, and the sub-genre box sends the user back first.
    void theGenreChoiceRunsMajorThenSub() {
        Editor e;
        const int64_t major = 90;
        e.addGenre(major, {"アクション", "ドラマ", "コメディ"});
        e.window->show();
        QVERIFY(QTest::qWaitForWindowActive(e.window.get()));
        e.window->BAddClick();
        Table& title = e.dm->CDvd;
        title.fieldU8(fld::Genre2).setInteger(77);
        title.fieldU8(fld::Genre1).setInteger(major);
        e.window->CmbGenre1Click();
        QVERIFY(e.window->majorGenreChosen());
        auto* subs = e.child<QComboBox>("CmbGenre2");
        QCOMPARE(subs->currentText(), QString());
        QCOMPARE(subs->count(), e.dm->CGenre2.recordCount());
        QVERIFY(subs->count() > 0);
        QCOMPARE(title.fieldU8(fld::Genre2).asInteger(), 77);

        e.dm->CGenre2.last();
        const int64_t lastSub = e.dm->CGenre2.fieldU8(fld::GenreCode2).asInteger();
        e.window->CmbGenre2Click(subs->count() - 1);
        QCOMPARE(title.fieldU8(fld::Genre2).asInteger(), lastSub);
        QVERIFY(!e.window->majorGenreChosen());
        QVERIFY(e.child("CmbGenre1")->hasFocus());

        test::ErrorCollector boxes;
        QVERIFY(QTest::qWaitForWindowActive(e.window.get()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // from the major genre on
        QTRY_COMPARE(boxes.boxes.size(), size_t{1});
        QCOMPARE(boxes.boxes[0].text, QStringLiteral("ジャンル（大分類）を先に選択してください。"));
        QVERIFY(e.child("CmbGenre1")->hasFocus());

        // After scroll the box names the title's sub-genre.
        title.post();
        const QString name = fieldText(e.dm->CGenre2.fieldU8(fld::GenreName2));
        subs->setEditText(QString());
        e.window->CDvdAfterScroll();
        QCOMPARE(subs->currentText(), name);
    }

    // A sub-genre picked after the title was posted cannot be written.
    void aSubGenrePickedOnAPostedTitleIsRefused() {
        Editor e;
        e.addGenre(90, {"ドラマ"});
        e.window->BAddClick();
        e.dm->CDvd.fieldU8(fld::Genre1).setInteger(90);
        e.window->CmbGenre1Click();
        e.dm->CDvd.post();
        test::ErrorCollector boxes;
        QVERIFY(e.child<QComboBox>("CmbGenre2")->count() > 0);
        e.window->CmbGenre2Click(0);
        QCOMPARE(boxes.messages.size(), 1);
        QVERIFY(e.window->majorGenreChosen());
    }

    // The picker starts on today for a blank date; only OK writes the date,
    // putting a browsing title into edit mode.
    void aDateComesFromThePickerOnlyOnOk() {
        for (const bool ok : {false, true}) {
            Editor e;
            TBrDateForm picker;
            e.window->setDateForm(&picker);
            e.addTitle("題", {});
            const QDate today = QDate::currentDate();
            double started = -1;
            test::onNextModal([&](QWidget*) {
                started = picker.GetDate();
                picker.SetDate(dayNumber(2004, 12, 25));
                ok ? picker.accept() : picker.reject();
            });
            e.window->PopupCalBtnClick();
            QCOMPARE(started, double(dayNumber(today.year(), today.month(), today.day())));
            Table& t = e.dm->CDvd;
            QCOMPARE(t.state(), ok ? TableState::Edit : TableState::Browse);
            QCOMPARE(t.fieldU8(fld::PurchaseDate).isNull(), !ok);
            if (ok) QCOMPARE(t.fieldU8(fld::PurchaseDate).asDateTime(), double(dayNumber(2004, 12, 25)));
        }
    }

    // Pictures of the pages to look at, when asked for.
    // TAMBORO_SCREENSHOTS names the folder they go into.
    void screenshots() {
        const QString folder = qEnvironmentVariable("TAMBORO_SCREENSHOTS");
        if (folder.isEmpty()) QSKIP("set TAMBORO_SCREENSHOTS to a folder to take them");
        Editor e;
        e.addTitle("ローマの休日", {5, 4, 3, 2, 1, 0, 5, 4});
        e.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(e.window.get()));
        auto* pages = e.child<QTabWidget>("PageCntl");
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            QVERIFY(e.window->grab().save(QDir(folder).filePath(QStringLiteral("editor_%1.png").arg(i))));
        }
        pages->setCurrentIndex(0);
    }
};

QTEST_MAIN(DataInFormTest)
#include "data_in_form_test.moc"
