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

    void failedSaveStopsAtTheFirstKey() {
        fs::create_directory(file);
        TFMain w;
        try {
            SavePlacement(w, file, "TFMain");
            QFAIL("no error");
        } catch (const IniWriteError& e) {
            QVERIFY(QString::fromUtf8(e.what()).endsWith(QString::fromUtf8(" に書き込めません")));
        }
        QVERIFY(fs::is_directory(file));
        fs::remove(file);
    }
};

QTEST_MAIN(WinplaceTest)
#include "winplace_test.moc"
