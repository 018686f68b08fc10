#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <fstream>

#include "app/ini_file.h"
#include "app/winplace.h"

using namespace tamboro;
namespace fs = std::filesystem;

// Stands in for the main window: the section comes from the class name.
class TFMain : public QWidget {
    Q_OBJECT
};

namespace {

QPoint origin() { return QGuiApplication::primaryScreen()->availableGeometry().topLeft(); }

}  // namespace

class WinplaceTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path file;

private slots:
    void init() {
        QVERIFY(dir.isValid());
        file = fs::path(dir.path().toStdString()) / "tamboro.INI";
        fs::remove_all(file);
    }

    void sectionIsTheClassName() {
        TFMain w;
        QCOMPARE(placementSection(w), std::string("TFMain"));
        QWidget plain;
        QCOMPARE(placementSection(plain), std::string("QWidget"));
    }

    void firstSaveWritesTheTenKeysWithExclusiveEdges() {
        TFMain w;
        w.setGeometry(QRect(origin() + QPoint(30, 40), QSize(200, 100)));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        SavePlacement(w, file, placementSection(w));
        IniFile ini(file);
        QCOMPARE(ini.readInteger("TFMain", "PlaceFlags", -9), 0);
        QCOMPARE(ini.readInteger("tfmain", "PLACESHOWCMD", -9), kShowNormal);
        QCOMPARE(ini.readInteger("TFMain", "PlaceMinPos.X", -9), -1);
        QCOMPARE(ini.readInteger("TFMain", "PlaceMaxPos.Y", -9), -1);
        QCOMPARE(ini.readInteger("TFMain", "PlaceNormalPos.Left", -9), 30);
        QCOMPARE(ini.readInteger("TFMain", "PlaceNormalPos.Top", -9), 40);
        QCOMPARE(ini.readInteger("TFMain", "PlaceNormalPos.Right", -9), 230);
        QCOMPARE(ini.readInteger("TFMain", "PlaceNormalPos.Bottom", -9), 140);
    }

    void geometryRoundTripsAndUnusedPositionsAreHandedBack() {
        std::ofstream(file) << "[TFMain]\nPlaceFlags=0\nPlaceShowCmd=1\nPlaceMinPos.X=-32000\n"
                               "PlaceMinPos.Y=$FFFF8300\nPlaceMaxPos.X=-4\nPlaceMaxPos.Y=-4\n"
                               "PlaceNormalPos.Left=50\nPlaceNormalPos.Top=60\n"
                               "PlaceNormalPos.Right=0x172\nPlaceNormalPos.Bottom=310\n";
        TFMain w;
        w.setGeometry(QRect(origin() + QPoint(5, 5), QSize(100, 100)));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        RestorePlacement(w, file, "TFMain");
        QTRY_COMPARE(w.geometry(), QRect(origin() + QPoint(50, 60), QSize(320, 250)));
        fs::remove(file);
        SavePlacement(w, file, "TFMain");
        const WindowPlacement p = currentPlacement(w);
        QCOMPARE(p.minX, -32000);
        QCOMPARE(p.minY, -32000);
        QCOMPARE(p.maxX, -4);
        QCOMPARE(IniFile(file).readInteger("TFMain", "PlaceNormalPos.Right", 0), 370);
    }

    void unreadableValuesKeepTheCurrentOnes() {
        std::ofstream(file) << "[TFMain]\nPlaceShowCmd=normal\nPlaceNormalPos.Left=abc\n"
                               "PlaceNormalPos.Top=70\nPlaceNormalPos.Bottom=\n";
        TFMain w;
        w.setGeometry(QRect(origin() + QPoint(10, 20), QSize(150, 90)));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        RestorePlacement(w, file, "TFMain");
        // Left and right stay; top moves while the bottom edge stays where it was.
        QTRY_COMPARE(w.geometry(), QRect(origin() + QPoint(10, 70), QSize(150, 40)));
        QCOMPARE(w.windowState(), Qt::WindowNoState);
    }

    void missingFileOrEmptyRectangleKeepsTheSize() {
        TFMain w;
        const QRect start(origin() + QPoint(12, 34), QSize(160, 80));
        w.setGeometry(start);
        RestorePlacement(w, file, "TFMain");
        QCOMPARE(w.geometry(), start);
        QVERIFY(!fs::exists(file));
        std::ofstream(file) << "[TFMain]\nPlaceNormalPos.Left=80\nPlaceNormalPos.Right=80\n";
        RestorePlacement(w, file, "TFMain");
        QCOMPARE(w.geometry(), QRect(origin() + QPoint(80, 34), QSize(160, 80)));
    }

    void maximisedStateIsRestoredWithItsNormalRectangle() {
        std::ofstream(file) << "[TFMain]\nPlaceFlags=0\nPlaceShowCmd=3\nPlaceNormalPos.Left=40\n"
                               "PlaceNormalPos.Top=30\nPlaceNormalPos.Right=240\nPlaceNormalPos.Bottom=130\n";
        TFMain w;
        RestorePlacement(w, file, "TFMain");
        QVERIFY(w.windowState() & Qt::WindowMaximized);
        QCOMPARE(currentPlacement(w).showCmd, kShowMaximized);
        const WindowPlacement p = currentPlacement(w);
        QCOMPARE(QRect(p.left, p.top, p.right - p.left, p.bottom - p.top), QRect(40, 30, 200, 100));
        w.setWindowState(Qt::WindowNoState);
        QCOMPARE(w.geometry(), QRect(origin() + QPoint(40, 30), QSize(200, 100)));
    }

    void minimisedFromMaximisedKeepsTheRestoreFlag() {
        TFMain w;
        w.setWindowState(Qt::WindowMinimized | Qt::WindowMaximized);
        const WindowPlacement p = currentPlacement(w);
        QCOMPARE(p.showCmd, kShowMinimized);
        QCOMPARE(p.flags, kRestoreToMaximized);
        TFMain other;
        applyPlacement(other, p);
        QCOMPARE(other.windowState(), Qt::WindowMinimized | Qt::WindowMaximized);
        applyPlacement(other, WindowPlacement{});
        QCOMPARE(other.windowState(), Qt::WindowNoState);
    }

    void rectangleOffEveryScreenIsBroughtOntoTheNearest_data() {
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QRect>("expected");
        const QList<QRect> one = {QRect(0, 0, 1280, 1024)};
        const QSize size(792, 553);
        QTest::newRow("on screen") << one << QRect(QPoint(80, 42), size) << QRect(QPoint(80, 42), size);
        QTest::newRow("partly on screen") << one << QRect(QPoint(1200, 900), size) << QRect(QPoint(1200, 900), size);
        QTest::newRow("beyond the corner") << one << QRect(QPoint(3000, 2000), size) << QRect(QPoint(488, 471), size);
        QTest::newRow("far beyond") << one << QRect(QPoint(32767, 32767), size) << QRect(QPoint(488, 471), size);
        QTest::newRow("far before") << one << QRect(QPoint(-32767, -32767), size) << QRect(QPoint(0, 0), size);
        QTest::newRow("left only") << one << QRect(QPoint(-32767, 300), size) << QRect(QPoint(0, 300), size);
        QTest::newRow("just past the edge") << one << QRect(QPoint(1280, 0), size) << QRect(QPoint(488, 0), size);
        QTest::newRow("a sliver showing") << one << QRect(QPoint(1260, 1000), size) << QRect(QPoint(488, 471), size);
        QTest::newRow("title bar above") << one << QRect(QPoint(100, -300), size) << QRect(QPoint(100, 0), size);
        QTest::newRow("title bar just in") << one << QRect(QPoint(-760, 992), size) << QRect(QPoint(-760, 992), size);
        QTest::newRow("larger than the screen") << one << QRect(3000, 10, 1600, 1200) << QRect(0, 0, 1280, 1024);
        // A second screen to the right, and one above with negative coordinates.
        const QList<QRect> two = {QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
        QTest::newRow("right of the second") << two << QRect(QPoint(5000, 100), size) << QRect(QPoint(2408, 100), size);
        QTest::newRow("below the first") << two << QRect(QPoint(200, 1500), size) << QRect(QPoint(200, 471), size);
        const QList<QRect> above = {QRect(0, 0, 1280, 1024), QRect(0, -1080, 1920, 1080)};
        QTest::newRow("above the upper") << above << QRect(QPoint(100, -5000), size) << QRect(QPoint(100, -1080), size);
    }
    void rectangleOffEveryScreenIsBroughtOntoTheNearest() {
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, stored);
        QTEST(bringOntoScreens(stored, std::vector<QRect>(screens.begin(), screens.end())), "expected");
    }

    // A monitor removed or an edited file: the window must not open (and
    // then be saved) where no one can see it.
    void offScreenPlacementIsRestoredAndSavedOnScreen_data() {
        QTest::addColumn<QString>("normal");  // left, top, right, bottom
        QTest::addColumn<int>("showCmd");
        QTest::newRow("beyond the corner") << "3000,2000,3200,2100" << kShowNormal;
        QTest::newRow("far beyond") << "32767,32767,32967,32867" << kShowNormal;
        QTest::newRow("far before") << "-32767,-32767,-32567,-32667" << kShowNormal;
        QTest::newRow("maximised") << "3000,2000,3200,2100" << kShowMaximized;
        QTest::newRow("32-bit extremes") << "-2147483648,-2147483648,2147483647,2147483647" << kShowNormal;
    }
    void offScreenPlacementIsRestoredAndSavedOnScreen() {
        QFETCH(QString, normal);
        QFETCH(int, showCmd);
        const QStringList edges = normal.split(',');
        std::ofstream(file) << "[TFMain]\nPlaceShowCmd=" << showCmd << "\nPlaceNormalPos.Left=" << edges[0].toStdString()
                            << "\nPlaceNormalPos.Top=" << edges[1].toStdString()
                            << "\nPlaceNormalPos.Right=" << edges[2].toStdString()
                            << "\nPlaceNormalPos.Bottom=" << edges[3].toStdString() << "\n";
        TFMain w;
        w.setGeometry(QRect(origin() + QPoint(5, 5), QSize(100, 100)));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        RestorePlacement(w, file, "TFMain");
        w.setWindowState(Qt::WindowNoState);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QTRY_VERIFY2(area.contains(w.geometry()), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(w.x()).arg(w.y())
                                                               .arg(w.width()).arg(w.height())));
        if (!normal.startsWith("-2147483648")) QCOMPARE(w.size(), QSize(200, 100));
        else QCOMPARE(w.frameGeometry(), area);  // shrunk to the screen
        fs::remove(file);
        SavePlacement(w, file, "TFMain");
        const IniFile ini(file);
        QVERIFY(ini.readInteger("TFMain", "PlaceNormalPos.Left", -1) >= 0);
        QVERIFY(ini.readInteger("TFMain", "PlaceNormalPos.Bottom", INT32_MAX) <= area.height());
    }

    void failedSaveIsReportedAndChangesNothing() {
        fs::create_directory(file);
        TFMain w;
        try {
            SavePlacement(w, file, "TFMain");
            QFAIL("no error");
        } catch (const IniWriteError& e) {
            QVERIFY(QString::fromUtf8(e.what()).contains(QString::fromUtf8(" に書き込めません: ")));
        }
        QVERIFY(fs::is_directory(file));
        fs::remove(file);
    }
};

QTEST_MAIN(WinplaceTest)
#include "winplace_test.moc"
