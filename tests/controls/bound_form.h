#pragma once
// An in-memory title table and genre list for the bound-control tests.
#include <QApplication>
#include <QStringList>
#include <QTest>

#include "controls/message_boxes.h"
#include "controls/warning_beep.h"
#include "data/data_source.h"
#include "tests/data/table_fixture.h"

namespace tamboro::test {

inline std::vector<FieldDef> titleFields() {
    return {FieldDef::make("CODE", FieldType::Int32),
            FieldDef::make(sj("タイトル"), FieldType::String, 20),
            FieldDef::make(sj("製作年"), FieldType::Int16),
            FieldDef::make(sj("価格"), FieldType::Currency),
            FieldDef::make(sj("コメント"), FieldType::Memo),
            FieldDef::make("IMPRESS1", FieldType::Boolean),
            FieldDef::make(sj("ジャンル１"), FieldType::Int16),
            FieldDef::make(sj("カラー"), FieldType::Boolean),
            FieldDef::make(sj("評価"), FieldType::Int16)};
}

inline std::vector<FieldDef> genreFields() {
    return {FieldDef::make("GENRE_CODE1", FieldType::Int16), FieldDef::make("GENRE_NAME", FieldType::String, 30)};
}

// Types text one character at a time, as key presses carrying that text
// (QTest::keyClicks takes ASCII only).
inline void typeText(QWidget* w, const QString& text) {
    for (QChar c : text) {
        const QString one(c);
        const Qt::Key key = c.unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Press, w, key, one, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, w, key, one, Qt::NoModifier);
    }
}

inline Value R(double v) { return Value::real(v); }
inline Value B(bool v) { return Value::boolean(v); }

// Two titles and three genres, both tables open, and the message boxes and
// the beep replaced by counters.
struct BoundData {
    Table titles{"CDvd", "/nonexistent/DvdData.xml", Schema(titleFields())};
    Table genres{"CGenre", "/nonexistent/Genre.xml", Schema(genreFields())};
    DataSource dvdSource{"DvdSource", titles};
    DataSource genreSource{"GenreSource", genres};
    QStringList errors;     // what the default error box would show
    QStringList questions;  // the other boxes' texts, each answered with answer
    bool answer = true;
    int beeps = 0;
    BoxHook previousBoxHook;

    BoundData() {
        titles.setIndexFields("CODE");
        titles.openFrom(makePacket(
            titleFields(),
            {{I(1), S("ローマの休日"), I(1953), R(1980), S("一行目\r\n二行目"), B(true), I(2), B(true), I(3)},
             {I(2), S("七人の侍"), I(1954), N(), N(), N(), I(9), B(false), I(5)}}));
        genres.setIndexFields("GENRE_CODE1");
        genres.openFrom(makePacket(genreFields(), {{I(1), S("アクション")}, {I(2), S("ロマンス")}, {I(3), S("時代劇")}}));
        previousBoxHook = setBoxHook([this](const BoxShown& box) {
            (box.kind == BoxKind::Error ? errors : questions) << box.text;
            return answer;
        });
        setWarningBeepHook([this] { ++beeps; });
    }
    ~BoundData() {
        setBoxHook(std::move(previousBoxHook));
        setWarningBeepHook({});
    }

    template <class Control>
    void bind(Control* c, const char* utf8Field) {
        c->setDataSource(&dvdSource);
        c->setDataField(utf8Field);
    }
    QString text(std::string_view utf8Field) { return QString::fromStdString(titles.fieldU8(utf8Field).displayTextUtf8()); }
};

}  // namespace tamboro::test
