#include "support/catalogue_generator.h"

#include <random>
#include <string>
#include <vector>

#include "data/catalogue_schema.h"
#include "data/locale_jp.h"
#include "data/sjis.h"

namespace tamboro::bench {

namespace {

const char* const kWordsJ[] = {"星", "海", "風", "夜明け", "戦士", "約束", "記憶", "東京", "青春", "伝説",
                               "剣", "宇宙", "少年", "恋", "影", "迷宮", "帰還", "旅", "桜", "嵐",
                               "サムライ", "ひまわり", "雪国", "忍者", "探偵", "時計", "龍", "天使", "森", "月",
                               "あしたの", "きみ", "ロボット", "学園", "港町", "花火", "銀河", "鉄道", "猫", "夏"};
const char* const kWordsL[] = {"Star", "Ocean", "Night", "Return", "Legend", "Dark", "Lost", "City",
                               "Dream", "Storm", "Blue", "Empire", "Eleven", "Code", "Angel", "Zero",
                               "River", "Moon", "Ghost", "Hunter", "Silent", "Golden", "Red", "Winter",
                               "Summer", "Kingdom", "Secret", "Last", "First", "Wild", "Iron", "Glass"};
const char* const kNames[] = {"山田 太郎", "佐藤 花子", "Tom Hanks", "鈴木 一郎", "高橋 美咲", "Meryl Streep",
                              "田中 健", "渡辺 謙", "Audrey Hepburn", "伊藤 真", "小林 薫", "Brad Pitt"};
const char* const kCountries[] = {"日本", "アメリカ", "イギリス", "フランス", "韓国", "香港"};
const char* const kMemo[] = {"とても面白かった。", "映像が美しい。", "二回目の鑑賞。", "Special edition.",
                             "音楽が印象的だった。", "原作とは結末が違う。", "家族で観た。"};

template <class A>
const char* pick(std::mt19937& r, const A& a) {
    return a[r() % (sizeof(a) / sizeof(a[0]))];
}

std::string title(std::mt19937& r) {
    std::string t;
    int words = 1 + static_cast<int>(r() % 3);
    bool latin = r() % 3 == 0;
    for (int i = 0; i < words; ++i) {
        if (latin) {
            if (i) t += ' ';
            t += pick(r, kWordsL);
        } else {
            if (i) t += "の";
            t += pick(r, kWordsJ);
        }
    }
    // Sequels and editions, as real collections have them.
    switch (r() % 8) {
    case 0: t.append(" ").append(std::to_string(2 + r() % 4)); break;
    case 1: t.append(latin ? " Returns" : "・完全版"); break;
    case 2:
        t.append(latin ? ": Part " : "　第").append(std::to_string(1 + r() % 12)).append(latin ? "" : "話");
        break;
    default: break;
    }
    return toSjis(t);
}

std::string memo(std::mt19937& r, int lines) {
    std::string m;
    for (int i = 0; i < lines; ++i) {
        if (i) m += "\r\n";
        m += pick(r, kMemo);
        m += pick(r, kMemo);
    }
    return toSjis(m);
}

}  // namespace

Packet generateDvdPacket(int n, uint32_t seed) {
    std::mt19937 r(seed);
    Packet p;
    p.schema = schemaOf(CatalogueTable::Dvd);
    const Schema& s = p.schema;
    auto F = [&](std::string_view name) { return s.indexOf(toSjis(name)); };
    const int code = F(fld::Code), g1 = F(fld::Genre1), g2 = F(fld::Genre2), box = F(fld::BoxNo),
              dvd = F(fld::DvdNo), ti = F(fld::Title), sub = F(fld::SubTitle), en = F(fld::EnglishTitle),
              buy = F(fld::PurchaseDate), rate = F(fld::Rating), pic = F(fld::PictureLevel),
              snd = F(fld::SoundLevel), com = F(fld::Comment), seen = F(fld::WatchedDate),
              cnt = F(fld::WatchCount), story = F(fld::Story), year = F(fld::Year), ctry = F(fld::Country),
              dir = F(fld::Director), price = F(fld::Price), time = F(fld::RunningTime), color = F(fld::Color),
              rel = F(fld::ReleaseDate), s6 = F(fld::DvdRating), s7 = F(fld::MovieRating);
    RowBuilder b(s.size());
    const int32_t base = dayNumber(1995, 1, 1);
    p.rows.reserve(static_cast<size_t>(n));
    for (int i = 1; i <= n; ++i) {
        b.setInt(code, i);
        int genre = static_cast<int>(r() % 6 + 1) * 100;
        b.setInt(g1, genre == 600 ? 900 : genre);
        b.setInt(g2, static_cast<int>(r() % 5 + 1));
        b.setText(box, "BOX-" + std::to_string(r() % 50));
        b.setText(dvd, std::to_string(i));
        b.setText(ti, title(r));
        if (r() % 2) b.setText(sub, title(r));
        if (r() % 3) b.setText(en, toSjis(std::string(pick(r, kWordsL)) + " " + pick(r, kWordsL)));
        b.setInt(buy, base + static_cast<int>(r() % 9000));
        b.setInt(rate, r() % 6);
        b.setInt(pic, r() % 6);
        b.setInt(snd, r() % 6);
        b.setText(com, memo(r, 1 + static_cast<int>(r() % 6)));
        if (r() % 4) {
            b.setInt(seen, base + static_cast<int>(r() % 9000));
            b.setInt(cnt, 1 + r() % 5);
        }
        for (int k = 1; k <= 10; ++k) b.setBool(F(fld::impress(k)), r() % 4 == 0);
        b.setText(story, memo(r, 2 + static_cast<int>(r() % 8)));
        b.setInt(year, 1950 + r() % 60);
        b.setText(ctry, toSjis(pick(r, kCountries)));
        b.setText(dir, toSjis(pick(r, kNames)));
        int castCount = static_cast<int>(r() % 6);
        for (int k = 1; k <= castCount; ++k) b.setText(F(fld::cast(k)), toSjis(pick(r, kNames)));
        b.setInt(rel, base + static_cast<int>(r() % 9000));
        b.setReal(price, 980 + (r() % 50) * 100);
        b.setInt(time, 60 + r() % 120);
        b.setBool(color, r() % 10 != 0);
        for (int k = 1; k <= 3; ++k) b.setInt(F(fld::soundJapanese(k)), r() % 4);
        b.setInt(F(fld::language(1)), 1 + r() % 3);
        for (std::string_view f : {fld::Squeeze, fld::MultiAngle, fld::MultiStory, fld::SubJapanese,
                                   fld::SubEnglish, fld::SubDubbed, fld::SubOther})
            b.setBool(F(f), r() % 2 == 0);
        for (int k = 1; k <= 3; ++k) b.setBool(F(fld::aspect(k)), r() % 3 == 0);
        for (int k = 1; k <= 5; ++k) b.setInt(F(fld::spare(k)), r() % 6);
        b.setText(s6, std::to_string(r() % 6));
        b.setText(s7, std::to_string(r() % 6));
        p.rows.push_back({b.finish(), 0});
    }
    return p;
}

Packet generateHistoryPacket(int n, uint32_t seed) {
    std::mt19937 r(seed);
    Packet p;
    p.schema = schemaOf(CatalogueTable::History);
    RowBuilder b(p.schema.size());
    const int32_t base = dayNumber(2000, 1, 1);
    for (int i = 1; i <= n; ++i) {
        int views = static_cast<int>(r() % 4);
        for (int v = 0; v < views; ++v) {
            b.setInt(0, i);
            b.setInt(1, base + static_cast<int>(r() % 9000));
            if (r() % 2) b.setText(2, toSjis(pick(r, kMemo)));
            p.rows.push_back({b.finish(), 0});
        }
    }
    return p;
}

}  // namespace tamboro::bench
