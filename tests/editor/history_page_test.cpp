// The viewing-history page on its own over a real catalogue: adding,
// deleting and editing viewings, and the count and last-watched date each
// change leaves in the title for its next post.
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "controls/caption_db_navi.h"
#include "controls/db_grid.h"
#include "controls/ret_edit.h"
#include "data/locale_jp.h"
#include "editor/br_date_form.h"
#include "editor/data_in_history_page.h"
#include "tests/controls/catalogue_fixture.h"
#include "tests/controls/window_test_support.h"

using namespace tamboro;
using namespace tamboro::test;

class HistoryPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Catalogue> cat;
    std::unique_ptr<QWidget> window;
    QLineEdit* other = nullptr;  // somewhere to leave the grid for
    HistoryPage* page = nullptr;
    TBrDateForm* picker = nullptr;

    void add(const char* date, const char* comment = "") {
        page->EApprecDate->setText(QString::fromUtf8(date));
        page->EComent->setText(QString::fromUtf8(comment));
        page->BAdd2->click();
    }
    Table& dvd() { return cat->dm.CDvd; }
    Table& history() { return cat->dm.CHistory; }
    int64_t count() { return dvd().fieldU8(fld::WatchCount).asInteger(); }
    QString watched() { return QString::fromStdString(dvd().fieldU8(fld::WatchedDate).displayTextUtf8()); }

