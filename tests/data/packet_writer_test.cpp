#include "data/packet_writer.h"

#include <gtest/gtest.h>

#include "data/catalogue_schema.h"
#include "data/locale_jp.h"
#include "data/sjis.h"

using namespace tamboro;

namespace {

const std::string kHead = "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\">";

Packet soundPacket() {
    Packet p;
    p.schema = schemaOf(CatalogueTable::Sound);
    RowBuilder b(2);
    b.setInt(0, 1);
    b.setText(1, sj("ステレオ"));
    p.rows.push_back({b.finish(), 0});
    return p;
}

// The ROW element of a one-field packet holding this value.
std::string rowOf(FieldType type, const Value& v, int width = 40) {
    Packet p;
    p.schema = Schema({FieldDef::make("V", type, width)});
    RowBuilder b(1);
    b.setValue(0, type, v);
    p.rows.push_back({b.finish(), 0});
    std::string out = writePacket(p, false);
    size_t a = out.find("<ROW "), e = out.find("/>", a);
    return a == std::string::npos ? std::string() : out.substr(a, e + 2 - a);
}

std::string fieldElement(const std::string& packet, const std::string& attrname) {
    size_t at = packet.find("attrname=\"" + attrname + "\"");
    if (at == std::string::npos) return {};
    size_t a = packet.rfind("<FIELD", at), e = packet.find("/>", at);
    return packet.substr(a, e + 2 - a);
}

}  // namespace

TEST(PacketWriter, WritesTheSoundExampleByteForByte) {
    std::string expected = kHead +
                           "<METADATA><FIELDS><FIELD attrname=\"SOUND_CD\" fieldtype=\"i2\"/>"
                           "<FIELD attrname=\"SOUND_NAME\" fieldtype=\"string\" WIDTH=\"40\"/></FIELDS>"
                           "<PARAMS/></METADATA><ROWDATA><ROW SOUND_CD=\"1\" SOUND_NAME=\"" +
                           sj("ステレオ") + "\"/></ROWDATA></DATAPACKET>";
    EXPECT_EQ(writePacket(soundPacket(), false), expected);
}

TEST(PacketWriter, WritesAnEmptyTableWithEmptyElements) {
    Packet p;
    p.schema = schemaOf(CatalogueTable::Impress);
    std::string out = writePacket(p, false);
    EXPECT_NE(out.find("<PARAMS/></METADATA><ROWDATA/></DATAPACKET>"), std::string::npos) << out;
    EXPECT_EQ(out.find('\n'), std::string::npos);
}

TEST(PacketWriter, NamesDoubleByteFieldsByPosition) {
    std::string out = writePacket(Packet{schemaOf(CatalogueTable::Dvd), {}, {}, {}}, false);
    EXPECT_EQ(fieldElement(out, "CODE"), "<FIELD attrname=\"CODE\" fieldtype=\"i4\"/>");
    EXPECT_EQ(fieldElement(out, "xF1"), "<FIELD fieldname=\"" + sj("ジャンル１") + "\" attrname=\"xF1\" fieldtype=\"i2\"/>");
    EXPECT_EQ(fieldElement(out, "xF3"), "<FIELD fieldname=\"" + sj("BOX番号") + "\" attrname=\"xF3\" fieldtype=\"string\" WIDTH=\"20\"/>");
    EXPECT_EQ(fieldElement(out, "xF12"),
              "<FIELD fieldname=\"" + sj("コメント") + "\" attrname=\"xF12\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/>");
    EXPECT_EQ(fieldElement(out, "IMPRESS1"), "<FIELD attrname=\"IMPRESS1\" fieldtype=\"boolean\"/>");
    EXPECT_EQ(fieldElement(out, "xF47"),
              "<FIELD fieldname=\"" + sj("価格") + "\" attrname=\"xF47\" fieldtype=\"r8\" SUBTYPE=\"Money\"/>");
    EXPECT_EQ(fieldElement(out, "xF105"), "<FIELD fieldname=\"" + sj("音声言語6") + "\" attrname=\"xF105\" fieldtype=\"i2\"/>");
}

