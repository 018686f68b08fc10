// Table engine timings on a generated catalogue of 100,000 titles.
#include <benchmark/benchmark.h>

#include "data/catalogue_schema.h"
#include "data/sjis.h"
#include "data/table.h"
#include "support/catalogue_generator.h"

using namespace tamboro;

namespace {

constexpr int kTitles = 100000;

const Packet& packet() {
    static const Packet p = bench::generateDvdPacket(kTitles);
    return p;
}

std::unique_ptr<Table> openDvd() {
    auto t = std::make_unique<Table>("CDvd", "/nonexistent/DvdData.xml", schemaOf(CatalogueTable::Dvd));
    t->setIndexFields("CODE");
    t->openFrom(packet());
    return t;
}

// Changing to the title order from scratch: collation keys are made anew.
void BM_OrderByTitle(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto t = openDvd();
        std::string title = sj(fld::Title);
        state.ResumeTiming();
        t->setIndexFields(title);
        benchmark::DoNotOptimize(t->recNo());
        state.PauseTiming();
        t.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OrderByTitle)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);

// Switching back and forth once the keys exist (the user pressing buttons).
void BM_OrderByTitleAgain(benchmark::State& state) {
    auto t = openDvd();
    std::string title = sj(fld::Title);
    t->setIndexFields(title);
    for (auto _ : state) {
        state.PauseTiming();
        t->setIndexFields("CODE");
        state.ResumeTiming();
        t->setIndexFields(title);
    }
}
BENCHMARK(BM_OrderByTitleAgain)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_OrderByGenres(benchmark::State& state) {
    auto t = openDvd();
    std::string genres = sj(fld::Genre1) + ";" + sj(fld::Genre2);
    for (auto _ : state) {
        state.PauseTiming();
        t->setIndexFields("CODE");
        state.ResumeTiming();
        t->setIndexFields(genres);
    }
}
BENCHMARK(BM_OrderByGenres)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_GotoKeyOnCode(benchmark::State& state) {
    auto t = openDvd();
    int code = 1;
    for (auto _ : state) {
        t->setKey();
        t->fieldByName("CODE").setInteger(code);
        benchmark::DoNotOptimize(t->gotoKey());
        code = code * 7919 % kTitles + 1;
    }
}
BENCHMARK(BM_GotoKeyOnCode)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_WalkFirstToLast(benchmark::State& state) {
    auto t = openDvd();
    for (auto _ : state) {
        int n = 0;
        for (t->first(); !t->eof(); t->next()) ++n;
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_WalkFirstToLast)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
