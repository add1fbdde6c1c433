#include "collect/collect_command.h"

#include "collect_fixture.h"

#include <algorithm>

namespace wordloom {
namespace {

using TextList = std::vector<std::string>;
using Kind = RecordingHost::Kind;

class CollectCommand : public CollectFixture {
protected:
    CollectSummary Run(bool includePas = true) {
        ProjectSettings settings;
        settings.projectPath = project.Write("Demo.App.dpr", "program Demo;\r\n");
        settings.language = "English";
        settings.translation = "German";
        settings.includePas = includePas;
        return RunAndNote(settings);
    }

    CollectSummary RunAndNote(const ProjectSettings& settings) {
        const CollectSummary summary = RunCollectCommand(*table, settings, host, state);
        m_indexAfterRun = table->IndexField();
        m_recNoAfterRun = table->RecNo();
        return summary;
    }

    /// The closing steps ran, in their order, and left the window as it was.
    void ExpectClosed() {
        std::vector<Kind> kinds;
        for (const auto& event : host.Events()) {
            kinds.push_back(event.kind);
        }
        // A failure that ended the command is shown after the closing steps.
        if (!kinds.empty() && kinds.back() == Kind::Error) {
            kinds.pop_back();
        }
        ASSERT_GE(kinds.size(), 3u);
        EXPECT_EQ(kinds[kinds.size() - 3], Kind::ApplyProjectFilter);
        EXPECT_EQ(kinds[kinds.size() - 2], Kind::SetViewAttached);
        EXPECT_EQ(kinds.back(), Kind::BusyCursor);
        EXPECT_TRUE(host.ViewAttached());
        EXPECT_FALSE(host.Busy());
        EXPECT_EQ(m_indexAfterRun, "German");
        EXPECT_EQ(m_recNoAfterRun, 0);
    }

private:
    std::string m_indexAfterRun;
    int m_recNoAfterRun = -1;

protected:
};

TEST_F(CollectCommand, FormsFirstThenUnitsWithStatusTexts) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = ' Shared '\r\nend\r\n");
    project.Write("MAIN.PAS", "s := 'Shared';\r\nt := 'Only unit';\r\n");
    project.Write("Sub/Deep.dfm", "object Form2: TForm2\r\n  Caption = 'Too deep'\r\nend\r\n");
    project.Write("Notes.txt", "'Not a source'");
    const CollectSummary summary = Run();
    EXPECT_FALSE(summary.failed);
    EXPECT_EQ(summary.filesRead, 2);
    EXPECT_EQ(summary.textsAdded, 2);
    EXPECT_EQ(host.StatusTexts(), (TextList{"Parsing Main.dfm ...", "Parsing MAIN.PAS ...", "Finished"}));
    EXPECT_EQ(host.Count(Kind::ProcessPendingEvents), 1);
    EXPECT_TRUE(host.Messages().empty());
    const auto records = Records();
    EXPECT_EQ(records.at("Shared"), (FiledText{1, 1, "Demo"})); // the form came first
    EXPECT_EQ(records.at("Only unit"), (FiledText{0, 0, "Demo"}));
    EXPECT_EQ(records.size(), 2u);
    ExpectClosed();
}

TEST_F(CollectCommand, NoFormsMeansNothingIsRead) {
    project.Write("Unit1.pas", "s := 'Never read';\r\n");
    const CollectSummary summary = Run();
    EXPECT_FALSE(summary.failed);
    EXPECT_EQ(host.Messages(), (TextList{"No Forms found!"}));
    EXPECT_TRUE(host.StatusTexts().empty());
    EXPECT_TRUE(Texts().empty());
    ExpectClosed();
}

TEST_F(CollectCommand, FormsWithoutUnits) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Form text'\r\nend\r\n");
    Run();
    EXPECT_EQ(host.Messages(), (TextList{"No Pascal Files found!"}));
    EXPECT_EQ(host.StatusTexts(), (TextList{"Parsing Main.dfm ...", "Finished"}));
    EXPECT_EQ(Texts(), (TextList{"Form text"}));
}