TEST(PacketWriter, ReplacesPunctuationInAttrNames) {
    bool named = false;
    EXPECT_EQ(attrNameOf("A B!#$%()*?", 3, named), "A_B________");
    EXPECT_TRUE(named);
    EXPECT_EQ(attrNameOf("PLAIN_NAME", 3, named), "PLAIN_NAME");
    EXPECT_FALSE(named);
    // A name that would break the element is numbered rather than written raw.
    EXPECT_EQ(attrNameOf("A\"B", 7, named), "xF7");
    EXPECT_TRUE(named);
    EXPECT_EQ(attrNameOf("", 2, named), "xF2");
}

TEST(PacketWriter, KeepsAttrNamesUniqueWhenTheRuleWouldRepeatOne) {
    Packet p;
    p.schema = Schema({FieldDef::make("A B", FieldType::Int32), FieldDef::make("A_B", FieldType::Int32),
                       FieldDef::make("xF3", FieldType::Int32), FieldDef::make(sj("予備"), FieldType::Int32)});
    RowBuilder b(4);
    for (int f = 0; f < 4; ++f) b.setInt(f, f + 10);
    p.rows.push_back({b.finish(), 0});
    std::string out = writePacket(p, false);
    EXPECT_NE(out.find("<FIELD fieldname=\"A_B\" attrname=\"xF1\" fieldtype=\"i4\"/>"), std::string::npos) << out;
    EXPECT_NE(out.find("<ROW A_B=\"10\" xF1=\"11\" xF3=\"12\" xF3_=\"13\"/>"), std::string::npos) << out;
}

TEST(PacketWriter, EscapesEveryReservedCharacter) {
    std::string out;
    appendEscaped("<>&'\"\r\n\t\\x", out);
    EXPECT_EQ(out, "&lt;&gt;&amp;&apos;&quot;&#013;&#010;&#009;&#092;x");
}

TEST(PacketWriter, StepsOverSecondBytesOfDoubleByteCharacters) {
    const std::string yo = sj("予");  // second byte is the backslash code
    ASSERT_EQ(yo[1], '\\');
    std::string out;
    appendEscaped(yo + "\\" + sj("表") + "&", out);  // 表 ends in 0x5C as well
    EXPECT_EQ(out, yo + "&#092;" + sj("表") + "&amp;");
    // The field name 予備１ is written unescaped in fieldname.
    std::string packet = writePacket(Packet{schemaOf(CatalogueTable::Dvd), {}, {}, {}}, false);
    EXPECT_NE(packet.find("fieldname=\"" + sj("予備１") + "\" attrname=\"xF75\""), std::string::npos);
    // A lead byte at the very end, or before a byte that cannot end a
    // character, is a character on its own: what follows is still escaped.
    out.clear();
    appendEscaped(std::string("a\x97"), out);
    EXPECT_EQ(out, "a\x97");
    out.clear();
    appendEscaped(std::string("\x84&\x84\""), out);
    EXPECT_EQ(out, "\x84&amp;\x84&quot;");
}

TEST(PacketWriter, FormatsEachValueType) {
    int32_t day = dayNumber(2004, 12, 25);
    EXPECT_EQ(rowOf(FieldType::Int32, Value::integer(-100)), "<ROW V=\"-100\"/>");
    EXPECT_EQ(rowOf(FieldType::Date, Value::integer(day)), "<ROW V=\"20041225\"/>");
    EXPECT_EQ(rowOf(FieldType::Date, Value::integer(dayNumber(812, 3, 4))), "<ROW V=\"08120304\"/>");
    EXPECT_EQ(rowOf(FieldType::DateTime, Value::real(joinDateTime(day, ((9 * 60 + 5) * 60 + 3) * 1000 + 250))),
              "<ROW V=\"20041225T09:05:03250\"/>");
    EXPECT_EQ(rowOf(FieldType::DateTime, Value::real(day)), "<ROW V=\"20041225\"/>");
    EXPECT_EQ(rowOf(FieldType::Boolean, Value::boolean(true)), "<ROW V=\"TRUE\"/>");
    EXPECT_EQ(rowOf(FieldType::Boolean, Value::boolean(false)), "<ROW V=\"FALSE\"/>");
    EXPECT_EQ(rowOf(FieldType::Currency, Value::real(1980)), "<ROW V=\"1980\"/>");
    EXPECT_EQ(rowOf(FieldType::Currency, Value::real(0.1)), "<ROW V=\"0.1\"/>");
    EXPECT_EQ(rowOf(FieldType::Currency, Value::real(1234.5)), "<ROW V=\"1234.5\"/>");
    EXPECT_EQ(rowOf(FieldType::Currency, Value::real(1e20)), "<ROW V=\"1e+20\"/>");
    EXPECT_EQ(rowOf(FieldType::Currency, Value::real(1.0 / 3)), "<ROW V=\"0.3333333333333333\"/>");
    EXPECT_EQ(rowOf(FieldType::String, Value::text("")), "<ROW V=\"\"/>");
    EXPECT_EQ(rowOf(FieldType::String, Value::text("Tom & Jerry")), "<ROW V=\"Tom &amp; Jerry\"/>");
    EXPECT_EQ(rowOf(FieldType::Memo, Value::text("a\r\nb")), "<ROW V=\"YQ0KYg==\"/>");
    EXPECT_EQ(rowOf(FieldType::Memo, Value::text(std::string(100, 'x'))).find('\n'), std::string::npos);
}

