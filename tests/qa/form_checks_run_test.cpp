// The checks on forms in the whole-table run, on places the collector recorded: the component paths
// it files must be the ones the form layout finds.
#include "qa/form_checks.h"
#include "qa/form_files.h"
#include "qa/run_checks.h"
#include "qa/text_measure.h"

#include "base/project.h"
#include "collect/collect_command.h"
#include "forms/code_page.h"
#include "forms/form_stream.h"
#include "strings_db/strings_table.h"
#include "support/file_read.h"
#include "support/recording_host.h"
#include "support/table_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace wordloom::qa {
namespace {

// 6 pixels a character.
class FakeMeasure final : public TextMeasure {
public:
    double TextWidth(std::string_view utf8, const FontDescription&) override {
        double width = 0;
        for (unsigned char c : utf8)
            width += (c & 0xC0) == 0x80 ? 0 : 6;
        return width;
    }
};

class FormChecksRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        table = std::make_unique<StringsTable>(file.Path());
        table->SetIndexFieldNames("English");
    }
    void Collect(const std::string& folder) {
        ProjectSettings settings;
        settings.projectPath = folder + "/Demo.dpr";
        settings.language = "English";
        settings.translation = "German";
        RecordingHost host;
        CollectState state;
        const CollectSummary summary = RunCollectCommand(*table, settings, host, state);
        ASSERT_FALSE(summary.failed) << summary.failure;
    }
    void Translate(const std::string& english, const std::string& german) {
        file.Exec("UPDATE strings SET German = '" + german + "' WHERE English = '" + english + "'");
    }
    RunResult Run(const std::string& folder) {
        const std::unique_ptr<FormFiles> forms = FormFiles::ForProject(folder + "/Demo.dpr", 1);
        RunOptions options;
        options.forms = forms.get();
        options.measure = &measure;
        RunResult result =
            RunChecks(*table, "German", "Demo",
                      CheckRegistry::Standard().Select({"accelerator-clash", "truncation"}), options);
        filesRead = forms->FilesRead();
        return result;
    }
    static std::vector<std::string> Texts(const RunResult& result) {
        std::vector<std::string> texts;
        for (const Finding& finding : result.findings)
            texts.push_back(finding.check + ":" + finding.text);
        return texts;
    }

    test::TableFile file;
    std::unique_ptr<StringsTable> table;
    FakeMeasure measure;
    int filesRead = 0;
};

TEST_F(FormChecksRunTest, CollectedPlacesLeadToTheControls) {
    TempDir project;
    project.Write("Demo.dpr", "program Demo;\r\n");
    project.Write("Main.dfm", "object MainForm: TMainForm\r\n"
                              "  object Buttons: TPanel\r\n"
                              "    Width = 300\r\n"
                              "    object CloseButton: TButton\r\n"
                              "      Width = 75\r\n"
                              "      Caption = '&Close'\r\n"
                              "    end\r\n"
                              "    object SaveButton: TButton\r\n"
                              "      Width = 75\r\n"
                              "      Caption = '&Save'\r\n"
                              "    end\r\n"
                              "  end\r\n"
                              "  object Grid: TListView\r\n"
                              "    Columns = <\r\n"
                              "      item\r\n"
                              "        Caption = '&Name'\r\n"
                              "      end>\r\n"
                              "  end\r\n"
                              "end\r\n");
    project.Write("Binary.dfm", TextToBinaryForm("object Other: TForm\r\n"
                                                 "  object GoButton: TButton\r\n"
                                                 "    Width = 50\r\n"
                                                 "    Caption = 'Go'\r\n"
                                                 "  end\r\n"
                                                 "end\r\n"));
    Collect(project.Path());
    Translate("&Close", "&Schließen");
    Translate("&Save", "&Speichern");
    Translate("Go", "Weitergehen");
    Translate("&Name", "&Speichername");
    const RunResult result = Run(project.Path());
    EXPECT_EQ(Texts(result), (std::vector<std::string>{"truncation:Go", "accelerator-clash:&Close",
                                                       "accelerator-clash:&Save"}));
    EXPECT_EQ(filesRead, 2);
    EXPECT_TRUE(result.notices.empty());
}

// The example project translated as a translator would: nothing to report.
TEST_F(FormChecksRunTest, CleanTranslationOfTheExampleProject) {
    TempDir project;
    for (const auto& entry : std::filesystem::directory_iterator(WORDLOOM_SOURCE_DIR "/examples"))
        project.Write(entry.path().filename().string(), ReadBytes(entry.path()));
    Collect(project.Path());
    Translate("&Open...", "&Öffnen...");
    Translate("&About", "Ü&ber");
    Translate("Wordloom Demo", "Wordloom-Vorführung");
    const RunResult result = Run(project.Path());
    EXPECT_GT(result.records, 5u);
    EXPECT_TRUE(result.findings.empty()) << result.findings.front().message;
    EXPECT_TRUE(result.notices.empty());
    // Both keys taken by the same letter: now they clash.
    Translate("&About", "&Über");
    Translate("&Open...", "&Übernehmen...");
    EXPECT_EQ(Texts(Run(project.Path())),
              (std::vector<std::string>{"accelerator-clash:&Open...", "accelerator-clash:&About"}));
}

} // namespace
} // namespace wordloom::qa
