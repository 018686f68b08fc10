// Replays the filter fuzzer's seed corpus in the ordinary build: every text
// either compiles and tests rows, or is rejected with DataError.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "data/error.h"
#include "filter_test_support.h"

using namespace tamboro;
using namespace tamboro::testing;

namespace {

namespace fs = std::filesystem;

fs::path corpusDir() { return fs::path(__FILE__).parent_path() / "../../fuzz/corpus/filter"; }

TEST(FilterCorpus, EverySeedCompilesOrIsRejectedCleanly) {
    ASSERT_TRUE(fs::is_directory(corpusDir())) << corpusDir();
    TitleTable t;
    t.add(1, {{"タイトル", txt("Star Wars")}, {"鑑賞日", day(2004, 1, 31)}, {"IMPRESS3", flag(true)}});
    t.add(2, {});
    Table& table = t.open();
    int accepted = 0, rejected = 0;
    for (const auto& e : fs::directory_iterator(corpusDir())) {
        std::ifstream in(e.path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.empty()) continue;
        table.setCaseInsensitiveFilter(bytes[0] & 1);
        try {
            table.setFilterText(bytes.substr(1));
            table.setFiltered(true);
            ++accepted;
        } catch (const DataError&) {
            ++rejected;
            EXPECT_EQ(t.codes().size(), 2u) << e.path() << ": a rejected text must leave no filter";
        }
    }
    EXPECT_GT(accepted, 30);
    EXPECT_GT(rejected, 20);
}

}  // namespace
