// Building fixed-layout windows: the fixed-size dialog, and leave handlers
// looked up by control.
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include "controls/fixed_dialog.h"
#include "controls/leave_handlers.h"
#include "window_test_support.h"

using namespace tamboro;
using namespace tamboro::test;

class FormBuildingTest : public QObject {
    Q_OBJECT
private slots:
    void fixedDialogEndsOnlyAsItsCloseBoxSays_data() {
        QTest::addColumn<bool>("closeBoxEnds");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("ends");
        for (bool ends : {false, true}) {
            const char* box = ends ? "close box ends" : "no close box";
            QTest::addRow("%s, Escape", box) << ends << "Escape" << false;
            QTest::addRow("%s, close box", box) << ends << "close" << ends;
            QTest::addRow("%s, own button", box) << ends << "button" << true;
        }
    }
    void fixedDialogEndsOnlyAsItsCloseBoxSays() {
        QFETCH(bool, closeBoxEnds);
        QFETCH(QString, how);
        QFETCH(bool, ends);
        TFixedDialog d(QSize(200, 100), closeBoxEnds ? TFixedDialog::CloseBox::Ends : TFixedDialog::CloseBox::None);
        auto* edit = new QLineEdit(&d);
        d.setResult(-1);
        d.open();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.windowFlags().testFlag(Qt::WindowCloseButtonHint), closeBoxEnds);
        if (how == "Escape")
            QTest::keyClick(edit, Qt::Key_Escape);
        else if (how == "close")
            d.close();
        else
            d.accept();
        QCOMPARE(!d.isVisible(), ends);
        if (ends) QCOMPARE(d.result(), int(how == "button" ? QDialog::Accepted : QDialog::Rejected));
    }

    void fixedDialogKeepsItsSizeAndShowsCentredOrAtItsPlace() {
        TFixedDialog centred(QSize(300, 200), TFixedDialog::CloseBox::None);
        centred.show();
        QVERIFY(QTest::qWaitForWindowExposed(&centred));
        QCOMPARE(centred.size(), QSize(300, 200));
        QCOMPARE(centred.minimumSize(), centred.maximumSize());
        // Centred with its frame, as far as the frame is known before the first showing.
        const QPoint middle = centred.screen()->availableGeometry().center();
        QVERIFY((centred.frameGeometry().center() - middle).manhattanLength() <= 4);
        centred.hide();
        centred.move(0, 0);
        centred.show();  // centred again at each showing
        QVERIFY((centred.frameGeometry().center() - middle).manhattanLength() <= 4);

        TFixedDialog placed(QSize(300, 200), TFixedDialog::CloseBox::Ends);
        placed.setDesignedPosition(QPoint(76, 55));
        placed.show();
        QVERIFY(QTest::qWaitForWindowExposed(&placed));
        QCOMPARE(placed.pos(), QPoint(76, 55));
    }

    void leaveHandlerRunsForTheControlLeft() {
        QWidget window;
        auto* title = new QLineEdit(&window);
        auto* year = new QLineEdit(&window);
        auto* before = new QRadioButton(&window);
        auto* combo = new QComboBox(&window);
        combo->setEditable(true);
        auto* plain = new QLineEdit(&window);
        LeaveHandlers leaves(&window);
        QStringList ran;
        leaves.add(title, [&] { ran << "title"; });
        leaves.add({year, before}, [&] { ran << "year"; });
        leaves.add(combo, [&] { ran << "combo"; });
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        const auto focus = [](QWidget* w) {
            w->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), w->focusProxy() ? w->focusProxy() : w);
        };
        focus(title);
        focus(year);
        focus(before);
        focus(combo->lineEdit());  // the combo box's own edit is the combo box
        focus(combo);
        focus(plain);
        focus(title);
        QCOMPARE(ran, (QStringList{"title", "year", "year", "combo"}));
        QCOMPARE(leaves.activeControl(), title);

        // Another window taking the focus leaves no control; coming back neither.
        QWidget other;
        auto* elsewhere = new QLineEdit(&other);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        focus(elsewhere);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        focus(title);
        QCOMPARE(ran.size(), 4);

        // A handler's error goes to the error box and the focus moves on.
        ErrorCollector errors;
        leaves.add(title, [] { throw std::runtime_error("書き込めません"); });
        focus(year);
        QCOMPARE(errors.messages, QStringList{"書き込めません."});
    }
};

QTEST_MAIN(FormBuildingTest)
#include "form_building_test.moc"
