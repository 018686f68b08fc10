// The in-place editing grid, driven by keys on a real catalogue: how typing,
// F2, Insert, Down, Escape and Ctrl+Delete change the table, what moving to
// another row and leaving the grid store, and how refused text is handled.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "controls/db_grid.h"
#include "controls/warning_beep.h"
#include "data/catalogue_schema.h"
#include "data/data_module.h"
#include "data/fresh_install.h"
#include "data/sjis.h"
#include "tests/controls/window_test_support.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

// A fresh catalogue with every table open.
struct Catalogue {
    QTemporaryDir dir;
    std::filesystem::path path{dir.path().toStdString()};
    TDM1 dm{(createMissingFiles(path), path)};
    Catalogue() {
        dm.openAtCreation();
        dm.OpenForEditor();
    }
    void addSound(int code, const char* name) {
        dm.CSound.append();
        dm.CSound.fieldU8(fld::SoundCd).setInteger(code);
        dm.CSound.fieldU8(fld::SoundName).setString(sj(name));
        dm.CSound.post();
    }
};

QStringList names(Table& t, std::string_view field) {
    QStringList out;
    const int f = t.schema().indexOf(sj(field));
    for (int p = 0; p < t.recordCount(); ++p) out << QString::fromStdString(toUtf8(t.fieldAt(f, p).asString()));
    return out;
}

// A window with the grid and one other control to leave it for.
struct GridWindow {
    QWidget window;
    TDBGrid* grid;
    QLineEdit* other;
    int exits = 0;
    std::function<void()> onExit;

