#include "base/errors.h"
#include "collect/form_collector.h"
#include "forms/form_stream.h"
#include "support/pascal_text.h"

#include "collect_fixture.h"

namespace wordloom {
namespace {

using TextList = std::vector<std::string>;

class FormCollector : public CollectFixture {
protected:
    /// Collects a form made of the lines (CR LF line ends) and returns the texts filed.
    TextList Collect(const std::string& lines, int charset = 1) {
        m_path = project.Write("Main.dfm", lines);
        CollectContext context = Context(charset);
        CollectFormFile(context, m_path);
        for (const LineFailure& failure : context.lineFailures) {
            m_failures.push_back(failure.path + " Line " + std::to_string(failure.line) + ": " +
                                 failure.text);
        }
        return Texts();
    }
    const std::string& Path() const { return m_path; }
    /// The lines that failed, as "path Line n: line".
    const TextList& Failures() const { return m_failures; }

private:
    std::string m_path;
    TextList m_failures;
};

TEST_F(FormCollector, FilesTheSearchedPropertiesOfTheTable) {
    const TextList texts = Collect("object Form1: TForm1\r\n"
                                   "  Caption = 'Open file'\r\n"
                                   "  Hint = 'Don'#39't save'\r\n"
                                   "  object ListBox1: TListBox\r\n"
                                   "    Items.Strings = (\r\n"
                                   "      'Red'\r\n"
                                   "      'Green'\r\n"
                                   "      'Blue')\r\n"
                                   "    Font.Name = 'MS Sans Serif'\r\n"
                                   "    Title.Caption = 'Name'\r\n"
                                   "  end\r\n"
                                   "  object Label1: TLabel\r\n"
                                   "    Caption = \r\n"
                                   "      'A long ' +\r\n"
                                   "      'caption'\r\n"
                                   "  end\r\n"
                                   "end\r\n");
    EXPECT_EQ(texts, (TextList{"A long caption", "Blue", "Don't save", "Green", "Open file", "Red"}));
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(FormCollector, ValueIsTheWholeStringExpressionOfItsLine) {
    const TextList texts = Collect("object Form1: TForm1\r\n"
                                   "  Caption = 'Gr'#246#223'e'\r\n"
                                   "  Hint = #25171#24320\r\n"
                                   "  Text = 'Line one'#13#10'Line two'\r\n"
                                   "end\r\n");
    EXPECT_EQ(texts, (TextList{"Größe", "Line one\r\nLine two", "打开"}));
}

TEST_F(FormCollector, ContinuedValueJoinsWholeExpressions) {
    const TextList texts = Collect("object Form1: TForm1\r\n"
                                   "  Caption = \r\n"
                                   "    'Gr'#246 +\r\n"
                                   "    #223'e'\r\n"
                                   "end\r\n");
    EXPECT_EQ(texts, (TextList{"Größe"}));
}

TEST_F(FormCollector, PropertyLineWithAValueNeverSwallowsTheNextLine) {
    const TextList texts = Collect("object Form1: TForm1\r\n"
                                   "  Caption = ''\r\n"
                                   "  Hint = 'Next line'\r\n"
                                   "  Items.Strings = ()\r\n"
                                   "  Text = 'Still read'\r\n"
                                   "  Hint = #39\r\n"
                                   "  Title = 'Title too'\r\n"
                                   "end\r\n");
    EXPECT_EQ(texts, (TextList{"Next line", "Still read", "Title too"}));
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(FormCollector, ListItemContinuedWithPlusIsOneText) {
    const TextList texts =
        Collect("object Form1: TForm1\r\n"
                "  Lines.Strings = (\r\n"
                "    'Will indent the caret on new lines with the same amount of leadi' +\r\n"
                "    'ng white space'\r\n"
                "    'Short one'\r\n"
                "    'Drag it within the docu' +\r\n"
                "    'ment')\r\n"
                "  Caption = 'After the list'\r\n"
                "end\r\n");
    EXPECT_EQ(texts,
              (TextList{"After the list", "Drag it within the document", "Short one",
                        "Will indent the caret on new lines with the same amount of leading white space"}));
}

TEST_F(FormCollector, ValueOnThePropertyLineIsNotContinued) {
    const TextList texts = Collect("object Form1: TForm1\r\n"
                                   "  Text = 'Hello' +\r\n"
                                   "    'World'\r\n"
                                   "  Caption = 'x'\r\n"
                                   "end\r\n");
    EXPECT_EQ(texts, (TextList{"Hello"}));
}

TEST_F(FormCollector, BlanksAroundTheTextAreCounted) {
    Collect("object Form1: TForm1\r\n"
            "      Caption = '  OK '\r\n"
            "Hint = 'OK'\r\n"
            "end\r\n");
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records.at("OK"), (FiledText{2, 1, "Demo"}));
}

TEST_F(FormCollector, LinesEndingInLfAloneAreLines) {
    EXPECT_EQ(Collect("object Form1: TForm1\n  Caption = 'Unix form'\n  Hint = 'Two'\nend\n"),
              (TextList{"Two", "Unix form"}));
}

TEST_F(FormCollector, InheritedAndInlineTextFormsAreRead) {
    EXPECT_EQ(Collect("inherited Form2: TForm2\r\n  Caption = 'Derived'\r\nend\r\n"), (TextList{"Derived"}));
    EXPECT_EQ(Collect("INLINE Frame1: TFrame1\r\n  Caption = 'Framed'\r\nend\r\n"),
              (TextList{"Derived", "Framed"}));
}

TEST_F(FormCollector, ClipboardGetsTheFormTextWithApostrophesDoubled) {
    Collect("object Form1: TForm1\r\n  Hint = 'It'#39's'\r\nend\r\n");
    EXPECT_EQ(host.Clipboard(), "object Form1: TForm1\r\n  Hint = 'It''s'\r\nend\r\n");
}

TEST_F(FormCollector, HintsStringDoesNotMatchHintsStrings) {
    EXPECT_TRUE(
        Collect("object Form1: TForm1\r\n  Hints.Strings = (\r\n    'First hint')\r\nend\r\n").empty());
}

TEST_F(FormCollector, OnlyCheckedPropertiesAreSearched) {
    const std::string path = project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Cap'\r\n"
                                                       "  Hint = 'Tip'\r\nend\r\n");
    CollectContext context = Context();
    context.properties = {"Hint"};
    CollectFormFile(context, path);
    EXPECT_EQ(Texts(), (TextList{"Tip"}));
}

TEST_F(FormCollector, BrokenLineIsReportedWithPathNumberAndLineAndReadingGoesOn) {
    const TextList texts = Collect("object Form1: TForm1\r\n"
                                   "  Caption = 'never closed\r\n"
                                   "  Hint = 'After'\r\n"
                                   "end\r\n");
    EXPECT_EQ(texts, (TextList{"After"}));
    EXPECT_EQ(Failures(), (TextList{Path() + " Line 2: Caption = 'never closed"}));
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(FormCollector, ListGoesOnAfterABrokenItem) {
    const TextList texts = Collect("object Form1: TForm1\r\n"
                                   "  Lines.Strings = (\r\n"
                                   "    'Never closed\r\n"
                                   "    'Second'\r\n"
                                   "    'Cut' +\r\n"
                                   "\r\n"
                                   "    'Last')\r\n"
                                   "end\r\n");
    EXPECT_EQ(texts, (TextList{"Last", "Second"}));
    EXPECT_EQ(Failures(), (TextList{Path() + " Line 3: 'Never closed", Path() + " Line 6: "}));
}

TEST_F(FormCollector, EmptyLineInsideAContinuationIsAParsingError) {
    const TextList texts = Collect("object Form1: TForm1\r\n"
                                   "  Caption = \r\n"
                                   "\r\n"
                                   "  Hint = 'Goes on'\r\n"
                                   "end\r\n");
    EXPECT_EQ(texts, (TextList{"Goes on"}));
    EXPECT_EQ(Failures(), (TextList{Path() + " Line 3: "}));
}

TEST_F(FormCollector, ContinuationCutOffByTheEndOfTheFileFails) {
    EXPECT_TRUE(Collect("object Form1: TForm1\r\n  Caption = \r\n    'Half' +").empty());
    ASSERT_EQ(Failures().size(), 1u);
}

TEST_F(FormCollector, UnclosedListEndsWithTheFileAndKeepsItsTexts) {
    EXPECT_EQ(Collect("object Form1: TForm1\r\n  Lines.Strings = (\r\n    'First'\r\n    'Second'"),
              (TextList{"First", "Second"}));
    EXPECT_TRUE(Failures().empty());
}

TEST_F(FormCollector, NarrowTextsAreDecodedWithTheSourceCodePage) {
    EXPECT_EQ(Collect("object Form1: TForm1\r\n  Caption = '\xCF\xF0\xE8\xE2\xE5\xF2'\r\nend\r\n", 204),
              (TextList{"Привет"}));
}

TEST_F(FormCollector, BinaryFormIsReadThroughItsTextForm) {
    const std::string text = "object Form1: TForm1\r\n"
                             "  Caption = 'Binary caption'\r\n"
                             "  object ListBox1: TListBox\r\n"
                             "    Items.Strings = (\r\n"
                             "      'One item'\r\n"
                             "      'It'#39's two')\r\n"
                             "    Hint = #1055#1088#1080#1074#1077#1090\r\n"
                             "  end\r\n"
                             "end\r\n";
    const std::string path = project.Write("Main.dfm", TextToBinaryForm(text));
    CollectContext context = Context();
    CollectFormFile(context, path);
    EXPECT_EQ(Texts(), (TextList{"Binary caption", "It's two", "One item", "Привет"}));
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_NE(host.Clipboard().find("Binary caption"), std::string::npos);
}

TEST_F(FormCollector, ClipboardShowsLongDoubleByteValuesOfBinaryFormsWhole) {
    const std::string kana = FortyKana(false);
    const std::string kanaUtf8 = FortyKana(true);
    const std::string path = project.Write(
        "Main.dfm", TextToBinaryForm("object Form1: TForm1\r\n  Caption = 'a" + kana + "'\r\nend\r\n"));
    CollectContext context = Context(128);
    CollectFormFile(context, path);
    EXPECT_EQ(Texts(), (TextList{"a" + kanaUtf8}));
    // Each line of the cut value ends at a character's start.
    EXPECT_NE(host.Clipboard().find("'a" + kanaUtf8.substr(0, 31 * 3) + "' +\r\n"), std::string::npos)
        << host.Clipboard();
}

TEST_F(FormCollector, MissingFileFailsWithTheFileLayersMessage) {
    CollectContext context = Context();
    const std::string path = project.Path() + "/Gone.dfm";
    try {
        CollectFormFile(context, path);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + path);
    }
}

TEST_F(FormCollector, NeitherTextNorBinaryFormFailsAsInvalidStream) {
    const std::string path = project.Write("Bad.dfm", "objectForm1: TForm1\r\n");
    CollectContext context = Context();
    try {
        CollectFormFile(context, path);
        FAIL() << "no error";
    } catch (const FormError& error) {
        EXPECT_EQ(std::string(error.what()), "Invalid stream format");
    }
}

} // namespace
} // namespace wordloom
