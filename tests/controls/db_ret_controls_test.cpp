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
        title->setDataSource(&dvdSource);
        title->setDataField("タイトル");
        rating->addItems({"5", "4", "3", "2", "1", "0"});
        rating->setEditable(true);
        rating->setDataSource(&dvdSource);
        rating->setDataField("評価");
        genre->setListSource(&genreSource);
        genre->setKeyField("GENRE_CODE1");
        genre->setListField("GENRE_NAME");
        genre->setDataSource(&dvdSource);
        genre->setDataField("ジャンル１");
        impress->setDataSource(&dvdSource);
        impress->setDataField("IMPRESS1");
        year->setDataSource(&dvdSource);
        year->setDataField("製作年");
        window.show();
        window.activateWindow();
    }
    int genreCode() { return static_cast<int>(titles.fieldU8("ジャンル１").asInteger()); }
};

class DbRetControlsTest : public QObject {
    Q_OBJECT
private slots:
    void enterMovesOnAsTabAndWritesTheField() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.title->setFocus();
        f.title->selectAll();
        typeText(f.title, QStringLiteral("生きる"));
        QTest::keyClick(f.title, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.rating);
        QCOMPARE(f.text("タイトル"), QStringLiteral("生きる"));
        f.rating->lineEdit()->selectAll();
        QTest::keyClicks(f.rating, QStringLiteral("1"));
        QTest::keyClick(f.rating, Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), f.genre);
        QCOMPARE(f.titles.fieldU8("評価").asInteger(), 1);
        QTest::keyClick(f.genre, Qt::Key_Return, Qt::ShiftModifier);  // still forward
        QCOMPARE(QApplication::focusWidget(), f.impress);
        QTest::keyClick(f.impress, Qt::Key_Return);
        QVERIFY(f.impress->isChecked());  // never toggled
        QVERIFY(f.titles.fieldU8("IMPRESS1").asBoolean());
        QCOMPARE(QApplication::focusWidget(), f.year);
        QTest::keyClick(f.year, Qt::Key_Return);  // wraps
        QCOMPARE(QApplication::focusWidget(), f.title);
        QCOMPARE(f.genreCode(), 2);
        QVERIFY(f.errors.isEmpty());
    }

    void enterWithABadValueKeepsTheFocus() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.year->setFocus();
        f.year->selectAll();
        QTest::keyClicks(f.year, QStringLiteral("12-"));
        QTest::keyClick(f.year, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.year);
        QCOMPARE(f.year->text(), QStringLiteral("12-"));
        QTRY_COMPARE(f.errors, QStringList{QStringLiteral("'12-' は項目 '製作年' に適した整数値ではありません")});
    }

    void enterOnAnOpenLookupListClosesItWithoutAChoice() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.genre->setFocus();
        f.genre->showPopup();
        QAbstractItemView* list = f.genre->view();
        QTRY_VERIFY(list->isVisible());
        list->setCurrentIndex(list->model()->index(2, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(!list->isVisible());
        QTRY_COMPARE(f.window.focusWidget(), f.impress);
        QCOMPARE(f.genreCode(), 2);
        QCOMPARE(f.genre->currentText(), QStringLiteral("ロマンス"));
        QCOMPARE(f.titles.state(), TableState::Browse);
    }

    void withReturnNextOffTheOpenLookupListTakesTheEntry() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.genre->setReturnNext(false);
        QSignalSpy clicked(f.genre, &TDBLookupComboBox::clicked);
        f.genre->setFocus();
        f.genre->showPopup();
        QAbstractItemView* list = f.genre->view();
        QTRY_VERIFY(list->isVisible());
        list->setCurrentIndex(list->model()->index(2, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(f.genreCode(), 3);
        QCOMPARE(clicked.count(), 1);
    }

    void formKeyPressHandlersNeverSeeEnter() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QString seen;
        auto record = [&](QWidget*, QChar& ch) { seen += ch; };
        f.title->keyHandlers().onKeyPress = record;
        f.impress->keyHandlers().onKeyPress = record;
        f.rating->keyHandlers().onKeyPress = record;
        f.genre->keyHandlers().onKeyPress = record;
        f.title->setFocus();
        QTest::keyClick(f.title, Qt::Key_A);
        QTest::keyClick(f.title, Qt::Key_Return);
        QTest::keyClick(f.rating, Qt::Key_Return);
        QTest::keyClick(f.genre, Qt::Key_Return);
        QTest::keyClick(f.impress, Qt::Key_Return);
        QCOMPARE(seen, QStringLiteral("a"));
        QCOMPARE(QApplication::focusWidget(), f.year);
    }

    void returnNextOffLeavesEnterToTheEdit() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.title->setReturnNext(false);
        QSignalSpy returns(f.title, &QLineEdit::returnPressed);
        f.title->setFocus();
        QTest::keyClick(f.title, Qt::Key_Return);
        QCOMPARE(returns.count(), 1);
        QCOMPARE(QApplication::focusWidget(), f.title);
    }
};

QTEST_MAIN(DbRetControlsTest)
#include "db_ret_controls_test.moc"
