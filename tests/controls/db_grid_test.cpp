// The in-place editing grid driven by keys on a real catalogue: what typing,
// F2, Insert, Down, Escape and Ctrl+Delete do to the table, what moving on
// and leaving the grid store, and how a refused text is handled.
#include <QAbstractItemModelTester>
#include <QLineEdit>

#include "controls/db_grid.h"
#include "controls/warning_beep.h"
#include "tests/controls/catalogue_fixture.h"
#include "tests/controls/window_test_support.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

// The sound list's grid in a window with one other control to leave it for.
struct GridWindow {
    QWidget window;
    TDBGrid* grid;
    QLineEdit* other = new QLineEdit(&window);
    Table& t;
    int exits = 0;
    std::function<void()> onExit;

    explicit GridWindow(DataSource& source) : t(source.table()) {
        grid = new TDBGrid(source, {{fld::SoundCd}, {fld::SoundName}}, &window);
        grid->setGeometry(0, 0, 400, 200);
        other->setGeometry(0, 210, 100, 21);
        QObject::connect(grid, &TDBGrid::exited, grid, [this] {
            ++exits;
            if (onExit) onExit();
        });
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window)) qWarning("the grid's window is not active");
        grid->setFocus();
    }
    void column(int c) { grid->setCurrentIndex(grid->model()->index(std::max(0, grid->currentIndex().row()), c)); }
    QRect cell(int row, int c) const { return grid->visualRect(grid->model()->index(row, c)).adjusted(1, 1, -1, -1); }
};

}  // namespace

class DbGridTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Catalogue> cat;
    int beeps = 0;