TEST_F(CollectCommand, UnitsLeftOutWhenNotIncluded) {
    project.Write("Main.dfm", "object Form1: TForm1\r\nend\r\n");
    project.Write("Unit1.pas", "s := 'Unit text';\r\n");
    Run(false);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(host.StatusTexts(), (TextList{"Parsing Main.dfm ...", "Finished"}));
    EXPECT_TRUE(Texts().empty());
}

TEST_F(CollectCommand, SecondRunAddsNothing) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Once'\r\n  Hint = 'Twice'\r\nend\r\n");
    project.Write("Unit1.pas", "s := 'Thrice';\r\n");
    EXPECT_EQ(Run().textsAdded, 3);
    EXPECT_EQ(CommittedCount(), "3");
    const auto first = Records();
    const CollectSummary again = Run();
    EXPECT_EQ(again.textsAdded, 0);
    EXPECT_EQ(again.filesRead, 2);
    EXPECT_EQ(Records(), first);
}

TEST_F(CollectCommand, FileThatCannotBeReadEndsTheCommandAndKeepsWhatWasFiled) {
    // Every file but the broken one files a text; the broken one stops the command wherever the
    // directory order puts it, and texts of files before it stay filed.
    project.Write("A.dfm", "object FormA: TFormA\r\n  Caption = 'From A'\r\nend\r\n");
    project.Write("B.dfm", "not a form at all");
    project.Write("C.dfm", "object FormC: TFormC\r\n  Caption = 'From C'\r\nend\r\n");
    project.Write("Unit1.pas", "s := 'Unit text';\r\n");
    const CollectSummary summary = Run();
    EXPECT_TRUE(summary.failed);
    EXPECT_EQ(summary.failure, "Invalid stream format");
    EXPECT_EQ(host.Errors(), (TextList{"Invalid stream format"}));
    const TextList status = host.StatusTexts();
    EXPECT_EQ(std::count(status.begin(), status.end(), "Finished"), 0);
    const int formsBefore =
        static_cast<int>(std::find(status.begin(), status.end(), "Parsing B.dfm ...") - status.begin());
    EXPECT_EQ(summary.filesRead, formsBefore);
    EXPECT_EQ(summary.textsAdded, formsBefore);
    EXPECT_EQ(static_cast<int>(Texts().size()), formsBefore);
    EXPECT_EQ(CommittedCount(), std::to_string(formsBefore));
    const TextList texts = Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Unit text"), 0);
    ExpectClosed();
}

TEST_F(CollectCommand, ParsingErrorsDoNotEndTheCommand) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'broken\r\n  Hint = 'Fine'\r\nend\r\n");
    const CollectSummary summary = Run(false);
    EXPECT_FALSE(summary.failed);
    EXPECT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(Texts(), (TextList{"Fine"}));
    EXPECT_TRUE(host.Errors().empty());
}

TEST_F(CollectCommand, RefusesBeforeAnythingWhenItCannotStart) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Text'\r\nend\r\n");
    const std::string dpr = project.Write("Demo.dpr", "program Demo;\r\n");
    const std::string missing = project.Path() + "/elsewhere/Demo.dpr";
    struct Case {
        std::string projectPath, language, refusal;
    };
    for (const Case& c :
         std::vector<Case>{// A missing project file said "No Forms found!" (or read the root folder).
                           {missing, "English", "The project file " + missing + " could not be found."},
                           {"", "English", "No project file is given."},
                           {dpr, "Project", "\"Project\" is not a language of the strings table."},
                           {dpr, "SpEnd", "\"SpEnd\" is not a language of the strings table."},
                           {dpr, "Klingon", "\"Klingon\" is not a language of the strings table."}}) {
        host.Clear();
        ProjectSettings settings;
        settings.projectPath = c.projectPath;
        settings.language = c.language;
        settings.translation = "German";
        const CollectSummary summary = RunCollectCommand(*table, settings, host, state);
        EXPECT_TRUE(summary.failed);
        EXPECT_EQ(summary.failure, c.refusal);
        ASSERT_EQ(host.Events().size(), 1u) << c.refusal;
        EXPECT_EQ(host.Errors(), TextList{c.refusal});
        EXPECT_EQ(summary.filesRead, 0);
        EXPECT_TRUE(Texts().empty());
    }
}

} // namespace
} // namespace wordloom
