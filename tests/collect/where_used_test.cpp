// What a collect records beside the texts: where each stands, the unused ones, the proposals of the
// "don't translate" rules, and a collect stopped between files.
#include "collect/collect_command.h"
#include "strings_db/side_store.h"

#include "collect_fixture.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace wordloom {
namespace {

using TextList = std::vector<std::string>;

// Asks to stop once `filesBeforeCancel` files have been begun.
class CancellingHost : public RecordingHost {
public:
    int filesBeforeCancel = 1000;
    bool CancelRequested() override { return filesBeforeCancel-- <= 0; }
};

class WhereUsed : public CollectFixture {
protected:
    CollectSummary Run(CommandHost& runHost, bool includePas = true) {
        ProjectSettings settings;
        settings.projectPath = project.Write("Demo.dpr", "program Demo;\r\n");
        settings.language = "English";
        settings.translation = "German";
        settings.includePas = includePas;
        settings.dontTranslateRulesOff = rulesOff;
        return RunCollectCommand(*table, settings, runHost, state);
    }
    CollectSummary Run(bool includePas = true) { return Run(host, includePas); }

    std::vector<std::string> Places(const std::string& text) {
        std::vector<std::string> places;
        for (const Occurrence& o : table->Side().Occurrences("English", text)) {
            places.push_back(o.project + ":" + o.file + ":" + std::to_string(o.line) + ":" + o.path + ":" +
                             o.property);
        }
        return places;
    }

    std::vector<std::string> rulesOff;
};

TEST_F(WhereUsed, FormAndUnitPlacesWithComponentPaths) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n"
                              "  Caption = 'Main window'\r\n"
                              "  object Panel1: TPanel\r\n"
                              "    inline Frame1: TFrame1\r\n"
                              "      object OKButton: TButton\r\n"
                              "        Caption = 'Shared'\r\n"
                              "      end\r\n"
                              "    end\r\n"
                              "    object Grid: TDBGrid\r\n"
                              "      Columns = <\r\n"
                              "        item\r\n"
                              "          Caption = 'Column one'\r\n"
                              "        end\r\n"
                              "        item\r\n"
                              "          Caption = 'Column two'\r\n"
                              "        end>\r\n"
                              "    end\r\n"
                              "  end\r\n"
                              "  Hint = 'After the panel'\r\n"
                              "end\r\n");
    project.Write("Tools.pas", "unit Tools;\r\n// 'In a comment'\r\ns := 'Shared';\r\n");
    Run();
    EXPECT_EQ(Places("Main window"), (TextList{"Demo:Main.dfm:2:Form1:Caption"}));
    EXPECT_EQ(Places("Shared"),
              (TextList{"Demo:Main.dfm:6:Form1.Panel1.Frame1.OKButton:Caption", "Demo:Tools.pas:3:Tools:"}));
    EXPECT_EQ(Places("Column two"), (TextList{"Demo:Main.dfm:15:Form1.Panel1.Grid:Caption"}));
    EXPECT_EQ(Places("After the panel"), (TextList{"Demo:Main.dfm:19:Form1:Hint"}));
    EXPECT_TRUE(Places("In a comment").empty());
}

TEST_F(WhereUsed, RecollectReplacesAFilesRowsAndDropsVanishedFiles) {
    project.Write("Main.dfm",
                  "object Form1: TForm1\r\n  Caption = 'Old caption'\r\n  Hint = 'Kept'\r\nend\r\n");
    project.Write("Gone.dfm", "object Form2: TForm2\r\n  Caption = 'Only in gone'\r\nend\r\n");
    Run();
    EXPECT_EQ(table->Side().OccurrenceFiles("Demo"), (TextList{"Gone.dfm", "Main.dfm"}));
    project.Write("Main.dfm",
                  "object Form1: TForm1\r\n\r\n  Hint = 'Kept'\r\n  Caption = 'New caption'\r\nend\r\n");
    std::filesystem::remove(std::filesystem::path(project.Path()) / "Gone.dfm");
    Run();
    EXPECT_EQ(table->Side().OccurrenceFiles("Demo"), (TextList{"Main.dfm"}));
    const std::vector<Occurrence> rows = table->Side().FileOccurrences("Demo", "Main.dfm");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (Occurrence{"Demo", "Main.dfm", 3, "Form1", "Hint", "English", "Kept"}));
    EXPECT_EQ(rows[1].text, "New caption");
    EXPECT_TRUE(Places("Old caption").empty());
    // Both texts left behind are still records, now unused.
    EXPECT_EQ(table->Side().UnusedTexts("Demo", "English"), (TextList{"Old caption", "Only in gone"}));
}

