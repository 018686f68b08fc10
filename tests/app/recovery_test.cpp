// The recovery copy over a whole run: written after an idle pause, offered at
// the next start when the run died, removed by a normal close.
#include <sys/stat.h>

#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <map>
#include <memory>

#include "app/application.h"
#include "app/main_window.h"
#include "app/recovery_timer.h"
#include "app_fixture.h"
#include "data/recovery.h"

using namespace tamboro;
using namespace tamboro::test;
namespace fs = std::filesystem;

namespace {

using Files = std::map<std::string, std::string>;

// The regular files of a folder; the settings file, written at every exit, aside.
Files filesIn(const fs::path& folder) {
    Files out;
    for (const auto& e : fs::directory_iterator(folder)) {
        if (!e.is_regular_file() || e.path().extension() == ".INI") continue;
        QFile f(QString::fromStdString(e.path().string()));
        f.open(QIODevice::ReadOnly);
        out[e.path().filename().string()] = f.readAll().toStdString();
    }
    return out;
}

std::vector<fs::path> setAside(const fs::path& folder) {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename().string().rfind(".tamboro-recovery-", 0) == 0) out.push_back(e.path());
    return out;
}

// Answers every box in place of the user and keeps what it was shown.
struct Boxes {
    bool answer = true;
    std::vector<BoxShown> shown;
    BoxHook previous;
    Boxes() {
        previous = setBoxHook([this](const BoxShown& b) {
            shown.push_back(b);
            return answer;
        });
    }
    ~Boxes() { setBoxHook(previous); }
    int count(BoxKind kind) const {
        return static_cast<int>(std::count_if(shown.begin(), shown.end(), [kind](const BoxShown& b) { return b.kind == kind; }));
    }
};

const QString kQuestion = QStringLiteral("前回は正常に終了しませんでした。保存されていない変更を復元しますか？");

}  // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CatalogueFolder> folder;
    Files saved;  // the data files before each test's run
    fs::path copy;

    std::unique_ptr<Program> start() {
        auto program = std::make_unique<Program>(StartupPaths{folder->path(), folder->iniFile()});
        program->recovery()->setIdleDelay(50);
        return program;
    }
    static void addTitleWithViewing(Program& p, const char* title) {
        TDM1& dm = p.DM1();
        dm.AddNewTitle();
        dm.CDvd.fieldU8(fld::Title).setString(sj(title));
        dm.CDvd.post();
        dm.CHistory.append();
        dm.CHistory.fieldU8(fld::AppRecDate).setText("2004/12/25");
        dm.CHistory.post();
    }
    // A run that adds a title with a viewing and dies once its copy is written.
    void crashedRun(Files* copied = nullptr) {
        auto program = start();
        addTitleWithViewing(*program, "生きる");
        QTRY_VERIFY(findRecoveryCopy(folder->path()).has_value());
        if (copied) *copied = filesIn(copy);
        program.reset();  // no close: the tables never write their files
    }
    static bool hasTitle(Program& p, const char* title) {
        TDM1& dm = p.DM1();
        for (dm.CDvd.first(); !dm.CDvd.eof(); dm.CDvd.next())
            if (toUtf8(dm.CDvd.fieldU8(fld::Title).asString()) == title) return true;
        return false;
    }

