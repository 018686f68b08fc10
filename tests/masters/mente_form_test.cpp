// The master lists window over a real catalogue: its groups, the sub-genre
// list following the major genre, what deleting or recoding a list row does
// to the rows and titles that refer to it, and the impression captions at
// closing.
#include <QApplication>
#include <algorithm>
#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "controls/caption_db_navi.h"
#include "controls/db_grid.h"
#include "controls/db_lookup_combo_box.h"
#include "data/catalogue_schema.h"
#include "data/data_module.h"
#include "data/fresh_install.h"
#include "data/sjis.h"
#include "masters/mente_form.h"
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
    }
    void add(Table& t, std::string_view codeField, int code, std::string_view nameField, const char* name) {
        t.append();
        t.fieldU8(codeField).setInteger(code);
        t.fieldU8(nameField).setString(sj(name));
        t.post();
    }
};

// Ten check boxes standing for one window's impression boxes.
struct Boxes {
    QWidget owner;
    ImpressBoxTable table{};
    Boxes() {
        for (int i = 1; i <= 10; ++i) table[static_cast<size_t>(i)] = new QCheckBox(&owner);
    }
    QString text(int i) const { return table[static_cast<size_t>(i)]->text(); }
};

QString cell(TDBGrid* grid, int row, int column) { return grid->model()->index(row, column).data().toString(); }

}  // namespace

class MenteFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Catalogue> cat;
    std::unique_ptr<Boxes> mainBoxes, editorBoxes;
    std::unique_ptr<TFMente> form;

    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(QApplication::focusWidget(), k, m); }
    // Key presses carrying text, as an input method delivers Japanese.
    void type(const QString& text) {
        for (QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(QApplication::focusWidget(), &press);
        }
    }

