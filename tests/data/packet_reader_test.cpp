#include "data/packet_reader.h"

#include <gtest/gtest.h>

#include "data/catalogue_schema.h"
#include "data/error.h"
#include "data/locale_jp.h"
#include "data/packet_writer.h"
#include "data/sjis.h"

using namespace tamboro;

namespace {

const std::string kDecl = "<?xml version=\"1.0\" standalone=\"yes\"?>  ";

std::string soundMeta() {
    return "<METADATA><FIELDS><FIELD attrname=\"SOUND_CD\" fieldtype=\"i2\"/>"
           "<FIELD attrname=\"SOUND_NAME\" fieldtype=\"string\" WIDTH=\"40\"/></FIELDS><PARAMS/></METADATA>";
}

std::string soundPacket(const std::string& rows) {
    return kDecl + "<DATAPACKET Version=\"2.0\">" + soundMeta() + "<ROWDATA>" + rows + "</ROWDATA></DATAPACKET>";
}

// A packet of one field of the given file type holding value (or none).
Packet oneField(const std::string& fieldAttrs, const std::string& value) {
    std::string text = "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"V\" " + fieldAttrs +
                       "/></FIELDS></METADATA><ROWDATA><ROW V=\"" + value + "\"/></ROWDATA></DATAPACKET>";
    return readPacket(text, "t.xml");
}

std::string errorOf(const std::string& text) {
    try {
        readPacket(text, "Sound.xml");
    } catch (const DataError& e) {
        return e.what();
    }
    return "(accepted)";
}

// Every field of the title table set, with awkward values where they exist.
Packet fullTitle() {
    Packet p;
    p.schema = schemaOf(CatalogueTable::Dvd);
    RowBuilder b(p.schema.size());
    for (size_t i = 0; i < p.schema.size(); ++i) {
        int f = static_cast<int>(i);
        switch (p.schema[i].type) {
        case FieldType::Int32: b.setInt(f, -2147483647 - 1 + static_cast<int64_t>(i)); break;
        case FieldType::Int16: b.setInt(f, i % 2 ? -32768 : 32767); break;
        case FieldType::Date: b.setInt(f, dayNumber(2004, 2, 29)); break;
        case FieldType::DateTime: b.setReal(f, joinDateTime(dayNumber(1999, 12, 31), 86399999)); break;
        case FieldType::Boolean: b.setBool(f, i % 2 == 0); break;
        case FieldType::Currency: b.setReal(f, 1234567.89); break;
        case FieldType::Memo: b.setText(f, sj("一行目\r\n二行目 & <予> \"表\"\t\\")); break;
        default: b.setText(f, sj("予表ソ<&>'\"\\ ｱｲｳ")); break;
        }
    }
    p.rows.push_back({b.finish(), 0});
    return p;
}

void expectSameRows(const Packet& a, const Packet& b) {
    ASSERT_EQ(a.rows.size(), b.rows.size());
    for (size_t r = 0; r < a.rows.size(); ++r) {
        EXPECT_EQ(a.rows[r].status, b.rows[r].status) << "row " << r;
        EXPECT_EQ(a.rows[r].data.toValues(a.schema), b.rows[r].data.toValues(b.schema)) << "row " << r;
    }
}

}  // namespace

// ---- round trips ------------------------------------------------------------

TEST(PacketReader, ReadsBackATitleWithEveryFieldSet) {
    Packet p = fullTitle();
    Packet back = readPacket(writePacket(p, false), "DvdData.xml");
    ASSERT_EQ(back.schema.size(), p.schema.size());
    for (size_t i = 0; i < p.schema.size(); ++i) {
        EXPECT_EQ(back.schema[i].name, p.schema[i].name);
        EXPECT_EQ(back.schema[i].type, p.schema[i].type);
        EXPECT_EQ(back.schema[i].width, p.schema[i].width);
    }
    expectSameRows(p, back);
    EXPECT_EQ(writePacket(back, false), writePacket(p, false));
}

TEST(PacketReader, ReadsBackATitleWithEveryFieldBlank) {
    Packet p;
    p.schema = schemaOf(CatalogueTable::Dvd);
    p.rows.push_back({RowBuilder(p.schema.size()).finish(), 0});
    std::string text = writePacket(p, false);
    EXPECT_NE(text.find("<ROWDATA><ROW/></ROWDATA>"), std::string::npos);
    Packet back = readPacket(text, "DvdData.xml");
    expectSameRows(p, back);
    for (size_t i = 0; i < back.schema.size(); ++i) EXPECT_FALSE(back.rows[0].data.has(static_cast<int>(i)));
}

