// Building fixed-layout windows: the fixed-size dialog.
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include "controls/fixed_dialog.h"

using namespace tamboro;

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
};

QTEST_MAIN(FormBuildingTest)
#include "form_building_test.moc"