TEST_F(WhereUsed, UnitsLeftOutKeepTheirRows) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Form text'\r\nend\r\n");
    project.Write("Unit1.pas", "s := 'Unit text';\r\n");
    Run();
    Run(false);
    EXPECT_EQ(Places("Unit text"), (TextList{"Demo:Unit1.pas:1:Unit1:"}));
    EXPECT_TRUE(table->Side().UnusedTexts("Demo", "English").empty());
}

TEST_F(WhereUsed, DeleteUnusedSparesOtherProjectsRecords) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Used'\r\nend\r\n");
    Run();
    // Filed by hand: one for this project alone, one shared with another, one of another project.
    table->Side().SetReview({"English", "Mine only", "German", ReviewState::Reviewed, {}, 0});
    for (const auto& [text, projectField] : std::vector<std::pair<std::string, std::string>>{
             {"Mine only", "Demo"}, {"Shared", "Other;Demo"}, {"Theirs", "Other"}}) {
        table->Insert();
        table->SetField("English", text);
        table->SetField("Project", projectField);
        table->Post();
    }
    EXPECT_EQ(table->Side().UnusedTexts("Demo", "English"), (TextList{"Mine only", "Shared"}));
    EXPECT_EQ(table->Side().DeleteUnused("Demo", "English"), (TextList{"Mine only", "Shared"}));
    table->Refresh();
    const auto records = Records();
    EXPECT_FALSE(records.contains("Mine only"));
    EXPECT_EQ(records.at("Shared").project, "Other");
    EXPECT_EQ(records.at("Theirs").project, "Other");
    EXPECT_TRUE(records.contains("Used"));
    EXPECT_FALSE(table->Side().Review("English", "Mine only", "German"));
    EXPECT_TRUE(table->Side().UnusedTexts("Demo", "English").empty());
}

TEST_F(WhereUsed, DeleteUnusedCancelledKeepsWhatIsDoneAndLeavesTheRest) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Used'\r\nend\r\n");
    Run();
    constexpr int kUnused = 200; // over three progress steps of 64
    TextList unused;
    for (int i = 0; i < kUnused; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "Gone %03d", i);
        unused.emplace_back(text);
        table->Insert();
        table->SetField("English", text);
        table->SetField("Project", i % 2 == 0 ? "Demo" : "Other;Demo");
        table->Post();
    }
    RecordingHost cancelling;
    cancelling.cancelAfterProgress = 2; // told at 0 and 64, stopped before the 128th
    const TextList removed = table->Side().DeleteUnused("Demo", "English", &cancelling);
    ASSERT_EQ(cancelling.ProgressSteps().size(), 2u);
    EXPECT_EQ(cancelling.ProgressSteps()[1].done, 64);
    EXPECT_EQ(cancelling.ProgressSteps()[1].total, kUnused);
    EXPECT_EQ(cancelling.ProgressSteps()[1].current, unused[64]);
    EXPECT_EQ(removed, TextList(unused.begin(), unused.begin() + 128));
    table->Refresh();
    const auto records = Records();
    for (int i = 0; i < kUnused; ++i) {
        const bool done = i < 128;
        const std::string& text = unused[static_cast<std::size_t>(i)];
        if (i % 2 == 0) {
            EXPECT_EQ(records.contains(text), !done) << text;
        } else {
            EXPECT_EQ(records.at(text).project, done ? "Other" : "Other;Demo") << text;
        }
    }
    // What was not reached is still there to remove.
    EXPECT_EQ(table->Side().UnusedTexts("Demo", "English"), TextList(unused.begin() + 128, unused.end()));
    EXPECT_EQ(table->Side().DeleteUnused("Demo", "English").size(), static_cast<std::size_t>(kUnused - 128));
}

TEST_F(WhereUsed, AProjectNeverCollectedHasNoUnusedTexts) {
    table->Insert();
    table->SetField("English", "Filed before where-used");
    table->SetField("Project", "Demo");
    table->Post();
    EXPECT_TRUE(table->Side().UnusedTexts("Demo", "English").empty());
    EXPECT_TRUE(table->Side().DeleteUnused("Demo", "English").empty());
    EXPECT_EQ(CommittedCount(), "1");
}