TEST(PacketReader, ReadsAUtf8PacketAsTheShiftJisOne) {
    Packet p = fullTitle();
    std::string sjis = writePacket(p, false);
    std::string body = sjis.substr(sjis.find("<DATAPACKET"));
    // Memos are Base64 of the text's bytes, so they are re-encoded in UTF-8 too.
    Packet u8 = p;
    RowBuilder b(p.schema.size());
    for (size_t i = 0; i < p.schema.size(); ++i) {
        int f = static_cast<int>(i);
        Value v = p.rows[0].data.value(f, p.schema[i].type);
        if (p.schema[i].type == FieldType::Memo) v = Value::text(toUtf8(v.asText()));
        b.setValue(f, p.schema[i].type, v);
    }
    u8.rows[0].data = b.finish();
    std::string u8body = writePacket(u8, false);
    u8body = toUtf8(u8body.substr(u8body.find("<DATAPACKET")));
    Packet back = readPacket("\r\n <?xml version=\"1.0\" encoding=\"utf-8\"?>" + u8body, "DvdData.xml");
    EXPECT_EQ(back.schema[1].name, sj("ジャンル１"));
    expectSameRows(p, back);
    // Another encoding name leaves the bytes as they are.
    Packet raw = readPacket("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>" + body, "DvdData.xml");
    expectSameRows(p, raw);
}

TEST(PacketReader, RebuildsTheChangeLog) {
    std::string text = kDecl + "<DATAPACKET Version=\"2.0\">" + soundMeta().replace(soundMeta().find("<PARAMS/>"), 9,
                                                                                     "<PARAMS CHANGE_LOG=\"1 0 4 3 2 8\"/>") +
                       "<ROWDATA><ROW RowState=\"4\" SOUND_CD=\"1\"/><ROW RowState=\"1\" SOUND_CD=\"2\"/>"
                       "<ROW RowState=\"8\" SOUND_CD=\"2\" SOUND_NAME=\"x\"/></ROWDATA></DATAPACKET>";
    Packet p = readPacket(text, "Lange.xml");
    ASSERT_EQ(p.changeLog.size(), 2u);
    EXPECT_EQ(p.changeLog[0].row, 0u);
    EXPECT_EQ(p.changeLog[0].oldRow, ChangeLogEntry::kNone);
    EXPECT_EQ(p.changeLog[0].kind, RowInserted);
    EXPECT_EQ(p.changeLog[1].row, 2u);
    EXPECT_EQ(p.changeLog[1].oldRow, 1u);
    EXPECT_TRUE(p.params.empty());
    EXPECT_FALSE(p.rows[1].current());
    EXPECT_EQ(writePacket(p, true), text);
}

// ---- what the reader accepts ---------------------------------------------------

TEST(PacketReader, AcceptsTheLooserForms) {
    const std::string row = "<ROW SOUND_CD=\"7\" SOUND_NAME=\"a\"/>";
    const std::string variants[] = {
        " \t\r\n" + soundPacket(row),                                            // leading white space
        "<DATAPACKET Version=\"2.0\">" + soundMeta() + "<ROWDATA>" + row + "</ROWDATA></DATAPACKET>",  // no declaration
        kDecl + soundMeta() + "<ROWDATA>" + row + "</ROWDATA>",                  // no DATAPACKET
        kDecl + "<!-- a comment --><DATAPACKET >\n" + soundMeta() + "<ROWDATA>\n<ROW SOUND_CD = '7' SOUND_NAME=\"a\" >"
                "</ROW>\n</ROWDATA ></DATAPACKET>\n",                          // white space, comments, end tags
        soundPacket(row).replace(soundPacket(row).find("attrname=\"SOUND_CD\""), 8, "tagname"),
        "\xEF\xBB\xBF" + soundPacket(row),                                      // byte-order mark
    };
    for (const std::string& text : variants) {
        SCOPED_TRACE(text);
        Packet p = readPacket(text, "Sound.xml");
        ASSERT_EQ(p.rows.size(), 1u);
        EXPECT_EQ(p.rows[0].data.getInt(0), 7);
        EXPECT_EQ(p.rows[0].data.getText(1), "a");
    }
}

