#pragma once
// Shared by the main window's test suites: a catalogue in a fresh temporary
// folder; helpers for modal windows and message boxes come from the controls'.
#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "data/catalogue_schema.h"
#include "data/data_module.h"
#include "data/fresh_install.h"
#include "data/sjis.h"
#include "tests/controls/window_test_support.h"

namespace tamboro::test {

struct TitleSpec {
    std::string title;   // UTF-8
    int genre1 = 0;
    int genre2 = 0;
};

// A dozen titles in Japanese, entered in this order (CODE 1 to 12).
inline std::vector<TitleSpec> dozenTitles() {
    return {{"七人の侍", 200, 1},           {"スター・ウォーズ", 100, 2}, {"となりのトトロ", 300, 1},
            {"ローマの休日", 100, 1},       {"東京物語", 200, 2},         {"千と千尋の神隠し", 300, 1},
            {"カサブランカ", 100, 1},       {"羅生門", 200, 1},           {"ゴッドファーザー", 100, 3},
            {"もののけ姫", 300, 1},         {"雨に唄えば", 400, 1},       {"アマデウス", 400, 2}};
}

// A catalogue folder with every data file, the given titles, three sound
// formats and two audio languages; the settings file path is beside them.
// extra, if given, adds to the open catalogue before it is saved.
class CatalogueFolder {
public:
    explicit CatalogueFolder(const std::vector<TitleSpec>& titles = dozenTitles(),
                             const std::function<void(TDM1&)>& extra = {}) {
        createMissingFiles(path());
        TDM1 dm(path());
        dm.openAtCreation();
        dm.OpenForEditor();
        for (const TitleSpec& t : titles) {
            dm.AddNewTitle();
            dm.CDvd.fieldU8(fld::Title).setString(sj(t.title));
            dm.CDvd.fieldU8(fld::Genre1).setInteger(t.genre1);
            dm.CDvd.fieldU8(fld::Genre2).setInteger(t.genre2);
            dm.CDvd.post();
        }
        addRow(dm.CSound, fld::SoundCd, fld::SoundName, {{1, "ドルビーデジタル5.1ch"}, {2, "DTS"}, {3, "モノラル"}});
        addRow(dm.CLange, fld::LangeCd, fld::LangeName, {{1, "日本語"}, {2, "英語"}});
        if (extra) extra(dm);
        dm.closeCatalogue();
    }

    std::filesystem::path path() const { return std::filesystem::path(dir_.path().toStdString()); }
    std::filesystem::path file(const char* name) const { return path() / name; }
    std::filesystem::path iniFile() const { return path() / "tamboro.INI"; }

    static void addRow(Table& t, std::string_view codeField, std::string_view nameField,
                       std::initializer_list<std::pair<int, const char*>> rows) {
        for (const auto& [code, name] : rows) {
            t.append();
            t.fieldU8(codeField).setInteger(code);
            t.fieldU8(nameField).setString(sj(name));
            t.post();
        }
    }

private:
    QTemporaryDir dir_;
};

// A catalogue for searches: nine titles that differ in every criterion.
// Fields of a title by UTF-8 name, with their texts as typed.
using FieldTexts = std::vector<std::pair<const char*, const char*>>;

struct SearchTitle {
    TitleSpec spec;
    FieldTexts fields;
};

inline const std::vector<SearchTitle>& searchTitles() {
    static const std::vector<SearchTitle> titles = {
        {{"スター・ウォーズ", 3, 1},
         {{"評価", "5"}, {"IMPRESS2", "True"}, {"製作年", "1977"}, {"製作国", "アメリカ"}, {"監督", "ジョージ・ルーカス"},
          {"出演者２", "マーク・ハミル"}, {"音声英語３", "2"}, {"音声言語3", "2"}, {"回数", "3"}, {"鑑賞日", "2004/01/10"},
          {"収録時間", "121"}, {"画質レベル", "4"}, {"音声レベル", "5"}, {"予備１", "3"}}},
        {{"スタンド・バイ・ミー", 3, 2},
         {{"評価", "4"}, {"IMPRESS2", "True"}, {"製作年", "1986"}, {"製作国", "アメリカ"}, {"監督", "ロブ・ライナー"},
          {"回数", "1"}, {"鑑賞日", "2003/05/01"}, {"収録時間", "89"}}},
        {{"スター・トレック", 100, 1}, {{"評価", "5"}, {"IMPRESS2", "True"}, {"製作年", "1979"}, {"製作国", "アメリカ"}}},
        {{"七人の侍", 200, 1},
         {{"評価", "5"}, {"IMPRESS3", "True"}, {"IMPRESS7", "True"}, {"製作年", "1954"}, {"製作国", "日本"},
          {"監督", "黒澤明"}, {"出演者１", "三船敏郎"}, {"音声日本語２", "3"}, {"音声言語1", "1"}, {"収録時間", "207"}}},
        {{"Star Wars", 100, 2}, {{"評価", "3"}, {"製作国", "USA"}}},
        {{"羅生門", 200, 1},
         {{"IMPRESS3", "True"}, {"製作年", "1950"}, {"製作国", "日本"}, {"監督", "黒澤明"}, {"出演者３", "三船敏郎"},
          {"収録時間", "88"}}},
        {{"となりのトトロ", 300, 1},
         {{"評価", "3"}, {"IMPRESS7", "True"}, {"製作年", "1988"}, {"製作国", "日本"}, {"監督", "宮崎駿"}}},
        {{"STARSHIP", 400, 1}, {}},
        {{"Rock'n Roll", 400, 2}, {}},
    };
    return titles;
}

inline void gotoCode(Table& t, std::string_view codeField, int code) {
    t.setKey();
    t.fieldU8(codeField).setInteger(code);
    QVERIFY(t.gotoKey());
}

// Completes a catalogue made from searchTitleSpecs(): the titles' fields,
// and the major genres: the built-in six plus "SF" (code 3); SF and 洋画
// have two sub-genres each, スポーツ has 120.
inline void addSearchTestData(TDM1& dm) {
    CatalogueFolder::addRow(dm.CGenre, fld::GenreCode1, fld::GenreName, {{3, "SF"}});
    auto addSubGenre = [&dm](int major, int code, const std::string& name) {
        gotoCode(dm.CGenre, fld::GenreCode1, major);
        dm.CGenre2.append();
        dm.CGenre2.fieldU8(fld::GenreCode1).setInteger(major);
        dm.CGenre2.fieldU8(fld::GenreCode2).setInteger(code);
        dm.CGenre2.fieldU8(fld::GenreName2).setString(sj(name));
        dm.CGenre2.post();
    };
    addSubGenre(3, 1, "宇宙");
    addSubGenre(3, 2, "青春");
    addSubGenre(100, 1, "アクション");
    addSubGenre(100, 2, "ドラマ");
    for (int code = 1; code <= 120; ++code) addSubGenre(500, code, "競技" + std::to_string(code));
    int code = 0;
    for (const SearchTitle& t : searchTitles()) {
        gotoCode(dm.CDvd, fld::Code, ++code);
        dm.CDvd.edit();
        for (const auto& [field, text] : t.fields) dm.CDvd.fieldU8(field).setText(sj(text));
        dm.CDvd.post();
    }
}

inline std::vector<TitleSpec> searchTitleSpecs() {
    std::vector<TitleSpec> out;
    for (const SearchTitle& t : searchTitles()) out.push_back(t.spec);
    return out;
}

inline QString u8(const std::string& sjis) { return QString::fromStdString(toUtf8(sjis)); }

}  // namespace tamboro::test