private slots:
    void init() {
        cat = std::make_unique<Catalogue>();
        for (const char* title : {"七人の侍", "東京物語"}) {
            cat->dm.AddNewTitle();
            dvd().fieldU8(fld::Title).setString(sj(title));
            dvd().post();
        }
        dvd().first();
        window = std::make_unique<QWidget>();
        auto* tab = new QWidget(window.get());
        tab->setGeometry(0, 0, 620, 380);
        other = new QLineEdit(window.get());
        other->setGeometry(0, 390, 100, 21);
        picker = new TBrDateForm(window.get());
        page = new HistoryPage(cat->dm, picker, tab);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup() {
        window.reset();
        cat.reset();
    }

    void theEntryComesFirstAndTheGridBelow() {
        QVERIFY(page->EApprecDate->isReadOnly());
        QVERIFY(!(page->EApprecDate->focusPolicy() & Qt::TabFocus));
        QCOMPARE(page->EComent->nextInFocusChain(), page->BAdd2);
        QCOMPARE(page->CaptionDBNavi4->visibleButtons(), QList<TCaptionDBNavi::TNavigateBtn>{TCaptionDBNavi::nbPost});
        QVERIFY(page->Panel16->rect().contains(page->CaptionDBNavi4->geometry()));
        QCOMPARE(page->HistoryGrid->horizontalHeader()->sectionSize(0), 85);
        QCOMPARE(page->HistoryGrid->horizontalHeader()->sectionSize(1), 480);
        QVERIFY(page->Panel16->geometry().bottom() < page->HistoryGrid->geometry().top());
    }

    void addingRollsUpAndEmptiesTheEntry() {
        add("2004/01/05");  // an empty comment is fine
        QCOMPARE(history().fieldU8(fld::Coment).asString(), std::string());
        QCOMPARE(dvd().state(), TableState::Edit);  // left for the title's next post
        QCOMPARE(count(), 1);
        QVERIFY(page->EApprecDate->text().isEmpty());
        page->EComent->setText(QStringLiteral("二回目"));
        page->BAdd2->click();  // again: no date, so nothing, and the comment stays
        QCOMPARE(history().recordCount(), 1);
        QCOMPARE(page->EComent->text(), QStringLiteral("二回目"));
        add("2003/12/31", "older");  // the count grows, the date stays at the latest
        QCOMPARE(count(), 2);
        QCOMPARE(watched(), QStringLiteral("2004/01/05"));
        add("2004/01/05", "same day");
        QCOMPARE(count(), 3);
        QCOMPARE(columnValues(history(), fld::AppRecDate), (QStringList{"2003/12/31", "2004/01/05", "2004/01/05"}));
        QCOMPARE(page->HistoryGrid->model()->index(0, 0).data().toString(), QStringLiteral("2003/12/31"));
        dvd().next();  // the move stores the roll-up; the other title has none
        QCOMPARE(page->HistoryGrid->model()->rowCount(), 0);
        dvd().first();
        QCOMPARE(count(), 3);
    }

    void deletingRollsUpAndAnEmptyHistoryRefuses() {
        add("2004/01/05");
        add("2004/02/01");
        page->BDel2->click();  // the latest is current after the roll-up
        QCOMPARE(count(), 1);
        QCOMPARE(watched(), QStringLiteral("2004/01/05"));
        page->BDel2->click();
        QCOMPARE(count(), 0);
        ErrorCollector boxes;
        page->BDel2->click();
        QCOMPARE(boxes.messages, QStringList{QStringLiteral("空のデータセットには, この操作は実行できません.")});
    }

    void theEntryOutlivesTitleChangesAndNewTitles() {
        page->EApprecDate->setText(QStringLiteral("2005/05/05"));
        dvd().next();
        page->BAdd2->click();  // goes to whichever title is current now
        QCOMPARE(history().fieldU8(fld::Code).asInteger(), 2);
        cat->dm.AddNewTitle();  // a new title, not yet posted
        const int64_t code = dvd().fieldU8(fld::Code).asInteger();
        add("2006/06/06", "new");
        QCOMPARE(dvd().state(), TableState::Insert);
        dvd().post();
        dvd().first();
        dvd().last();
        QCOMPARE(dvd().fieldU8(fld::Code).asInteger(), code);
        QCOMPARE(columnValues(history(), fld::AppRecDate), QStringList{"2006/06/06"});
        QCOMPARE(count(), 1);
    }

    void gridEditsArePostedWithTheRollUp() {
        add("2004/01/05", "first");
        page->HistoryGrid->setFocus();
        typeText(QStringLiteral("2004/03/03"));
        other->setFocus();  // the exit handler posts
        QCOMPARE(history().state(), TableState::Browse);
        QCOMPARE(watched(), QStringLiteral("2004/03/03"));
        page->HistoryGrid->setFocus();  // the navigator's post takes the cell's text too
        page->HistoryGrid->setCurrentIndex(page->HistoryGrid->model()->index(0, 1));
        typeText(QStringLiteral("note"));
        page->CaptionDBNavi4->BtnClick(TCaptionDBNavi::nbPost);
        QCOMPARE(columnValues(history(), fld::Coment), QStringList{"note"});
    }

    void aBadDateTypedIntoTheGridIsNotPosted() {
        add("2004/01/05");
        page->HistoryGrid->setFocus();
        ErrorCollector boxes;
        typeText(QStringLiteral("2004/13/45"));
        press(Qt::Key_Return);
        QCOMPARE(boxes.messages, QStringList{QStringLiteral("'2004/13/45' は日付ではありません.")});
        other->setFocus();  // leaving: the same message, and the focus comes back
        QTest::qWait(20);
        QCOMPARE(boxes.messages.size(), 2);
        QCOMPARE(QApplication::focusWidget(), page->HistoryGrid->cellEditor());
        QCOMPARE(watched(), QStringLiteral("2004/01/05"));
    }

    void theCalendarFillsTheDateOnlyOnOk() {
        clickOnNextModal("CancelBtn");
        page->PopupCalcBtn3->click();
        QVERIFY(page->EApprecDate->text().isEmpty());
        clickOnNextModal("OkBtn");
        page->PopupCalcBtn3->click();  // starts on today
        const QDate today = QDate::currentDate();
        QCOMPARE(page->EApprecDate->text().toStdString(),
                 formatShortDate(dayNumber(today.year(), today.month(), today.day())));
        page->EApprecDate->setText(QStringLiteral("2001/02/03"));
        onNextModal([this](QWidget* modal) {
            QCOMPARE(picker->GetDate(), double(dayNumber(2001, 2, 3)));  // starts on the date shown
            modal->findChild<QPushButton*>(QStringLiteral("OkBtn"))->click();
        });
        page->PopupCalcBtn3->click();
        QCOMPARE(page->EApprecDate->text(), QStringLiteral("2001/02/03"));
    }
};

QTEST_MAIN(HistoryPageTest)
#include "history_page_test.moc"