TEST(PacketReader, InfersFieldsOfARowsOnlyPacket) {
    Packet p = readPacket("<ROWDATA><ROW A=\"1\" B=\"xyz\"/><ROW B=\"q\" C=\"&amp;\"/></ROWDATA>", "x.xml");
    ASSERT_EQ(p.schema.size(), 3u);
    EXPECT_EQ(p.schema[1].name, "B");
    EXPECT_EQ(p.schema[1].width, 3);
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(p.rows[0].data.getText(0), "1");
    EXPECT_FALSE(p.rows[1].data.has(0));
    EXPECT_EQ(p.rows[1].data.getText(2), "&");
}

TEST(PacketReader, TakesFieldPropertiesFromParamChildren) {
    Packet p = readPacket("<METADATA><FIELDS><FIELD fieldname=\"Price\" attrname=\"P\" fieldtype=\"R8\">"
                          "<PARAM Name=\"SUBTYPE\" Value=\"Money\" Type=\"string\"/>"
                          "<PARAM Name=\"DECIMALS\" Value=\"2\" Type=\"i4\" Roundtrip=\"True\"></PARAM></FIELD>"
                          "<FIELD attrname=\"S\" fieldtype=\"String\" readonly=\"TRUE\" hidden=\"no\">"
                          "<PARAM Name=\"WIDTH\" Value=\"12\"/></FIELD></FIELDS>"
                          "<PARAMS LCID=\"1041\"><PARAM Name=\"DEFAULT_ORDER\" Value=\"1\" Type=\"i4\"/></PARAMS>"
                          "</METADATA><ROWDATA><ROW P=\"1.5\" S=\"s\"/></ROWDATA>",
                          "x.xml");
    ASSERT_EQ(p.schema.size(), 2u);
    EXPECT_EQ(p.schema[0].name, "Price");
    EXPECT_EQ(p.schema[0].type, FieldType::Currency);
    EXPECT_EQ(p.schema[0].packetType, "r8");
    ASSERT_EQ(p.schema[0].extra.size(), 1u);
    EXPECT_EQ(p.schema[0].extra[0].first, "DECIMALS");
    EXPECT_EQ(p.schema[1].type, FieldType::String);
    EXPECT_EQ(p.schema[1].width, 12);
    EXPECT_TRUE(p.schema[1].readOnly);
    EXPECT_FALSE(p.schema[1].hidden);
    ASSERT_EQ(p.params.size(), 2u);
    EXPECT_EQ(p.params[1].name, "DEFAULT_ORDER");
    EXPECT_EQ(p.params[1].type, "i4");
    EXPECT_DOUBLE_EQ(p.rows[0].data.getReal(0), 1.5);
}

TEST(PacketReader, RecognisesEveryListedFieldType) {
    struct Case { const char* type; FieldType expected; const char* value; };
    const Case cases[] = {
        {"i1", FieldType::Other, "-5"}, {"I2", FieldType::Int16, "-5"}, {"i4", FieldType::Int32, "70000"},
        {"i8", FieldType::Int64, "9000000000"}, {"int", FieldType::Other, "1"}, {"ui1", FieldType::Other, "1"},
        {"ui2", FieldType::Other, "1"}, {"ui4", FieldType::Other, "1"}, {"ui8", FieldType::Other, "1"},
        {"uint", FieldType::Other, "1"}, {"r8", FieldType::Float, "2.5"}, {"r10", FieldType::Other, "2.5"},
        {"fixed", FieldType::Other, "2.5"}, {"FIXEDfmt", FieldType::Other, "2.5"},
        {"date", FieldType::Date, "20041225"}, {"time", FieldType::Other, "12:00:00"},
        {"DATETIME", FieldType::DateTime, "20041225T09:05:03250"}, {"SQLdateTime", FieldType::Other, "x"},
        {"Boolean", FieldType::Boolean, "t"}, {"string", FieldType::String, "s"},
        {"string.uni", FieldType::Other, "s"}, {"bin.hex", FieldType::Blob, "AAE="},
        {"IntArray", FieldType::Other, "1 2"}, {"UIntArray", FieldType::Other, "1 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        Packet p = oneField(std::string("fieldtype=\"") + c.type + "\"", c.value);
        EXPECT_EQ(p.schema[0].type, c.expected);
        EXPECT_TRUE(p.rows[0].data.has(0));
        // Types carried as text come back out exactly as they came in.
        Packet again = readPacket(writePacket(p, false), "t.xml");
        EXPECT_EQ(again.rows[0].data.toValues(again.schema), p.rows[0].data.toValues(p.schema));
    }
    for (const char* t : {"nested", "struct", "blob"})
        EXPECT_THROW(oneField(std::string("fieldtype=\"") + t + "\"", ""), DataError) << t;
}

