// Round trips over real forms (the shared corpus) and over generated ones.
#include "base/errors.h"
#include "form_builder.h"
#include "forms/form_stream.h"
#include "support/corpus.h"
#include "support/file_read.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace wordloom {
namespace {

namespace fs = std::filesystem;
using test::FormBuilder;

TEST(CorpusRoundTrip, EveryFormConvertsAndComesBackUnchanged) {
    if (const std::string missing = test::CorpusMissing(); !missing.empty())
        GTEST_SKIP() << missing;
    const std::vector<fs::path> forms = test::CorpusFiles({".dfm"});
    int binaryForms = 0;
    int textForms = 0;
    for (const fs::path& path : forms) {
        SCOPED_TRACE(path.string());
        const std::string data = ReadBytes(path);
        try {
            if (IsTextForm(data)) {
                ++textForms;
                // Text written by our writer parses back to the same binary, and is written the same.
                const std::string binary = TextToBinaryForm(data);
                const std::string text = BinaryFormToText(binary);
                const std::string binaryAgain = TextToBinaryForm(text);
                ASSERT_EQ(binaryAgain, binary);
                ASSERT_EQ(BinaryFormToText(binaryAgain), text);
            } else {
                ++binaryForms;
                // binary -> text -> binary is the identity on every binary form we produce.
                const std::string text = BinaryFormToText(data);
                const std::string binary = TextToBinaryForm(text);
                const std::string textAgain = BinaryFormToText(binary);
                ASSERT_EQ(textAgain, text);
                ASSERT_EQ(TextToBinaryForm(textAgain), binary);
            }
        } catch (const FormError& e) {
            ADD_FAILURE() << e.what();
        }
    }
    EXPECT_GT(binaryForms, 0);
    EXPECT_GT(textForms, 0);
}

TEST(CorpusRoundTrip, DoubleByteTextIsCutWhereTheIdeCutIt) {
    const fs::path relative = "cnwizards/Test/Delphi/Program/CmdSend/CnTestCmdSend.dfm";
    if (const std::string missing = test::CorpusMissing(relative); !missing.empty())
        GTEST_SKIP() << missing;
    const fs::path path = test::CorpusRoot() / relative;
    // Long GBK captions, written by the IDE under code page 936: every cut falls between characters.
    const std::string data = ReadBytes(path);
    const std::string binary = TextToBinaryForm(data);
    EXPECT_EQ(BinaryFormToText(binary, DoubleByteLeadTest("CP936")), data);
    EXPECT_NE(BinaryFormToText(binary), data);
}

TEST(CorpusRoundTrip, TruncatedRealBinaryFormsFailCleanly) {
    if (const std::string missing = test::CorpusMissing(); !missing.empty())
        GTEST_SKIP() << missing;
    std::vector<std::string> small;
    for (const fs::path& path : test::CorpusFiles({".dfm"})) {
        std::string data = ReadBytes(path);
        if (!IsTextForm(data) && data.size() < 3000)
            small.push_back(std::move(data));
        if (small.size() == 4)
            break;
    }
    ASSERT_FALSE(small.empty()) << "no small binary form in the corpus";
    for (const std::string& data : small) {
        ASSERT_NO_THROW(BinaryFormToText(data));
        for (std::size_t length = 0; length < data.size(); ++length)
            EXPECT_THROW(BinaryFormToText(std::string_view(data).substr(0, length)), FormError) << length;
    }
}

/// Writes random forms in the canonical binary encoding (the one the text parser chooses), so that
/// binary -> text -> binary must give back the very same bytes.
class FormGenerator {
public:
    explicit FormGenerator(unsigned seed) : m_random(seed) {}

