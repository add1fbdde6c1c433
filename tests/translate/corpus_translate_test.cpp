// Rewrites every form file and unit of the shared corpus of real projects with nothing translated
// and with every value translated into itself: no text may change.
#include "base/project.h"
#include "forms/code_page.h"
#include "forms/form_stream.h"
#include "translate/form_rewriter.h"
#include "translate/unit_rewriter.h"

#include "strings_db/strings_table.h"
#include "support/corpus.h"
#include "support/file_read.h"
#include "support/recording_host.h"
#include "support/table_file.h"
#include "support/temp_dir.h"
#include "translate/file_replace.h"
#include "translate/translate_command.h"

#include <gtest/gtest.h>

#include <map>

#include <algorithm>
#include <filesystem>

namespace wordloom {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST(CorpusTranslate, FormsKeepEveryTextWhenNothingOrTheSameIsTranslated) {
    if (const std::string missing = test::CorpusMissing(); !missing.empty())
        GTEST_SKIP() << missing;
    const std::vector<fs::path> forms = test::CorpusFiles({".dfm"});
    int values = 0;
    int checked = 0;
    const FormValueLookup nothing = [&values](const PascalString&) -> std::optional<PascalString> {
        ++values;
        return std::nullopt;
    };
    const FormValueLookup same = [](const PascalString& value) -> std::optional<PascalString> {
        return value;
    };
    for (const fs::path& path : forms) {
        const std::string content = ReadBytes(path);
        std::string text;
        std::string canonical;
        try {
            text = IsTextForm(content) ? content : BinaryFormToText(content);
            canonical = TextToBinaryForm(text);
        } catch (const std::exception&) {
            continue; // not convertible as it stands: the pass reports it, nothing to compare
        }
        ++checked;
        FormLinePosition position;
        const std::string untouched = TranslateFormText(text, DefaultProperties(), nothing, position);
        ASSERT_NO_THROW(EXPECT_EQ(TextToBinaryForm(untouched), canonical) << path) << path;
        const std::string rewritten = TranslateFormText(text, DefaultProperties(), same, position);
        ASSERT_NO_THROW(EXPECT_EQ(TextToBinaryForm(rewritten), canonical) << path) << path;
    }
    // Nearly every real form converts, and they hold many searched values.
    EXPECT_GT(checked, static_cast<int>(forms.size()) * 9 / 10);
    EXPECT_GT(values, checked);
}

TEST(CorpusTranslate, UnitsKeepEveryByteWhenNothingIsTranslated) {
    if (const std::string missing = test::CorpusMissing(); !missing.empty())
        GTEST_SKIP() << missing;
    const std::vector<fs::path> units = test::CorpusFiles({".pas"});
    int literals = 0;
    const LiteralLookup nothing = [&literals](std::string_view) -> std::optional<TranslatedText> {
        ++literals;
        return std::nullopt;
    };
    for (const fs::path& path : units) {
        const std::string content = ReadBytes(path);
        std::string expected = content;
        if (!content.empty() && content.back() != '\n') {
            const std::size_t lf = content.find('\n');
            expected += lf != std::string::npos && (lf == 0 || content[lf - 1] != '\r') ? "\n" : "\r\n";
        }
        if (content.empty())
            expected = "\r\n";
        EXPECT_EQ(TranslateUnitText(content, nothing), expected) << path;
    }
    EXPECT_GT(literals, static_cast<int>(units.size()));
}

/// The command on copies of the corpus folders richest in forms, with an empty target language:
/// every file is read, locked and worked out, and none is rewritten or backed up. (Every file of the
/// corpus goes through the rewriters in the tests above.)
TEST(CorpusTranslate, TheCommandOnCopiesOfTheProjectsChangesNoText) {
    if (const std::string missing = test::CorpusMissing(); !missing.empty())
        GTEST_SKIP() << missing;
    std::map<fs::path, int> formsPerFolder;
    for (const fs::path& path : test::CorpusFiles({".dfm"}))
        ++formsPerFolder[path.parent_path()];
    std::vector<std::pair<int, fs::path>> ranked;
    for (const auto& [folder, count] : formsPerFolder)
        ranked.emplace_back(-count, folder);
    std::sort(ranked.begin(), ranked.end());
    std::vector<fs::path> folders;
    for (std::size_t i = 0; i < ranked.size() && i < 12; ++i)
        folders.push_back(ranked[i].second);
    test::TableFile tableFile;
    StringsTable table(tableFile.Path());
    int forms = 0;
    for (const fs::path& folder : folders) {
        TempDir copy;
        std::vector<std::pair<std::string, std::string>> originals;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string extension = Lower(entry.path().extension().string());
            if (entry.is_regular_file() && (extension == ".dfm" || extension == ".pas")) {
                const std::string content = ReadBytes(entry.path());
                originals.emplace_back(copy.Write(entry.path().filename().string(), content), content);
            }
        }
        RecordingHost host;
        ProjectSettings settings;
        settings.projectPath = copy.Write("Project.dpr", "program Project;\r\n");
        settings.language = "English";
        settings.translation = "German";
        const TranslateSummary summary = RunTranslateCommand(table, settings, host);
        // Nothing has a translation: no file is rewritten, none gets a backup.
        for (const auto& [path, original] : originals) {
            EXPECT_EQ(ReadBytes(path), original) << path;
            EXPECT_FALSE(fs::exists(BackupPath(path))) << path;
            ++forms;
        }
        EXPECT_EQ(summary.changed.size(), 0u);
        if (summary.failed) {
            // Only a form that cannot be converted as it stands may stop a pass.
            EXPECT_NE(summary.failure.find("Parsing error"), std::string::npos) << summary.failure;
        }
    }
    EXPECT_GT(forms, 0);
}

} // namespace
} // namespace wordloom