TEST(PacketReader, DecodesReferences) {
    Packet p = oneField("fieldtype=\"string\" WIDTH=\"40\"", "&lt;&gt;&amp;&apos;&quot;&#013;&#010;&#009;&#092;&#x41;&#65;");
    EXPECT_EQ(p.rows[0].data.getText(0), "<>&'\"\r\n\t\\AA");
    // A character beyond ASCII becomes its Shift-JIS bytes.
    p = oneField("fieldtype=\"string\" WIDTH=\"40\"", "&#x4E88;");
    EXPECT_EQ(p.rows[0].data.getText(0), sj("予"));
}

TEST(PacketReader, ReadsValuesLeniently) {
    EXPECT_TRUE(oneField("fieldtype=\"boolean\"", "true").rows[0].data.getBool(0));
    EXPECT_TRUE(oneField("fieldtype=\"boolean\"", "Tak").rows[0].data.getBool(0));
    EXPECT_FALSE(oneField("fieldtype=\"boolean\"", "f").rows[0].data.getBool(0));
    EXPECT_FALSE(oneField("fieldtype=\"boolean\"", "").rows[0].data.has(0));
    EXPECT_FALSE(oneField("fieldtype=\"i4\"", "").rows[0].data.has(0));
    EXPECT_TRUE(oneField("fieldtype=\"bin.hex\" SUBTYPE=\"Text\"", "").rows[0].data.has(0));  // empty memo
    EXPECT_TRUE(oneField("fieldtype=\"string\"", "").rows[0].data.has(0));
    EXPECT_EQ(oneField("fieldtype=\"bin.hex\" SUBTYPE=\"Text\"", "#?!  YQ0KYg==").rows[0].data.getText(0), "a\r\nb");
    EXPECT_EQ(oneField("fieldtype=\"bin.hex\" SUBTYPE=\"Text\"", "YQ0K&#010;Yg").rows[0].data.getText(0), "a\r\nb");
    int32_t day = dayNumber(2004, 12, 25);
    EXPECT_DOUBLE_EQ(oneField("fieldtype=\"dateTime\"", "20041225T09:05:03").rows[0].data.getReal(0),
                     joinDateTime(day, (9 * 3600 + 5 * 60 + 3) * 1000));
    EXPECT_DOUBLE_EQ(oneField("fieldtype=\"dateTime\"", "20041225").rows[0].data.getReal(0), day);
    EXPECT_EQ(oneField("fieldtype=\"date\"", "20041225T00:00:00000").rows[0].data.getInt(0), day);
    EXPECT_EQ(oneField("fieldtype=\"i2\"", "+12").rows[0].data.getInt(0), 12);
}

// ---- what it rejects, and where -----------------------------------------------

