// Start-up, activation and shut-down of the whole program.
#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/activation_tracker.h"
#include "app/application.h"
#include "app/ini_file.h"
#include "app/main_window.h"
#include "app_fixture.h"
#include "editor/data_in_form.h"
#include "masters/mente_form.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

std::string readAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

QStringList captions(const ImpressBoxTable& boxes) {
    QStringList out;
    for (int i = 1; i <= 10; ++i) out << (boxes[static_cast<size_t>(i)] ? boxes[static_cast<size_t>(i)]->text() : QStringLiteral("<none>"));
    return out;
}

// Records the start-up and shut-down steps while alive.
struct StepLog {
    std::vector<std::string> steps;
    StepLog() { Program::setStepObserver([this](const std::string& s) { steps.push_back(s); }); }
    ~StepLog() { Program::setStepObserver({}); }
};

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void windowsAreCreatedInOrderAndDestroyedInReverse() {
        CatalogueFolder folder;
        StepLog log;
        {
            Program program({folder.path(), folder.iniFile()});
            // The editor's creation opened every table and found the highest code.
            for (Table* t : {&program.DM1().CDvd, &program.DM1().CGenre, &program.DM1().CGenre2, &program.DM1().CSound,
                             &program.DM1().CLange, &program.DM1().CHistory, &program.DM1().CImpress})
                QVERIFY2(t->active(), t->name().c_str());
            QCOMPARE(program.FDataIn().lastCode(), 12);
            QVERIFY(!program.FMain().isVisible());
            // ...and captioned the impression boxes of both windows.
            const QStringList names = {"感動した", "笑える", "泣ける", "怖い", "考えさせられる",
                                       "爽快",     "映像美", "音楽が良い", "何度も観たい", "家族向け"};
            QCOMPARE(captions(program.FMain().impressBoxes()), names);
            QCOMPARE(captions(program.FDataIn().impressBoxes()), names);
        }
        const std::vector<std::string> expected = {
            "title",   "fresh-install", "TDM1",      "TFMain",      "TFPrn1",    "TFDataIn",  "TFAbout",
            "TBrDateForm", "TFMente",   "~TFMente",  "~TBrDateForm", "~TFAbout", "~TFDataIn", "~TFPrn1",
            "~TFMain", "~TDM1"};
        QCOMPARE(log.steps, expected);
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Tamboro"));
    }

    void aShortImpressionListRepeatsItsLastName() {
        CatalogueFolder folder(dozenTitles(), [](TDM1& dm) {
            while (dm.CImpress.recordCount() > 2) {
                dm.CImpress.last();
                dm.CImpress.remove();
            }
        });
        Program program({folder.path(), folder.iniFile()});
        const QStringList c = captions(program.FMain().impressBoxes());
        QCOMPARE(c.mid(0, 3), (QStringList{"感動した", "笑える", "笑える"}));
        QCOMPARE(c.back(), QStringLiteral("笑える"));
    }

    void firstRunInAnEmptyFolderStartsWithDefaultsAndWritesTheSettings() {
        QTemporaryDir dir;
        const std::filesystem::path path(dir.path().toStdString());
        ErrorCollector errors;
        {
            Program program({path, path / "tamboro.INI"});
            QCOMPARE(program.DM1().CDvd.recordCount(), 0);
            QCOMPARE(program.FDataIn().lastCode(), 0);
            QCOMPARE(program.FMain().backupFolder(), QString());
            program.FMain().show();
            QVERIFY(QTest::qWaitForWindowActive(&program.FMain()));
            QCOMPARE(program.FMain().pos(), QPoint(80, 42));
            QCOMPARE(program.FMain().size(), QSize(792, 553));
            QCOMPARE(program.FMain().activationCount(), 1);
            // No initial control is set: the first in tab order has the focus.
            QVERIFY(program.FMain().findChild<QWidget*>("CmbSGenre1")->hasFocus());
            QVERIFY(program.FMain().close());
        }
        QVERIFY2(errors.messages.isEmpty(), qPrintable(errors.messages.join('\n')));
        const IniFile ini(path / "tamboro.INI");
        QCOMPARE(ini.readString("TFMain", "BUpPath"), std::optional<std::string>(""));
        QVERIFY(readAll(path / "tamboro.INI").find("BupPath=") != std::string::npos);
        QCOMPARE(ini.readInteger("TFMain", "PlaceNormalPos.Right", -1) - ini.readInteger("TFMain", "PlaceNormalPos.Left", -1),
                 792);
        QVERIFY(ini.readString("TFMain", "PlaceFlags").has_value());
    }

    void backupFolderAndPlacementLeftAtExitComeBackAtTheNextStart() {
        CatalogueFolder folder;
        // The key as another program may have spelt it, beside a section of
        // another program in another encoding that the exit must leave as it is.
        const std::string other = "[Other]\nName=東京\n";
        std::ofstream(folder.iniFile()) << other << "[tfmain]\r\nbuppath=" << sj("/media/バックアップ") << "\r\n";
        {
            Program program({folder.path(), folder.iniFile()});
            QCOMPARE(program.FMain().backupFolder(), QStringLiteral("/media/バックアップ"));
            program.FMain().setBackupFolder(QStringLiteral("/srv/控え"));
            program.FMain().show();
            QVERIFY(QTest::qWaitForWindowActive(&program.FMain()));
            program.FMain().move(200, 150);
            QVERIFY(program.FMain().close());
        }
        QCOMPARE(IniFile(folder.iniFile()).readString("TFMain", "BUpPath"), std::optional<std::string>(sj("/srv/控え")));
        QVERIFY(readAll(folder.iniFile()).starts_with(other + "[tfmain]\r\nbuppath=" + sj("/srv/控え") + "\r\n"));
        Program program({folder.path(), folder.iniFile()});
        QCOMPARE(program.FMain().backupFolder(), QStringLiteral("/srv/控え"));
        QCOMPARE(program.FMain().pos(), QPoint(80, 42));  // until the first activation
        program.FMain().show();
        QVERIFY(QTest::qWaitForWindowActive(&program.FMain()));
        QTRY_COMPARE(program.FMain().pos(), QPoint(200, 150));
        QCOMPARE(program.FMain().size(), QSize(792, 553));
    }

    // A settings file that cannot be replaced: the program says which and
    // why, and ends all the same.
    void settingsThatCannotBeWrittenAreReportedWithTheReason() {
        CatalogueFolder folder;
        std::filesystem::create_directory(folder.iniFile());
        ErrorCollector errors;
        { Program program({folder.path(), folder.iniFile()}); }
        QCOMPARE(errors.messages.size(), 1);
        QVERIFY2(errors.messages[0].startsWith(QString::fromStdString(folder.iniFile().string()) +
                                               QString::fromUtf8(" に書き込めません: ")),
                 qPrintable(errors.messages[0]));
        QVERIFY(std::filesystem::is_directory(folder.iniFile()));
    }

    void qtOwnTextsAreJapanese() {
        CatalogueFolder folder;
        Program program({folder.path(), folder.iniFile()});
        QLineEdit edit;
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QVERIFY2(menu->actions().value(0)->text().startsWith(QString::fromUtf8("元に戻す(&U)")),
                 qPrintable(menu->actions().value(0)->text()));
    }

    void unreadableDataFileIsReportedAndStartUpGoesOn() {
        CatalogueFolder folder;
        std::ofstream(folder.file("Sound.xml"), std::ios::trunc) << "not a packet";
        ErrorCollector errors;
        Program program({folder.path(), folder.iniFile()});
        QCOMPARE(errors.messages.size(), 1);
        // Every window exists all the same.
        QVERIFY(program.FMente().findChild<QAbstractButton*>("BEnd"));
        QVERIFY(!program.DM1().CSound.active());
    }

    void activationRunsOnFirstShowAndAfterANonModalWindowOnly() {
        CatalogueFolder folder;
        ErrorCollector errors;
        Program program({folder.path(), folder.iniFile()});
        TFMain& main = program.FMain();
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QCOMPARE(main.activationCount(), 1);

        // A modal window of the program: closing it runs nothing.
        clickOnNextModal("BEnd");
        main.BMenteClick();
        QTRY_VERIFY(main.isActiveWindow());
        QCOMPARE(main.activationCount(), 1);

        // A message box neither.
        onNextModal([](QWidget* box) { static_cast<QDialog*>(box)->accept(); });
        QMessageBox::information(nullptr, QStringLiteral("情報"), QStringLiteral("test"));
        main.activateWindow();
        QTRY_VERIFY(main.isActiveWindow());
        QCOMPARE(main.activationCount(), 1);

        // A non-modal window (as the print preview is): back to the main window runs the steps.
        QWidget preview;
        preview.show();
        preview.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&preview));
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QCOMPARE(main.activationCount(), 2);

        // Coming back from another program does not.
        auto* tracker = main.findChild<ActivationTracker*>();
        QVERIFY(tracker);
        tracker->focusWindowChanged(nullptr);
        tracker->focusWindowChanged(main.windowHandle());
        QCOMPARE(main.activationCount(), 2);
        // ...even when the preview is still open behind.
        // A late focus event while a modal window is up (the report's progress
        // dialog) runs nothing under the command either.
        preview.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&preview));
        QDialog progress;
        progress.setModal(true);
        progress.show();
        QTRY_VERIFY(QGuiApplication::modalWindow());
        tracker->focusWindowChanged(main.windowHandle());
        QCOMPARE(main.activationCount(), 2);
        progress.hide();
        QVERIFY(errors.messages.isEmpty());
    }

    void activationClearsTheFilterAndRefillsTheLists() {
        CatalogueFolder folder;
        Program program({folder.path(), folder.iniFile()});
        // Before the first activation no criterion is shown as if in force.
        for (const char* name : {"CmbSHyouka", "CmbSDvdHyouka", "CmbSCinemaHyouka"})
            QVERIFY2(program.FMain().findChild<QComboBox*>(name)->currentText().isEmpty(), name);
        TDM1& dm = program.DM1();
        dm.CDvd.setFilterText(sj("CODE > 6"));
        dm.CDvd.setFiltered(true);
        QCOMPARE(dm.CDvd.recordCount(), 6);
        program.FMain().FormActivate();
        QVERIFY(!dm.CDvd.filtered());
        QCOMPARE(dm.CDvd.recordCount(), 12);
        QCOMPARE(dm.CDvd.recNo(), 0);
        QCOMPARE(program.FMain().soundCodes(), (std::vector<int32_t>{1, 2, 3}));
        QCOMPARE(program.FMain().langeCodes(), (std::vector<int32_t>{1, 2}));
        QCOMPARE(program.FMain().genreCodes(), (std::vector<int32_t>{100, 200, 300, 400, 500, 900}));
    }

    void exitWritesOnlyTheChangedFiles() {
        CatalogueFolder folder;
        Program program({folder.path(), folder.iniFile()});
        TDM1& dm = program.DM1();
        dm.CDvd.moveTo(3);
        dm.CDvd.edit();
        dm.CDvd.fieldU8(fld::Title).setString(sj("ローマの休日（デジタル・リマスター版）"));
        dm.CDvd.post();
        // An unchanged table writes nothing, not even a file that has gone.
        for (const char* name : {"Sound.xml", "Lange.xml", "Genre2.xml", "History.xml", "Impress.xml"})
            std::filesystem::remove(folder.file(name));
        QSignalSpy closed(&program.FMain(), &TFMain::closed);
        program.FMain().findChild<QAbstractButton*>("BSClose")->click();
        QCOMPARE(closed.count(), 1);
        QVERIFY(readAll(folder.file("DvdData.xml")).find(sj("デジタル・リマスター版")) != std::string::npos);
        for (const char* name : {"Sound.xml", "Lange.xml", "Genre2.xml", "History.xml", "Impress.xml"})
            QVERIFY2(!std::filesystem::exists(folder.file(name)), name);
        QVERIFY(!dm.CDvd.active());
    }

    void aFailedWriteKeepsTheWindowOpenAndClosingAgainRetries() {
        CatalogueFolder folder;
        ErrorCollector errors;
        Program program({folder.path(), folder.iniFile()});
        TDM1& dm = program.DM1();
        TFMain& main = program.FMain();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        dm.CDvd.first();
        dm.CDvd.edit();
        dm.CDvd.fieldU8(fld::Title).setString(sj("七人の侍（完全版）"));
        dm.CDvd.post();
        // A folder in the file's place: the new file cannot be renamed over it.
        const std::filesystem::path file = folder.file("DvdData.xml");
        const std::string before = readAll(file);
        std::filesystem::remove(file);
        std::filesystem::create_directories(file / "in-the-way");

        QSignalSpy closed(&main, &TFMain::closed);
        errors.answer = false;  // declines saving the catalogue elsewhere
        QVERIFY(!main.close());
        QCOMPARE(errors.messages.size(), 1);
        QVERIFY2(errors.messages[0].contains(QStringLiteral("DvdData.xml")), qPrintable(errors.messages[0]));
        QVERIFY(errors.messages[0].endsWith('.') || errors.messages[0].back().unicode() < u'.');
        QVERIFY(main.isVisible());
        QCOMPARE(closed.count(), 0);
        QVERIFY(dm.CDvd.active());
        QCOMPARE(u8(dm.CDvd.fieldU8(fld::Title).asString()), QStringLiteral("七人の侍（完全版）"));

        std::filesystem::remove_all(file);
        QVERIFY(main.close());
        QCOMPARE(closed.count(), 1);
        QVERIFY(readAll(file).find(sj("七人の侍（完全版）")) != std::string::npos);
        QVERIFY(before.find(sj("七人の侍（完全版）")) == std::string::npos);
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
