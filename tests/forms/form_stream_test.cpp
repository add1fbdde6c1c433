#include "base/byte_buffer.h"
#include "base/errors.h"
#include "form_builder.h"
#include "forms/form_stream.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <locale>
#include <random>
#include <string>
#include <vector>

namespace wordloom {
namespace {

using test::FormBuilder;

std::string Repeat(std::string_view piece, int count) {
    std::string s;
    for (int i = 0; i < count; ++i)
        s.append(piece);
    return s;
}

/// The message a conversion fails with; empty when it does not fail.
template <class Convert>
std::string FailureOf(Convert convert) {
    try {
        convert();
    } catch (const FormError& e) {
        return e.what();
    }
    return {};
}

std::string TextFailure(const std::string& text) {
    return FailureOf([&] { TextToBinaryForm(text); });
}
std::string BinaryFailure(const std::string& binary) {
    return FailureOf([&] { BinaryFormToText(binary); });
}

/// A root object "object A: TA" with one property P of the given binary value.
std::string WithValue(const FormBuilder& value) {
    return FormBuilder().Object("TA", "A").Short("P").Raw(value.Bytes()).End().End().Resource("TA");
}
/// The text of that form, the value written as text.
std::string TextWithValue(std::string_view value) {
    return "object A: TA\r\n  P = " + std::string(value) + "\r\nend\r\n";
}

// A form with every common kind of value, spelled out in both forms.
const FormBuilder& SampleStream() {
    static const FormBuilder b = [] {
        FormBuilder f;
        f.Object("TForm1", "Form1");
        f.Short("Left").Byte(2).Byte(10);
        f.StringProperty("Caption", "It's");
        f.Short("Font.Style").Byte(11).Short("fsBold").Short("fsItalic").Byte(0);
        f.Short("Items.Strings").Byte(1).Byte(6).Short("a").Byte(6).Short("b").End();
        f.Short("Tag").Byte(3).U16(static_cast<std::uint16_t>(-129));
        f.Short("Enabled").Byte(8);
        f.Short("Visible").Byte(9);
        f.Short("PopupMenu").Byte(13);
        f.Short("Color").Byte(7).Short("clBtnFace");
        f.Short("Empty").Byte(1).End();
        f.Short("NoSet").Byte(11).Byte(0);
        f.Short("Columns").Byte(14);
        f.Byte(1).Short("Width").Byte(2).Byte(64).End();
        f.Byte(2).Byte(3).Byte(1).StringProperty("Caption", "x").End();
        f.End();
        f.Short("NoItems").Byte(14).End();
        f.Short("Data").Byte(10).U32(2).Byte(0x0A).Byte(0xFB);
        f.Short("Nothing").Byte(0);
        f.End();
        f.Byte(0xF2).Byte(2).Byte(2).Object("TButton", "Button1").StringProperty("Caption", "").End().End();
        f.Object("TPanel", "").End().End();
        f.End();
        return f;
    }();
    return b;
}

const char* const kSampleText = "object Form1: TForm1\r\n"
                                "  Left = 10\r\n"
                                "  Caption = 'It'#39's'\r\n"
                                "  Font.Style = [fsBold, fsItalic]\r\n"
                                "  Items.Strings = (\r\n"
                                "    'a'\r\n"
                                "    'b')\r\n"
                                "  Tag = -129\r\n"
                                "  Enabled = False\r\n"
                                "  Visible = True\r\n"
                                "  PopupMenu = nil\r\n"
                                "  Color = clBtnFace\r\n"
                                "  Empty = ()\r\n"
                                "  NoSet = []\r\n"
                                "  Columns = <\r\n"
                                "    item\r\n"
                                "      Width = 64\r\n"
                                "    end\r\n"
                                "    item [3]\r\n"
                                "      Caption = 'x'\r\n"
                                "    end>\r\n"
                                "  NoItems = <>\r\n"
                                "  Data = {0AFB}\r\n"
                                "  Nothing = Null\r\n"
                                "  object Button1: TButton [2]\r\n"
                                "    Caption = ''\r\n"
                                "  end\r\n"
                                "  object TPanel\r\n"
                                "  end\r\n"
                                "end\r\n";

TEST(BinaryFormToText, WritesTheExactLayout) {
    EXPECT_EQ(BinaryFormToText(SampleStream().Resource()), kSampleText);
}

TEST(TextToBinaryForm, ParsesTheLayoutBack) {
    EXPECT_EQ(TextToBinaryForm(kSampleText), SampleStream().Resource("TFORM1"));
}

TEST(FormConversion, IntoAByteBufferAsIntoAString) {
    // Large enough for the buffers to leave malloc for mappings of their own.
    std::string text = "object Form1: TForm1\r\n";
    for (int i = 0; text.size() < (std::size_t(3) << 20); ++i)
        text += "  object Label" + std::to_string(i) + ": TLabel\r\n    Caption = 'Label #" +
                std::to_string(i) + "'\r\n    Data = {0AFB}\r\n  end\r\n";
    text += "end\r\n";
    for (const std::string& form : {std::string(kSampleText), text}) {
        const std::string binary = TextToBinaryForm(form);
        ByteBuffer binaryBuffer;
        TextToBinaryForm(form, binaryBuffer);
        EXPECT_EQ(binaryBuffer.view(), binary);
        ByteBuffer textBuffer(16);
        textBuffer.resize(16); // replaced, not appended to
        BinaryFormToText(binary, textBuffer);
        EXPECT_EQ(textBuffer.view(), form);
    }
}

TEST(FormConversion, AFailureLeavesTheByteBufferEmpty) {
    ByteBuffer buffer(64);
    buffer.resize(64);
    EXPECT_THROW(wordloom::TextToBinaryForm("object A: TA\r\n  P = \r\nend\r\n", buffer),
                 wordloom::FormError);
    EXPECT_TRUE(buffer.empty());
    buffer.resize(64);
    EXPECT_THROW(BinaryFormToText(SampleStream().Resource().substr(0, 40), buffer), FormError);
    EXPECT_TRUE(buffer.empty());
}

TEST(TextToBinaryForm, AcceptsFreeLayoutCaseAndLfLineEnds) {
    const std::string text =
        "OBJECT Form1 : TForm1\n"
        "Left=10 Caption='It'#39's' Font . Style = [ fsBold ,fsItalic ]\n"
        "Items.Strings=('a' 'b')Tag=-129 Enabled=FALSE Visible=true PopupMenu=NIL\n"
        "Color=clBtnFace Empty=( ) NoSet=[] Columns=<ITEM Width=64 END item[3]Caption='x' end>\n"
        "NoItems=<> Data={0a fb} Nothing=null\n"
        "Object Button1:TButton[2] Caption='' End object TPanel end\n"
        "END trailing words are not read";
    EXPECT_EQ(TextToBinaryForm(text), SampleStream().Resource("TFORM1"));
}

TEST(TextToBinaryForm, ResourceIsNamedAfterTheRootClassInUpperCase) {
    const std::string binary = TextToBinaryForm("inherited Main: TMain_Form2 [5]\r\nend\r\n");
    const std::string expected = FormBuilder()
                                     .Byte(0xF3)
                                     .Byte(2)
                                     .Byte(5)
                                     .Object("TMain_Form2", "Main")
                                     .End()
                                     .End()
                                     .Resource("TMAIN_FORM2");
    EXPECT_EQ(binary, expected);
}

struct IntegerCase {
    std::string text;
    FormBuilder value;
};

class IntegerTags : public testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerTags, SmallestTagAndBack) {
    EXPECT_EQ(TextToBinaryForm(TextWithValue(GetParam().text)), WithValue(GetParam().value));
    if (GetParam().text[0] != '$') {
        EXPECT_EQ(BinaryFormToText(WithValue(GetParam().value)), TextWithValue(GetParam().text));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IntegerTags,
    testing::Values(IntegerCase{"127", FormBuilder().Byte(2).Byte(127)},
                    IntegerCase{"-128", FormBuilder().Byte(2).Byte(0x80)},
                    IntegerCase{"128", FormBuilder().Byte(3).U16(128)},
                    IntegerCase{"-129", FormBuilder().Byte(3).U16(0xFF7F)},
                    IntegerCase{"32767", FormBuilder().Byte(3).U16(32767)},
                    IntegerCase{"40000", FormBuilder().Byte(4).U32(40000)},
                    IntegerCase{"-2147483648", FormBuilder().Byte(4).U32(0x80000000u)},
                    IntegerCase{"2147483648", FormBuilder().Byte(19).U64(2147483648ull)},
                    IntegerCase{"-9223372036854775808", FormBuilder().Byte(19).U64(0x8000000000000000ull)},
                    IntegerCase{"$FF", FormBuilder().Byte(3).U16(255)},
                    IntegerCase{"$FFFFFFFF", FormBuilder().Byte(19).U64(0xFFFFFFFFull)}));

TEST(Strings, SixtyFourCharactersStayOnThePropertyLine) {
    const std::string x64 = Repeat("x", 64);
    const std::string binary = WithValue(FormBuilder().Byte(6).Short(x64));
    EXPECT_EQ(BinaryFormToText(binary), TextWithValue("'" + x64 + "'"));
}

TEST(Strings, SixtyFiveCharactersBeginOnTheNextLineAndSplitAfter64) {
    const std::string binary = WithValue(FormBuilder().Byte(6).Short(Repeat("x", 65)));
    EXPECT_EQ(BinaryFormToText(binary),
              "object A: TA\r\n  P = \r\n    '" + Repeat("x", 64) + "' +\r\n    'x'\r\nend\r\n");
    EXPECT_EQ(TextToBinaryForm(BinaryFormToText(binary)), binary);
}

TEST(Strings, CodesCountTowardsTheSixtyFourAndListsIndentDeeper) {
    // 60 letters, a line break (two codes), 10 letters: the line is full after 2 + 60 + 2 characters.
    const std::string value = "ab" + Repeat("y", 60) + "\r\n" + Repeat("z", 10);
    const std::string binary =
        FormBuilder().Object("TA", "A").Short("L").Byte(1).Byte(6).Short(value).End().End().End().Resource(
            "TA");
    EXPECT_EQ(BinaryFormToText(binary), "object A: TA\r\n  L = (\r\n"
                                        "    \r\n      'ab" +
                                            Repeat("y", 60) + "'#13#10 +\r\n      '" + Repeat("z", 10) +
                                            "')\r\n"
                                            "end\r\n");
    EXPECT_EQ(TextToBinaryForm(BinaryFormToText(binary)), binary);
}

TEST(Strings, LineBreakIsWrittenAsCodesBetweenRuns) {
    EXPECT_EQ(BinaryFormToText(WithValue(FormBuilder().Byte(6).Short("a\r\nb"))),
              TextWithValue("'a'#13#10'b'"));
}

TEST(Strings, LongStringsUseTagTwelve) {
    EXPECT_EQ(TextToBinaryForm(TextWithValue("'" + Repeat("s", 255) + "'")),
              WithValue(FormBuilder().Byte(6).Short(Repeat("s", 255))));
    EXPECT_EQ(TextToBinaryForm(TextWithValue("'" + Repeat("s", 200) + "' + '" + Repeat("s", 56) + "'")),
              WithValue(FormBuilder().Byte(12).U32(256).Raw(Repeat("s", 256))));
}

TEST(Strings, WideStringsWriteCodesAbove255AndBreakAfter64Units) {
    FormBuilder value;
    value.Byte(18).U32(70);
    for (int i = 0; i < 70; ++i)
        value.U16(1055);
    const std::string binary = WithValue(value);
    EXPECT_EQ(BinaryFormToText(binary), "object A: TA\r\n  P = \r\n    " + Repeat("#1055", 64) +
                                            " +\r\n    " + Repeat("#1055", 6) + "\r\nend\r\n");
    EXPECT_EQ(TextToBinaryForm(BinaryFormToText(binary)), binary);
    EXPECT_EQ(BinaryFormToText(WithValue(FormBuilder().Byte(18).U32(3).U16('a').U16(0xE9).U16(0x20AC))),
              TextWithValue("'a\xE9'#8364"));
}

TEST(Strings, PiecesOfOtherWidthAreJoinedWide) {
    const FormBuilder expected = FormBuilder().Byte(18).U32(4).U16('a').U16('b').U16(1055).U16('c');
    EXPECT_EQ(TextToBinaryForm(TextWithValue("'ab' +\r\n    #1055 + 'c'")), WithValue(expected));
    EXPECT_EQ(TextToBinaryForm(TextWithValue("'ab'#1055'c'")), WithValue(expected));
}

TEST(Strings, Utf8StringsAreReadAsWideText) {
    EXPECT_EQ(BinaryFormToText(WithValue(FormBuilder().Byte(20).U32(12).Raw("Gr\xC3\xBC\xC3\x9F"
                                                                            "e \xE2\x82\xAC\xFF"))),
              TextWithValue("'Gr\xFC\xDF"
                            "e '#8364'\xFF'"));
    EXPECT_EQ(BinaryFormToText(WithValue(FormBuilder().Byte(20).U32(4).Raw("\xF0\x9F\x98\x80"))),
              TextWithValue("#55357#56832"));
}

TEST(Strings, DoubleByteCharactersAreNeverCutWhenTheCodePageIsKnown) {
    const std::string pair = "\xB4\xF2"; // one GBK character
    const std::string binary = WithValue(FormBuilder().Byte(6).Short("a" + Repeat(pair, 35)));
    EXPECT_EQ(BinaryFormToText(binary, DoubleByteLeadTest("CP936")), "object A: TA\r\n  P = \r\n    'a" +
                                                                         Repeat(pair, 31) + "' +\r\n    '" +
                                                                         Repeat(pair, 4) + "'\r\nend\r\n");
    EXPECT_EQ(BinaryFormToText(binary), "object A: TA\r\n  P = \r\n    'a" + Repeat(pair, 31) +
                                            "\xB4' +\r\n    '\xF2" + Repeat(pair, 3) + "'\r\nend\r\n");
    EXPECT_EQ(TextToBinaryForm(BinaryFormToText(binary, DoubleByteLeadTest("CP936"))), binary);

    // A character whose first byte would be the 64th of the line moves to the next line whole.
    const std::string coded = WithValue(FormBuilder().Byte(6).Short(std::string(63, '\x01') + pair + "x"));
    EXPECT_EQ(BinaryFormToText(coded, DoubleByteLeadTest("cp936")),
              "object A: TA\r\n  P = \r\n    " + Repeat("#1", 63) + " +\r\n    '" + pair + "x'\r\nend\r\n");
    EXPECT_EQ(BinaryFormToText(coded),
              "object A: TA\r\n  P = \r\n    " + Repeat("#1", 63) + "'\xB4' +\r\n    '\xF2x'\r\nend\r\n");
    EXPECT_EQ(TextToBinaryForm(BinaryFormToText(coded, DoubleByteLeadTest("CP936"))), coded);
}

TEST(Strings, LeadByteTestsOfTheDoubleByteCodePages) {
    const LeadByteTest shiftJis = DoubleByteLeadTest("CP932");
    ASSERT_NE(shiftJis, nullptr);
    EXPECT_TRUE(shiftJis(0x81));
    EXPECT_FALSE(shiftJis(0xB1)); // a half-width katakana stands alone
    EXPECT_TRUE(shiftJis(0xE0));
    for (const char* name : {"CP936", "CP949", "CP950"}) {
        ASSERT_NE(DoubleByteLeadTest(name), nullptr) << name;
        EXPECT_TRUE(DoubleByteLeadTest(name)(0xB4)) << name;
        EXPECT_FALSE(DoubleByteLeadTest(name)('a')) << name;
        EXPECT_FALSE(DoubleByteLeadTest(name)(0x80)) << name;
    }
    ASSERT_NE(DoubleByteLeadTest("JOHAB"), nullptr);
    EXPECT_FALSE(DoubleByteLeadTest("JOHAB")(0xD5));
    EXPECT_EQ(DoubleByteLeadTest("CP1252"), nullptr);
    EXPECT_EQ(DoubleByteLeadTest(""), nullptr);
}

TEST(Binary, FortyBytesGoOnTwoLinesOfSixtyFourAndSixteenDigits) {
    FormBuilder value;
    value.Byte(10).U32(40);
    for (int i = 0; i < 40; ++i)
        value.Byte(i);
    const std::string binary = WithValue(value);
    EXPECT_EQ(BinaryFormToText(binary),
              "object A: TA\r\n  P = {\r\n"
              "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\r\n"
              "    2021222324252627}\r\nend\r\n");
    EXPECT_EQ(TextToBinaryForm(BinaryFormToText(binary)), binary);
}

TEST(Binary, ThirtyOneBytesFollowTheBraceThirtyTwoBeginOnANewLine) {
    EXPECT_EQ(BinaryFormToText(WithValue(FormBuilder().Byte(10).U32(31).Raw(Repeat("\xAB", 31)))),
              TextWithValue("{" + Repeat("AB", 31) + "}"));
    EXPECT_EQ(BinaryFormToText(WithValue(FormBuilder().Byte(10).U32(32).Raw(Repeat("\xAB", 32)))),
              TextWithValue("{\r\n    " + Repeat("AB", 32) + "}"));
    EXPECT_EQ(BinaryFormToText(WithValue(FormBuilder().Byte(10).U32(0))), TextWithValue("{}"));
}

struct FloatCase {
    std::string text;
    FormBuilder value;
};

class Floats : public testing::TestWithParam<FloatCase> {};

TEST_P(Floats, WrittenShortestAndReadBack) {
    EXPECT_EQ(BinaryFormToText(WithValue(GetParam().value)), TextWithValue(GetParam().text));
    EXPECT_EQ(TextToBinaryForm(TextWithValue(GetParam().text)), WithValue(GetParam().value));
}

FormBuilder Extended(std::uint64_t mantissa, std::uint16_t signExponent) {
    return FormBuilder().Byte(5).U64(mantissa).U16(signExponent);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Floats,
    testing::Values(FloatCase{"1.0", Extended(0x8000000000000000ull, 0x3FFF)},
                    FloatCase{"-2.5", Extended(0xA000000000000000ull, 0xC000)},
                    FloatCase{"0.0", Extended(0, 0)},
                    FloatCase{"1e+20", Extended(0xAD78EBC5AC620000ull, 0x4041)},
                    FloatCase{"0.1", Extended(0xCCCCCCCCCCCCCCCDull, 0x3FFB)},
                    FloatCase{"1.5s", FormBuilder().Byte(15).U32(0x3FC00000u)},
                    FloatCase{"0.1s", FormBuilder().Byte(15).U32(0x3DCCCCCDu)},
                    FloatCase{"12.5c", FormBuilder().Byte(16).U64(125000)},
                    FloatCase{"1.0c", FormBuilder().Byte(16).U64(10000)},
                    FloatCase{"-0.0001c", FormBuilder().Byte(16).U64(static_cast<std::uint64_t>(-1))},
                    FloatCase{"922337203685477.5807c", FormBuilder().Byte(16).U64(0x7FFFFFFFFFFFFFFFull)},
                    FloatCase{"-922337203685477.5808c", FormBuilder().Byte(16).U64(0x8000000000000000ull)},
                    FloatCase{"45000.5d", FormBuilder().Byte(17).U64(std::bit_cast<std::uint64_t>(45000.5))},
                    FloatCase{"1e-05d", FormBuilder().Byte(17).U64(std::bit_cast<std::uint64_t>(1e-05))}));

TEST(Floats, OtherSpellingsReadAsFloats) {
    EXPECT_EQ(TextToBinaryForm(TextWithValue("1c")), WithValue(FormBuilder().Byte(16).U64(10000)));
    EXPECT_EQ(TextToBinaryForm(TextWithValue("2S")), WithValue(FormBuilder().Byte(15).U32(0x40000000u)));
    EXPECT_EQ(TextToBinaryForm(TextWithValue("1E3")), TextToBinaryForm(TextWithValue("1000.0")));
    EXPECT_EQ(TextToBinaryForm(TextWithValue("0.00005c")), WithValue(FormBuilder().Byte(16).U64(0)));
    EXPECT_EQ(TextToBinaryForm(TextWithValue("0.00015c")), WithValue(FormBuilder().Byte(16).U64(2)));
}

TEST(Floats, ExtendedPrecisionDigitsSurvive) {
    for (std::string text :
         {"3.141592653589793239", "1.2345678901234567891e+300", "-1e-4000", "123456789012.0"}) {
        const std::string binary = TextToBinaryForm(TextWithValue(text));
        EXPECT_EQ(BinaryFormToText(binary), TextWithValue(text)) << text;
    }
}

/// What the writer must produce for a float: the shortest digits (std::to_chars as the reference),
/// with ".0" added when they hold neither a point nor an exponent.
template <class Float>
std::string ShortestText(Float value) {
    char buffer[64];
    std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
    if (text.find_first_of(".e") == std::string::npos)
        text += ".0";
    return text;
}

TEST(Floats, ValuesWithFewBinaryDigitsAreWrittenShortest) {
    std::vector<long double> values{0.5L,
                                    1.25L,
                                    37.0L,
                                    100.0L,
                                    1e6L,
                                    120.0L,
                                    0.001953125L,
                                    0.0009765625L,
                                    4503599627370496.25L,
                                    9007199254740993.0L,
                                    1234567890123456789.0L,
                                    1e18L + 0.5L,
                                    7.0L / 1024.0L,
                                    3.0L / 4096.0L};
    for (long double m = 1; m < 5000; m += 37)
        for (int j = 0; j < 16; j += 3)
            values.push_back(std::ldexp(m, -j));
    for (long double value : values) {
        for (long double v : {value, -value}) {
            if constexpr (std::numeric_limits<long double>::digits == 64) {
                unsigned char bytes[sizeof(long double)] = {};
                std::memcpy(bytes, &v, sizeof v);
                const std::string extended(reinterpret_cast<const char*>(bytes), 10);
                EXPECT_EQ(BinaryFormToText(WithValue(FormBuilder().Byte(5).Raw(extended))),
                          TextWithValue(ShortestText(v)));
            }
            const double d = static_cast<double>(v);
            EXPECT_EQ(
                BinaryFormToText(WithValue(FormBuilder().Byte(17).U64(std::bit_cast<std::uint64_t>(d)))),
                TextWithValue(ShortestText(d) + "d"));
            const float f = static_cast<float>(v);
            EXPECT_EQ(
                BinaryFormToText(WithValue(FormBuilder().Byte(15).U32(std::bit_cast<std::uint32_t>(f)))),
                TextWithValue(ShortestText(f) + "s"));
        }
    }
}

TEST(Floats, DecimalsReadAsTheNearestValue) {
    // std::from_chars as the reference for correctly rounded reading.
    std::mt19937 random(7);
    for (int n = 0; n < 3000; ++n) {
        std::string text = random() % 2 ? "-" : "";
        text += std::to_string(random() % 100000);
        text += ".";
        for (int digits = 1 + int(random() % 25); digits > 0; --digits)
            text.push_back(char('0' + random() % 10));
        const char* first = text.data();
        const char* last = text.data() + text.size();
        if constexpr (std::numeric_limits<long double>::digits == 64) {
            long double v = 0;
            std::from_chars(first, last, v);
            unsigned char bytes[sizeof(long double)] = {};
            std::memcpy(bytes, &v, sizeof v);
            EXPECT_EQ(
                TextToBinaryForm(TextWithValue(text)),
                WithValue(FormBuilder().Byte(5).Raw(std::string(reinterpret_cast<const char*>(bytes), 10))))
                << text;
        }
        double d = 0;
        std::from_chars(first, last, d);
        EXPECT_EQ(TextToBinaryForm(TextWithValue(text + "d")),
                  WithValue(FormBuilder().Byte(17).U64(std::bit_cast<std::uint64_t>(d))))
            << text;
        float f = 0;
        std::from_chars(first, last, f);
        EXPECT_EQ(TextToBinaryForm(TextWithValue(text + "s")),
                  WithValue(FormBuilder().Byte(15).U32(std::bit_cast<std::uint32_t>(f))))
            << text;
    }
}

TEST(Floats, NotANumberFailsInsteadOfWritingAWrongText) {
    EXPECT_EQ(BinaryFailure(WithValue(Extended(0xC000000000000000ull, 0x7FFF))), "Invalid property value");
    EXPECT_EQ(BinaryFailure(WithValue(FormBuilder().Byte(15).U32(0x7F800000u))), "Invalid property value");
    EXPECT_EQ(BinaryFailure(WithValue(FormBuilder().Byte(17).U64(0x7FF8000000000000ull))),
              "Invalid property value");
}

TEST(Objects, InheritedAndInlinePrefixesRoundTrip) {
    const std::string text = "inherited Form2: TForm2\r\n"
                             "  inline Frame1: TFrame1\r\n"
                             "    Left = 1\r\n"
                             "  end\r\n"
                             "  inherited Edit1: TEdit [0]\r\n"
                             "  end\r\n"
                             "end\r\n";
    const std::string expected = FormBuilder()
                                     .Byte(0xF1)
                                     .Object("TForm2", "Form2")
                                     .End()
                                     .Byte(0xF4)
                                     .Object("TFrame1", "Frame1")
                                     .Short("Left")
                                     .Byte(2)
                                     .Byte(1)
                                     .End()
                                     .End()
                                     .Byte(0xF3)
                                     .Byte(2)
                                     .Byte(0)
                                     .Object("TEdit", "Edit1")
                                     .End()
                                     .End()
                                     .End()
                                     .Resource("TFORM2");
    EXPECT_EQ(TextToBinaryForm(text), expected);
    EXPECT_EQ(BinaryFormToText(expected), text);
}

TEST(Objects, NamesLongerThan255BytesAreCut) {
    const std::string longName = Repeat("n", 300);
    const std::string binary =
        TextToBinaryForm("object A: TA\r\n  " + longName + " = " + longName + "\r\nend\r\n");
    EXPECT_EQ(binary, FormBuilder()
                          .Object("TA", "A")
                          .Short(Repeat("n", 255))
                          .Byte(7)
                          .Short(Repeat("n", 255))
                          .End()
                          .End()
                          .Resource("TA"));
}

TEST(Objects, ClassNamesOf240BytesOrMoreGetAPrefixByteAndReadBack) {
    // The length byte of such a name is 0xF0 or above, which a reader takes for a prefix byte.
    for (const int length : {239, 240, 255, 300}) {
        const std::string className = "T" + Repeat("x", length - 1);
        const std::string text = "object A: " + className + "\r\nend\r\n";
        const std::string binary = TextToBinaryForm(text);
        const std::string written = className.substr(0, 255);
        const std::string name = "TPF0" + std::string(length >= 240 ? "\xF0" : "") +
                                 static_cast<char>(written.size()) + written + '\x01' + "A";
        EXPECT_NE(binary.find(name), std::string::npos) << length;
        const std::string back = BinaryFormToText(binary);
        EXPECT_EQ(back, "object A: " + written + "\r\nend\r\n") << length;
        EXPECT_EQ(TextToBinaryForm(back), binary) << length;
    }
}

struct TextFailureCase {
    std::string text;
    std::string message;
};

class TextFailures : public testing::TestWithParam<TextFailureCase> {};

TEST_P(TextFailures, FailWithMessageAndLine) {
    EXPECT_EQ(TextFailure(GetParam().text), GetParam().message) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextFailures,
    testing::Values(
        TextFailureCase{"form A: TA\r\nend\r\n", "OBJECT expected on line 1"},
        TextFailureCase{"\n\n  frame A: TA\nend\n", "OBJECT expected on line 3"},
        TextFailureCase{"", "OBJECT expected on line 1"},
        TextFailureCase{"object : TA\nend\n", "Identifier expected on line 1"},
        TextFailureCase{"object A:\n 5\nend\n", "Identifier expected on line 2"},
        TextFailureCase{"object A: TA\n  P = 1\n", "Identifier expected on line 3"},
        TextFailureCase{"object A: TA\n  Font. = 1\nend\n", "Identifier expected on line 2"},
        TextFailureCase{"object A: TA\n  P = [a, 5]\nend\n", "Identifier expected on line 2"},
        TextFailureCase{"object A: TA\n  P = Form1.\n  5\nend\n", "Identifier expected on line 3"},
        TextFailureCase{"object A: TA\n  P = 'a' +\n  5\nend\n", "String expected on line 3"},
        TextFailureCase{"object A: TA [x]\nend\n", "Number expected on line 1"},
        TextFailureCase{"object A: TA\n  P = <\n    item [z]\n    end>\nend\n", "Number expected on line 3"},
        TextFailureCase{"object A: TA\n  P = 99999999999999999999\nend\n", "Number expected on line 2"},
        TextFailureCase{"object A: TA\n  P = 1..2\nend\n", "Number expected on line 2"},
        TextFailureCase{"object A: TA\n  P = 1e99999s\nend\n", "Number expected on line 2"},
        TextFailureCase{"object A: TA\n  P = $\nend\n", "Number expected on line 2"},
        TextFailureCase{"object A: TA\n  P = 922337203685477.5808c\nend\n", "Number expected on line 2"},
        TextFailureCase{"object A: TA\n  P = 1e300c\nend\n", "Number expected on line 2"},
        TextFailureCase{"object A: TA\n  P 5\nend\n", "''='' expected on line 2"},
        TextFailureCase{"object A: TA [1 2\nend\n", "'']'' expected on line 1"},
        TextFailureCase{"object A: TA\n  P = [a b]\nend\n", "'','' expected on line 2"},
        TextFailureCase{"object A: TA\n  P = <\n    thing\n  end>\nend\n", "item expected on line 3"},
        TextFailureCase{"object A: TA\n  P = <\n", "item expected on line 3"},
        TextFailureCase{"object A: TA\n  P = 'abc\nend\n", "Invalid string constant on line 2"},
        TextFailureCase{"object A: TA\n  P = 'abc", "Invalid string constant on line 2"},
        TextFailureCase{"object A: TA\n  P = 'a'#\nend\n", "Invalid string constant on line 2"},
        TextFailureCase{"object A: TA\n  P = {0G}\nend\n", "Invalid binary value on line 2"},
        TextFailureCase{"object A: TA\n  P = {\n  ABC}\nend\n", "Invalid binary value on line 3"},
        TextFailureCase{"object A: TA\n  P = {AB\n", "Invalid binary value on line 3"},
        TextFailureCase{"object A: TA\n  P = )\nend\n", "Invalid property value on line 2"},
        TextFailureCase{"object A: TA\n  P =", "Invalid property value on line 2"},
        TextFailureCase{"object A: TA\n  P = (1\n", "Invalid property value on line 3"},
        TextFailureCase{"object A: TA\n  P = -x\nend\n", "Invalid property value on line 2"},
        TextFailureCase{"object A: TA\n  P = (\n    1\n    Null)\nend\n", "Invalid property value on line 4"},
        TextFailureCase{"object A: TA\n  P = (\n    null\n  )\nend\n", "Invalid property value on line 3"},
        TextFailureCase{"object A: TA\n  P = '" + std::string(4100, 'x') + "'\nend\n",
                        "Line too long on line 2"},
        TextFailureCase{"object A: TA\n  P = 1\nend" + std::string(4100, ' '), "Line too long on line 3"},
        TextFailureCase{"object A: TA\n  P = " + Repeat("(", 1001) + Repeat(")", 1001) + "\nend\n",
                        "Invalid stream format on line 2"}));

TEST(TextToBinaryForm, LineOfExactly4096BytesIsAccepted) {
    const std::string head = "object A: TA\n  P = '";
    const std::string line = "  P = '" + std::string(4096 - 8, 'x') + "'";
    ASSERT_EQ(line.size(), kMaxFormLineLength);
    EXPECT_NO_THROW(wordloom::TextToBinaryForm("object A: TA\n" + line + "\nend\n"));
    EXPECT_NO_THROW(wordloom::TextToBinaryForm("object A: TA\r\n" + line + "\r\nend\r\n"));
}

TEST(TextToBinaryForm, NullIsAValueOutsideLists) {
    EXPECT_EQ(TextToBinaryForm(TextWithValue("Null")), WithValue(FormBuilder().Byte(0)));
}

TEST(Nesting, AThousandLevelsConvertBothWaysOneMoreFails) {
    const std::string text = TextWithValue(Repeat("(", 1000) + Repeat(")", 1000));
    const std::string binary = TextToBinaryForm(text);
    EXPECT_EQ(TextToBinaryForm(BinaryFormToText(binary)), binary);

    FormBuilder deeper;
    deeper.Object("TA", "A").Short("P");
    for (int i = 0; i < 1001; ++i)
        deeper.Byte(1);
    for (int i = 0; i < 1001; ++i)
        deeper.End();
    deeper.End().End();
    EXPECT_EQ(BinaryFailure(deeper.Resource()), "Invalid stream format");

    // Objects count as levels too: a root with 1000 nested children converts, 1001 do not.
    const auto chain = [](int children) {
        FormBuilder f;
        for (int i = 0; i <= children; ++i)
            f.Object("TP", "").End();
        for (int i = 0; i <= children; ++i)
            f.End();
        return f.Resource("TP");
    };
    EXPECT_EQ(TextToBinaryForm(BinaryFormToText(chain(1000))), chain(1000));
    EXPECT_EQ(BinaryFailure(chain(1001)), "Invalid stream format");
}

struct BinaryFailureCase {
    std::string name;
    std::string binary;
    std::string message;
};

class BinaryFailures : public testing::TestWithParam<BinaryFailureCase> {};

TEST_P(BinaryFailures, FailWithMessage) {
    EXPECT_EQ(BinaryFailure(GetParam().binary), GetParam().message) << GetParam().name;
}

std::string Patched(std::string s, std::size_t at, char byte) {
    s[at] = byte;
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BinaryFailures,
    testing::Values(
        BinaryFailureCase{"empty", "", "Invalid stream format"},
        BinaryFailureCase{"first byte", Patched(SampleStream().Resource(), 0, 0x00), "Invalid stream format"},
        BinaryFailureCase{"type", Patched(SampleStream().Resource(), 1, 11), "Invalid stream format"},
        BinaryFailureCase{"name not ended", std::string("\xFF\x0A\x00TFORM1", 9), "Invalid stream format"},
        BinaryFailureCase{"signature", Patched(SampleStream().Resource(), 17, '1'), "Invalid stream format"},
        BinaryFailureCase{"text form", "object A: TA\r\nend\r\n", "Invalid stream format"},
        BinaryFailureCase{"tag 21", WithValue(FormBuilder().Byte(21)), "Invalid property value"},
        BinaryFailureCase{"tag 255", WithValue(FormBuilder().Byte(255)), "Invalid property value"},
        BinaryFailureCase{
            "child position not an integer",
            FormBuilder().Byte(0xF2).Byte(6).Short("x").Object("TA", "A").End().End().Resource(),
            "Invalid property value"},
        BinaryFailureCase{"collection item without list",
                          WithValue(FormBuilder().Byte(14).Byte(2).Byte(1).Byte(6).End()),
                          "Invalid property value"},
        BinaryFailureCase{"string beyond the data", WithValue(FormBuilder().Byte(6).Byte(200).Raw("abc")),
                          "Invalid stream format"},
        BinaryFailureCase{"binary length beyond the data", WithValue(FormBuilder().Byte(10).U32(0xFFFFFFFFu)),
                          "Invalid stream format"},
        BinaryFailureCase{"wide count beyond the data",
                          WithValue(FormBuilder().Byte(18).U32(0x80000001u).U16('a')),
                          "Invalid stream format"},
        BinaryFailureCase{"long string beyond the data", WithValue(FormBuilder().Byte(12).U32(0xFFFFFFF0u)),
                          "Invalid stream format"},
        BinaryFailureCase{"utf-8 beyond the data", WithValue(FormBuilder().Byte(20).U32(9).Raw("ab")),
                          "Invalid stream format"},
        BinaryFailureCase{"set without end", WithValue(FormBuilder().Byte(11).Short("akLeft")),
                          "Invalid stream format"},
        BinaryFailureCase{"list without end",
                          FormBuilder().Object("TA", "A").Short("P").Byte(1).Byte(2).Byte(1).Resource(),
                          "Invalid stream format"}));

TEST(BinaryFormToText, EveryTruncatedPrefixFailsCleanly) {
    const std::string binary = SampleStream().Resource();
    for (std::size_t length = 0; length < binary.size(); ++length)
        EXPECT_FALSE(BinaryFailure(binary.substr(0, length)).empty()) << "prefix of " << length << " bytes";
}

TEST(Conversions, TargetIsEmptyAfterAFailure) {
    std::string text = "previous";
    EXPECT_THROW(BinaryFormToText(SampleStream().Resource().substr(0, 60), text), FormError);
    EXPECT_TRUE(text.empty());
    std::string binary = "previous";
    EXPECT_THROW(wordloom::TextToBinaryForm(std::string(kSampleText).substr(0, 200), binary),
                 wordloom::FormError);
    EXPECT_TRUE(binary.empty());
    // and a reused target holds exactly the new result
    BinaryFormToText(SampleStream().Resource(), text);
    EXPECT_EQ(text, kSampleText);
    TextToBinaryForm(kSampleText, binary);
    EXPECT_EQ(binary, SampleStream().Resource("TFORM1"));
}

TEST(BinaryFormToText, StreamSizeFieldIsNotTrusted) {
    std::string binary = SampleStream().Resource();
    const std::size_t sizeAt = 1 + 2 + 7 + 2;
    for (char c : {'\x00', '\xFF'}) {
        std::string changed = binary;
        std::memset(changed.data() + sizeAt, c, 4);
        EXPECT_EQ(BinaryFormToText(changed), kSampleText);
    }
}

TEST(IsTextForm, RecognisesTheThreeFirstWordsInAnyCase) {
    EXPECT_TRUE(IsTextForm("object Form1: TForm1"));
    EXPECT_TRUE(IsTextForm("INHERITED Form1: TForm1"));
    EXPECT_TRUE(IsTextForm("Inline Frame1: TFrame1"));
    EXPECT_TRUE(IsTextForm("object\r\n"));
    EXPECT_FALSE(IsTextForm("objects"));
    EXPECT_FALSE(IsTextForm("object"));
    EXPECT_FALSE(IsTextForm(" object A: TA"));
    EXPECT_FALSE(IsTextForm(SampleStream().Resource()));
    EXPECT_FALSE(IsTextForm(""));
}

class CommaDecimalPoint : public std::numpunct<char> {
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(TextToBinaryForm, ResultIsIndependentOfTheGlobalLocale) {
    const std::string text = TextWithValue("1234.5");
    const std::string expected = TextToBinaryForm(text);
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new CommaDecimalPoint));
    const char* previousC = std::setlocale(LC_ALL, nullptr);
    const std::string savedC = previousC ? previousC : "C";
    // A C locale with a decimal comma, where the machine has one.
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
        if (std::setlocale(LC_ALL, name))
            break;
    const std::string binary = TextToBinaryForm(text);
    const std::string back = BinaryFormToText(expected);
    std::setlocale(LC_ALL, savedC.c_str());
    std::locale::global(previous);
    EXPECT_EQ(binary, expected);
    EXPECT_EQ(back, text);
}

} // namespace
} // namespace wordloom

// A plain name is cut at the 255 bytes a binary form holds; a cut dotted name could end in its dot
// and would not read back, so a dotted name that long is refused.
TEST(TextToBinaryForm, RefusesADottedNameLongerThanABinaryFormHolds) {
    const std::string longest(255, 'v');
    const std::string dotted = std::string(200, 'a') + "." + std::string(100, 'b');
    EXPECT_NO_THROW(wordloom::TextToBinaryForm("object A: TA\r\n  P = " + longest + "\r\nend\r\n"));
    EXPECT_THROW(wordloom::TextToBinaryForm("object A: TA\r\n  P = " + dotted + "\r\nend\r\n"),
                 wordloom::FormError);
    EXPECT_THROW(wordloom::TextToBinaryForm("object A: TA\r\n  " + dotted + " = 1\r\nend\r\n"),
                 wordloom::FormError);
}
