// Writing the recovery copy of the unsaved changes: the title table and its
// history changed, as after an evening of cataloguing, in a catalogue of
// 5,000 and of 100,000 titles made by the generator.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "data/data_module.h"
#include "data/fresh_install.h"
#include "data/packet_file.h"
#include "data/packet_writer.h"
#include "data/recovery.h"
#include "data/sjis.h"
#include "support/catalogue_generator.h"

namespace fs = std::filesystem;
using namespace tamboro;

namespace {

struct Catalogue {
    fs::path dir;
    std::unique_ptr<TDM1> dm;

    explicit Catalogue(int titles)
        : dir(fs::temp_directory_path() / ("tamboro-recovery-bench-" + std::to_string(::getpid()) + "-" +
                                           std::to_string(titles))) {
        fs::create_directories(dir);
        replaceFileContent(dir / "DvdData.xml", writePacket(bench::generateDvdPacket(titles), false));
        replaceFileContent(dir / "History.xml", writePacket(bench::generateHistoryPacket(titles), false));
        createMissingFiles(dir);
        dm = std::make_unique<TDM1>(dir);
        dm->openAtCreation();
        dm->OpenForEditor();
        // One new title with a viewing: both big tables are now unsaved.
        dm->AddNewTitle();
        dm->CDvd.fieldU8(fld::Title).setString(sj("東京物語"));
        dm->CDvd.post();
        dm->CHistory.append();
        dm->CHistory.fieldU8(fld::AppRecDate).setText("2004/12/25");
        dm->CHistory.post();
    }
    ~Catalogue() {
        dm.reset();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

void BM_WriteRecoveryCopy(benchmark::State& state) {
    Catalogue c(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(updateRecoveryCopy(*c.dm));
    state.counters["copy_MB"] = static_cast<double>(fs::file_size(recoveryFolderOf(c.dir) / "DvdData.xml") +
                                                    fs::file_size(recoveryFolderOf(c.dir) / "History.xml")) /
                                1e6;
}
BENCHMARK(BM_WriteRecoveryCopy)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WriteRecoveryCopy)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
