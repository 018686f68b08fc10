#include <gtest/gtest.h>

#include "data/locale_jp.h"
#include "table_fixture.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

std::vector<FieldDef> allTypes() {
    return {FieldDef::make("I4", FieldType::Int32),      FieldDef::make("I2", FieldType::Int16),
            FieldDef::make("S", FieldType::String, 20),  FieldDef::make("D", FieldType::Date),
            FieldDef::make("DT", FieldType::DateTime),   FieldDef::make("B", FieldType::Boolean),
            FieldDef::make("M", FieldType::Currency),    FieldDef::make("MEMO", FieldType::Memo)};
}

struct FieldText : ::testing::Test {
    Table t{"T", "/nonexistent/T.xml", Schema(allTypes())};
    void SetUp() override {
        t.setIndexFields("I4");
        t.openFrom(makePacket(allTypes(), {}));
        t.append();
    }
    Field f(const char* n) { return t.fieldByName(n); }
};

TEST_F(FieldText, BlankFieldsReadAsZeroValues) {
    EXPECT_TRUE(f("I4").isNull());
    EXPECT_EQ(f("I4").asInteger(), 0);
    EXPECT_EQ(f("S").asString(), "");
    EXPECT_EQ(f("D").asDateTime(), 0.0);
    EXPECT_FALSE(f("B").asBoolean());
    EXPECT_EQ(f("D").displayText(), "");
}

TEST_F(FieldText, IntegerTextsAreCheckedWithTheEnginesMessages) {
    f("I2").setText("-32768");
    EXPECT_EQ(f("I2").asInteger(), -32768);
    EXPECT_EQ(errorOf([&] { f("I2").setText("32768"); }),
              "32768 は項目 'I2' に適した値ではありません。-32768 から 32767 の範囲が許されます");
    const std::string i4Range = " は項目 'I4' に適した値ではありません。-2147483648 から 2147483647 の範囲が許されます";
    const std::string i2Range = " は項目 'I2' に適した値ではありません。-32768 から 32767 の範囲が許されます";
    const std::string notI4 = "' は項目 'I4' に適した整数値ではありません";
    // An integer too big for its field is refused for its range, however
    // many digits it has; only a text that is no integer at all is refused
    // for its form.
    const std::pair<const char*, std::string> cases[] = {
        {"2147483647", ""},
        {" -2147483648 ", ""},
        {"2147483648", "2147483648" + i4Range},
        {"-2147483649", "-2147483649" + i4Range},
        {"99999999999", "99999999999" + i4Range},
        {"+99999999999999999999", "99999999999999999999" + i4Range},
        {"-99999999999999999999", "-99999999999999999999" + i4Range},
        {"12a", "'12a" + notI4},
        {"+-5", "'+-5" + notI4},
        {"-", "'-" + notI4},
        {"1 2", "'1 2" + notI4},
    };
    for (const auto& [text, message] : cases) EXPECT_EQ(errorOf([&] { f("I4").setText(text); }), message) << text;
    EXPECT_EQ(errorOf([&] { f("I2").setText("99999999999999999999"); }), "99999999999999999999" + i2Range);
    EXPECT_EQ(errorOf([&] { f("I2").setText("-2147483649"); }), "-2147483649" + i2Range);
    EXPECT_EQ(f("I2").asInteger(), -32768);  // a refused text changes nothing
    f("I2").setText("");
    EXPECT_TRUE(f("I2").isNull());
}

TEST_F(FieldText, StringCutToWidthKeepsWholeCharacters) {
    f("S").setText("123456789012345678901");  // 21 bytes into 20
    EXPECT_EQ(f("S").asString(), "12345678901234567890");
    f("S").setText(toSjis("1234567890123456789あ"));  // あ would straddle byte 20
    EXPECT_EQ(f("S").asString(), "1234567890123456789");
}

TEST_F(FieldText, DatesReadAndWriteAsShortDates) {
    f("D").setText("2004/1/5");
    EXPECT_EQ(f("D").displayText(), "2004/01/05");
    EXPECT_EQ(f("D").asDateTime(), dayNumber(2004, 1, 5));
    EXPECT_EQ(errorOf([&] { f("D").setText("2004/02/30"); }), "'2004/02/30' は日付ではありません");
    f("DT").setDateTime(dayNumber(2004, 12, 25) + (9 * 3600 + 5 * 60 + 3) / 86400.0);
    EXPECT_EQ(f("DT").displayText(), "2004/12/25 9:05:03");
    f("DT").setDateTime(dayNumber(2004, 12, 25));
    EXPECT_EQ(f("DT").displayText(), "2004/12/25");
    // A date field keeps the day the date-time text shows, before day 0 too.
    for (double v : {-1.25, -0.5, -2.0, 0.75, 38346.999}) {
        f("D").setDateTime(v);
        f("DT").setDateTime(v);
        EXPECT_EQ(f("D").displayText(), f("DT").displayText().substr(0, 10)) << v;
    }
    f("D").setDateTime(-1.25);
    EXPECT_EQ(f("D").displayText(), "1899/12/29");
}

TEST_F(FieldText, BooleanTextsArePrefixesOfFalseOrTrue) {
    f("B").setText("t");
    EXPECT_EQ(f("B").displayText(), "True");
    f("B").setText("FAL");
    EXPECT_EQ(f("B").displayText(), "False");
    EXPECT_EQ(errorOf([&] { f("B").setText("yes"); }), "'yes' は項目 'B' に適した論理値ではありません");
    f("B").setText("");
    EXPECT_TRUE(f("B").isNull());
}

TEST_F(FieldText, CurrencyShowsYenWithSeparatorsAndEditsPlain) {
    f("M").setText("1980");
    EXPECT_EQ(f("M").displayTextUtf8(), "¥1,980");
    EXPECT_EQ(f("M").editText(), "1980");
    EXPECT_EQ(f("M").asFloat(), 1980.0);
}

TEST_F(FieldText, MemoKeepsLineBreaks) {
    f("MEMO").setText("a\r\nb");
    EXPECT_EQ(f("MEMO").asString(), "a\r\nb");
}

TEST_F(FieldText, UnknownFieldNameIsReported) {
    EXPECT_EQ(errorOf([&] { t.fieldByName("NOPE"); }), "項目 'NOPE' が見つかりません");
}

TEST(FieldValues, BlankAndEmptyTextStayDifferentAfterPost) {
    std::vector<FieldDef> fs{FieldDef::make("K", FieldType::Int32), FieldDef::make("S", FieldType::String, 20)};
    Table t{"T", "/nonexistent/T.xml", Schema(fs)};
    t.setIndexFields("K");
    t.openFrom(makePacket(fs, {}));
    t.append();
    t.fieldByName("K").setInteger(1);
    t.fieldByName("S").setText("");
    t.post();
    EXPECT_FALSE(t.fieldByName("S").isNull());
    EXPECT_TRUE(t.storedRows()[0].data.has(1));
}

}  // namespace
