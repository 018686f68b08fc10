// The window layer's timings on a generated catalogue of 100,000 titles,
// under the offscreen platform: start-up until the main window is shown with
// its rows, a search, and each sort button, every one measured until the
// grid has painted; then the record editor: showing it on a title, one
// navigator step, and a new title posted. Later windows add their timings
// here.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/application.h"
#include "controls/message_boxes.h"
#include "app/dvd_grid_view.h"
#include "app/main_window.h"
#include "controls/caption_db_navi.h"
#include "data/catalogue_schema.h"
#include "data/data_module.h"
#include "data/sjis.h"
#include "editor/data_in_form.h"
#include "data/fresh_install.h"
#include "data/packet_file.h"
#include "data/packet_writer.h"
#include "support/catalogue_generator.h"
#include "support/gui_bench_main.h"

namespace fs = std::filesystem;
using namespace tamboro;

namespace {

constexpr int kTitles = 100000;

// The catalogue folder, written once per run and removed at its end.
struct Catalogue {
    fs::path dir = fs::temp_directory_path() / ("tamboro-gui-bench-" + std::to_string(::getpid()));
    Catalogue() {
        fs::create_directories(dir);
        replaceFileContent(dir / "DvdData.xml", writePacket(bench::generateDvdPacket(kTitles), false));
        replaceFileContent(dir / "History.xml", writePacket(bench::generateHistoryPacket(kTitles), false));
        createMissingFiles(dir);
    }
    ~Catalogue() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    StartupPaths paths() const { return {dir, dir / "tamboro.INI"}; }
};

Catalogue& catalogue() {
    static Catalogue c;
    return c;
}

// Handles the events a step left behind (the view's delayed layout, then
// its paint) until none is left.
void settle() {
    for (int i = 0; i < 50 && QCoreApplication::eventDispatcher()->processEvents(QEventLoop::AllEvents); ++i) {
    }
}

// Runs start-up and shows the main window until its activation steps have
// run and the grid has painted its rows.
std::unique_ptr<Program> startProgram() {
    auto program = std::make_unique<Program>(catalogue().paths());
    TFMain& main = program->FMain();
    main.show();
    main.activateWindow();
    while (main.activationCount() == 0) QApplication::processEvents(QEventLoop::AllEvents, 5);
    settle();
    return program;
}

// Counts the grid's paints while on, to show that a measured step painted.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    bool on = false;
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (on && e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

template <class T = QWidget>
T* control(TFMain& main, const char* name) {
    return main.findChild<T*>(QString::fromLatin1(name));
}

void BM_StartUpToGridShown(benchmark::State& state) {
    catalogue();
    for (auto _ : state) {
        auto program = startProgram();
        state.PauseTiming();
        benchmark::DoNotOptimize(program->FMain().dvdGrid());
        program->FMain().hide();
        program.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToGridShown)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5)->ReportAggregatesOnly(true);

// One program for the commands below, started once and ended before the
// application object.
std::unique_ptr<Program>& sharedProgram() {
    static std::unique_ptr<Program> program;
    return program;
}

TFMain& mainWindow() {
    if (!sharedProgram()) sharedProgram() = startProgram();
    return sharedProgram()->FMain();
}

// The search of the overview: a major genre and part of a title.
void BM_SearchGenreAndTitle(benchmark::State& state) {
    TFMain& main = mainWindow();
    PaintCounter painted(main.dvdGrid()->viewport());
    for (auto _ : state) {
        state.PauseTiming();
        main.BKaijoClick();
        control<QComboBox>(main, "CmbSGenre1")->setCurrentIndex(0);
        main.CmbSGenre1Click();
        control<QLineEdit>(main, "ESTitle")->setText(QStringLiteral("星"));
        main.ESTitleExit();
        settle();
        painted.on = true;
        state.ResumeTiming();
        main.BSearchClick();
        settle();
        painted.on = false;
    }
    state.counters["rows"] = main.dvdGrid()->model()->rowCount();
    state.counters["paints"] = benchmark::Counter(painted.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SearchGenreAndTitle)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);

// Clearing that search lists the whole collection again.
void BM_ClearSearch(benchmark::State& state) {
    TFMain& main = mainWindow();
    for (auto _ : state) {
        state.PauseTiming();
        control<QComboBox>(main, "CmbSGenre1")->setCurrentIndex(0);
        main.CmbSGenre1Click();
        main.BSearchClick();
        settle();
        state.ResumeTiming();
        main.BKaijoClick();
        settle();
    }
    state.counters["rows"] = main.dvdGrid()->model()->rowCount();
}
BENCHMARK(BM_ClearSearch)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);

// A sort button pressed with the whole collection listed, from another order.
void sortBench(benchmark::State& state, const char* from, const char* button) {
    TFMain& main = mainWindow();
    PaintCounter painted(main.dvdGrid()->viewport());
    main.BKaijoClick();
    for (auto _ : state) {
        state.PauseTiming();
        control<QPushButton>(main, from)->click();
        settle();
        painted.on = true;
        state.ResumeTiming();
        control<QPushButton>(main, button)->click();
        settle();
        painted.on = false;
    }
    state.counters["rows"] = main.dvdGrid()->model()->rowCount();
    state.counters["paints"] = benchmark::Counter(painted.paints, benchmark::Counter::kAvgIterations);
}

// The first title sort of a run makes the titles' collation keys.
void BM_SortByTitleFirstTime(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto program = startProgram();
        TFMain& main = program->FMain();
        state.ResumeTiming();
        control<QPushButton>(main, "BSTitle")->click();
        settle();
        state.PauseTiming();
        main.hide();
        program.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SortByTitleFirstTime)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SortByCode(benchmark::State& state) { sortBench(state, "BSTitle", "BSTouroku"); }
void BM_SortByTitle(benchmark::State& state) { sortBench(state, "BSTouroku", "BSTitle"); }
void BM_SortByGenre(benchmark::State& state) { sortBench(state, "BSTouroku", "BSGenre"); }
BENCHMARK(BM_SortByCode)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SortByTitle)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SortByGenre)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);

