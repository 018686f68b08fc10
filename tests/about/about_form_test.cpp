// The version window: its turning disc, its texts and how it closes.
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "about/about_form.h"
#include "about/program_identity.h"
#include "controls/disc_animation.h"
#include "tests/controls/window_test_support.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

QLabel* picture(TFAbout& about) { return about.findChild<QLabel*>(QStringLiteral("imgDvd")); }

// Which of the four frames the disc shows; -1 for anything else.
int shownFrame(TFAbout& about) {
    const QImage shown = picture(about)->pixmap().toImage();
    const QList<QPixmap>& frames = about.discAnimation().frames();
    for (int i = 0; i < frames.size(); ++i)
        if (frames.at(i).toImage() == shown) return i;
    return -1;
}

// One tick of Timer2, taken out of the clock's hands so that the test sees
// every frame.
void tick(TFAbout& about) {
    auto* animation = about.findChild<DiscAnimation*>(QStringLiteral("DiscAnimation"));
    QVERIFY(animation);
    animation->timer()->stop();
    animation->tick();
}

QString labelText(TFAbout& about, const char* name) {
    auto* l = about.findChild<QLabel*>(QString::fromLatin1(name));
    return l ? l->text() : QStringLiteral("<missing>");
}

}  // namespace

class AboutFormTest : public QObject {
    Q_OBJECT
private slots:
    void discTurnsFromCreationEvery150Ms() {
        TFAbout about;
        const QTimer* timer = about.discAnimation().timer();
        QCOMPARE(timer->objectName(), QStringLiteral("Timer2"));
        QCOMPARE(timer->interval(), 150);
        QVERIFY(timer->isActive());  // never shown, already turning
        QCOMPARE(about.discAnimation().frameIndex(), quint16(0));
        QCOMPARE(picture(about)->size(), QSize(50, 50));  // the still disc
        QCOMPARE(shownFrame(about), -1);
        QTRY_COMPARE_WITH_TIMEOUT(shownFrame(about), 0, 2000);
        QCOMPARE(picture(about)->size(), QSize(50, 53));
    }

    void framesRunInTurnAndGoOnAcrossShowings() {
        TFAbout about;
        QList<int> seen;
        about.show();
        about.close();
        QVERIFY(about.discAnimation().timer()->isActive());  // hiding does not stop it
        about.show();
        for (int i = 0; i < 3; ++i) {
            tick(about);
            seen << shownFrame(about);
        }
        about.close();  // the close box
        QVERIFY(!about.isVisible());
        tick(about);  // hidden, it goes on turning
        seen << shownFrame(about);
        about.show();
        QCOMPARE(about.discAnimation().frameIndex(), quint16(0));
        tick(about);
        seen << shownFrame(about);
        tick(about);
        seen << shownFrame(about);
        QCOMPARE(seen, QList<int>({0, 1, 2, 3, 0, 1}));
        QCOMPARE(about.discAnimation().frameIndex(), quint16(2));
    }

    // Enter presses the default button and the close box closes; Escape,
    // with no cancel button, leaves the window open.
    void closesByEnterAndCloseBoxButNotEscape_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Enter") << "Enter" << true;
        QTest::newRow("keypad Enter") << "KeypadEnter" << true;
        QTest::newRow("close button") << "button" << true;
        QTest::newRow("close box") << "closeBox" << true;
        QTest::newRow("Escape") << "Escape" << false;
    }
    void closesByEnterAndCloseBoxButNotEscape() {
        QFETCH(QString, how);
        QFETCH(bool, closes);
        TFAbout about;
        bool stillOpen = false;
        QWidget* shown = nullptr;
        onNextModal([&](QWidget* modal) {
            shown = modal;
            if (how == QLatin1String("Enter")) QTest::keyClick(modal, Qt::Key_Return);
            else if (how == QLatin1String("KeypadEnter")) QTest::keyClick(modal, Qt::Key_Enter, Qt::KeypadModifier);
            else if (how == QLatin1String("button")) modal->findChild<QPushButton*>(QStringLiteral("btnClose"))->click();
            else if (how == QLatin1String("closeBox")) modal->close();
            else QTest::keyClick(modal, Qt::Key_Escape);
            stillOpen = modal->isVisible();
            if (stillOpen) about.done(QDialog::Rejected);  // end the modal loop for the next row
        });
        about.exec();
        QCOMPARE(shown, static_cast<QWidget*>(&about));
        QCOMPARE(!stillOpen, closes);
    }

    void showsWhatItIsAndTheBuildsVersion() {
        TFAbout about;
        QCOMPARE(about.windowTitle(), QStringLiteral(" ﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(about.size(), QSize(298, 209));
        QCOMPARE(labelText(about, "Label2"), QStringLiteral("Tamboro"));
        QVERIFY(!programVersion().isEmpty());
        QVERIFY2(labelText(about, "Version").endsWith(programVersion()), qPrintable(labelText(about, "Version")));
        for (const char* name : {"ProductName", "Copyright", "Label1"}) QVERIFY2(!labelText(about, name).isEmpty(), name);
        QVERIFY(about.findChild<QPushButton*>(QStringLiteral("btnClose"))->isDefault());
    }

    void programIconHasEverySizeOfTheInstalledOne() {
        const QIcon icon = programIcon();
        QVERIFY(!icon.isNull());
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            QVERIFY2(icon.availableSizes().contains(QSize(size, size)), qPrintable(QString::number(size)));
    }
};

QTEST_MAIN(AboutFormTest)
#include "about_form_test.moc"