TEST(PacketReader, RejectsBrokenPacketsNamingWhereAndWhat) {
    struct Case { std::string text; std::string expected; };
    const std::string bad = "データパケットが間違っています: Sound.xml: byte ";
    const std::string meta = soundMeta();
    const Case cases[] = {
        {"", "byte 0: expected '<' at the start"},
        {"  x<DATAPACKET/>", "byte 2: expected '<' at the start"},
        {"<DATAPACKET/>", "byte 13: expected METADATA or ROWDATA"},
        {"<DATAPACKET><ROWS/></DATAPACKET>", "byte 12: expected <METADATA> or <ROWDATA>"},
        {"<METADATA><PARAMS/></METADATA>", "byte 10: expected <FIELDS>"},
        {"<METADATA><FIELDS><FIELD fieldtype=\"i2\"/></FIELDS></METADATA>", "byte 18: expected attrname on FIELD"},
        {"<METADATA><FIELDS><FIELD attrname=\"A\"/></FIELDS></METADATA>", "byte 18: expected fieldtype on FIELD"},
        {"<METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"i3\"/></FIELDS></METADATA>", "expected a known fieldtype, not 'i3'"},
        {"<METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"string\" WIDTH=\"x\"/></FIELDS></METADATA>", "expected a decimal WIDTH"},
        {"<METADATA><FIELDS><FIELD attrname=\"A\"fieldtype=\"i2\"/></FIELDS></METADATA>", "byte 37: expected white space"},
        {"<METADATA><FIELDS><FIELD attrname=\"A/></FIELDS></METADATA>", "byte 34: expected closing quote"},
        {"<METADATA><FIELDS><FIELD attrname=A/></FIELDS></METADATA>", "byte 34: expected '\"' to start attribute value"},
        {"<METADATA><FIELDS><FIELD attrname/></FIELDS></METADATA>", "expected '=' after attribute name"},
        {meta + "<ROWDATA><ROW SOUND_CD=\"x\"/></ROWDATA>", "expected an integer for field 'SOUND_CD'"},
        {meta + "<ROWDATA><ROW SOUND_CD=\"40000\"/></ROWDATA>", "expected an integer from -32768 to 32767"},
        {meta + "<ROWDATA><ROW SOUND_NAME=\"&bogus;\"/></ROWDATA>", "expected a known entity reference"},
        {meta + "<ROWDATA><ROW SOUND_NAME=\"&#0;\"/></ROWDATA>", "expected a valid character reference"},
        {meta + "<ROWDATA><ROW SOUND_NAME=\"a & b\"/></ROWDATA>", "expected ';' to end the reference"},
        {meta + "<ROWDATA><ROW RowState=\"300\"/></ROWDATA>", "expected a RowState number"},
        {meta + "<ROWDATA><ROW></ROWDATA>", "expected </ROW>"},
        {meta + "<ROWDATA><ROW/>", "byte 165: expected <ROW> or </ROWDATA>"},
        {meta + "<ROWDATA><ROW/></ROWDATA>junk", "expected the end of the file"},
        {"<DATAPACKET>" + meta + "<ROWDATA/>", "expected </DATAPACKET>"},
        {meta + "<ROWDATA><!-- open", "expected '-->'"},
    };
    for (const Case& c : cases) {
        std::string got = errorOf(c.text);
        EXPECT_EQ(got.rfind(bad, 0), 0u) << c.text << "\n" << got;
        EXPECT_NE(got.find(c.expected), std::string::npos) << c.text << "\n" << got;
    }
}

TEST(PacketReader, RejectsBadValuesOfEachType) {
    const std::pair<const char*, const char*> cases[] = {
        {"fieldtype=\"date\"", "20040230"},          {"fieldtype=\"date\"", "2004122"},
        {"fieldtype=\"dateTime\"", "20041225T24:00:00000"}, {"fieldtype=\"dateTime\"", "20041225T09:05:60000"},
        {"fieldtype=\"dateTime\"", "20041225 09:05"},  {"fieldtype=\"boolean\"", "yes"},
        {"fieldtype=\"r8\" SUBTYPE=\"Money\"", "1,980"}, {"fieldtype=\"i4\"", "3000000000"},
        {"fieldtype=\"bin.hex\" SUBTYPE=\"Text\"", "YQ0K!Yg=="}, {"fieldtype=\"bin.hex\"", "YQ==x"},
    };
    for (const auto& [attrs, value] : cases) EXPECT_THROW(oneField(attrs, value), DataError) << attrs << " " << value;
}