TEST(PacketWriter, LeavesBlankFieldsOut) {
    Packet p;
    p.schema = schemaOf(CatalogueTable::Dvd);
    RowBuilder b(p.schema.size());
    b.setInt(0, 7);
    p.rows.push_back({b.finish(), 0});
    std::string out = writePacket(p, false);
    EXPECT_NE(out.find("<ROW CODE=\"7\"/>"), std::string::npos);
    EXPECT_EQ(out.find(" xF8="), std::string::npos);
}

TEST(PacketWriter, WritesParamsInTheirOrder) {
    Packet p = soundPacket();
    p.params = {{"LCID", "1041", ""}, {"AUTOINCVALUE", "5", ""}, {"UNIQUE_KEY", "1", ""},
                {"DEFAULT_ORDER", "1 2", ""}, {"PRIMARY_KEY", "1", ""}};
    std::string out = writePacket(p, false);
    EXPECT_NE(out.find("<PARAMS DEFAULT_ORDER=\"1 2\" PRIMARY_KEY=\"1\" UNIQUE_KEY=\"1\" AUTOINCVALUE=\"5\" LCID=\"1041\"/>"),
              std::string::npos)
        << out;
}

TEST(PacketWriter, WritesOnlyCurrentRowsWhenLoggingIsOff) {
    Packet p = soundPacket();
    RowBuilder b(2);
    b.setInt(0, 2);
    p.rows.push_back({b.finish(), RowSuperseded});
    b.setInt(0, 3);
    p.rows.push_back({b.finish(), RowModified | RowInserted});
    b.setInt(0, 4);
    p.rows.push_back({b.finish(), RowDeleted});
    p.rows.push_back({RowData(), RowRemoved});
    p.changeLog = {{2, 1, RowModified}};
    std::string out = writePacket(p, false);
    EXPECT_NE(out.find("<ROWDATA><ROW SOUND_CD=\"1\" SOUND_NAME=\"" + sj("ステレオ") + "\"/><ROW SOUND_CD=\"3\"/></ROWDATA>"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("CHANGE_LOG"), std::string::npos);
}

TEST(PacketWriter, MapsTheChangeLogToFilePositionsWhenLogging) {
    Packet p = soundPacket();
    RowBuilder b(2);
    p.rows.push_back({RowData(), RowRemoved});  // gone without a log: not written
    b.setInt(0, 2);
    p.rows.push_back({b.finish(), RowInserted | RowSuperseded});
    b.setInt(0, 3);
    p.rows.push_back({b.finish(), RowInserted | RowModified});
    p.rows[0].status = RowDeleted;
    p.changeLog = {{2, ChangeLogEntry::kNone, RowInserted}, {3, 2, RowModified}, {0, ChangeLogEntry::kNone, RowDeleted},
                   {1, ChangeLogEntry::kNone, RowDeleted}};
    std::string out = writePacket(p, true);
    EXPECT_NE(out.find("<PARAMS CHANGE_LOG=\"2 0 4 3 2 8 1 0 2\"/>"), std::string::npos) << out;
    EXPECT_NE(out.find("<ROWDATA><ROW RowState=\"2\" SOUND_CD=\"1\""), std::string::npos);
    EXPECT_NE(out.find("<ROW RowState=\"5\" SOUND_CD=\"2\"/><ROW RowState=\"12\" SOUND_CD=\"3\"/></ROWDATA>"),
              std::string::npos);
}