private slots:
    void init() {
        cat = std::make_unique<Catalogue>();
        mainBoxes = std::make_unique<Boxes>();
        editorBoxes = std::make_unique<Boxes>();
        form = std::make_unique<TFMente>(cat->dm, &mainBoxes->table, &editorBoxes->table);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void cleanup() {
        form.reset();
        cat.reset();
    }

    void theGroupsHaveTheirNavigatorsAndColumns() {
        QCOMPARE(form->size(), QSize(739, 553));
        QCOMPARE(form->windowTitle(), QStringLiteral("設定"));
        const QList<TCaptionDBNavi::TNavigateBtn> listButtons{TCaptionDBNavi::nbInsert, TCaptionDBNavi::nbDelete,
                                                             TCaptionDBNavi::nbPost};
        for (TCaptionDBNavi* n : {form->CaptionDBNavi1, form->CaptionDBNavi2, form->CaptionDBNavi3, form->CaptionDBNavi5}) {
            QCOMPARE(n->visibleButtons(), listButtons);
            QCOMPARE(n->captions().mid(4, 4), (QStringList{"挿入", "削除", "あ", "更新"}));
            QCOMPARE(n->hint(TCaptionDBNavi::nbPost), QStringLiteral("レコードの登録"));
        }
        QCOMPARE(form->CaptionDBNavi4->visibleButtons(), QList<TCaptionDBNavi::TNavigateBtn>{TCaptionDBNavi::nbPost});
        for (TCaptionDBNavi* n : form->findChildren<TCaptionDBNavi*>()) {
            const QWidget* group = n->parentWidget();
            QVERIFY2(group->rect().contains(n->geometry()), qPrintable(n->objectName()));
        }
        // All ten impressions show without scrolling.
        TDBGrid* impress = form->ImpressGrid;
        QCOMPARE(impress->model()->rowCount(), 10);
        QVERIFY(impress->rowViewportPosition(9) + impress->rowHeight(9) <= impress->viewport()->height());
        const std::pair<TDBGrid*, QList<int>> widths[] = {
            {form->SoundGrid, {60, 231}}, {form->LangeGrid, {40, 68}}, {form->ImpressGrid, {100}}};
        for (const auto& [grid, expected] : widths)
            for (int c = 0; c < expected.size(); ++c) QCOMPARE(grid->horizontalHeader()->sectionSize(c), expected[c]);
        QCOMPARE(form->GenreGrid->horizontalHeader()->sectionSize(1), 198);
        QCOMPARE(form->Genre2Grid->horizontalHeader()->sectionSize(1), 197);
        QCOMPARE(cell(form->GenreGrid, 0, 1).isEmpty(), false);  // the six built-in genres
        // The grids in tab order, the impression grid before its navigator, BEnd last.
        QList<QWidget*> order;
        for (QWidget* w = form->GenreGrid; order.size() < 6; w = w->nextInFocusChain())
            if (w->focusPolicy() & Qt::TabFocus && (qobject_cast<TDBGrid*>(w) || w == form->BEnd)) order << w;
        QCOMPARE(order, (QList<QWidget*>{form->GenreGrid, form->Genre2Grid, form->SoundGrid, form->LangeGrid,
                                        form->ImpressGrid, form->BEnd}));
    }

    void subGenresFollowTheMajorGenre() {
        TDBGrid* major = form->GenreGrid;
        major->setFocus();
        key(Qt::Key_Down);  // the second genre
        const int64_t genre = cat->dm.CGenre.fieldU8(fld::GenreCode1).asInteger();
        form->Genre2Grid->setFocus();
        for (const char* name : {"SF", "ホラー"}) {
            type(QStringLiteral("1"));
            key(Qt::Key_Return);
            key(Qt::Key_Right);
            type(QString::fromUtf8(name));
            key(Qt::Key_Down);  // posts, and appends the next row
            key(Qt::Key_Left);
        }
        form->BEnd->setFocus();  // the untouched third row is dropped
        QCOMPARE(cat->dm.CGenre2.recordCount(), 2);
        QCOMPARE(cat->dm.CGenre2.fieldU8(fld::GenreCode1).asInteger(), genre);
        QStringList names{cell(form->Genre2Grid, 0, 1), cell(form->Genre2Grid, 1, 1)};
        names.sort();
        QCOMPARE(names, (QStringList{"SF", "ホラー"}));
        major->setFocus();
        key(Qt::Key_Up);
        QCOMPARE(form->Genre2Grid->model()->rowCount(), 0);
        key(Qt::Key_Down);
        QCOMPARE(form->Genre2Grid->model()->rowCount(), 2);
    }

    void recodingAMajorGenreLeavesItsSubGenresBehind() {
        Table& genres = cat->dm.CGenre;
        const int64_t old = genres.fieldU8(fld::GenreCode1).asInteger();
        cat->add(cat->dm.CGenre2, fld::GenreCode2, 1, fld::GenreName2, "洋画");
        QCOMPARE(form->Genre2Grid->model()->rowCount(), 1);
        form->GenreGrid->setFocus();
        type(QStringLiteral("99"));
        form->BEnd->setFocus();  // the exit handler posts
        QCOMPARE(genres.state(), TableState::Browse);
        QCOMPARE(genres.fieldU8(fld::GenreCode1).asInteger(), 99);
        QCOMPARE(form->Genre2Grid->model()->rowCount(), 0);
        genres.edit();
        genres.fieldU8(fld::GenreCode1).setInteger(old);
        genres.post();
        QCOMPARE(form->Genre2Grid->model()->rowCount(), 1);
    }

    void deletingAMajorGenreAsksOnceAndTakesItsSubGenres() {
        cat->dm.CGenre.last();
        for (int k = 1; k <= 3; ++k) cat->add(cat->dm.CGenre2, fld::GenreCode2, k, fld::GenreName2, "sub");
        cat->dm.CGenre.first();
        cat->add(cat->dm.CGenre2, fld::GenreCode2, 1, fld::GenreName2, "other");
        cat->dm.CGenre.last();
        const int genres = cat->dm.CGenre.recordCount();
        ErrorCollector boxes;
        form->CaptionDBNavi2->BtnClick(TCaptionDBNavi::nbDelete);
        QCOMPARE(boxes.boxes.size(), size_t(1));
        QCOMPARE(cat->dm.CGenre.recordCount(), genres - 1);
        const auto& rows = cat->dm.CGenre2.storedRows();
        QCOMPARE(std::count_if(rows.begin(), rows.end(), [](const StoredRow& r) { return r.current(); }), 1);
    }

    void aDeletedSoundFormatLeavesTitlesWithTheirCode() {
        cat->add(cat->dm.CSound, fld::SoundCd, 1, fld::SoundName, "ステレオ");
        cat->add(cat->dm.CSound, fld::SoundCd, 2, fld::SoundName, "ドルビー");
        cat->dm.AddNewTitle();
        cat->dm.CDvd.fieldU8(fld::soundJapanese(1)).setInteger(2);
        cat->dm.CDvd.post();
        TDBLookupComboBox combo;  // the editor's sound box
        combo.setDataSource(&cat->dm.DvdSource);
        combo.setDataField(fld::soundJapanese(1));
        combo.setListSource(&cat->dm.SoundSource);
        combo.setKeyField(fld::SoundCd);
        combo.setListField(fld::SoundName);
        QCOMPARE(combo.currentText(), QStringLiteral("ドルビー"));

        form->SoundGrid->setFocus();  // on ドルビー, the row last posted
        ErrorCollector boxes;
        key(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(cat->dm.CSound.recordCount(), 1);
        QCOMPARE(cat->dm.CDvd.fieldU8(fld::soundJapanese(1)).asInteger(), 2);
        QCOMPARE(combo.currentIndex(), -1);
    }

    // Codes are neither checked for uniqueness nor required: a lookup takes
    // the first row in index order, and a blank code matches nothing.
    void lookupsTakeTheFirstRowOfACodeAndNeverABlankOne() {
        cat->add(cat->dm.CSound, fld::SoundCd, 3, fld::SoundName, "first");
        cat->add(cat->dm.CSound, fld::SoundCd, 3, fld::SoundName, "second");
        form->SoundGrid->setFocus();
        key(Qt::Key_Down);  // below the last row: a new one, given a name only
        key(Qt::Key_Right);
        type(QStringLiteral("blank"));
        key(Qt::Key_Up);
        QCOMPARE(cat->dm.CSound.recordCount(), 3);
        cat->dm.AddNewTitle();
        cat->dm.CDvd.fieldU8(fld::soundJapanese(1)).setInteger(3);
        TDBLookupComboBox combo;
        combo.setListSource(&cat->dm.SoundSource);
        combo.setKeyField(fld::SoundCd);
        combo.setListField(fld::SoundName);
        combo.setDataSource(&cat->dm.DvdSource);
        combo.setDataField(fld::soundJapanese(1));
        QCOMPARE(combo.currentText(), QStringLiteral("first"));
        cat->dm.CDvd.fieldU8(fld::soundJapanese(1)).clear();
        QCOMPARE(combo.currentIndex(), -1);
    }

    void closingRecaptionsTheImpressionBoxes() {
        form->ImpressGrid->setFocus();
        key(Qt::Key_Down);
        type(QStringLiteral("泣ける"));
        QTest::mouseClick(form->BEnd, Qt::LeftButton);  // takes the focus: the rename is posted first
        QVERIFY(!form->isVisible());
        QCOMPARE(cat->dm.CImpress.state(), TableState::Browse);
        QCOMPARE(mainBoxes->text(2), QStringLiteral("泣ける"));
        QCOMPARE(editorBoxes->text(2), QStringLiteral("泣ける"));
        QCOMPARE(cat->dm.CImpress.recNo(), 0);
    }

    void aRefusedCodeKeepsTheWindowOpen() {
        cat->add(cat->dm.CSound, fld::SoundCd, 1, fld::SoundName, "ステレオ");
        form->SoundGrid->setFocus();
        ErrorCollector boxes;
        type(QStringLiteral("99999"));
        QTest::mouseClick(form->BEnd, Qt::LeftButton);
        QTest::qWait(20);
        QVERIFY(form->isVisible());
        QCOMPARE(boxes.messages.size(), 1);  // one message, from leaving the grid
        QCOMPARE(cat->dm.CSound.state(), TableState::Edit);
        QCOMPARE(QApplication::focusWidget(), form->SoundGrid->cellEditor());
        key(Qt::Key_Escape);
        QTest::mouseClick(form->BEnd, Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QCOMPARE(cat->dm.CSound.fieldU8(fld::SoundCd).asInteger(), 1);
    }
};

QTEST_MAIN(MenteFormTest)
#include "mente_form_test.moc"
