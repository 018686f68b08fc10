// tamboro-cli run as a separate program on temporary folders.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "data/catalogue_schema.h"
#include "data/fresh_install.h"
#include "data/packet_file.h"
#include "data/packet_writer.h"
#include "data/sjis.h"

using namespace tamboro;
namespace fs = std::filesystem;

namespace {

struct Folder {
    fs::path path = fs::temp_directory_path() /
                    ("tamboro-cli-" + std::to_string(std::random_device()()) + std::to_string(::getpid()));
    Folder() { fs::create_directories(path); }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

struct CliRun {
    int status = -1;
    std::string out, err;
};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

CliRun cli(const std::string& args, const fs::path& scratch) {
    fs::path errFile = scratch / "stderr.txt";
    // Bounded, so that a run that hangs fails instead of stopping the suite.
    std::string cmd = "timeout 30 " + std::string(TAMBORO_CLI) + " " + args + " 2>'" + errFile.string() + "'";
    CliRun r;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    if (!pipe) return r;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) r.out.append(buf, n);
    int st = ::pclose(pipe);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    r.err = slurp(errFile);
    return r;
}

// A catalogue folder with two titles (one with awkward text) and the rest
// of a fresh installation.
void makeCatalogue(const fs::path& dir) {
    Packet p;
    p.schema = schemaOf(CatalogueTable::Dvd);
    RowBuilder b(p.schema.size());
    const Schema& s = p.schema;
    b.setInt(s.indexOf("CODE"), 2);
    b.setText(s.indexOf(sj("タイトル")), sj("千と千尋の神隠し"));
    b.setReal(s.indexOf(sj("価格")), 4700);
    p.rows.push_back({b.finish(), 0});
    b.setInt(s.indexOf("CODE"), 1);
    b.setText(s.indexOf(sj("タイトル")), "Tom, \"Jerry\"\tand\nfriends");
    p.rows.push_back({b.finish(), 0});
    replaceFileContent(dir / "DvdData.xml", writePacket(p, false));
    createMissingFiles(dir);
}

// Each test starts from such a catalogue in a fresh folder.
struct Cli : ::testing::Test {
    Folder dir;
    void SetUp() override { makeCatalogue(dir.path); }
};

}  // namespace

TEST_F(Cli, CheckListsEveryFileWithItsRows) {
    CliRun r = cli("check --dir '" + dir.path.string() + "'", dir.path);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "DvdData.xml\t2\nGenre.xml\t6\nGenre2.xml\t0\nSound.xml\t0\nHistory.xml\t0\nImpress.xml\t10\nLange.xml\t0\n");
}

TEST_F(Cli, CheckReportsABadFileAndFails) {
    { std::ofstream(dir.path / "Sound.xml") << "<DATAPACKET>"; }
    fs::remove(dir.path / "History.xml");
    CliRun r = cli("check --dir=" + dir.path.string(), dir.path);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Sound.xml\tデータパケットが間違っています: Sound.xml: byte 12: "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("History.xml\tデータプロバイダ/パケットがありません\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("DvdData.xml\t2\n"), std::string::npos) << r.out;
}

TEST_F(Cli, CheckRefusesAFifoInPlaceOfADataFileAtOnce) {
    fs::remove(dir.path / "DvdData.xml");
    ASSERT_EQ(::mkfifo((dir.path / "DvdData.xml").c_str(), 0600), 0);
    CliRun r = cli("check --dir " + dir.path.string(), dir.path);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.out.find("DvdData.xml\tファイル '" + (dir.path / "DvdData.xml").string() +
                         "' は通常のファイルではないため使えません (名前付きパイプ)\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Genre.xml\t6\n"), std::string::npos) << r.out;
}

// Output that could not be written must not pass for a whole listing.
TEST_F(Cli, FailsWhenItsOutputCannotBeWritten) {
    for (const std::string& command : {std::string("list"), std::string("list --format json"), std::string("check")}) {
        CliRun r = cli(command + " --dir " + dir.path.string() + " >/dev/full", dir.path);
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_EQ(r.err, "tamboro-cli: the output could not be written: No space left on device\n") << command;
    }
}

TEST_F(Cli, ListsChosenFieldsInTableOrderInEachFormat) {
    std::string base = "list --dir " + dir.path.string() + " --fields CODE,タイトル,価格,購入日";
    CliRun tsv = cli(base, dir.path);
    EXPECT_EQ(tsv.status, 0) << tsv.err;
    EXPECT_EQ(tsv.out, "CODE\tタイトル\t価格\t購入日\n1\tTom, \"Jerry\"\\tand\\nfriends\t\t\n2\t千と千尋の神隠し\t¥4,700\t\n");
    CliRun csv = cli(base + " --format csv", dir.path);
    EXPECT_EQ(csv.out, "CODE,タイトル,価格,購入日\r\n1,\"Tom, \"\"Jerry\"\"\tand\nfriends\",,\r\n2,千と千尋の神隠し,\"¥4,700\",\r\n");
    CliRun json = cli(base + " --format json", dir.path);
    EXPECT_EQ(json.out,
              "[\n{\"CODE\": \"1\", \"タイトル\": \"Tom, \\\"Jerry\\\"\\tand\\nfriends\", \"価格\": null, \"購入日\": null},\n"
              "{\"CODE\": \"2\", \"タイトル\": \"千と千尋の神隠し\", \"価格\": \"¥4,700\", \"購入日\": null}\n]\n");
}