private slots:
    void initTestCase() { setWarningBeepHook([this] { ++beeps; }); }
    void cleanupTestCase() { setWarningBeepHook({}); }
    void init() {
        cat = std::make_unique<Catalogue>();
        int code = 0;
        for (const char* name : {"ステレオ", "ドルビー", "DTS"}) cat->add(cat->dm.CSound, fld::SoundCd, ++code, fld::SoundName, name);
        cat->dm.CSound.first();
        beeps = 0;
    }
    void cleanup() { cat.reset(); }

    void typingEditsTheRowAndMovingOnPostsIt() {
        GridWindow w(cat->dm.SoundSource);
        QAbstractItemModelTester tester(w.grid->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        w.column(1);
        typeText(QStringLiteral("Mono"));
        QCOMPARE(w.t.state(), TableState::Edit);
        QCOMPARE(w.grid->cellEditor()->text(), QStringLiteral("Mono"));  // the first key replaces the value
        press(Qt::Key_Shift);  // keys the editor ignores pass on and change nothing
        press(Qt::Key_F5);
        QVERIFY(w.grid->editorShown());
        press(Qt::Key_Down);
        QCOMPARE(w.t.state(), TableState::Browse);
        QCOMPARE(w.grid->currentIndex().row(), 1);
        QCOMPARE(columnValues(w.t, fld::SoundName), (QStringList{"Mono", "ドルビー", "DTS"}));
    }

    void f2OpensTheValueAndEscapeAbandonsTheRow() {
        GridWindow w(cat->dm.SoundSource);
        w.column(1);
        press(Qt::Key_F2);
        QCOMPARE(w.grid->cellEditor()->text(), QStringLiteral("ステレオ"));
        QCOMPARE(w.t.state(), TableState::Browse);  // nothing changed yet
        typeText(QStringLiteral("X"));
        press(Qt::Key_Return);  // written into the row, not posted
        QCOMPARE(w.t.fieldU8(fld::SoundName).asString(), sj("ステレオX"));
        w.column(0);
        typeText(QStringLiteral("9"));
        press(Qt::Key_Escape);  // both cells of the row go back
        QVERIFY(!w.grid->editorShown());
        QCOMPARE(columnValues(w.t, fld::SoundName), (QStringList{"ステレオ", "ドルビー", "DTS"}));
        QCOMPARE(columnValues(w.t, fld::SoundCd), (QStringList{"1", "2", "3"}));
    }

    void newRowsAreKeptOnlyWhenTyped() {
        GridWindow w(cat->dm.SoundSource);
        press(Qt::Key_Down);
        press(Qt::Key_Insert);  // before the current row
        QCOMPARE(w.t.pendingRowPosition(), 1);
        QCOMPARE(w.grid->currentIndex().row(), 1);
        press(Qt::Key_Up);  // left untouched: dropped
        QCOMPARE(w.grid->model()->rowCount(), 3);
        QCOMPARE(w.t.state(), TableState::Browse);

        w.column(1);
        press(Qt::Key_End, Qt::ControlModifier);  // last row, same column
        QCOMPARE(w.grid->currentIndex(), w.grid->model()->index(2, 1));
        w.column(0);
        press(Qt::Key_Down);  // below the last row: a new one
        QCOMPARE(w.t.pendingRowPosition(), 3);
        press(Qt::Key_Down);  // none below an untouched new row
        QCOMPARE(w.grid->model()->rowCount(), 4);
        typeText(QStringLiteral("0"));
        QCOMPARE(w.grid->cellEditor()->geometry(), w.cell(3, 0));  // over the new row
        press(Qt::Key_Down);  // posted (first by its code now), and one more started
        QCOMPARE(w.t.recordCount(), 4);
        QCOMPARE(w.t.pendingRowPosition(), 4);
        w.other->setFocus();  // leaving drops the untouched one too
        QCOMPARE(w.exits, 1);
        QCOMPARE(w.t.state(), TableState::Browse);
        QCOMPARE(columnValues(w.t, fld::SoundCd), (QStringList{"0", "1", "2", "3"}));
    }

    void ctrlDeleteAsksFirst() {
        GridWindow w(cat->dm.SoundSource);
        ErrorCollector boxes;
        boxes.answer = false;  // キャンセル
        press(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(w.t.recordCount(), 3);
        QCOMPARE(boxes.boxes.at(0).kind, BoxKind::DeleteRecord);
        boxes.answer = true;
        press(Qt::Key_Delete, Qt::ControlModifier);
        press(Qt::Key_Delete);  // without Ctrl nothing
        QCOMPARE(columnValues(w.t, fld::SoundName), (QStringList{"ドルビー", "DTS"}));
        QCOMPARE(w.grid->model()->rowCount(), 2);
    }

    void codesTakeDigitsAndSignsWithinTheirRange() {
        GridWindow w(cat->dm.SoundSource);
        ErrorCollector boxes;
        typeText(QStringLiteral("a"));
        QCOMPARE(w.t.state(), TableState::Browse);  // a refused key starts nothing
        typeText(QStringLiteral("4x0000"));
        QCOMPARE(beeps, 2);
        QCOMPARE(w.grid->cellEditor()->text(), QStringLiteral("40000"));
        press(Qt::Key_Down);
        QVERIFY2(boxes.messages.value(0).contains(QStringLiteral("-32768 から 32767")), qPrintable(boxes.messages.value(0)));
        QCOMPARE(w.t.recNo(), 0);  // no move, the row still being edited
        QCOMPARE(w.t.state(), TableState::Edit);
        QCOMPARE(QApplication::focusWidget(), w.grid->cellEditor());
        w.other->setFocus();  // leaving stores nothing either: the focus comes back
        QTest::qWait(20);
        QCOMPARE(boxes.messages.size(), 2);
        QCOMPARE(w.exits, 0);
        QCOMPARE(QApplication::focusWidget(), w.grid->cellEditor());
        w.grid->cellEditor()->selectAll();
        typeText(QStringLiteral("-12"));
        press(Qt::Key_Down);
        QCOMPARE(columnValues(w.t, fld::SoundCd), (QStringList{"-12", "2", "3"}));
    }

    void leavingWritesTheCellBeforeTheExitHandler() {
        GridWindow w(cat->dm.SoundSource);
        QByteArray seen;
        w.onExit = [&] {
            seen = QByteArray::fromStdString(w.t.fieldU8(fld::SoundName).asString());
            w.t.post();
        };
        w.column(1);
        typeText(QStringLiteral("AAC"));
        w.other->setFocus();
        QCOMPARE(seen, QByteArray("AAC"));
        QCOMPARE(columnValues(w.t, fld::SoundName), (QStringList{"AAC", "ドルビー", "DTS"}));
        w.grid->setFocus();
        press(Qt::Key_F2);  // moving into the cell editor is no leaving
        QCOMPARE(w.exits, 1);
    }
};

QTEST_MAIN(DbGridTest)
#include "db_grid_test.moc"
