#include <QAbstractItemView>
#include <QSignalSpy>
#include <QVBoxLayout>

#include "bound_form.h"
#include "controls/db_ret_check_box.h"
#include "controls/db_ret_combo_box.h"
#include "controls/db_ret_edit.h"
#include "controls/db_ret_lookup_combo_box.h"

using namespace tamboro;
using namespace tamboro::test;

// The four bound Enter-advancing controls over the title table, in tab order.
struct Form : BoundData {
    QWidget window;
    TDBRetEdit* title = new TDBRetEdit(&window);
    TDBRetComboBox* rating = new TDBRetComboBox(&window);
    TDBRetLookupComboBox* genre = new TDBRetLookupComboBox(&window);
    TDBRetCheckBox* impress = new TDBRetCheckBox(QStringLiteral("感動"), &window);
    TDBRetEdit* year = new TDBRetEdit(&window);

    Form() {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w : std::initializer_list<QWidget*>{title, rating, genre, impress, year}) layout->addWidget(w);
        rating->addItems({"5", "4", "3", "2", "1", "0"});
        rating->setEditable(true);
        genre->setListSource(&genreSource);
        genre->setKeyField("GENRE_CODE1");
        genre->setListField("GENRE_NAME");
        bind(title, "タイトル");
        bind(rating, "評価");
        bind(genre, "ジャンル１");
        bind(impress, "IMPRESS1");
        bind(year, "製作年");
        window.show();
        window.activateWindow();
    }
    int genreCode() { return static_cast<int>(titles.fieldU8("ジャンル１").asInteger()); }
};

class DbRetControlsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Form> f;

private slots:
    void init() {
        f = std::make_unique<Form>();
        QVERIFY(QTest::qWaitForWindowActive(&f->window));
    }
    void cleanup() { f.reset(); }
    void enterMovesOnAsTabAndWritesTheField() {
        f->title->setFocus();
        f->title->selectAll();
        typeText(f->title, QStringLiteral("生きる"));
        QTest::keyClick(f->title, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f->rating);
        QCOMPARE(f->text("タイトル"), QStringLiteral("生きる"));
        f->rating->lineEdit()->selectAll();
        QTest::keyClicks(f->rating, QStringLiteral("1"));
        QTest::keyClick(f->rating, Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), f->genre);
        QCOMPARE(f->titles.fieldU8("評価").asInteger(), 1);
        QTest::keyClick(f->genre, Qt::Key_Return, Qt::ShiftModifier);  // still forward
        QCOMPARE(QApplication::focusWidget(), f->impress);
        QTest::keyClick(f->impress, Qt::Key_Return);
        QVERIFY(f->impress->isChecked());  // never toggled
        QVERIFY(f->titles.fieldU8("IMPRESS1").asBoolean());
        QCOMPARE(QApplication::focusWidget(), f->year);
        QTest::keyClick(f->year, Qt::Key_Return);  // wraps
        QCOMPARE(QApplication::focusWidget(), f->title);
        QCOMPARE(f->genreCode(), 2);
        QVERIFY(f->errors.isEmpty());
    }

    void enterWithABadValueKeepsTheFocus() {
        f->year->setFocus();
        f->year->selectAll();
        QTest::keyClicks(f->year, QStringLiteral("12-"));
        QTest::keyClick(f->year, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f->year);
        QCOMPARE(f->year->text(), QStringLiteral("12-"));
        QTRY_COMPARE(f->errors, QStringList{QStringLiteral("'12-' は項目 '製作年' に適した整数値ではありません.")});
    }

    // Enter on the open list closes it without a choice, unless Enter is
    // left to the control.
    void enterOnAnOpenLookupList_data() {
        QTest::addColumn<bool>("returnNext");
        QTest::addColumn<int>("code");
        QTest::newRow("moves on") << true << 2;
        QTest::newRow("return next off") << false << 3;
    }
    void enterOnAnOpenLookupList() {
        QFETCH(bool, returnNext);
        QFETCH(int, code);
        f->genre->setReturnNext(returnNext);
        QSignalSpy clicked(f->genre, &TDBLookupComboBox::clicked);
        f->genre->setFocus();
        f->genre->showPopup();
        QAbstractItemView* list = f->genre->view();
        QTRY_VERIFY(list->isVisible());
        list->setCurrentIndex(list->model()->index(2, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(f->genreCode(), code);
        QCOMPARE(clicked.count(), returnNext ? 0 : 1);
        if (!returnNext) return;
        QTRY_COMPARE(f->window.focusWidget(), f->impress);
        QCOMPARE(f->genre->currentText(), QStringLiteral("ロマンス"));
        QCOMPARE(f->titles.state(), TableState::Browse);
    }

    void formKeyPressHandlersNeverSeeEnter() {
        QString seen;
        auto record = [&](QWidget*, QChar& ch) { seen += ch; };
        f->title->keyHandlers().onKeyPress = record;
        f->impress->keyHandlers().onKeyPress = record;
        f->rating->keyHandlers().onKeyPress = record;
        f->genre->keyHandlers().onKeyPress = record;
        f->title->setFocus();
        QTest::keyClick(f->title, Qt::Key_A);
        QTest::keyClick(f->title, Qt::Key_Return);
        QTest::keyClick(f->rating, Qt::Key_Return);
        QTest::keyClick(f->genre, Qt::Key_Return);
        QTest::keyClick(f->impress, Qt::Key_Return);
        QCOMPARE(seen, QStringLiteral("a"));
        QCOMPARE(QApplication::focusWidget(), f->year);
    }

    void returnNextOffLeavesEnterToTheEdit() {
        f->title->setReturnNext(false);
        QSignalSpy returns(f->title, &QLineEdit::returnPressed);
        f->title->setFocus();
        QTest::keyClick(f->title, Qt::Key_Return);
        QCOMPARE(returns.count(), 1);
        QCOMPARE(QApplication::focusWidget(), f->title);
    }
};

QTEST_MAIN(DbRetControlsTest)
#include "db_ret_controls_test.moc"