// Text, memos and values that would come out changed or empty at the next
// save are refused where they stand, not kept in a lossy form.
TEST(PacketReader, RefusesWhatTheNextSaveWouldLose) {
    const std::string u8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    auto u8Packet = [&](const std::string& rows) {
        return u8 + "<DATAPACKET Version=\"2.0\">" + soundMeta() + "<ROWDATA>" + rows + "</ROWDATA></DATAPACKET>";
    };
    const std::string memoMeta = "<METADATA><FIELDS><FIELD attrname=\"M\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/>"
                                 "</FIELDS></METADATA><ROWDATA><ROW M=\"";
    struct Case { std::string text; std::string at; std::string expected; };
    const Case cases[] = {
        {u8Packet("<ROW SOUND_NAME=\"東京Wars\U0001F600é\"/>"), "\U0001F600",
         "expected characters Shift-JIS can hold, not U+1F600 for field 'SOUND_NAME'"},
        {u8Packet("<ROW SOUND_NAME=\"caf\xE9\"/>"), "\xE9", "expected UTF-8 text for field 'SOUND_NAME'"},
        {u8Packet("<ROW SOUND_NAME=\"a&amp;\xED\xA0\x80\"/>"), "\xED", "expected UTF-8 text"},
        {soundPacket("<ROW SOUND_NAME=\"x&#x1F600;\"/>"), "&#x1F600;", "not U+1F600 for field 'SOUND_NAME'"},
        {u8Packet("<ROW SOUND_NAME=\"&#233;\"/>"), "&#233;", "not U+00E9"},
        {u8Packet("").replace(u8Packet("").find("SOUND_NAME"), 10, "NAME\xC3"), "\xC3",
         "expected UTF-8 text in attrname"},
        {u8 + memoMeta + "6Q==\"/></ROWDATA>", "6Q==", "expected UTF-8 text in the memo for field 'M'"},
        {u8 + memoMeta + "8J+YgA==\"/></ROWDATA>", "8J+YgA==", "not U+1F600 in the memo"},
        {memoMeta + "東京\"/></ROWDATA>", "東京", "expected Base64 text for field 'M'"},  // plain text, no Base64
        {memoMeta + " !\"/></ROWDATA>", "!", "expected Base64 text"},
        {memoMeta + "YQ0KY\"/></ROWDATA>", "Y\"/>", "expected Base64 text"},  // a lone character left
        {memoMeta + "YQ=\"/></ROWDATA>", "=\"/>", "expected Base64 text"},
        {memoMeta + "YQ0K=\"/></ROWDATA>", "=\"/>", "expected Base64 text"},
        {memoMeta + "YQ===\"/></ROWDATA>", "===", "expected Base64 text"},
        {memoMeta + "YQ==YQ==\"/></ROWDATA>", "YQ==\"", "expected Base64 text"},
        {soundPacket("<ROW SOUND_CD=\"1\" SOUND_NAME=\"a\" SOUND_CD=\"2\"/>"), "SOUND_CD=\"2",
         "expected one value for field 'SOUND_CD' in a ROW, not two"},
        {soundPacket("<ROW SOUND_NAME=\"a\" SOUND_NAME=\"a\"/>"), "SOUND_NAME=\"a\"/", "for field 'SOUND_NAME'"},
        {soundPacket("<ROW RowState=\"4\" RowState=\"8\"/>"), "RowState=\"8", "expected RowState only once"},
        {"<ROWDATA><ROW A=\"1\"/><ROW B=\"1\" A=\"2\" B=\"3\"/></ROWDATA>", "B=\"3", "for field 'B' in a ROW"},
    };
    for (const Case& c : cases) {
        const size_t at = c.text.find(c.at);
        ASSERT_NE(at, std::string::npos) << c.text;
        const std::string got = errorOf(c.text);
        EXPECT_EQ(got.rfind("データパケットが間違っています: Sound.xml: byte " + std::to_string(at) + ": ", 0), 0u)
            << c.text << "\n" << got;
        EXPECT_NE(got.find(c.expected), std::string::npos) << c.text << "\n" << got;
    }
    // What loses nothing is still read: junk before the Base64 text, white
    // space in it, an unpadded last group, the JIS forms of 〜 and −.
    Packet p = readPacket(memoMeta + "\r\n YQ0K\r\nYg\"/></ROWDATA>", "t.xml");
    EXPECT_EQ(p.rows[0].data.getText(0), "a\r\nb");
    p = readPacket(u8Packet("<ROW SOUND_NAME=\"\u301C\u2212 ﾊﾟ\"/>"), "t.xml");
    EXPECT_EQ(p.rows[0].data.getText(1), sj("～－ ﾊﾟ"));
}

TEST(PacketReader, RejectsChangeLogsOutsideTheRows) {
    for (const char* log : {"1 0", "3 0 4", "1 5 8", "0 0 4", "1 0 x", "1 0 256"}) {
        std::string text = soundPacket("<ROW SOUND_CD=\"1\"/><ROW SOUND_CD=\"2\"/>");
        text.replace(text.find("<PARAMS/>"), 9, std::string("<PARAMS CHANGE_LOG=\"") + log + "\"/>");
        EXPECT_NE(errorOf(text).find("CHANGE_LOG"), std::string::npos) << log;
    }
}

TEST(PacketReader, AcceptsOnlyTheWholeOfAValidPacket) {
    std::string text = writePacket(fullTitle(), false);
    Packet lange;
    lange.schema = schemaOf(CatalogueTable::Lange);
    RowBuilder b(2);
    b.setInt(0, 1);
    lange.rows.push_back({b.finish(), RowSuperseded});
    lange.changeLog = {{0, ChangeLogEntry::kNone, RowDeleted}};
    for (const std::string& whole : {text, writePacket(lange, true), soundPacket("<ROW SOUND_CD=\"1\"/>")}) {
        for (size_t n = 0; n < whole.size(); ++n)
            EXPECT_THROW(readPacket(std::string_view(whole).substr(0, n), "x.xml"), DataError) << n;
        EXPECT_NO_THROW(readPacket(whole, "x.xml"));
    }
}
