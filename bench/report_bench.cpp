// The title list report on generated catalogues, under the offscreen
// platform: building it, showing it in the preview, writing its PDF.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <map>
#include <memory>

#include "data/data_module.h"
#include "data/fresh_install.h"
#include "data/packet_file.h"
#include "data/packet_writer.h"
#include "report/preview_window.h"
#include "report/report_output.h"
#include "report/title_report.h"
#include "support/catalogue_generator.h"

namespace fs = std::filesystem;
using namespace tamboro;

namespace {

// A catalogue of n titles, written once per size and opened as the program
// opens it; removed at the end of the run.
struct Catalogue {
    explicit Catalogue(int n)
        : dir(fs::temp_directory_path() / ("tamboro-report-bench-" + std::to_string(::getpid()) + "-" +
                                           std::to_string(n))) {
        fs::create_directories(dir);
        replaceFileContent(dir / "DvdData.xml", writePacket(bench::generateDvdPacket(n), false));
        createMissingFiles(dir);
        dm = std::make_unique<TDM1>(dir);
        dm->openAtCreation();
        dm->OpenForEditor();
        report = std::make_unique<QPrn1>(*dm);
        report->QGenre1 = QStringLiteral("洋画");
        report->QMakeDate = todayShortDate();
    }
    ~Catalogue() {
        report.reset();
        dm.reset();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    fs::path dir;
    std::unique_ptr<TDM1> dm;
    std::unique_ptr<QPrn1> report;
};

Catalogue& catalogue(int n) {
    static std::map<int, std::unique_ptr<Catalogue>> made;
    auto& c = made[n];
    if (!c) c = std::make_unique<Catalogue>(n);
    return *c;
}

void peakMemory(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_BuildReport(benchmark::State& state) {
    Catalogue& c = catalogue(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto built = c.report->build();
        benchmark::DoNotOptimize(built);
        state.counters["pages"] = built->pageCount();
    }
}
BENCHMARK(BM_BuildReport)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Built and shown: the preview draws every page once.
void BM_PreviewReport(benchmark::State& state) {
    Catalogue& c = catalogue(static_cast<int>(state.range(0)));
    TPrintPreview preview;
    for (auto _ : state) {
        preview.setContent(*c.report->build());
        state.counters["pages"] = preview.pageCount();
    }
    peakMemory(state);
}
BENCHMARK(BM_PreviewReport)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PreviewReport)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)
    ->ReportAggregatesOnly(true);

// Built and written as a PDF file.
void BM_WritePdf(benchmark::State& state) {
    Catalogue& c = catalogue(static_cast<int>(state.range(0)));
    const QString path = QString::fromStdString((c.dir / "report.pdf").string());
    for (auto _ : state) {
        const auto built = c.report->build();
        const QString error = report::writeReportPdf(*built, path);
        if (!error.isEmpty()) state.SkipWithError(error.toStdString().c_str());
        state.counters["pages"] = built->pageCount();
    }
    state.counters["MB"] = static_cast<double>(fs::file_size(c.dir / "report.pdf")) / 1e6;
    peakMemory(state);
}
BENCHMARK(BM_WritePdf)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WritePdf)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
