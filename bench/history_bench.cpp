// The viewing-history page on a generated catalogue of 100,000 titles with
// 300,000 viewings, under the offscreen platform: moving to another title
// with the page in front (the history range and the grid's repaint), and
// adding a viewing (the append, the post, the roll-up and the repaint).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QPushButton>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "controls/db_grid.h"
#include "controls/message_boxes.h"
#include "controls/ret_edit.h"
#include "data/catalogue_schema.h"
#include "data/data_module.h"
#include "data/fresh_install.h"
#include "data/packet_file.h"
#include "data/packet_writer.h"
#include "editor/data_in_history_page.h"
#include "support/catalogue_generator.h"
#include "support/gui_bench_main.h"

namespace fs = std::filesystem;
using namespace tamboro;

namespace {

constexpr int kTitles = 100000;
constexpr size_t kViewings = 300000;

// Viewings of the generated titles, taken from several generator runs until
// there are kViewings of them; the table orders them when it opens.
Packet historyPacket() {
    Packet all = bench::generateHistoryPacket(kTitles);
    for (uint32_t seed = 3; all.rows.size() < kViewings; ++seed) {
        Packet more = bench::generateHistoryPacket(kTitles, seed);
        for (auto& row : more.rows) {
            if (all.rows.size() == kViewings) break;
            all.rows.push_back(std::move(row));
        }
    }
    all.rows.resize(kViewings);
    return all;
}

// The catalogue folder, written once per run and removed at its end.
struct Catalogue {
    fs::path dir = fs::temp_directory_path() / ("tamboro-history-bench-" + std::to_string(::getpid()));
    Catalogue() {
        fs::create_directories(dir);
        replaceFileContent(dir / "DvdData.xml", writePacket(bench::generateDvdPacket(kTitles), false));
        replaceFileContent(dir / "History.xml", writePacket(historyPacket(), false));
        createMissingFiles(dir);
    }
    ~Catalogue() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

// Handles the events a step left behind (layout, then paint) until none is left.
void settle() {
    for (int i = 0; i < 50 && QCoreApplication::eventDispatcher()->processEvents(QEventLoop::AllEvents); ++i) {
    }
}

// The data module and the page in a shown window, made once per run.
struct Page {
    Catalogue catalogue;
    TDM1 dm{catalogue.dir};
    QWidget window;
    HistoryPage* page = nullptr;
    Page() {
        dm.openAtCreation();
        dm.OpenForEditor();
        window.resize(620, 420);
        page = new HistoryPage(dm, nullptr, &window);
        window.show();
        settle();
    }
};

std::unique_ptr<Page>& shared() {
    static std::unique_ptr<Page> p;
    return p;
}

Page& page() {
    if (!shared()) shared() = std::make_unique<Page>();
    return *shared();
}

// Titles visited in a fixed spread over the whole table.
int nextPosition(int k) { return static_cast<int>((static_cast<int64_t>(k) * 7919) % kTitles); }

void BM_MoveToAnotherTitle(benchmark::State& state) {
    Page& p = page();
    int k = 0;
    int64_t rows = 0;
    for (auto _ : state) {
        p.dm.CDvd.moveTo(nextPosition(++k));
        settle();
        rows += p.page->HistoryGrid->model()->rowCount();
    }
    state.counters["viewings"] = static_cast<double>(p.dm.CHistory.storedRows().size());
    state.counters["rows shown"] = benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MoveToAnotherTitle)->Unit(benchmark::kMillisecond)->Iterations(200)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_AddViewing(benchmark::State& state) {
    Page& p = page();
    int k = 1000;
    for (auto _ : state) {
        state.PauseTiming();
        p.dm.CDvd.moveTo(nextPosition(++k));  // stores the last title's roll-up
        p.page->EApprecDate->setText(QStringLiteral("2010/04/01"));
        p.page->EComent->setText(QStringLiteral("ベンチマーク"));
        settle();
        state.ResumeTiming();
        p.page->BAdd2->click();
        settle();
    }
    state.counters["viewings"] = static_cast<double>(p.dm.CHistory.storedRows().size());
}
BENCHMARK(BM_AddViewing)->Unit(benchmark::kMillisecond)->Iterations(100)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    return bench::runGuiBenchmarks(argc, argv, [] { shared().reset(); });
}
