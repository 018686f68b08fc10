// Opening and writing the title table at 100,000 titles: the file is made by
// the catalogue generator through the packet writer into a temporary folder.
// Run with --peak-open FILE to open that file once and print the peak
// resident memory (a separate process, so the generator's data is not in it).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "data/catalogue_schema.h"
#include "data/packet_file.h"
#include "data/packet_writer.h"
#include "data/sjis.h"
#include "data/table.h"
#include "support/catalogue_generator.h"

namespace fs = std::filesystem;
using namespace tamboro;

namespace {

constexpr int kTitles = 100000;

std::unique_ptr<Table> dvdTable(const fs::path& file) {
    auto t = std::make_unique<Table>("CDvd", file, schemaOf(CatalogueTable::Dvd));
    t->setIndexFields("CODE");
    return t;
}

// The generated DvdData.xml, written once per run.
struct Fixture {
    fs::path dir = fs::temp_directory_path() / ("tamboro-bench-" + std::to_string(::getpid()));
    fs::path file = dir / "DvdData.xml";
    uintmax_t size = 0;
    Fixture() {
        fs::create_directories(dir);
        replaceFileContent(file, writePacket(bench::generateDvdPacket(kTitles), false));
        size = fs::file_size(file);
    }
    ~Fixture() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

long peakOpenKb(const fs::path& file) {
    // Resolved here: in the shell's command, /proc/self/exe is the shell.
    std::string cmd = fs::read_symlink("/proc/self/exe").string() + " --peak-open '" + file.string() + "'";
    FILE* p = ::popen(cmd.c_str(), "r");
    long kb = -1;
    if (p) {
        if (std::fscanf(p, "%ld", &kb) != 1) kb = -1;
        ::pclose(p);
    }
    return kb;
}

void BM_OpenDvdData(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        auto t = dvdTable(f.file);
        t->open();
        benchmark::DoNotOptimize(t->recordCount());
        state.PauseTiming();
        t.reset();  // releasing the rows is not part of opening
        state.ResumeTiming();
    }
    state.counters["file_MB"] = static_cast<double>(f.size) / 1e6;
    long kb = peakOpenKb(f.file);
    state.counters["peak_open_MB"] = static_cast<double>(kb) / 1024.0;
    state.counters["peak_per_file"] = static_cast<double>(kb) * 1024.0 / static_cast<double>(f.size);
}
BENCHMARK(BM_OpenDvdData)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5)->Repetitions(3);

void BM_WriteDvdData(benchmark::State& state) {
    Fixture& f = fixture();
    auto t = dvdTable(f.file);
    t->open();
    t->setLogging(false);
    const fs::path out = f.dir / "Written.xml";
    for (auto _ : state) writePacketFile(out, *t);
    state.counters["file_MB"] = static_cast<double>(fs::file_size(out)) / 1e6;
}
BENCHMARK(BM_WriteDvdData)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5)->Repetitions(3);

// The writer alone, without the file system.
void BM_SerialiseDvdData(benchmark::State& state) {
    Fixture& f = fixture();
    auto t = dvdTable(f.file);
    t->open();
    t->setLogging(false);
    for (auto _ : state) benchmark::DoNotOptimize(writePacket(*t).size());
}
BENCHMARK(BM_SerialiseDvdData)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5)->Repetitions(3);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--peak-open") == 0) {
        auto t = dvdTable(argv[2]);
        t->open();
        rusage ru{};
        getrusage(RUSAGE_SELF, &ru);
        std::printf("%ld\n", ru.ru_maxrss);
        return t->recordCount() == kTitles ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
