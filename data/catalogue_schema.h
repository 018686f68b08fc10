#pragma once
#include <string_view>

#include "data/packet.h"
#include "data/schema.h"

// The seven catalogue tables: their fields, files, orders and links.
// Field names here are UTF-8; tables hold them in Shift-JIS (use sj()).
namespace tamboro::fld {

constexpr std::string_view Code = "CODE";
constexpr std::string_view Genre1 = "ジャンル１";
constexpr std::string_view Genre2 = "ジャンル２";
constexpr std::string_view BoxNo = "BOX番号";
constexpr std::string_view DvdNo = "DVD番号";
constexpr std::string_view Title = "タイトル";
constexpr std::string_view SubTitle = "サブタイトル";
constexpr std::string_view EnglishTitle = "英語タイトル";
constexpr std::string_view PurchaseDate = "購入日";
constexpr std::string_view Rating = "評価";
constexpr std::string_view PictureLevel = "画質レベル";
constexpr std::string_view SoundLevel = "音声レベル";
constexpr std::string_view Comment = "コメント";
constexpr std::string_view WatchedDate = "鑑賞日";
constexpr std::string_view WatchCount = "回数";
constexpr std::string_view Story = "ストーリー";
constexpr std::string_view Year = "製作年";
constexpr std::string_view Country = "製作国";
constexpr std::string_view Director = "監督";
constexpr std::string_view Direction = "演出";
constexpr std::string_view Production = "製作";
constexpr std::string_view ExecProducer = "製作総指揮";
constexpr std::string_view Photography = "撮影";
constexpr std::string_view Music = "音楽";
constexpr std::string_view Original = "原作";
constexpr std::string_view Screenplay = "脚本";
constexpr std::string_view VoiceActors = "声優";
constexpr std::string_view Awards = "アワード";
constexpr std::string_view ProductNo = "品番";
constexpr std::string_view ReleaseDate = "発売日";
constexpr std::string_view Publisher = "発売元";
constexpr std::string_view Distributor = "販売元";
constexpr std::string_view Price = "価格";
constexpr std::string_view Region = "リージョン";
constexpr std::string_view DiscFormat = "記録形式";
constexpr std::string_view DiscFormatMemo = "記録形式メモ";
constexpr std::string_view Discs = "枚数";
constexpr std::string_view RunningTime = "収録時間";
constexpr std::string_view Compression = "圧縮レベル";
constexpr std::string_view Color = "カラー";
constexpr std::string_view ScreenSize = "画面サイズ";
constexpr std::string_view Squeeze = "スクイーズ";
constexpr std::string_view MultiAngle = "マルチアングル";
constexpr std::string_view MultiStory = "マルチストーリー";
constexpr std::string_view SubJapanese = "字幕日本語";
constexpr std::string_view SubEnglish = "字幕英語";
constexpr std::string_view SubDubbed = "字幕日本語吹替用";
constexpr std::string_view SubOther = "字幕その他";
constexpr std::string_view Bonus = "特典";
constexpr std::string_view DvdRating = "予備６";
constexpr std::string_view MovieRating = "予備７";
constexpr std::string_view Edition = "予備１１";

// Numbered families; k counts from 1.
std::string_view impress(int k);        // IMPRESS1..IMPRESS10
std::string_view cast(int k);           // 出演者１..出演者５
std::string_view soundJapanese(int k);  // 音声日本語１..３
std::string_view soundEnglish(int k);   // 音声英語１..３
std::string_view aspect(int k);         // 画面アスペクト１..５
std::string_view spare(int k);          // 予備１..予備２５
std::string_view language(int k);       // 音声言語1..6

constexpr std::string_view GenreCode1 = "GENRE_CODE1";
constexpr std::string_view GenreName = "GENRE_NAME";
constexpr std::string_view GenreCode2 = "GENRE_CODE2";
constexpr std::string_view GenreName2 = "GENRE_NAME2";
constexpr std::string_view SoundCd = "SOUND_CD";
constexpr std::string_view SoundName = "SOUND_NAME";
constexpr std::string_view LangeCd = "LANGE_CD";
constexpr std::string_view LangeName = "LANGE_NAME";
constexpr std::string_view ImpNo = "IMP_NO";
constexpr std::string_view ImpName = "IMP_NAME";
constexpr std::string_view AppRecDate = "APPREC_DATE";
constexpr std::string_view Coment = "COMENT";

}  // namespace tamboro::fld

namespace tamboro {

enum class CatalogueTable { Dvd, Genre, Genre2, Sound, Lange, Impress, History };

struct TableDefinition {
    std::string_view tableName;   // "CDvd"
    std::string_view sourceName;  // "DvdSource"
    std::string_view fileName;    // "DvdData.xml"
    std::string_view indexFields; // UTF-8, ";"-separated
    std::string_view masterLink;  // link field of the master, empty when none
};

const TableDefinition& definitionOf(CatalogueTable t);
// The table's schema with Shift-JIS names, as a fresh file would hold it.
const Schema& schemaOf(CatalogueTable t);
// The genre list's built-in rows (100 洋画 … 900 その他) as a packet.
Packet builtinGenrePacket();

}  // namespace tamboro