    std::string Form() {
        FormBuilder f;
        // append, not "T" + temporary: GCC 12 at -O3 takes that insert for an overlapping copy.
        const std::string className = std::string("T").append(Identifier());
        Object(f, className, 0);
        std::string resourceName = className;
        std::transform(resourceName.begin(), resourceName.end(), resourceName.begin(),
                       [](unsigned char c) { return char(std::toupper(c)); });
        return f.Resource(resourceName);
    }

private:
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    std::string Identifier() {
        static const char kFirst[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
        static const char kRest[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789";
        std::string s = "x"; // never one of the words False, True, nil, Null, end, object, ...
        s.push_back(kFirst[Below(sizeof kFirst - 1)]);
        for (int n = Below(12); n > 0; --n)
            s.push_back(kRest[Below(sizeof kRest - 1)]);
        return s;
    }

    void Integer(FormBuilder& f) {
        const int width = Below(4);
        const std::int64_t value = width == 0   ? Below(256) - 128
                                   : width == 1 ? Below(65536) - 32768
                                   : width == 2 ? std::int64_t(std::int32_t(m_random()))
                                                : std::int64_t(m_random()) << 32 | m_random();
        if (value >= -128 && value <= 127)
            f.Byte(2).Byte(int(value));
        else if (value >= -32768 && value <= 32767)
            f.Byte(3).U16(std::uint16_t(value));
        else if (value >= INT32_MIN && value <= INT32_MAX)
            f.Byte(4).U32(std::uint32_t(value));
        else
            f.Byte(19).U64(std::uint64_t(value));
    }

    void String(FormBuilder& f) {
        const int length = Below(4) == 0 ? Below(400) : Below(80);
        if (Below(3) == 0 && length > 0) {
            // wide: at least one unit above 255, else it would read back narrow
            f.Byte(18).U32(std::uint32_t(length));
            const int wideAt = Below(length);
            for (int i = 0; i < length; ++i)
                f.U16(std::uint16_t(i == wideAt     ? 256 + Below(65280)
                                    : Below(3) == 0 ? Below(65536)
                                                    : Below(256)));
            return;
        }
        std::string s;
        for (int i = 0; i < length; ++i)
            s.push_back(char(Below(256)));
        if (length <= 255)
            f.Byte(6).Short(s);
        else
            f.Byte(12).U32(std::uint32_t(length)).Raw(s);
    }

    void Float(FormBuilder& f) {
        // Finite values with random bits; the writer must find digits that read back to them.
        switch (Below(4)) {
        case 0: {
            const std::uint64_t mantissa = (std::uint64_t(m_random()) << 32 | m_random()) | (1ull << 63);
            const int exponent = 16383 + Below(200) - 100;
            f.Byte(5).U64(mantissa).U16(std::uint16_t(exponent | (Below(2) << 15)));
            break;
        }
        case 1: {
            float v;
            do
                v = std::bit_cast<float>(std::uint32_t(m_random()));
            while (!std::isfinite(v));
            f.Byte(15).U32(std::bit_cast<std::uint32_t>(v));
            break;
        }
        case 2:
            f.Byte(16).U64(std::uint64_t(m_random()) << 32 | m_random());
            break;
        default: {
            double v;
            do
                v = std::bit_cast<double>(std::uint64_t(m_random()) << 32 | m_random());
            while (!std::isfinite(v));
            f.Byte(17).U64(std::bit_cast<std::uint64_t>(v));
        }
        }
    }

    void Value(FormBuilder& f, int depth, bool inList) {
        switch (Below(depth > 6 ? 10 : 13)) {
        case 0:
            Integer(f);
            break;
        case 1:
        case 2:
            String(f);
            break;
        case 3:
            f.Byte(7).Short(Identifier() + (Below(3) == 0 ? "." + Identifier() : ""));
            break;
        case 4:
            f.Byte(8 + Below(2));
            break;
        case 5:
            f.Byte(inList ? 13 : (Below(2) ? 13 : 0));
            break;
        case 6: {
            const int length = Below(3) == 0 ? Below(100) : Below(31);
            f.Byte(10).U32(std::uint32_t(length));
            for (int i = 0; i < length; ++i)
                f.Byte(Below(256));
            break;
        }
        case 7:
            f.Byte(11);
            for (int n = Below(4); n > 0; --n)
                f.Short(Identifier());
            f.Byte(0);
            break;
        case 8:
        case 9:
            Float(f);
            break;
        case 10:
        case 11:
            f.Byte(1);
            for (int n = Below(4); n > 0; --n)
                Value(f, depth + 1, true);
            f.End();
            break;
        default:
            f.Byte(14);
            for (int n = Below(3); n > 0; --n) {
                if (Below(2))
                    Integer(f);
                f.Byte(1);
                for (int p = Below(3); p > 0; --p)
                    Property(f, depth + 1);
                f.End();
            }
            f.End();
        }
    }

    void Property(FormBuilder& f, int depth) {
        f.Short(Identifier() + (Below(4) == 0 ? "." + Identifier() : ""));
        Value(f, depth, false);
    }

    void Object(FormBuilder& f, const std::string& className, int depth) {
        const int kind = Below(6);
        const unsigned flags = kind == 0 ? 1 : kind == 1 ? 4 : kind == 2 ? 2 : kind == 3 ? 3 : 0;
        if (flags) {
            f.Byte(int(0xF0 | flags));
            if (flags & 2)
                Integer(f);
        }
        f.Short(className).Short(Below(5) == 0 ? std::string() : Identifier());
        for (int n = Below(8); n > 0; --n)
            Property(f, depth);
        f.End();
        for (int n = depth < 4 ? Below(4) : 0; n > 0; --n)
            Object(f, "T" + Identifier(), depth + 1);
        f.End();
    }

    std::mt19937 m_random;
};

TEST(GeneratedRoundTrip, BinaryToTextToBinaryIsTheIdentity) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        const std::string binary = FormGenerator(seed).Form();
        std::string text;
        try {
            text = BinaryFormToText(binary);
            ASSERT_EQ(TextToBinaryForm(text), binary) << "seed " << seed << "\n" << text;
        } catch (const FormError& e) {
            FAIL() << "seed " << seed << ": " << e.what() << "\n" << text;
        }
    }
}

} // namespace
} // namespace wordloom
