// The lines shown around a where-used place: the line a collected occurrence names is the line
// holding its text, in text and binary forms and in units, decoded in the sources' code page.
#include "base/errors.h"
#include "collect/collect_command.h"
#include "collect/source_lines.h"
#include "forms/form_stream.h"

#include "collect_fixture.h"

namespace wordloom {
namespace {

const char* const kForm = "object Form1: TForm1\r\n"
                          "  Caption = 'Main window'\r\n"
                          "  object Panel1: TPanel\r\n"
                          "    object OKButton: TButton\r\n"
                          "      Caption = 'Caf'#233' is open'\r\n"
                          "      Hint = 'Opens the caf'#233\r\n"
                          "    end\r\n"
                          "  end\r\n"
                          "end\r\n";

class SourceLines : public CollectFixture {
protected:
    void Collect() {
        ProjectSettings settings;
        settings.projectPath = project.Write("Demo.dpr", "program Demo;\r\n");
        settings.language = "English";
        settings.translation = "German";
        RunCollectCommand(*table, settings, host, state);
    }
    /// The line a collected text's place names, read back from the project folder.
    std::string LineOf(const std::string& text, std::size_t place = 0) {
        const std::vector<Occurrence> places = table->Side().Occurrences("English", text);
        EXPECT_LT(place, places.size()) << text;
        if (place >= places.size()) {
            return {};
        }
        const Occurrence& at = places[place];
        const std::vector<SourceLine> lines =
            ReadSourceLines(project.Path() + "/" + at.file, CodePage::ForCharset(1), at.line, 0);
        EXPECT_EQ(lines.size(), 1u);
        return lines.empty() ? std::string() : lines[0].text;
    }
};

TEST_F(SourceLines, CollectedPlacesNameTheLinesHoldingTheirTexts) {
    project.Write("Text.dfm", kForm);
    project.Write("Binary.dfm", TextToBinaryForm(std::string(kForm).replace(7, 5, "Form2")));
    project.Write("Unit1.pas",
                  "unit Unit1;\r\n\r\nconst\r\n  S = 'Na\xEFve text';\r\n  T = 'Other';\r\nend.\r\n");
    project.Write("Unit2.pas", "\xEF\xBB\xBFunit Unit2;\r\nconst\r\n  U = 'Gr\xC3\xBC\xC3\x9F"
                               "e aus Unit2';\r\n");
    Collect();
    EXPECT_EQ(LineOf("Main window"), "  Caption = 'Main window'");
    // Both forms hold the text; the first place is the binary one, read as its text form (which
    // holds the byte itself, decoded in the sources' code page).
    EXPECT_EQ(LineOf("Caf\xC3\xA9 is open", 0), "      Caption = 'Caf\xC3\xA9 is open'");
    EXPECT_EQ(LineOf("Caf\xC3\xA9 is open", 1), "      Caption = 'Caf'#233' is open'");
    EXPECT_EQ(LineOf("Opens the caf\xC3\xA9", 0), "      Hint = 'Opens the caf\xC3\xA9'");
    EXPECT_EQ(LineOf("Opens the caf\xC3\xA9", 1), "      Hint = 'Opens the caf'#233");
    EXPECT_EQ(LineOf("Na\xC3\xAFve text"), "  S = 'Na\xC3\xAFve text';");
    EXPECT_EQ(LineOf("Gr\xC3\xBC\xC3\x9F"
                     "e aus Unit2"),
              "  U = 'Gr\xC3\xBC\xC3\x9F"
              "e aus Unit2';");
}

TEST_F(SourceLines, NeighboursStopAtTheEndsOfTheFile) {
    const std::string path = project.Write("Form.DFM", kForm);
    const CodePage& cp = CodePage::ForCharset(1);
    std::vector<SourceLine> lines = ReadSourceLines(path, cp, 2, 2);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines.front().number, 1);
    EXPECT_EQ(lines.front().text, "object Form1: TForm1");
    EXPECT_EQ(lines.back().number, 4);
    lines = ReadSourceLines(path, cp, 9, 3);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines.front().number, 6);
    EXPECT_EQ(lines.back().text, "end");
    // A line far beyond the end (the file shrank since it was collected) has nothing to show.
    EXPECT_TRUE(ReadSourceLines(path, cp, 40, 2).empty());
}

TEST_F(SourceLines, UnreadableFilesThrowTheirReasons) {
    EXPECT_THROW(ReadSourceLines(project.Path() + "/Missing.pas", CodePage::ForCharset(1), 1, 1), FileError);
    const std::string broken = project.Write("Broken.dfm", std::string("TPF0\x06TForm1", 11));
    EXPECT_THROW(ReadSourceLines(broken, CodePage::ForCharset(1), 1, 1), FormError);
}

} // namespace
} // namespace wordloom
