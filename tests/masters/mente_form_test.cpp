// The master lists window over a real catalogue: its groups, the sub-genres
// following the major genre, what deleting or recoding a list row leaves
// behind, how lookups treat repeated and blank codes, and closing.
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "controls/caption_db_navi.h"
#include "controls/db_grid.h"
#include "controls/db_lookup_combo_box.h"
#include "masters/mente_form.h"
#include "tests/controls/catalogue_fixture.h"
#include "tests/controls/window_test_support.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

// Ten check boxes standing for one window's impression boxes.
struct Boxes {
    QWidget owner;
    ImpressBoxTable table{};
    Boxes() {
        for (int i = 1; i <= 10; ++i) table[static_cast<size_t>(i)] = new QCheckBox(&owner);
    }
};

// The editor's sound box of the first Japanese track.
struct SoundBox : TDBLookupComboBox {
    explicit SoundBox(TDM1& dm) {
        setListSource(&dm.SoundSource);
        setKeyField(fld::SoundCd);
        setListField(fld::SoundName);
        setDataSource(&dm.DvdSource);
        setDataField(fld::soundJapanese(1));
    }
};

}  // namespace

class MenteFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Catalogue> cat;
    Boxes mainBoxes, editorBoxes;
    std::unique_ptr<TFMente> form;

    // A list row typed into the grid that has the focus: code, then name.
    static void typeRow(const char* code, const char* name) {
        typeText(QString::fromUtf8(code));
        press(Qt::Key_Return);
        press(Qt::Key_Right);
        typeText(QString::fromUtf8(name));
    }