TEST_F(Cli, ListsAllFieldsOfASmallTableByDefault) {
    CliRun r = cli("list --table Impress.xml --dir " + dir.path.string(), dir.path);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "IMP_NO\tIMP_NAME");
    EXPECT_NE(r.out.find("\n10\t家族向け\n"), std::string::npos) << r.out;
}

TEST_F(Cli, RejectsBadCommandLines) {
    const std::string d = " --dir " + dir.path.string();
    for (const std::string& args : {std::string("frobnicate"), "list --format xml" + d, "list --table CNone" + d,
                                    "list --fields" + d, "check --to x" + d, "resave" + d, "list extra" + d}) {
        CliRun r = cli(args, dir.path);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_FALSE(r.err.empty()) << args;
        EXPECT_TRUE(r.out.empty()) << args;
    }
    CliRun r = cli("list --fields 存在しない" + d, dir.path);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("項目 '存在しない' が見つかりません"), std::string::npos) << r.err;
}

TEST_F(Cli, ResaveWritesElsewhereAndLeavesTheDataAlone) {
    Folder out;
    const std::string before = slurp(dir.path / "DvdData.xml");
    CliRun r = cli("resave --dir " + dir.path.string() + " --to " + (out.path / "copy").string(), dir.path);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(slurp(dir.path / "DvdData.xml"), before);
    EXPECT_EQ(slurp(out.path / "copy" / "DvdData.xml"), before);
    EXPECT_EQ(slurp(out.path / "copy" / "Impress.xml"), slurp(dir.path / "Impress.xml"));
    EXPECT_TRUE(fs::exists(out.path / "copy" / "Genre.xml"));  // the built-in genres
    CliRun same = cli("resave --dir " + dir.path.string() + " --to " + dir.path.string(), dir.path);
    EXPECT_EQ(same.status, 2);
}

TEST_F(Cli, ListFiltersWithTheSearchLanguageAndOrders) {
    const std::string d = " --dir " + dir.path.string() + " --fields CODE";
    CliRun r = cli("list --filter \"CODE > 0 AND タイトル = 'tom*'\"" + d, dir.path);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "CODE\n1\n");  // case-insensitive, as the program's title table
    CliRun ordered = cli("list --order タイトル" + d, dir.path);
    EXPECT_EQ(ordered.out, "CODE\n1\n2\n");
    CliRun bad = cli("list --filter \"タイトル = 'abc\"" + d, dir.path);
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("文字列定数が不完全です"), std::string::npos) << bad.err;
    EXPECT_TRUE(bad.out.empty());
}

TEST_F(Cli, ExportWritesEveryTableAsUtf8AndNeverTheDataFiles) {
    Folder out;
    const std::string before = slurp(dir.path / "DvdData.xml");
    CliRun r = cli("export --dir " + dir.path.string() + " --to " + out.path.string(), dir.path);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(slurp(dir.path / "DvdData.xml"), before);
    const std::string dvd = slurp(out.path / "CDvd.csv");
    EXPECT_EQ(dvd.substr(0, dvd.find(',', 5)), "CODE,ジャンル１");
    // The line break inside the title stays, quoted.
    EXPECT_NE(dvd.find("\"Tom, \"\"Jerry\"\"\tand\nfriends\""), std::string::npos);
    EXPECT_NE(slurp(out.path / "CImpress.csv").find("10,家族向け"), std::string::npos);
    for (const char* f : {"CGenre.csv", "CGenre2.csv", "CSound.csv", "CLange.csv", "CHistory.csv"})
        EXPECT_TRUE(fs::exists(out.path / f)) << f;
    CliRun json = cli("export --format json --dir " + dir.path.string() + " --to " + out.path.string(), dir.path);
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(slurp(out.path / "CSound.json"), "[\n]\n");
}

#ifdef TAMBORO_CLI_REPORT
// The report needs no display: a platform that would need one is overridden.
TEST_F(Cli, ReportWritesThePdfOfTheListedTitles) {
    const fs::path pdf = dir.path / "一覧.pdf";
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    CliRun r = cli("report --dir " + dir.path.string() + " --to " + pdf.string() + " --filter 'CODE > 1' --genre1 洋画",
                   dir.path);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, pdf.string() + "\t1 pages\t1 titles\n");
    EXPECT_EQ(slurp(pdf).substr(0, 5), "%PDF-");

    CliRun none = cli("report --dir " + dir.path.string() + " --to " + pdf.string() + " --filter 'CODE > 9'", dir.path);
    EXPECT_EQ(none.status, 0) << none.err;
    EXPECT_EQ(none.out, pdf.string() + "\t1 pages\t0 titles\n");

    const fs::path nowhere = dir.path / "missing" / "x.pdf";
    CliRun bad = cli("report --dir " + dir.path.string() + " --to " + nowhere.string(), dir.path);
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find(nowhere.string()), std::string::npos) << bad.err;
    EXPECT_FALSE(fs::exists(nowhere));
    EXPECT_EQ(cli("report --dir " + dir.path.string(), dir.path).status, 2);
}
#endif

// Not run from the installation's bin folder, the companion reads the
// catalogue of the folder it is started in, as the program reads the one
// it sits in.
TEST_F(Cli, WithoutDirReadsTheCurrentFolderWhenNotInstalled) {
    const fs::path before = fs::current_path();
    fs::current_path(dir.path);
    CliRun r = cli("check", dir.path);
    fs::current_path(before);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("DvdData.xml\t2\n"), std::string::npos) << r.out;
}