TEST_F(WhereUsed, NewRecordsGetDontTranslateProposalsForEveryTarget) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n"
                              "  Caption = 'Save the file'\r\n"
                              "  Hint = 'select * from customers'\r\n"
                              "  HelpKeyword = 'btnSave_Click'\r\n"
                              "end\r\n");
    rulesOff = {"identifier"};
    Run();
    const std::optional<ReviewEntry> sql =
        table->Side().Review("English", "select * from customers", "French");
    ASSERT_TRUE(sql);
    EXPECT_EQ(sql->state, ReviewState::Suggested);
    EXPECT_EQ(sql->note, "dont_translate:sql");
    EXPECT_TRUE(table->Side().Review("English", "select * from customers", "German"));
    EXPECT_FALSE(table->Side().Review("English", "select * from customers", "English"));
    EXPECT_FALSE(table->Side().Review("English", "Save the file", "German"));
    EXPECT_FALSE(table->Side().Review("English", "btnSave_Click", "German")); // rule switched off
}

TEST_F(WhereUsed, CancelKeepsTheFilesDoneAndTheirRows) {
    project.Write("A.dfm", "object A: TForm\r\n  Caption = 'From A'\r\nend\r\n");
    project.Write("B.dfm", "object B: TForm\r\n  Caption = 'From B'\r\nend\r\n");
    project.Write("C.dfm", "object C: TForm\r\n  Caption = 'From C'\r\nend\r\n");
    Run();
    std::filesystem::remove(std::filesystem::path(project.Path()) / "C.dfm");
    project.Write("A.dfm", "object A: TForm\r\n  Caption = 'From A again'\r\nend\r\n");
    project.Write("B.dfm", "object B: TForm\r\n  Caption = 'From B again'\r\nend\r\n");
    CancellingHost cancelling;
    cancelling.filesBeforeCancel = 1;
    const CollectSummary summary = Run(cancelling);
    EXPECT_TRUE(summary.cancelled);
    EXPECT_FALSE(summary.failed);
    EXPECT_EQ(summary.filesRead, 1);
    // The folder's order decides which file came first.
    const TextList statusTexts = cancelling.StatusTexts();
    ASSERT_EQ(statusTexts.size(), 2u);
    EXPECT_EQ(statusTexts[1], "Cancelled");
    const std::string done = statusTexts[0] == "Parsing A.dfm ..." ? "A" : "B";
    const std::string notDone = done == "A" ? "B" : "A";
    EXPECT_EQ(statusTexts[0], "Parsing " + done + ".dfm ...");
    TextList expected{"From A", "From B", "From C", "From " + done + " again"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Texts(), expected);
    EXPECT_EQ(CommittedCount(), "4");
    // A cancelled run is no complete view of the folder: the rows of C stay.
    EXPECT_EQ(table->Side().OccurrenceFiles("Demo"), (TextList{"A.dfm", "B.dfm", "C.dfm"}));
    EXPECT_EQ(Places("From " + done + " again"), (TextList{"Demo:" + done + ".dfm:2:" + done + ":Caption"}));
    EXPECT_EQ(Places("From " + notDone), (TextList{"Demo:" + notDone + ".dfm:2:" + notDone + ":Caption"}));
}

TEST_F(WhereUsed, ProgressCountsFormsThenUnits) {
    project.Write("A.dfm", "object A: TForm\r\n  Caption = 'From A'\r\nend\r\n");
    project.Write("B.dfm", "object B: TForm\r\n  Caption = 'From B'\r\nend\r\n");
    project.Write("U.pas", "unit U;\r\nconst S = 'From U';\r\nend.\r\n");
    for (const bool includePas : {true, false}) {
        SCOPED_TRACE(includePas);
        RecordingHost counting;
        Run(counting, includePas);
        const std::size_t files = includePas ? 3 : 2;
        const std::vector<RecordingHost::ProgressStep>& steps = counting.ProgressSteps();
        ASSERT_EQ(steps.size(), files + 1);
        EXPECT_EQ(steps.back().done, static_cast<long long>(files));
        EXPECT_EQ(steps.back().total, static_cast<long long>(files));
        EXPECT_EQ(steps.back().current, "");
        TextList names;
        for (std::size_t i = 0; i < files; ++i) {
            EXPECT_EQ(steps[i].done, static_cast<long long>(i));
            EXPECT_EQ(steps[i].total, static_cast<long long>(files));
            names.push_back(steps[i].current);
        }
        std::sort(names.begin(), names.begin() + 2);
        EXPECT_EQ(names[0], "A.dfm");
        EXPECT_EQ(names[1], "B.dfm");
        if (includePas) {
            EXPECT_EQ(names[2], "U.pas");
        }
    }
}

} // namespace
} // namespace wordloom
