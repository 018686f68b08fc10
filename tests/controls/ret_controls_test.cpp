#include <QAbstractItemView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include "controls/app_font.h"
#include "controls/ime_mode.h"
#include "controls/ret_check_box.h"
#include "controls/ret_combo_box.h"
#include "controls/ret_edit.h"

using namespace tamboro;

// A small form: edit, combo, check box, a disabled edit, a hidden edit, and a
// last edit, in that tab order.
struct Form {
    QWidget window;
    TRetEdit* first = new TRetEdit(&window);
    TRetComboBox* combo = new TRetComboBox(&window);
    TRetCheckBox* check = new TRetCheckBox(QStringLiteral("感動"), &window);
    TRetEdit* disabled = new TRetEdit(&window);
    TRetEdit* hidden = new TRetEdit(&window);
    TRetEdit* last = new TRetEdit(&window);

    Form() {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w : std::initializer_list<QWidget*>{first, combo, check, disabled, hidden, last})
            layout->addWidget(w);
        combo->addItems({QStringLiteral("アクション"), QStringLiteral("SF"), QStringLiteral("ドラマ")});
        disabled->setEnabled(false);
        hidden->hide();
        window.setFont(appFont());
        window.show();
        window.activateWindow();
    }
};

class RetControlsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutions(); }

    void enterMovesForwardSkippingDisabledAndHiddenAndWraps() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.first->setFocus();
        QTest::keyClick(f.first, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.combo);
        QTest::keyClick(f.combo, Qt::Key_Enter);  // keypad Enter too
        QCOMPARE(QApplication::focusWidget(), f.check);
        QTest::keyClick(f.check, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.last);
        QTest::keyClick(f.last, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.first);
    }

    void shiftEnterStillMovesForward() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.combo->setFocus();
        QTest::keyClick(f.combo, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), f.check);
    }

    void enterNeverTogglesCheckBoxAndNeverReachesTheEdit() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QSignalSpy returns(f.first, &QLineEdit::returnPressed);
        f.first->setFocus();
        QTest::keyClicks(f.first, QStringLiteral("ab"));
        QTest::keyClick(f.first, Qt::Key_Return);
        QCOMPARE(f.first->text(), QStringLiteral("ab"));
        QCOMPARE(returns.count(), 0);
        QTest::keyClick(f.combo, Qt::Key_Return);
        QTest::keyClick(f.check, Qt::Key_Return);
        QVERIFY(!f.check->isChecked());
        f.check->setFocus();
        QTest::keyClick(f.check, Qt::Key_Space);  // space still toggles
        QVERIFY(f.check->isChecked());
    }

    void formKeyPressHandlerNeverSeesEnter() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QString seen;
        f.first->keyHandlers().onKeyPress = [&](QWidget*, QChar& ch) { seen += ch; };
        f.first->setFocus();
        QTest::keyClick(f.first, Qt::Key_A);
        QTest::keyClick(f.first, Qt::Key_Return);
        QCOMPARE(seen, QStringLiteral("a"));
    }

    void formKeyPressHandlerCanSwallowACharacter() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.first->keyHandlers().onKeyPress = [](QWidget*, QChar& ch) {
            if (ch == QLatin1Char('x')) ch = QChar();
        };
        f.first->setFocus();
        QTest::keyClicks(f.first, QStringLiteral("axb"));
        QCOMPARE(f.first->text(), QStringLiteral("ab"));
    }

    void returnNextOffLeavesEnterToTheControl() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.first->setReturnNext(false);
        QSignalSpy returns(f.first, &QLineEdit::returnPressed);
        f.first->setFocus();
        QTest::keyClick(f.first, Qt::Key_Return);
        QCOMPARE(returns.count(), 1);
        QCOMPARE(QApplication::focusWidget(), f.first);
    }

    void ctrlEnterIsNotCarriageReturn() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QSignalSpy returns(f.first, &QLineEdit::returnPressed);
        f.first->setFocus();
        QTest::keyClick(f.first, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), f.first);
    }

    void editableComboKeepsItsItemsOnEnter() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.combo->setEditable(true);
        f.combo->setFocus();
        f.combo->lineEdit()->selectAll();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("new"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.check);
        QCOMPARE(f.combo->count(), 3);
        QCOMPARE(f.combo->currentText(), QStringLiteral("new"));
    }

    void enterOnOpenListClosesItWithoutChoosing() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.combo->setCurrentIndex(0);
        f.combo->setFocus();
        f.combo->showPopup();
        QAbstractItemView* list = f.combo->view();
        QTRY_VERIFY(list->isVisible());
        list->setCurrentIndex(list->model()->index(2, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(f.combo->currentIndex(), 0);
        // The offscreen platform leaves the closed list as the active window,
        // so ask the form where its focus is.
        QTRY_COMPARE(f.window.focusWidget(), f.check);
    }

    void enterOnOpenListChoosesWhenReturnNextIsOff() {
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.combo->setReturnNext(false);
        f.combo->setCurrentIndex(0);
        f.combo->setFocus();
        f.combo->showPopup();
        QAbstractItemView* list = f.combo->view();
        QTRY_VERIFY(list->isVisible());
        list->setCurrentIndex(list->model()->index(2, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(f.combo->currentIndex(), 2);
    }

    void enterSkipsControlsOnHiddenPages() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* before = new TRetEdit(&window);
        auto* pages = new QTabWidget(&window);
        auto* page1 = new QWidget;
        auto* page2 = new QWidget;
        auto* onPage1 = new TRetEdit(page1);
        auto* onPage2 = new TRetEdit(page2);
        new QVBoxLayout(page1);
        page1->layout()->addWidget(onPage1);
        new QVBoxLayout(page2);
        page2->layout()->addWidget(onPage2);
        pages->addTab(page1, QStringLiteral("基本"));
        pages->addTab(page2, QStringLiteral("履歴"));
        pages->setFocusPolicy(Qt::NoFocus);
        auto* after = new TRetEdit(&window);
        layout->addWidget(before);
        layout->addWidget(pages);
        layout->addWidget(after);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        onPage1->setFocus();
        QTest::keyClick(onPage1, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), after);
        pages->setCurrentIndex(1);
        before->setFocus();
        QTest::keyClick(before, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), onPage2);
    }

    void imeModeFollowsTheControl() {
        Form f;
        setImeMode(f.first, ImeMode::Open);
        setImeMode(f.combo, ImeMode::Close);
        f.combo->setEditable(true);  // resets the attribute; entry applies it again
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.first->setFocus();
        QVERIFY(f.first->testAttribute(Qt::WA_InputMethodEnabled));
        QTest::keyClick(f.first, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.combo);
        QVERIFY(!f.combo->testAttribute(Qt::WA_InputMethodEnabled));
        QVERIFY(f.combo->inputMethodHints() & Qt::ImhPreferLatin);
        QCOMPARE(imeMode(f.combo), ImeMode::Close);
        QCOMPARE(imeMode(f.check), ImeMode::DontCare);
    }

    void screenshotOfAFormRendersJapanese() {
        Form f;
        f.first->setText(QStringLiteral("ローマの休日"));
        f.last->setText(QStringLiteral("七人の侍"));
        f.window.resize(240, 200);
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        const QImage shot = f.window.grab().toImage();
        QVERIFY(!shot.isNull());
        shot.save(QStringLiteral("/tmp/tamboro_ret_controls.png"));
        // The Japanese family resolves to a real Japanese font.
        QVERIFY(QFontInfo(appFont()).family().contains(QStringLiteral("IPA")));
    }
};

QTEST_MAIN(RetControlsTest)
#include "ret_controls_test.moc"
