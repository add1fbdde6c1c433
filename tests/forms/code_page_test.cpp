#include "forms/code_page.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace wordloom {
namespace {

TEST(CodePage, MapsEveryCharacterSetOfTheOptionsDialog) {
    for (int charset : {1, 128, 129, 130, 134, 136, 161, 162, 163, 177, 178, 186, 204, 222, 238}) {
        ASSERT_NE(CodePageName(charset), nullptr) << charset;
        EXPECT_NO_THROW(CodePage::ForCharset(charset)) << charset;
    }
    EXPECT_STREQ(CodePageName(1), "WINDOWS-1252");
    EXPECT_STREQ(CodePageName(204), "CP1251");
    EXPECT_EQ(CodePageName(77), nullptr);
    EXPECT_THROW(CodePage::ForCharset(77), std::invalid_argument);
    EXPECT_EQ(&CodePage::ForCharset(128), &CodePage::ForCharset(128));
}

TEST(CodePage, DecodesWesternAndCyrillicBytes) {
    EXPECT_EQ(CodePage::ForCharset(1).Decode("Gr\xF6\xDF"
                                             "e \x80"),
              "Größe €");
    EXPECT_EQ(CodePage::ForCharset(204).Decode("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
    EXPECT_EQ(CodePage::ForCharset(238).Decode("\xB9"), "ą");
}

TEST(CodePage, DecodesDoubleByteCodePages) {
    EXPECT_EQ(CodePage::ForCharset(134).Decode("\xB4\xF2\xBF\xAA"), "打开");
    EXPECT_EQ(CodePage::ForCharset(128).Decode("\x83\x65\x83\x58\x83\x67"), "テスト");
    // The SJIS trail byte 0x5C is no backslash.
    EXPECT_EQ(CodePage::ForCharset(128).Decode("\x95\x5C"), "表");
    EXPECT_EQ(CodePage::ForCharset(129).Decode("\xC7\xD1"), "한");
}

TEST(CodePage, UndefinedBytesDecodeToEscapesThatEncodeBack) {
    const CodePage& western = CodePage::ForCharset(1);
    const std::string decoded = western.Decode("a\x81z");
    std::string expected = "a";
    AppendUtf8(kRawByteBase + 0x81, expected);
    expected += "z";
    EXPECT_EQ(decoded, expected);
    const EncodeResult back = western.Encode(decoded);
    EXPECT_TRUE(back.complete);
    EXPECT_EQ(back.bytes, "a\x81z");
}

TEST(CodePage, BrokenDoubleByteSequencesSurviveTheRoundTrip) {
    const CodePage& gbk = CodePage::ForCharset(134);
    for (std::string bytes : {std::string("\xB4"), std::string("x\xB4"), std::string("\xB4'"),
                              std::string("\xFF\xFF"), std::string("\x80\xB4\xF2\xB4")}) {
        const std::string decoded = gbk.Decode(bytes);
        size_t pos = 0;
        char32_t c;
        while (pos < decoded.size()) {
            ASSERT_TRUE(NextUtf8(decoded, pos, c)) << "decoding must give valid UTF-8";
        }
        const EncodeResult back = gbk.Encode(decoded);
        EXPECT_TRUE(back.complete);
        EXPECT_EQ(back.bytes, bytes);
    }
    // A lead byte before an apostrophe must not swallow the apostrophe.
    EXPECT_EQ(gbk.Decode("\xB4'").back(), '\'');
}

TEST(CodePage, RandomBytesRoundTripInEveryCodePage) {
    std::mt19937 random(7);
    for (int charset : {1, 128, 129, 130, 134, 136, 161, 162, 163, 177, 178, 186, 204, 222, 238}) {
        const CodePage& page = CodePage::ForCharset(charset);
        for (int round = 0; round < 50; ++round) {
            std::string bytes(1 + random() % 40, '\0');
            for (char& b : bytes) {
                b = static_cast<char>(random() % 256);
            }
            const EncodeResult back = page.Encode(page.Decode(bytes));
            ASSERT_TRUE(back.complete) << page.Name();
            ASSERT_EQ(back.bytes, bytes) << page.Name();
        }
    }
}

TEST(CodePage, EncodingReportsCharactersTheCodePageCannotHold) {
    const EncodeResult cyrillic = CodePage::ForCharset(1).Encode("Да");
    EXPECT_FALSE(cyrillic.complete);
    EXPECT_EQ(cyrillic.bytes, "??");
    const EncodeResult western = CodePage::ForCharset(1).Encode("café €");
    EXPECT_TRUE(western.complete);
    EXPECT_EQ(western.bytes, "caf\xE9 \x80");
    const EncodeResult chinese = CodePage::ForCharset(134).Encode("打开 ok");
    EXPECT_TRUE(chinese.complete);
    EXPECT_EQ(chinese.bytes, "\xB4\xF2\xBF\xAA ok");
    EXPECT_FALSE(CodePage::ForCharset(1).Encode("bad \xFF utf8").complete);
    std::string out;
    EXPECT_FALSE(CodePage::ForCharset(204).EncodeChar(U'ö', out));
    EXPECT_TRUE(out.empty());
}

TEST(CodePage, ATextEncodesAsItsCharactersDoOneByOne) {
    // Plain ASCII runs around letters of every kind, an unknown character, a NUL and a broken
    // UTF-8 sequence.
    const std::string text = std::string("Save as\t\xc3\x9f\xd0\x96 x\xe2\x82\xac\x01~") + '\0' +
                             "Z\xe3\x81\x82\xf0\x9f\x98\x80 end\xc3";
    for (int charset : {1, 128, 129, 130, 134, 136, 161, 162, 163, 177, 178, 186, 204, 222, 238}) {
        const CodePage& page = CodePage::ForCharset(charset);
        std::string expected;
        bool complete = true;
        for (std::size_t i = 0; i < text.size();) {
            std::size_t next = i + 1;
            while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) {
                ++next;
            }
            const EncodeResult one = page.Encode(std::string_view(text).substr(i, next - i));
            expected += one.bytes;
            complete = complete && one.complete;
            i = next;
        }
        const EncodeResult whole = page.Encode(text);
        EXPECT_EQ(whole.bytes, expected) << charset;
        EXPECT_EQ(whole.complete, complete) << charset;
    }
}

TEST(CodePage, VietnameseEncodesPrecomposedLetters) {
    // CP1258 writes ệ as e with circumflex plus a combining dot below.
    const EncodeResult result = CodePage::ForCharset(163).Encode("ệ");
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.bytes.size(), 2u);
}

TEST(CodePage, Utf8PassesValidTextAndEscapesStrayBytes) {
    const CodePage& utf8 = CodePage::Utf8();
    EXPECT_EQ(utf8.Decode("Größe"), "Größe");
    const std::string stray = "ok\xC3(";
    const std::string decoded = utf8.Decode(stray);
    EXPECT_NE(decoded, stray);
    EXPECT_EQ(utf8.Encode(decoded).bytes, stray);
    EXPECT_TRUE(HasUtf8Bom("\xEF\xBB\xBFunit"));
    EXPECT_FALSE(HasUtf8Bom("unit"));
    EXPECT_FALSE(HasUtf8Bom("\xEF\xBB"));
}

} // namespace
} // namespace wordloom
