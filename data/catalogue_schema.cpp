#include "data/catalogue_schema.h"

#include <array>
#include <string>

#include "data/sjis.h"

namespace tamboro::fld {

namespace {
constexpr std::array<std::string_view, 10> kImpress = {
    "IMPRESS1", "IMPRESS2", "IMPRESS3", "IMPRESS4", "IMPRESS5",
    "IMPRESS6", "IMPRESS7", "IMPRESS8", "IMPRESS9", "IMPRESS10"};
constexpr std::array<std::string_view, 5> kCast = {"出演者１", "出演者２", "出演者３", "出演者４",
                                                   "出演者５"};
constexpr std::array<std::string_view, 3> kSoundJ = {"音声日本語１", "音声日本語２", "音声日本語３"};
constexpr std::array<std::string_view, 3> kSoundE = {"音声英語１", "音声英語２", "音声英語３"};
constexpr std::array<std::string_view, 5> kAspect = {"画面アスペクト１", "画面アスペクト２",
                                                     "画面アスペクト３", "画面アスペクト４",
                                                     "画面アスペクト５"};
constexpr std::array<std::string_view, 25> kSpare = {
    "予備１",   "予備２",   "予備３",   "予備４",   "予備５",   "予備６",   "予備７",
    "予備８",   "予備９",   "予備１０", "予備１１", "予備１２", "予備１３", "予備１４",
    "予備１５", "予備１６", "予備１７", "予備１８", "予備１９", "予備２０", "予備２１",
    "予備２２", "予備２３", "予備２４", "予備２５"};
constexpr std::array<std::string_view, 6> kLanguage = {"音声言語1", "音声言語2", "音声言語3",
                                                       "音声言語4", "音声言語5", "音声言語6"};

template <size_t N>
std::string_view pick(const std::array<std::string_view, N>& a, int k) {
    return (k >= 1 && static_cast<size_t>(k) <= N) ? a[static_cast<size_t>(k - 1)] : std::string_view();
}
}  // namespace

std::string_view impress(int k) { return pick(kImpress, k); }
std::string_view cast(int k) { return pick(kCast, k); }
std::string_view soundJapanese(int k) { return pick(kSoundJ, k); }
std::string_view soundEnglish(int k) { return pick(kSoundE, k); }
std::string_view aspect(int k) { return pick(kAspect, k); }
std::string_view spare(int k) { return pick(kSpare, k); }
std::string_view language(int k) { return pick(kLanguage, k); }

}  // namespace tamboro::fld