    GridWindow(DataSource& source, std::vector<TableColumn> columns) {
        grid = new TDBGrid(source, std::move(columns), &window);
        grid->setGeometry(0, 0, 400, 200);
        other = new QLineEdit(&window);
        other->setObjectName(QStringLiteral("other"));
        other->setGeometry(0, 210, 100, 21);
        QObject::connect(grid, &TDBGrid::exited, grid, [this] {
            ++exits;
            if (onExit) onExit();
        });
        window.resize(400, 240);
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window)) qWarning("grid window not active");
        grid->setFocus();
    }
    QWidget* focus() const { return QApplication::focusWidget() ? QApplication::focusWidget() : grid; }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(focus(), k, m); }
    // Each key to whatever has the focus then, as typing does.
    void type(const QString& text) {
        for (QChar ch : text) QTest::keyClicks(focus(), QString(ch));
    }
    void column(int c) { grid->setCurrentIndex(grid->model()->index(std::max(0, grid->currentIndex().row()), c)); }
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
        cat->addSound(1, "ステレオ");
        cat->addSound(2, "ドルビー");
        cat->addSound(3, "DTS");
        cat->dm.CSound.first();
        beeps = 0;
    }
    void cleanup() { cat.reset(); }

    void typingEditsTheRowAndMovingOnPostsIt() {
        GridWindow w(cat->dm.SoundSource, {{fld::SoundCd}, {fld::SoundName}});
        QAbstractItemModelTester tester(w.grid->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        Table& t = cat->dm.CSound;
        w.column(1);
        w.type(QStringLiteral("Mono"));
        QCOMPARE(t.state(), TableState::Edit);
        QVERIFY(w.grid->editorShown());
        QCOMPARE(w.grid->cellEditor()->text(), QStringLiteral("Mono"));  // the typed key replaces the value
        w.key(Qt::Key_Shift);  // keys the editor ignores pass on, and change nothing
        w.key(Qt::Key_F5);
        QCOMPARE(w.grid->cellEditor()->text(), QStringLiteral("Mono"));
        QVERIFY(w.grid->editorShown());
        w.key(Qt::Key_Down);
        QCOMPARE(t.state(), TableState::Browse);
        QCOMPARE(t.recNo(), 1);
        QCOMPARE(w.grid->currentIndex().row(), 1);
        QCOMPARE(names(t, fld::SoundName), (QStringList{"Mono", "ドルビー", "DTS"}));
        QVERIFY(!w.grid->editorShown());
    }

    void f2OpensTheValueAndEscapeAbandonsTheRow() {
        GridWindow w(cat->dm.SoundSource, {{fld::SoundCd}, {fld::SoundName}});
        Table& t = cat->dm.CSound;
        w.column(1);
        w.key(Qt::Key_F2);
        QVERIFY(w.grid->editorShown());
        QCOMPARE(w.grid->cellEditor()->text(), QStringLiteral("ステレオ"));
        QCOMPARE(t.state(), TableState::Browse);  // opening the editor changes nothing yet
        w.type(QStringLiteral("X"));
        QCOMPARE(t.state(), TableState::Edit);
        w.key(Qt::Key_Return);  // written into the row, still unposted
        QCOMPARE(t.fieldU8(fld::SoundName).asString(), sj("ステレオX"));
        w.column(0);
        w.type(QStringLiteral("9"));
        w.key(Qt::Key_Escape);
        QCOMPARE(t.state(), TableState::Browse);
        QVERIFY(!w.grid->editorShown());
        QCOMPARE(names(t, fld::SoundName), (QStringList{"ステレオ", "ドルビー", "DTS"}));
        QCOMPARE(t.fieldU8(fld::SoundCd).asInteger(), 1);
        QCOMPARE(w.grid->model()->index(0, 1).data().toString(), QStringLiteral("ステレオ"));
    }

    void insertAndAppendedRowsLeftUntouchedAreDropped() {
        GridWindow w(cat->dm.SoundSource, {{fld::SoundCd}, {fld::SoundName}});
        Table& t = cat->dm.CSound;
        w.key(Qt::Key_Down);
        w.key(Qt::Key_Insert);  // before the current row
        QCOMPARE(t.state(), TableState::Insert);
        QCOMPARE(t.pendingRowPosition(), 1);
        QCOMPARE(w.grid->model()->rowCount(), 4);
        QCOMPARE(w.grid->currentIndex().row(), 1);
        w.key(Qt::Key_Up);  // the cursor leaves it untouched
        QCOMPARE(t.state(), TableState::Browse);
        QCOMPARE(w.grid->model()->rowCount(), 3);
        QCOMPARE(t.recNo(), 0);

        w.key(Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(t.recNo(), 2);
        w.key(Qt::Key_Down);  // below the last row: a new one
        QCOMPARE(t.state(), TableState::Insert);
        QCOMPARE(t.pendingRowPosition(), 3);
        w.key(Qt::Key_Down);  // nothing is appended below an untouched new row
        QCOMPARE(w.grid->model()->rowCount(), 4);
        w.other->setFocus();  // leaving the grid drops it too
        QCOMPARE(t.state(), TableState::Browse);
        QCOMPARE(w.grid->model()->rowCount(), 3);
        QCOMPARE(w.exits, 1);
        QCOMPARE(t.recordCount(), 3);
    }

    void anAppendedRowIsPostedWhenTheCursorMovesOn() {
        GridWindow w(cat->dm.SoundSource, {{fld::SoundCd}, {fld::SoundName}});
        Table& t = cat->dm.CSound;
        w.key(Qt::Key_End, Qt::ControlModifier);
        w.key(Qt::Key_Down);
        w.type(QStringLiteral("4"));
        const QRect cell = w.grid->visualRect(w.grid->model()->index(3, 0));
        QCOMPARE(w.grid->cellEditor()->geometry(), cell.adjusted(1, 1, -1, -1));  // over the new row
        w.key(Qt::Key_Down);  // the typed row is written, posted, and one more appended
        QCOMPARE(t.recordCount(), 4);
        QCOMPARE(t.state(), TableState::Insert);
        w.key(Qt::Key_Up);
        QCOMPARE(t.state(), TableState::Browse);
        QCOMPARE(t.recordCount(), 4);
        QCOMPARE(t.fieldU8(fld::SoundCd).asInteger(), 4);
    }

    void ctrlDeleteAsksFirst() {
        GridWindow w(cat->dm.SoundSource, {{fld::SoundCd}, {fld::SoundName}});
        Table& t = cat->dm.CSound;
        ErrorCollector boxes;
        boxes.answer = false;  // キャンセル
        w.key(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(t.recordCount(), 3);
        QCOMPARE(boxes.boxes.size(), size_t(1));
        QCOMPARE(boxes.boxes[0].kind, BoxKind::DeleteRecord);
        boxes.answer = true;
        w.key(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(names(t, fld::SoundName), (QStringList{"ドルビー", "DTS"}));
        QCOMPARE(w.grid->model()->rowCount(), 2);
        w.key(Qt::Key_Delete);  // a plain Delete deletes nothing
        QCOMPARE(t.recordCount(), 2);
        QVERIFY(boxes.messages.isEmpty());
    }

    void codeColumnsTakeOnlyDigitsAndSigns() {
        GridWindow w(cat->dm.SoundSource, {{fld::SoundCd}, {fld::SoundName}});
        Table& t = cat->dm.CSound;
        w.type(QStringLiteral("a"));
        QCOMPARE(beeps, 1);
        QCOMPARE(t.state(), TableState::Browse);  // a refused key starts nothing
        w.type(QStringLiteral("-1x2"));
        QCOMPARE(beeps, 2);
        QCOMPARE(w.grid->cellEditor()->text(), QStringLiteral("-12"));
        w.key(Qt::Key_Down);
        QCOMPARE(t.state(), TableState::Browse);
        QCOMPARE(names(t, fld::SoundCd), (QStringList{"-12", "2", "3"}));
    }

    void aCodeOutOfRangeKeepsTheRowBeingEdited() {
        GridWindow w(cat->dm.SoundSource, {{fld::SoundCd}, {fld::SoundName}});
        Table& t = cat->dm.CSound;
        ErrorCollector boxes;
        w.type(QStringLiteral("40000"));
        w.key(Qt::Key_Down);
        QCOMPARE(boxes.messages.size(), 1);
        QVERIFY2(boxes.messages[0].contains(QStringLiteral("-32768 から 32767")), qPrintable(boxes.messages[0]));
        QCOMPARE(t.state(), TableState::Edit);
        QCOMPARE(t.recNo(), 0);  // the cursor did not move
        QVERIFY(w.grid->editorShown());
        QCOMPARE(w.grid->cellEditor()->text(), QStringLiteral("40000"));
        QCOMPARE(QApplication::focusWidget(), w.grid->cellEditor());

        w.other->setFocus();  // leaving does not store it either: the focus comes back
        QTest::qWait(20);
        QCOMPARE(boxes.messages.size(), 2);
        QCOMPARE(w.exits, 0);
        QCOMPARE(QApplication::focusWidget(), w.grid->cellEditor());
        w.key(Qt::Key_Escape);
        QCOMPARE(t.state(), TableState::Browse);
        QCOMPARE(t.fieldU8(fld::SoundCd).asInteger(), 1);
    }

    void leavingWritesTheCellBeforeTheExitHandler() {
        GridWindow w(cat->dm.SoundSource, {{fld::SoundCd}, {fld::SoundName}});
        Table& t = cat->dm.CSound;
        QString seen;
        w.onExit = [&] {
            seen = QString::fromStdString(toUtf8(t.fieldU8(fld::SoundName).asString()));
            if (t.state() == TableState::Edit) t.post();
        };
        w.column(1);
        w.type(QStringLiteral("AAC"));
        w.other->setFocus();
        QCOMPARE(w.exits, 1);
        QCOMPARE(seen, QStringLiteral("AAC"));
        QCOMPARE(t.state(), TableState::Browse);
        QCOMPARE(names(t, fld::SoundName), (QStringList{"AAC", "ドルビー", "DTS"}));
        // Moving within the grid, or to another window, is no leaving.
        w.grid->setFocus();
        w.key(Qt::Key_F2);
        QCOMPARE(w.exits, 1);
    }

    void typingIntoAnEmptyGridStartsANewRow() {
        Table& t = cat->dm.CLange;
        GridWindow w(cat->dm.LangeSource, {{fld::LangeCd}, {fld::LangeName}});
        QCOMPARE(t.recordCount(), 0);
        w.type(QStringLiteral("7"));
        QCOMPARE(t.state(), TableState::Insert);
        QCOMPARE(w.grid->model()->rowCount(), 1);
        QCOMPARE(w.grid->cellEditor()->text(), QStringLiteral("7"));
        QCOMPARE(w.grid->cellEditor()->geometry(), w.grid->visualRect(w.grid->model()->index(0, 0)).adjusted(1, 1, -1, -1));
        w.key(Qt::Key_Return);
        t.post();
        QCOMPARE(t.recordCount(), 1);
        QCOMPARE(t.fieldU8(fld::LangeCd).asInteger(), 7);
    }
};

QTEST_MAIN(DbGridTest)
#include "db_grid_test.moc"
