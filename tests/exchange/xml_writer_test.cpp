#include "exchange/tmx_format.h"
#include "exchange/xliff_format.h"
#include "exchange/xml_writer.h"
#include "exchange_samples.h"
#include "support/file_read.h"

#include <gtest/gtest.h>

namespace wordloom::exchange {
namespace {

// The files the writers produced when they still built a whole document first; a writer that
// goes on as it writes must not change a byte of them.
struct Expected {
    const char* file;
    std::string (*write)(const Catalog&);
};

std::string TmxOfCatalog(const Catalog& catalog) {
    return WriteTmx(MemoryFromCatalog(catalog));
}

class WrittenAsBefore : public ::testing::TestWithParam<Expected> {};

TEST_P(WrittenAsBefore, VariedCatalogue) {
    const std::string expected =
        ReadBytes(std::string(WORDLOOM_SOURCE_DIR) + "/tests/exchange/expected/" + GetParam().file);
    const std::string written = GetParam().write(test::VariedCatalog());
    ASSERT_EQ(written.size(), expected.size());
    EXPECT_EQ(written, expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, WrittenAsBefore,
                         ::testing::Values(Expected{"varied.xliff12.xlf", &WriteXliff12},
                                           Expected{"varied.xliff20.xlf", &WriteXliff20},
                                           Expected{"varied.tmx", &TmxOfCatalog}));

void Bell(XmlWriter& xml, unsigned char code, int index) {
    xml.Open("c");
    xml.Attribute("n", index);
    xml.Attribute("code", static_cast<long long>(code));
    xml.Close();
}

TEST(XmlWriter, EscapesTextAndAttributesApart) {
    XmlWriter xml;
    xml.Open("a");
    xml.Attribute("v", "<&>\"'\t\n\r\x01");
    xml.TextElement("t", "<&>\"'\t\n\r\x01");
    xml.TextElement("cut", std::string_view("be\0fore", 7));
    xml.Close();
    EXPECT_EQ(xml.Finish(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<a v=\"&lt;&amp;>&quot;'&#09;&#10;&#13;&#01;\">\n"
                            "  <t>&lt;&amp;&gt;\"'\t\n&#13;&#01;</t>\n"
                            "  <cut>be</cut>\n"
                            "</a>\n");
}

TEST(XmlWriter, KeepsMixedContentOnItsLine) {
    XmlWriter xml;
    xml.Open("root");
    for (const std::string_view text : {std::string_view("\x07"
                                                         "a\x07\x07"
                                                         "b\x07"),
                                        std::string_view(""), std::string_view("plain")}) {
        xml.Open("s");
        xml.MixedText(text, Bell);
        xml.Close();
    }
    xml.Open("empty");
    xml.Close();
    EXPECT_EQ(xml.Finish(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<root>\n"
                            "  <s><c n=\"1\" code=\"7\" />a<c n=\"2\" code=\"7\" /><c n=\"3\" code=\"7\" />b"
                            "<c n=\"4\" code=\"7\" /></s>\n"
                            "  <s />\n"
                            "  <s>plain</s>\n"
                            "  <empty />\n"
                            "</root>\n");
}

} // namespace
} // namespace wordloom::exchange