private slots:
    void init() {
        cat = std::make_unique<Catalogue>();
        form = std::make_unique<TFMente>(cat->dm, &mainBoxes.table, &editorBoxes.table);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void cleanup() {
        form.reset();
        cat.reset();
    }

    void theGroupsFitTheirNavigatorsAndGrids() {
        QCOMPARE(form->size(), QSize(739, 553));
        for (TCaptionDBNavi* n : {form->CaptionDBNavi1, form->CaptionDBNavi2, form->CaptionDBNavi3, form->CaptionDBNavi5})
            QCOMPARE(n->captions().mid(4, 4), (QStringList{"挿入", "削除", "あ", "更新"}));
        for (TCaptionDBNavi* n : form->findChildren<TCaptionDBNavi*>())
            QVERIFY2(n->parentWidget()->rect().contains(n->geometry()), qPrintable(n->objectName()));
        QCOMPARE(form->SoundGrid->horizontalHeader()->sectionSize(1), 231);
        TDBGrid* impress = form->ImpressGrid;  // all ten show without scrolling
        QVERIFY(impress->rowViewportPosition(9) + impress->rowHeight(9) <= impress->viewport()->height());
        QList<QWidget*> order;  // the impression grid before its navigator, BEnd last
        for (QWidget* w = form->GenreGrid; order.size() < 6; w = w->nextInFocusChain())
            if ((w->focusPolicy() & Qt::TabFocus) && (qobject_cast<TDBGrid*>(w) || w == form->BEnd)) order << w;
        QCOMPARE(order, (QList<QWidget*>{form->GenreGrid, form->Genre2Grid, form->SoundGrid, form->LangeGrid,
                                        form->ImpressGrid, form->BEnd}));
    }

    void subGenresFollowTheMajorGenreButNotItsNewCode() {
        form->GenreGrid->setFocus();
        press(Qt::Key_Down);
        const QString genre = columnValues(cat->dm.CGenre, fld::GenreCode1).value(1);
        form->Genre2Grid->setFocus();
        typeRow("1", "SF");
        press(Qt::Key_Down);  // posted, and the next row started
        press(Qt::Key_Left);
        typeRow("2", "ホラー");
        form->GenreGrid->setFocus();  // leaving posts it
        QCOMPARE(columnValues(cat->dm.CGenre2, fld::GenreCode1), (QStringList{genre, genre}));
        QCOMPARE(columnValues(cat->dm.CGenre2, fld::GenreName2), (QStringList{"SF", "ホラー"}));
        typeText(QStringLiteral("99"));  // a new code for the genre
        form->BEnd->setFocus();
        QCOMPARE(cat->dm.CGenre.fieldU8(fld::GenreCode1).asInteger(), 99);
        QCOMPARE(form->Genre2Grid->model()->rowCount(), 0);  // its sub-genres stay behind
    }

    void deletingAMajorGenreAsksOnceAndTakesItsSubGenres() {
        cat->dm.CGenre.first();
        cat->add(cat->dm.CGenre2, fld::GenreCode2, 1, fld::GenreName2, "other");
        cat->dm.CGenre.last();
        for (int k = 1; k <= 3; ++k) cat->add(cat->dm.CGenre2, fld::GenreCode2, k, fld::GenreName2, "sub");
        ErrorCollector boxes;
        form->CaptionDBNavi2->BtnClick(TCaptionDBNavi::nbDelete);
        QCOMPARE(boxes.boxes.size(), size_t(1));
        const auto& rows = cat->dm.CGenre2.storedRows();
        QCOMPARE(std::count_if(rows.begin(), rows.end(), [](const StoredRow& r) { return r.current(); }), 1);
    }

    // Codes are neither checked for uniqueness nor required: a lookup takes
    // the first row of a code in index order, and a blank code matches nothing.
    void lookupsByCode() {
        cat->add(cat->dm.CSound, fld::SoundCd, 3, fld::SoundName, "first");
        cat->add(cat->dm.CSound, fld::SoundCd, 3, fld::SoundName, "second");
        cat->add(cat->dm.CSound, fld::SoundCd, 4, fld::SoundName, "four");
        form->SoundGrid->setFocus();
        press(Qt::Key_Down);
        press(Qt::Key_Right);
        typeText(QStringLiteral("blank"));  // a row with a name only
        press(Qt::Key_Up);
        QCOMPARE(columnValues(cat->dm.CSound, fld::SoundName), (QStringList{"blank", "first", "second", "four"}));
        cat->dm.AddNewTitle();
        SoundBox box(cat->dm);
        cat->dm.CDvd.fieldU8(fld::soundJapanese(1)).setInteger(3);
        QCOMPARE(box.currentText(), QStringLiteral("first"));
        cat->dm.CDvd.fieldU8(fld::soundJapanese(1)).clear();
        QCOMPARE(box.currentIndex(), -1);
        // A deleted code stays with the title and shows empty.
        cat->dm.CDvd.fieldU8(fld::soundJapanese(1)).setInteger(4);
        cat->dm.CDvd.post();
        form->SoundGrid->setFocus();
        press(Qt::Key_End, Qt::ControlModifier);
        ErrorCollector boxes;
        press(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(cat->dm.CDvd.fieldU8(fld::soundJapanese(1)).asInteger(), 4);
        QCOMPARE(box.currentIndex(), -1);
    }

    void closingPostsTheRenameAndRecaptionsBothWindows() {
        form->ImpressGrid->setFocus();
        press(Qt::Key_Down);
        typeText(QStringLiteral("泣ける"));
        QTest::mouseClick(form->BEnd, Qt::LeftButton);  // it takes the focus first
        QVERIFY(!form->isVisible());
        QCOMPARE(cat->dm.CImpress.state(), TableState::Browse);
        QCOMPARE(mainBoxes.table[2]->text(), QStringLiteral("泣ける"));
        QCOMPARE(editorBoxes.table[2]->text(), QStringLiteral("泣ける"));
        QCOMPARE(cat->dm.CImpress.recNo(), 0);
    }

    void aRefusedCodeKeepsTheWindowOpen() {
        form->SoundGrid->setFocus();
        ErrorCollector boxes;
        typeText(QStringLiteral("99999"));
        QTest::mouseClick(form->BEnd, Qt::LeftButton);
        QTest::qWait(20);
        QVERIFY(form->isVisible());
        QCOMPARE(boxes.messages.size(), 1);  // one message, from leaving the grid
        QCOMPARE(QApplication::focusWidget(), form->SoundGrid->cellEditor());
        press(Qt::Key_Escape);
        QTest::mouseClick(form->BEnd, Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QCOMPARE(cat->dm.CSound.recordCount(), 0);
    }
};

QTEST_MAIN(MenteFormTest)
#include "mente_form_test.moc"
