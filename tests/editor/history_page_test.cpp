// The viewing-history page on its own, over a real catalogue: adding and
// deleting viewings, editing them in the grid, and the title's count and
// last-watched date that each change leaves for the title's next post.
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "controls/caption_db_navi.h"
#include "controls/db_grid.h"
#include "controls/ret_edit.h"
#include "data/catalogue_schema.h"
#include "data/data_module.h"
#include "data/fresh_install.h"
#include "data/locale_jp.h"
#include "data/sjis.h"
#include "editor/br_date_form.h"
#include "editor/data_in_history_page.h"
#include "tests/controls/window_test_support.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

struct Catalogue {
    QTemporaryDir dir;
    std::filesystem::path path{dir.path().toStdString()};
    TDM1 dm{(createMissingFiles(path), path)};
    Catalogue() {
        dm.openAtCreation();
        dm.OpenForEditor();
        for (const char* title : {"七人の侍", "東京物語"}) {
            dm.AddNewTitle();
            dm.CDvd.fieldU8(fld::Title).setString(sj(title));
            dm.CDvd.post();
        }
        dm.CDvd.first();
    }
    int64_t count() { return dm.CDvd.fieldU8(fld::WatchCount).asInteger(); }
    QString watched() { return QString::fromStdString(dm.CDvd.fieldU8(fld::WatchedDate).displayTextUtf8()); }
};

QStringList dates(Table& history) {
    QStringList out;
    const int f = history.schema().indexOf(sj(fld::AppRecDate));
    for (int p = 0; p < history.recordCount(); ++p)
        out << QString::fromStdString(history.fieldAt(f, p).displayTextUtf8());
    return out;
}

}  // namespace

class HistoryPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Catalogue> cat;
    std::unique_ptr<QWidget> window;
    QWidget* other = nullptr;  // somewhere to leave the grid for
    HistoryPage* page = nullptr;
    TBrDateForm* picker = nullptr;

    // Each key to whatever has the focus then, as typing does.
    static void type(const QString& text) {
        for (QChar ch : text) QTest::keyClicks(QApplication::focusWidget(), QString(ch));
    }

    void add(const char* date, const char* comment = "") {
        page->EApprecDate->setText(QString::fromUtf8(date));
        page->EComent->setText(QString::fromUtf8(comment));
        page->BAdd2->click();
    }