// The record editor shown on the current title, until it has painted every
// page control; hidden again outside the timing.
void BM_EditorShown(benchmark::State& state) {
    mainWindow();
    TFDataIn& editor = sharedProgram()->FDataIn();
    for (auto _ : state) {
        editor.show();
        settle();
        state.PauseTiming();
        editor.hide();
        settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EditorShown)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5)->ReportAggregatesOnly(true);

// One press of "次" with the editor in front: every bound control, the
// eight pictures and the sub-genre text shown again, then painted.
void BM_EditorNextTitle(benchmark::State& state) {
    mainWindow();
    TFDataIn& editor = sharedProgram()->FDataIn();
    editor.show();
    settle();
    auto* navi = editor.findChild<TCaptionDBNavi*>(QStringLiteral("CaptionDBNavi1"));
    Table& titles = sharedProgram()->DM1().CDvd;
    titles.first();
    for (auto _ : state) {
        navi->BtnClick(TCaptionDBNavi::nbNext);
        settle();
    }
    editor.hide();
    settle();
}
BENCHMARK(BM_EditorNextTitle)->Unit(benchmark::kMillisecond)->Iterations(50)->Repetitions(5)->ReportAggregatesOnly(true);

// "新規 (&N)" in the editor, a title typed into the record, "更新 (&U)".
void BM_EditorAddAndPost(benchmark::State& state) {
    mainWindow();
    TFDataIn& editor = sharedProgram()->FDataIn();
    editor.show();
    settle();
    Table& titles = sharedProgram()->DM1().CDvd;
    const std::string title = sj("ベンチマークの新作");
    for (auto _ : state) {
        editor.BAddClick();
        titles.fieldU8(fld::Title).setText(title);
        editor.BPostClick();
        settle();
    }
    editor.hide();
    settle();
}
BENCHMARK(BM_EditorAddAndPost)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    return bench::runGuiBenchmarks(argc, argv, [] { sharedProgram().reset(); });
}