namespace tamboro {

namespace {

using FT = FieldType;

struct Spec {
    std::string_view name;
    FT type;
    int width;
};

std::vector<Spec> dvdFields() {
    std::vector<Spec> s = {
        {fld::Code, FT::Int32, 0},         {fld::Genre1, FT::Int16, 0},
        {fld::Genre2, FT::Int16, 0},       {fld::BoxNo, FT::String, 20},
        {fld::DvdNo, FT::String, 20},      {fld::Title, FT::String, 60},
        {fld::SubTitle, FT::String, 60},   {fld::EnglishTitle, FT::String, 60},
        {fld::PurchaseDate, FT::Date, 0},  {fld::Rating, FT::Int16, 0},
        {fld::PictureLevel, FT::Int16, 0}, {fld::SoundLevel, FT::Int16, 0},
        {fld::Comment, FT::Memo, 0},       {fld::WatchedDate, FT::Date, 0},
        {fld::WatchCount, FT::Int16, 0},
    };
    for (int k = 1; k <= 10; ++k) s.push_back({fld::impress(k), FT::Boolean, 0});
    const Spec middle[] = {
        {fld::Story, FT::Memo, 0},          {fld::Year, FT::Int16, 0},
        {fld::Country, FT::String, 40},     {fld::Director, FT::String, 40},
        {fld::Direction, FT::Memo, 0},      {fld::Production, FT::String, 40},
        {fld::ExecProducer, FT::String, 40}, {fld::Photography, FT::String, 40},
        {fld::Music, FT::String, 40},       {fld::Original, FT::String, 40},
        {fld::Screenplay, FT::String, 40},
    };
    s.insert(s.end(), std::begin(middle), std::end(middle));
    for (int k = 1; k <= 5; ++k) s.push_back({fld::cast(k), FT::String, 40});
    const Spec disc[] = {
        {fld::VoiceActors, FT::Memo, 0},    {fld::Awards, FT::Memo, 0},
        {fld::ProductNo, FT::String, 20},   {fld::ReleaseDate, FT::Date, 0},
        {fld::Publisher, FT::String, 40},   {fld::Distributor, FT::String, 40},
        {fld::Price, FT::Currency, 0},      {fld::Region, FT::String, 20},
        {fld::DiscFormat, FT::String, 20},  {fld::DiscFormatMemo, FT::String, 60},
        {fld::Discs, FT::Int16, 0},         {fld::RunningTime, FT::Int16, 0},
        {fld::Compression, FT::String, 20},
    };
    s.insert(s.end(), std::begin(disc), std::end(disc));
    for (int k = 1; k <= 3; ++k) s.push_back({fld::soundJapanese(k), FT::Int16, 0});
    for (int k = 1; k <= 3; ++k) s.push_back({fld::soundEnglish(k), FT::Int16, 0});
    s.push_back({fld::Color, FT::Boolean, 0});
    s.push_back({fld::ScreenSize, FT::String, 20});
    for (int k = 1; k <= 5; ++k) s.push_back({fld::aspect(k), FT::Boolean, 0});
    const Spec features[] = {
        {fld::Squeeze, FT::Boolean, 0},    {fld::MultiAngle, FT::Boolean, 0},
        {fld::MultiStory, FT::Boolean, 0}, {fld::SubJapanese, FT::Boolean, 0},
        {fld::SubEnglish, FT::Boolean, 0}, {fld::SubDubbed, FT::Boolean, 0},
        {fld::SubOther, FT::Boolean, 0},   {fld::Bonus, FT::Memo, 0},
    };
    s.insert(s.end(), std::begin(features), std::end(features));
    for (int k = 1; k <= 5; ++k) s.push_back({fld::spare(k), FT::Int32, 0});
    for (int k = 6; k <= 10; ++k) s.push_back({fld::spare(k), FT::String, 20});
    for (int k = 11; k <= 20; ++k) s.push_back({fld::spare(k), FT::String, 40});
    for (int k = 21; k <= 23; ++k) s.push_back({fld::spare(k), FT::DateTime, 0});
    for (int k = 24; k <= 25; ++k) s.push_back({fld::spare(k), FT::Memo, 0});
    for (int k = 1; k <= 6; ++k) s.push_back({fld::language(k), FT::Int16, 0});
    return s;
}

std::vector<Spec> smallFields(CatalogueTable t) {
    switch (t) {
    case CatalogueTable::Genre: return {{fld::GenreCode1, FT::Int16, 0}, {fld::GenreName, FT::String, 20}};
    case CatalogueTable::Genre2:
        return {{fld::GenreCode1, FT::Int16, 0}, {fld::GenreCode2, FT::Int16, 0},
                {fld::GenreName2, FT::String, 40}};
    case CatalogueTable::Sound: return {{fld::SoundCd, FT::Int16, 0}, {fld::SoundName, FT::String, 40}};
    case CatalogueTable::Lange: return {{fld::LangeCd, FT::Int16, 0}, {fld::LangeName, FT::String, 40}};
    case CatalogueTable::Impress: return {{fld::ImpNo, FT::Int16, 0}, {fld::ImpName, FT::String, 20}};
    case CatalogueTable::History:
        return {{fld::Code, FT::Int32, 0}, {fld::AppRecDate, FT::Date, 0}, {fld::Coment, FT::String, 200}};
    case CatalogueTable::Dvd: break;
    }
    return {};
}

Schema buildSchema(CatalogueTable t) {
    std::vector<Spec> specs = t == CatalogueTable::Dvd ? dvdFields() : smallFields(t);
    std::vector<FieldDef> defs;
    defs.reserve(specs.size());
    for (const Spec& s : specs) defs.push_back(FieldDef::make(sj(s.name), s.type, s.width));
    return Schema(std::move(defs));
}

}  // namespace

const TableDefinition& definitionOf(CatalogueTable t) {
    static const TableDefinition defs[] = {
        {"CDvd", "DvdSource", "DvdData.xml", "CODE", ""},
        {"CGenre", "GenreSource", "Genre.xml", "GENRE_CODE1", ""},
        {"CGenre2", "GenreSource2", "Genre2.xml", "GENRE_CODE1;GENRE_CODE2", "GENRE_CODE1"},
        {"CSound", "SoundSource", "Sound.xml", "SOUND_CD", ""},
        {"CLange", "LangeSource", "Lange.xml", "LANGE_CD", ""},
        {"CImpress", "ImpressSource", "Impress.xml", "IMP_NO", ""},
        {"CHistory", "HistorySource", "History.xml", "CODE;APPREC_DATE", "CODE"},
    };
    return defs[static_cast<int>(t)];
}

const Schema& schemaOf(CatalogueTable t) {
    static const Schema schemas[] = {
        buildSchema(CatalogueTable::Dvd),    buildSchema(CatalogueTable::Genre),
        buildSchema(CatalogueTable::Genre2), buildSchema(CatalogueTable::Sound),
        buildSchema(CatalogueTable::Lange),  buildSchema(CatalogueTable::Impress),
        buildSchema(CatalogueTable::History),
    };
    return schemas[static_cast<int>(t)];
}

Packet builtinGenrePacket() {
    static const std::pair<int, std::string_view> rows[] = {
        {100, "洋画"}, {200, "邦画"}, {300, "アニメ"}, {400, "音楽"}, {500, "スポーツ"}, {900, "その他"}};
    Packet p;
    p.schema = schemaOf(CatalogueTable::Genre);
    // The built-in packet defines its order on the first field.
    p.params.push_back({"DEFAULT_ORDER", "1", ""});
    RowBuilder b(p.schema.size());
    for (const auto& [code, name] : rows) {
        b.setInt(0, code);
        b.setText(1, sj(name));
        p.rows.push_back({b.finish(), 0});
    }
    return p;
}

}  // namespace tamboro