private slots:
    void init() {
        cat = std::make_unique<Catalogue>();
        window = std::make_unique<QWidget>();
        window->resize(620, 420);
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

    void theControlsAreLaidOutAndOrdered() {
        QVERIFY(page->EApprecDate->isReadOnly());
        QVERIFY(!(page->EApprecDate->focusPolicy() & Qt::TabFocus));
        QCOMPARE(page->EComent->nextInFocusChain(), page->BAdd2);
        QCOMPARE(page->BAdd2->nextInFocusChain(), page->BDel2);
        QCOMPARE(page->BAdd2->size(), QSize(54, 33));
        QCOMPARE(page->PopupCalcBtn3->toolTip(), QStringLiteral("Calendar"));
        QCOMPARE(page->CaptionDBNavi4->visibleButtons(), QList<TCaptionDBNavi::TNavigateBtn>{TCaptionDBNavi::nbPost});
        QCOMPARE(page->CaptionDBNavi4->captions().value(TCaptionDBNavi::nbPost), QStringLiteral("更新"));
        QVERIFY(page->CaptionDBNavi4->showHint());
        QHeaderView* h = page->HistoryGrid->horizontalHeader();
        QCOMPARE(h->sectionSize(0), 85);
        QCOMPARE(h->sectionSize(1), 480);
        QCOMPARE(page->HistoryGrid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("コメント・メモ"));
        QVERIFY(page->Panel16->geometry().bottom() < page->HistoryGrid->geometry().top());
    }

    void addingRollsUpAndEmptiesTheEntry() {
        add("2004/01/05");  // an empty comment is fine
        QCOMPARE(cat->dm.CHistory.recordCount(), 1);
        QCOMPARE(cat->dm.CHistory.fieldU8(fld::Coment).asString(), std::string());
        QCOMPARE(cat->dm.CDvd.state(), TableState::Edit);  // left for the title's next post
        QCOMPARE(cat->count(), 1);
        QVERIFY(page->EApprecDate->text().isEmpty());
        page->EComent->setText(QStringLiteral("二回目"));
        page->BAdd2->click();  // pressed again: no date, nothing added, the comment stays
        QCOMPARE(cat->dm.CHistory.recordCount(), 1);
        QCOMPARE(page->EComent->text(), QStringLiteral("二回目"));

        add("2003/12/31", "older");  // before the latest: the date stays, the count grows
        QCOMPARE(cat->count(), 2);
        QCOMPARE(cat->watched(), QStringLiteral("2004/01/05"));
        add("2004/01/05", "same day");
        QCOMPARE(cat->count(), 3);
        QCOMPARE(dates(cat->dm.CHistory), (QStringList{"2003/12/31", "2004/01/05", "2004/01/05"}));
        QCOMPARE(page->HistoryGrid->model()->rowCount(), 3);
        QCOMPARE(page->HistoryGrid->model()->index(0, 0).data().toString(), QStringLiteral("2003/12/31"));
        cat->dm.CDvd.post();
        cat->dm.CDvd.next();  // the other title: its own, empty history
        QCOMPARE(page->HistoryGrid->model()->rowCount(), 0);
        cat->dm.CDvd.first();
        QCOMPARE(cat->count(), 3);
    }

    void deletingRollsUpAndAnEmptyHistoryRefuses() {
        add("2004/01/05");
        add("2004/02/01");
        page->BDel2->click();  // the latest is current after the roll-up
        QCOMPARE(cat->count(), 1);
        QCOMPARE(cat->watched(), QStringLiteral("2004/01/05"));
        page->BDel2->click();
        QCOMPARE(cat->count(), 0);
        ErrorCollector boxes;
        page->BDel2->click();
        QCOMPARE(boxes.messages, QStringList{QStringLiteral("空のデータセットには, この操作は実行できません.")});
    }

    void theEntryKeepsItsTextAcrossTitles() {
        page->EApprecDate->setText(QStringLiteral("2005/05/05"));
        page->EComent->setText(QStringLiteral("メモ"));
        cat->dm.CDvd.next();
        QCOMPARE(page->EComent->text(), QStringLiteral("メモ"));
        page->BAdd2->click();  // added to whichever title is current now
        QCOMPARE(cat->dm.CHistory.fieldU8(fld::Code).asInteger(), cat->dm.CDvd.fieldU8(fld::Code).asInteger());
        QCOMPARE(cat->dm.CDvd.fieldU8(fld::Title).asString(), sj("東京物語"));
    }

    void aViewingOfANewTitleBelongsToItOncePosted() {
        cat->dm.AddNewTitle();
        const int64_t code = cat->dm.CDvd.fieldU8(fld::Code).asInteger();
        add("2006/06/06", "new");
        QCOMPARE(cat->dm.CDvd.state(), TableState::Insert);
        QCOMPARE(cat->count(), 1);
        cat->dm.CDvd.post();
        cat->dm.CDvd.first();
        cat->dm.CDvd.last();
        QCOMPARE(cat->dm.CDvd.fieldU8(fld::Code).asInteger(), code);
        QCOMPARE(dates(cat->dm.CHistory), QStringList{"2006/06/06"});
        QCOMPARE(cat->count(), 1);
    }

    void aGridEditIsPostedWhenTheGridIsLeft() {
        add("2004/01/05", "first");
        TDBGrid* grid = page->HistoryGrid;
        grid->setFocus();
        type(QStringLiteral("2004/03/03"));
        QCOMPARE(cat->dm.CHistory.state(), TableState::Edit);
        other->setFocus();  // the exit handler posts, the roll-up runs
        QCOMPARE(cat->dm.CHistory.state(), TableState::Browse);
        QCOMPARE(cat->watched(), QStringLiteral("2004/03/03"));
        QCOMPARE(cat->count(), 1);
        // The navigator's post does the same for an edit still in the cell.
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 1));
        type(QStringLiteral("note"));
        page->CaptionDBNavi4->BtnClick(TCaptionDBNavi::nbPost);
        QCOMPARE(cat->dm.CHistory.state(), TableState::Browse);
        QCOMPARE(cat->dm.CHistory.fieldU8(fld::Coment).asString(), std::string("note"));
    }

    void aBadDateTypedIntoTheGridIsNotPosted() {
        add("2004/01/05");
        TDBGrid* grid = page->HistoryGrid;
        grid->setFocus();
        ErrorCollector boxes;
        type(QStringLiteral("2004/13/45"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(boxes.messages, QStringList{QStringLiteral("'2004/13/45' は日付ではありません.")});
        other->setFocus();  // leaving: the same message, and the focus comes back
        QTest::qWait(20);
        QCOMPARE(boxes.messages.size(), 2);
        QCOMPARE(QApplication::focusWidget(), grid->cellEditor());
        QCOMPARE(cat->dm.CHistory.state(), TableState::Edit);
        QCOMPARE(cat->watched(), QStringLiteral("2004/01/05"));
    }

    void theCalendarFillsTheDateOnlyOnOk() {
        clickOnNextModal("CancelBtn");
        page->PopupCalcBtn3->click();
        QVERIFY(page->EApprecDate->text().isEmpty());
        clickOnNextModal("OkBtn");
        page->PopupCalcBtn3->click();
        const QDate today = QDate::currentDate();
        QCOMPARE(page->EApprecDate->text(),
                 QString::fromStdString(formatShortDate(dayNumber(today.year(), today.month(), today.day()))));
        // Opened again on a date, it starts there.
        page->EApprecDate->setText(QStringLiteral("2001/02/03"));
        onNextModal([this](QWidget* modal) {
            QCOMPARE(picker->GetDate(), double(dayNumber(2001, 2, 3)));
            modal->findChild<QPushButton*>(QStringLiteral("OkBtn"))->click();
        });
        page->PopupCalcBtn3->click();
        QCOMPARE(page->EApprecDate->text(), QStringLiteral("2001/02/03"));
    }
};

QTEST_MAIN(HistoryPageTest)
#include "history_page_test.moc"
