// Cost of a search on a large collection: parsing the filter text,
// testing every title and rebuilding the visible rows, as setFilterText
// does it while the filter is on.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "data/catalogue_schema.h"
#include "data/sjis.h"
#include "data/table.h"
#include "support/catalogue_generator.h"

namespace {

using namespace tamboro;

constexpr int kTitles = 100000;

Table& titles() {
    static std::unique_ptr<Table> t = [] {
        auto table = std::make_unique<Table>("CDvd", "DvdData.xml", schemaOf(CatalogueTable::Dvd));
        table->setIndexFields("CODE");
        table->setCaseInsensitiveFilter(true);
        table->openFrom(bench::generateDvdPacket(kTitles));
        return table;
    }();
    return *t;
}

// Every slot of the main window filled, the text criteria with long values.
std::string longestSearchText() {
    std::string cast = "Tom Hanks and a rather long name";
    std::string s = "CODE > 0 AND ジャンル１ = 100 AND ジャンル２ = 3 AND 評価 = 5 AND 予備６ = '5' AND 予備７ = '5'"
                    " AND タイトル = 'Star Ocean Night Return Legend*' AND 製作年 <= 2010"
                    " AND 製作国 = 'アメリカ合衆国*' AND 監督 = 'Meryl Streep*'";
    s += " AND (出演者１ = '" + cast + "*'";
    for (const char* k : {"２", "３", "４", "５"}) s += std::string(" OR  出演者") + k + " = '" + cast + "*'";
    s += ") AND (音声日本語１ = 32767";
    for (const char* f : {"音声日本語２", "音声日本語３", "音声英語１", "音声英語２", "音声英語３"})
        s += std::string(" OR  ") + f + " = 32767";
    s += ") AND (音声言語1 = 32767";
    for (int k = 2; k <= 6; ++k) s += " OR  音声言語" + std::to_string(k) + " = 32767";
    s += ") AND 鑑賞日 <= '2030/12/31' AND 回数 <= 32767 AND 収録時間 <= 32767";
    for (int k = 1; k <= 10; ++k) s += " AND IMPRESS" + std::to_string(k) + " = TRUE";
    return toSjis(s);
}

// The same slots with values most titles pass, so that every title runs
// far into the expression before it is decided.
std::string slowestSearchText() {
    std::string s = "CODE > 0 AND 製作年 <= 2010 AND (出演者１ = '*'";
    for (const char* k : {"２", "３", "４", "５"}) s += std::string(" OR  出演者") + k + " = '*'";
    s += " OR  出演者１ = '山田*' OR  出演者１ = 'Tom*' OR  出演者１ = '佐藤*' OR  出演者１ = '鈴木*'";
    s += ") AND 鑑賞日 <= '2030/12/31' AND 回数 <= 32767 AND 収録時間 <= 32767";
    s += " AND (音声日本語１ = 0 OR  音声日本語２ = 0 OR  音声日本語３ = 0 OR  音声英語１ = 0)";
    s += " AND (音声言語1 = 1 OR  音声言語1 = 2 OR  音声言語1 = 3)";
    return toSjis(s);
}

void runSearch(benchmark::State& state, const std::string& text) {
    Table& t = titles();
    t.setFilterText(text);
    t.setFiltered(true);
    for (auto _ : state) {
        t.setFilterText(text);  // parses, tests every title, rebuilds the visible rows
        benchmark::DoNotOptimize(t.recordCount());
    }
    state.counters["visible"] = t.recordCount();
    t.setFiltered(false);
}

void BM_LongestSearchText(benchmark::State& state) { runSearch(state, longestSearchText()); }
void BM_SlowestFullScan(benchmark::State& state) { runSearch(state, slowestSearchText()); }
void BM_TitlePrefix(benchmark::State& state) { runSearch(state, toSjis("CODE > 0 AND タイトル = 'star*'")); }
void BM_ParseLongestText(benchmark::State& state) {
    const std::string text = longestSearchText();
    Table& t = titles();
    for (auto _ : state) benchmark::DoNotOptimize(compileFilter(text, t, true));
}

// The floor under any filter: one field read from every stored title.
void BM_ReadCodeOfEveryTitle(benchmark::State& state) {
    Table& t = titles();
    for (auto _ : state) {
        int64_t sum = 0;
        for (const StoredRow& r : t.storedRows()) sum += r.data.getInt(0);
        benchmark::DoNotOptimize(sum);
    }
}

BENCHMARK(BM_ReadCodeOfEveryTitle)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(BM_LongestSearchText)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(BM_SlowestFullScan)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(BM_TitlePrefix)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(BM_ParseLongestText)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