private slots:
    void init() {
        folder = std::make_unique<CatalogueFolder>();
        saved = filesIn(folder->path());
        copy = recoveryFolderOf(folder->path());
    }
    void cleanup() { folder.reset(); }

    void copyWaitsForAPauseAndOnlyForChanges() {
        Boxes boxes;
        auto program = start();
        RecoveryTimer& timer = *program->recovery();
        TDM1& dm = program->DM1();
        timer.setIdleDelay(60000);
        // Moving, sorting and searching change nothing to recover.
        dm.CDvd.last();
        dm.CDvd.setIndexFields(sj(fld::Title));
        dm.CDvd.setFilterText("CODE > 3");
        dm.CDvd.setFiltered(true);
        dm.CDvd.edit();
        dm.CDvd.cancel();
        QVERIFY(!timer.pending());
        dm.CDvd.edit();
        dm.CDvd.fieldU8(fld::Title).setString(sj("七人の侍 (完全版)"));
        QVERIFY(!timer.pending());  // typing: not yet
        dm.CDvd.post();
        QVERIFY(timer.pending());
        QVERIFY(!fs::exists(copy));
        timer.writeNow();
        QCOMPARE(findRecoveryCopy(folder->path())->tables, std::vector<CatalogueTable>{CatalogueTable::Dvd});
        dm.CDvd.setFiltered(false);
        dm.CDvd.first();
        dm.CDvd.remove();  // a deletion too
        QVERIFY(timer.pending());
        QCOMPARE(filesIn(folder->path()), saved);
        QCOMPARE(boxes.shown.size(), size_t(0));
    }

    void aCopyThatCannotBeWrittenIsToldOnce() {
        Boxes boxes;
        auto program = start();
        QFile blocker(QString::fromStdString(copy.string()));  // a file where the folder goes
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        addTitleWithViewing(*program, "生きる");
        QVERIFY(!program->recovery()->writeNow());
        QVERIFY(!program->recovery()->writeNow());
        QTRY_COMPARE(boxes.count(BoxKind::Error), 1);
        QVERIFY2(boxes.shown.back().text.contains(QStringLiteral(".tamboro-recovery")), qPrintable(boxes.shown.back().text));
        QVERIFY(QFile::remove(blocker.fileName()));
        QVERIFY(program->recovery()->writeNow());
        QCOMPARE(filesIn(folder->path()), saved);
    }

    void crashThenYesRestoresEverything() {
        Boxes boxes;
        Files copied;
        crashedRun(&copied);
        QCOMPARE(filesIn(folder->path()), saved);  // the run died: nothing in the data files

        {
            auto program = start();
            QCOMPARE(boxes.count(BoxKind::Confirmation), 1);
            const BoxShown& asked = boxes.shown.front();
            QCOMPARE(asked.title, QStringLiteral("確認"));
            QVERIFY2(asked.text.startsWith(kQuestion), qPrintable(asked.text));
            QVERIFY2(asked.text.contains(QRegularExpression(QStringLiteral("\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d"))),
                     qPrintable(asked.text));
            QVERIFY(hasTitle(*program, "生きる"));
            QCOMPARE(program->DM1().CHistory.recordCount(), 1);
            QCOMPARE(program->DM1().lastCode(), 13);
            for (const char* name : {"DvdData.xml", "History.xml"}) {
                QCOMPARE(filesIn(folder->path()).at(name), copied.at(name));
                QCOMPARE(filesIn(copy / kReplacedFolderName).at(name), saved.at(name));
            }
            for (const auto& [name, bytes] : saved)
                if (name != "DvdData.xml" && name != "History.xml") QCOMPARE(filesIn(folder->path()).at(name), bytes);
            // Ends normally: the recovery folder, replaced files and all, goes.
            program->FMain().close();
            QVERIFY(!fs::exists(copy));
        }
        QCOMPARE(boxes.count(BoxKind::Error), 0);
        // And the next start asks nothing.
        auto again = start();
        QCOMPARE(boxes.count(BoxKind::Confirmation), 1);
    }

    void crashThenNoKeepsTheCopyAside() {
        Boxes boxes;
        Files copied;
        crashedRun(&copied);
        boxes.answer = false;
        auto program = start();
        QCOMPARE(boxes.count(BoxKind::Confirmation), 1);
        QVERIFY(!hasTitle(*program, "生きる"));
        QCOMPARE(program->DM1().CDvd.recordCount(), 12);
        QVERIFY(!fs::exists(copy));
        const std::vector<fs::path> kept = setAside(folder->path());
        QCOMPARE(kept.size(), size_t(1));
        QCOMPARE(filesIn(kept.front()), copied);
        program->FMain().close();
        QCOMPARE(filesIn(folder->path()), saved);
        QCOMPARE(setAside(folder->path()), kept);  // never removed
        QCOMPARE(boxes.count(BoxKind::Error), 0);
    }

    void unreadableCopyIsReportedAndKept() {
        Boxes boxes;
        crashedRun();
        QFile(QString::fromStdString((copy / "History.xml").string())).resize(40);
        auto program = start();
        QCOMPARE(boxes.count(BoxKind::Confirmation), 1);
        QCOMPARE(boxes.count(BoxKind::Error), 1);
        QVERIFY2(boxes.shown.back().text.contains(QStringLiteral("History.xml")), qPrintable(boxes.shown.back().text));
        QCOMPARE(filesIn(folder->path()), saved);  // DvdData.xml, which read well, is not taken alone
        QVERIFY(!hasTitle(*program, "生きる"));
        QCOMPARE(setAside(folder->path()).size(), size_t(1));
        QVERIFY(program->DM1().CDvd.active());  // start-up went on
    }

    void closingDecidesWhetherTheCopyGoes() {
        Boxes boxes;
        auto program = start();
        TDM1& dm = program->DM1();
        addTitleWithViewing(*program, "生きる");
        program->recovery()->writeNow();
        // A backup writes every table: the copy goes at once, not after a pause.
        dm.closeCatalogue();
        QVERIFY(!fs::exists(copy));
        dm.OpenForEditor();
        addTitleWithViewing(*program, "用心棒");
        program->recovery()->writeNow();
        const Files copied = filesIn(copy);
        // The title file cannot be written: the close fails and keeps the copy.
        const fs::path dvd = folder->file("DvdData.xml");
        const std::string written = filesIn(folder->path()).at("DvdData.xml");
        fs::remove(dvd);
        QCOMPARE(::mkfifo(dvd.c_str(), 0600), 0);
        boxes.answer = false;  // no saving elsewhere
        program->FMain().close();
        QVERIFY(dm.CDvd.active());
        QCOMPARE(filesIn(copy), copied);
        QVERIFY(boxes.count(BoxKind::Error) >= 1);
        fs::remove(dvd);
        QFile f(QString::fromStdString(dvd.string()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(written.data(), static_cast<qint64>(written.size()));
        f.close();
        program->FMain().close();
        QVERIFY(!dm.CDvd.active());
        QVERIFY(!fs::exists(copy));
    }
};

QTEST_MAIN(RecoveryTest)
#include "recovery_test.moc"
