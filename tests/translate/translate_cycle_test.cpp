// Collect, fill in translations, translate, collect again: on a generated project every translated
// text must be found and written, and nothing else may change.
#include "collect/collect_command.h"
#include "support/project_generator.h"
#include "translate/translate_fixture.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <set>

namespace wordloom {
namespace {

std::map<std::string, std::string> Column(StringsTable& table, const std::string& keyField,
                                          const std::string& valueField) {
    std::map<std::string, std::string> column;
    table.SetFiltered(false);
    for (table.First(); !table.Eof(); table.Next())
        column[table.FieldAsString(keyField)] = table.FieldAsString(valueField);
    return column;
}

/// Adds a memo to a generated form whose items the form writer cuts over several lines with "+":
/// long items, one with a code between the pieces, next to a short one. A binary form stays binary.
void AddLongListItems(const std::string& path, int number) {
    const std::string content = ReadBytes(path);
    const bool binary = !IsTextForm(content);
    std::string text = binary ? BinaryFormToText(content) : content;
    const std::string n = std::to_string(number);
    const std::string memo = "  object LongMemo: TMemo\r\n    Lines.Strings = (\r\n      'Short " + n +
                             "'\r\n      \r\n        'A memo line longer than one line of the form text " +
                             "is cut by the' +\r\n        ' writer into pieces " + n +
                             "'\r\n      \r\n        'Another long memo line, with a code in the middle o" +
                             "f it: Gr'#246 +\r\n        'e and more text " + n + "')\r\n  end\r\n";
    const std::size_t last = text.rfind("end");
    ASSERT_NE(last, std::string::npos) << path;
    text.insert(last, memo);
    WriteBytes(path, binary ? TextToBinaryForm(text) : text);
}

class TranslateCycleTest : public TranslateFixture {};

TEST_F(TranslateCycleTest, EveryTranslatedTextIsFoundAndNothingElseChanges) {
    GeneratorOptions options;
    options.forms = 24;
    options.units = 24;
    options.binaryEvery = 3;
    const GeneratedProject generated = GenerateProject(project.Path(), options);
    settings.projectPath = generated.projectPath;
    int forms = 0;
    bool binaryForm = false;
    for (const auto& entry : std::filesystem::directory_iterator(project.Path())) {
        if (entry.path().extension() == ".dfm" && forms < 4) {
            binaryForm = binaryForm || !IsTextForm(ReadBytes(entry.path().string()));
            AddLongListItems(entry.path().string(), ++forms);
        }
    }
    ASSERT_TRUE(binaryForm) << "long list items want a binary form among the changed ones";
    std::map<std::string, std::string> originals;
    for (const auto& entry : std::filesystem::directory_iterator(project.Path()))
        originals[entry.path().string()] = ReadBytes(entry.path().string());

    CollectState state;
    const CollectSummary collected = RunCollectCommand(*table, settings, host, state);
    ASSERT_FALSE(collected.failed) << collected.failure;
    ASSERT_GT(collected.textsAdded, 100);

    // Every text but each seventh gets a translation with an apostrophe and a letter beyond ASCII.
    int number = 0;
    table->SetFiltered(false);
    table->SetIndexFieldNames("English");
    std::map<std::string, std::string> expected; // English -> the text the translated project holds
    for (table->First(); !table->Eof(); table->Next()) {
        const std::string english = table->FieldAsString("English");
        if (++number % 7 == 0) {
            expected[english] = english;
            continue;
        }
        const std::string german = "\xc3\x9c"
                                   "ber '" +
                                   english + "'";
        table->Edit();
        table->SetField("German", german);
        table->Post();
        expected[english] = german;
    }

    host.Clear();
    const TranslateSummary translated = Run();
    ASSERT_FALSE(translated.failed) << translated.failure;
    EXPECT_EQ(translated.formFilesTranslated, options.forms);
    EXPECT_EQ(translated.unitFilesTranslated, options.units);

    // Collected again into a fresh table, the project holds exactly the expected texts.
    test::TableFile againFile;
    StringsTable again(againFile.Path());
    RecordingHost againHost;
    CollectState againState;
    const CollectSummary recollected = RunCollectCommand(again, settings, againHost, againState);
    ASSERT_FALSE(recollected.failed) << recollected.failure;
    std::set<std::string> found;
    for (const auto& [text, unused] : Column(again, "English", "English"))
        found.insert(text);
    std::set<std::string> wanted;
    for (const auto& [english, text] : expected)
        wanted.insert(text);
    std::vector<std::string> unexpected;
    std::set_difference(found.begin(), found.end(), wanted.begin(), wanted.end(),
                        std::back_inserter(unexpected));
    std::vector<std::string> missing;
    std::set_difference(wanted.begin(), wanted.end(), found.begin(), found.end(),
                        std::back_inserter(missing));
    EXPECT_EQ(unexpected, std::vector<std::string>{});
    EXPECT_EQ(missing, std::vector<std::string>{});

    // Every file has its backup, byte for byte the original.
    for (const auto& [path, content] : originals) {
        if (path.ends_with(".dfm") || path.ends_with(".pas"))
            EXPECT_EQ(ReadBytes(BackupPath(path)), content) << path;
        else
            EXPECT_EQ(ReadBytes(path), content) << path;
    }
}

TEST_F(TranslateCycleTest, WithoutTranslationsEveryFileKeepsItsBytes) {
    GeneratorOptions options;
    options.forms = 12;
    options.units = 12;
    options.binaryEvery = 2;
    const GeneratedProject generated = GenerateProject(project.Path(), options);
    settings.projectPath = generated.projectPath;
    std::map<std::string, std::string> originals;
    for (const auto& entry : std::filesystem::directory_iterator(project.Path()))
        originals[entry.path().string()] = ReadBytes(entry.path().string());
    CollectState state;
    ASSERT_FALSE(RunCollectCommand(*table, settings, host, state).failed);
    const TranslateSummary translated = Run();
    ASSERT_FALSE(translated.failed) << translated.failure;
    EXPECT_EQ(translated.textsReplaced, 0);
    // Nothing to change: every file keeps its bytes (text forms included) and gets no backup.
    EXPECT_TRUE(translated.changed.empty());
    for (const auto& [path, content] : originals) {
        EXPECT_EQ(ReadBytes(path), content) << path;
        EXPECT_FALSE(std::filesystem::exists(BackupPath(path)) && !path.ends_with(".dpr")) << path;
    }
}

} // namespace
} // namespace wordloom
