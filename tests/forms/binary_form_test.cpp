#include "base/errors.h"
#include "form_builder.h"
#include "forms/binary_form.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <string>

namespace wordloom {
namespace {

using test::FormBuilder;

/// Writes every event as a line, so a test can spell out what the reader reported.
class EventLog {
public:
    std::string log;

    void BeginObject(const FormObjectHeader& h) {
        Line("object " + std::string(h.className) + " " + std::string(h.name) +
             (h.Inherited() ? " inherited" : "") + (h.Inline() ? " inline" : "") +
             (h.HasPosition() ? " at " + std::to_string(h.position) : ""));
    }
    void EndObject() { Line("end object"); }
    void PropertyName(std::string_view s) { Line("property " + std::string(s)); }
    void EndProperty() { Line("end property"); }
    void Integer(std::int64_t i) { Line("integer " + std::to_string(i)); }
    void Extended(long double e) {
        Line(std::isnan(e) ? "extended nan" : "extended " + std::to_string(double(e)));
    }
    void Single(float f) { Line("single " + std::to_string(f)); }
    void Currency(std::int64_t i) { Line("currency " + std::to_string(i)); }
    void Date(double d) { Line("date " + std::to_string(d)); }
    void NarrowString(std::string_view s) { Line("narrow " + std::string(s)); }
    void WideString(WideUnits w) {
        std::string units;
        for (std::size_t i = 0; i < w.size(); ++i)
            units += " " + std::to_string(unsigned(w[i]));
        Line("wide" + units);
    }
    void Utf8String(std::string_view s) { Line("utf8 " + std::string(s)); }
    void Identifier(std::string_view s) { Line("ident " + std::string(s)); }
    void False() { Line("false"); }
    void True() { Line("true"); }
    void Nil() { Line("nil"); }
    void Null() { Line("null"); }
    void Binary(std::string_view s) { Line("binary " + std::to_string(s.size())); }
    void BeginSet() { Line("set"); }
    void SetElement(std::string_view s) { Line("element " + std::string(s)); }
    void EndSet() { Line("end set"); }
    void BeginList() { Line("list"); }
    void EndList() { Line("end list"); }
    void BeginCollection() { Line("collection"); }
    void BeginItem(bool hasIndex, std::int64_t i) { Line(hasIndex ? "item " + std::to_string(i) : "item"); }
    void EndItem() { Line("end item"); }
    void EndCollection() { Line("end collection"); }

private:
    void Line(const std::string& text) { log += text + "\n"; }
};

/// One form with a value of every kind, spelled out byte by byte.
FormBuilder EveryKind() {
    FormBuilder b;
    b.Byte(0xF3).Byte(2).Byte(7).Object("TForm1", "Form1"); // inherited, position 7
    b.Short("I8").Byte(2).Byte(0xFE);
    b.Short("I16").Byte(3).U16(40000);
    b.Short("I32").Byte(4).U32(70000);
    b.Short("I64").Byte(19).U64(std::uint64_t(1) << 40);
    b.Short("E").Byte(5).U64(std::uint64_t(0xA) << 60).U16(16383 + 3); // 1.25 * 2^3 = 10
    b.Short("S").Byte(15).U32(std::bit_cast<std::uint32_t>(0.5f));
    b.Short("C").Byte(16).U64(12500);
    b.Short("D").Byte(17).U64(std::bit_cast<std::uint64_t>(2.25));
    b.Short("N").Byte(6).Short("ab");
    b.Short("L").Byte(12).U32(3).Raw("xyz");
    b.Short("W").Byte(18).U32(2).U16(0x41).U16(0x0436);
    b.Short("U").Byte(20).U32(2).Raw("\xC3\xA9");
    b.Short("Id").Byte(7).Short("Form1.Link");
    b.Short("F").Byte(8).Short("T").Byte(9).Short("Nl").Byte(13).Short("Nu").Byte(0);
    b.Short("B").Byte(10).U32(3).Raw("\x01\x02\x03");
    b.Short("Set").Byte(11).Short("akLeft").Short("akTop").Byte(0);
    b.Short("List").Byte(1).Byte(2).Byte(1).Byte(1).Byte(9).Byte(0).Byte(0);
    b.Short("Col").Byte(14).Byte(2).Byte(4).Byte(1).Short("W").Byte(2).Byte(5).Byte(0);
    b.Byte(1).Byte(0).Byte(0);
    b.End();
    b.Byte(0xF4).Object("TFrame", "Frame1").End().End(); // inline child
    b.End();
    return b;
}

TEST(ReadBinaryForm, ReportsEveryKindOfValueInStreamOrder) {
    EventLog events;
    ReadBinaryForm(EveryKind().Resource(), events);
    EXPECT_EQ(events.log, "object TForm1 Form1 inherited at 7\n"
                          "property I8\ninteger -2\nend property\n"
                          "property I16\ninteger -25536\nend property\n"
                          "property I32\ninteger 70000\nend property\n"
                          "property I64\ninteger 1099511627776\nend property\n"
                          "property E\nextended 10.000000\nend property\n"
                          "property S\nsingle 0.500000\nend property\n"
                          "property C\ncurrency 12500\nend property\n"
                          "property D\ndate 2.250000\nend property\n"
                          "property N\nnarrow ab\nend property\n"
                          "property L\nnarrow xyz\nend property\n"
                          "property W\nwide 65 1078\nend property\n"
                          "property U\nutf8 \xC3\xA9\nend property\n"
                          "property Id\nident Form1.Link\nend property\n"
                          "property F\nfalse\nend property\n"
                          "property T\ntrue\nend property\n"
                          "property Nl\nnil\nend property\n"
                          "property Nu\nnull\nend property\n"
                          "property B\nbinary 3\nend property\n"
                          "property Set\nset\nelement akLeft\nelement akTop\nend set\nend property\n"
                          "property List\nlist\ninteger 1\nlist\ntrue\nend list\nend list\nend property\n"
                          "property Col\ncollection\nitem 4\nproperty W\ninteger 5\nend property\n"
                          "end item\nitem\nend item\nend collection\nend property\n"
                          "object TFrame Frame1 inline\nend object\n"
                          "end object\n");
}

// The writer, driven with the events the reader reports, gives back the very bytes.
TEST(BinaryFormWriter, WritesTheBytesTheReaderReads) {
    std::string out = "old content";
    BinaryFormWriter w(out, 0);
    w.BeginObject({FormObjectHeader::kInherited | FormObjectHeader::kChildPos, 7, "TForm1", "Form1"});
    const auto property = [&w](std::string_view name, auto value) {
        w.PropertyName(name);
        value();
    };
    property("I8", [&] { w.Integer(-2); });
    property("I16", [&] { w.Integer(-25536); });
    property("I32", [&] { w.Integer(70000); });
    property("I64", [&] { w.Integer(std::int64_t(1) << 40); });
    property("E", [&] { w.Extended(10.0L); });
    property("S", [&] { w.Single(0.5f); });
    property("C", [&] { w.Currency(12500); });
    property("D", [&] { w.Date(2.25); });
    property("N", [&] { w.NarrowString("ab"); });
    property("L", [&] { w.NarrowString("xyz"); });
    property("W", [&] { w.WideString(u"A\u0436"); });
    property("U", [&] { w.Utf8String("\xC3\xA9"); });
    property("Id", [&] { w.Identifier("Form1.Link"); });
    property("F", [&] { w.False(); });
    property("T", [&] { w.True(); });
    property("Nl", [&] { w.Nil(); });
    property("Nu", [&] { w.Null(); });
    property("B", [&] { w.Binary("\x01\x02\x03"); });
    property("Set", [&] {
        w.BeginSet();
        w.SetElement("akLeft");
        w.SetElement("akTop");
        w.EndSet();
    });
    property("List", [&] {
        w.BeginList();
        w.Integer(1);
        w.BeginList();
        w.True();
        w.EndList();
        w.EndList();
    });
    property("Col", [&] {
        w.BeginCollection();
        w.BeginItem(4);
        w.PropertyName("W");
        w.Integer(5);
        w.EndItem();
        w.BeginItem();
        w.EndItem();
        w.EndCollection();
    });
    w.EndProperties();
    w.BeginObject({FormObjectHeader::kInline, 0, "TFrame", "Frame1"});
    w.EndProperties();
    w.EndObject();
    w.EndObject();
    ASSERT_TRUE(w.Finish());

    // "L" is short enough for tag 6: the writer picks the shortest form, so the fixture's tag 12
    // becomes a tag 6 here and everything else is byte for byte the same.
    std::string expected = EveryKind().Resource("TFORM1");
    const std::string longString = std::string("\x01L\x0C\x03\x00\x00\x00xyz", 10);
    const std::size_t at = expected.find(longString);
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, longString.size(), std::string("\x01L\x06\x03xyz", 7));
    const std::uint32_t streamSize = std::uint32_t(expected.size() - 16);
    for (int i = 0; i < 4; ++i)
        expected[12 + std::size_t(i)] = char(streamSize >> (8 * i));
    EXPECT_EQ(out, expected);
}

TEST(ReadBinaryForm, ABareStreamIsReadOnlyWhenAllowed) {
    FormBuilder b;
    b.Object("TForm1", "Form1").End().End();
    const std::string bare = "TPF0" + b.Bytes();
    EventLog events;
    ReadBinaryForm(bare, events, FormHeader::ResourceOrStream);
    EXPECT_EQ(events.log, "object TForm1 Form1\nend object\n");
    EventLog strict;
    try {
        ReadBinaryForm(bare, strict);
        FAIL() << "a bare stream passed for a resource";
    } catch (const FormError& e) {
        EXPECT_STREQ(e.what(), "Invalid stream format");
    }
    // With a header the stream follows it either way.
    EventLog either;
    ReadBinaryForm(b.Resource(), either, FormHeader::ResourceOrStream);
    EXPECT_EQ(either.log, events.log);
}

TEST(ReadBinaryForm, AnExtendedInfinityOrNaNIsReportedNotRefused) {
    // The text form has no spelling for these; the reader leaves that judgement to its visitor.
    FormBuilder b;
    b.Object("TForm1", "Form1").Short("E").Byte(5).U64(std::uint64_t(3) << 62).U16(0x7FFF).End().End();
    EventLog events;
    ReadBinaryForm(b.Resource(), events);
    EXPECT_NE(events.log.find("extended nan"), std::string::npos) << events.log;
}

} // namespace
} // namespace wordloom
