// wordloom-cli translate --dry-run/--diff/--form-format, runs and undo.
#include "base/file_io.h"
#include "cli/commands.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace wordloom::cli {
namespace {

namespace fs = std::filesystem;

const std::string kUnit = "S := 'Open file';\r\n";
const std::string kForm = "object F: TF\r\n  Caption = 'Open file'\r\nend\r\n";

class RunsCliTest : public testing::Test {
protected:
    void SetUp() override {
        m_table.Exec("INSERT INTO strings (English, German, SpFront, SpEnd) VALUES ('Open file', 'Datei "
                     "laden', 0, 0)");
        WriteFileAtomically(Project("Demo.dpr"), "program Demo;\r\n");
        WriteFileAtomically(Project("Main.pas"), kUnit);
        WriteFileAtomically(Project("Main.dfm"), kForm);
        WriteFileAtomically(Project("Quiet.pas"), "S := 'Nobody';\r\n");
    }

    std::string Project(const std::string& name) const { return (m_table.Folder() / name).string(); }

    int Run(CommandFunction command, std::vector<std::string> args) {
        m_out.str({});
        m_err.str({});
        args.insert(args.begin(), Project("Demo.dpr"));
        args.insert(args.end(), {"--db", m_table.Path()});
        return command(args, m_out, m_err);
    }
    int Translate(std::vector<std::string> args) {
        args.insert(args.end(), {"--to", "German", "--yes"});
        return Run(TranslateCommand, args);
    }
    void ExpectOriginals() const {
        EXPECT_EQ(ReadFileBytes(Project("Main.pas")), kUnit);
        EXPECT_EQ(ReadFileBytes(Project("Main.dfm")), kForm);
    }

    test::TableFile m_table;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(RunsCliTest, ADryRunSummarisesAndTheDiffShowsTheChangesChangingNothing) {
    ASSERT_EQ(Translate({"--dry-run"}), 0) << m_err.str();
    const std::string summary = m_out.str();
    EXPECT_NE(summary.find("would change: Main.pas (1 texts)\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("would change: Main.dfm (1 texts)\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("unchanged: Quiet.pas\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("no translation: Nobody\n"), std::string::npos) << summary;
    ExpectOriginals();
    EXPECT_FALSE(fs::exists(Project("Main.~pa")));

    ASSERT_EQ(Translate({"--diff"}), 0) << m_err.str();
    const std::string diff = m_out.str();
    EXPECT_NE(diff.find("--- a/Main.pas\n+++ b/Main.pas\n@@ -1 +1 @@\n-S := 'Open file';\r\n+S := 'Datei "
                        "laden';\r\n"),
              std::string::npos)
        << diff;
    // The form is shown in text form although it would be written binary.
    EXPECT_NE(diff.find("-  Caption = 'Open file'\r\n+  Caption = 'Datei laden'\r\n"), std::string::npos)
        << diff;
    ExpectOriginals();
    // Nothing was recorded either.
    ASSERT_EQ(Run(RunsCommand, {}), 0) << m_err.str();
    EXPECT_EQ(m_out.str(), "");
}

TEST_F(RunsCliTest, FormFormatKeepKeepsTextFormsAndOtherWordsAreRefused) {
    EXPECT_EQ(Translate({"--form-format", "text"}), kExitUsage);
    ExpectOriginals();
    ASSERT_EQ(Translate({"--form-format", "keep"}), 0) << m_err.str();
    EXPECT_EQ(ReadFileBytes(Project("Main.dfm")), "object F: TF\r\n  Caption = 'Datei laden'\r\nend\r\n");
}

TEST_F(RunsCliTest, RunsAreListedUndoneAndPruned) {
    ASSERT_EQ(Translate({}), 0) << m_err.str();
    m_table.Exec("INSERT INTO strings (English, German, SpFront, SpEnd) VALUES ('Nobody', 'Niemand', 0, 0)");
    ASSERT_EQ(Translate({}), 0) << m_err.str();
    ASSERT_EQ(Run(RunsCommand, {}), 0) << m_err.str();
    std::istringstream lines(m_out.str());
    std::string first;
    std::string second;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(first.substr(0, 2), "2\t");
    EXPECT_NE(first.find("\tGerman\tdone\t1"), std::string::npos) << first;
    EXPECT_NE(second.find("\tGerman\tdone\t2"), std::string::npos) << second;
    EXPECT_EQ(second.substr(0, 2), "1\t");

    // Undo without --run takes the newest run still done, then the one before.
    ASSERT_EQ(Run(UndoCommand, {}), 0) << m_err.str();
    EXPECT_EQ(m_out.str(), "run 2: files put back: 1\n");
    EXPECT_EQ(ReadFileBytes(Project("Quiet.pas")), "S := 'Nobody';\r\n");
    EXPECT_EQ(ReadFileBytes(Project("Main.pas")), "S := 'Datei laden';\r\n");
    ASSERT_EQ(Run(UndoCommand, {"--run", "1"}), 0) << m_err.str();
    ExpectOriginals();
    EXPECT_EQ(Run(UndoCommand, {}), 1);
    EXPECT_NE(m_err.str().find("there is no translation run to undo"), std::string::npos);
    EXPECT_EQ(Run(UndoCommand, {"--run", "9"}), 1);
    EXPECT_NE(m_err.str().find("the project has no run 9"), std::string::npos);

    ASSERT_EQ(Run(RunsCommand, {"--prune", "1"}), 0) << m_err.str();
    EXPECT_EQ(m_out.str().substr(0, 2), "2\t");
    EXPECT_EQ(m_out.str().find("\n1\t"), std::string::npos);
}

TEST_F(RunsCliTest, UndoLeavesAFileChangedSinceAloneUnlessForced) {
    ASSERT_EQ(Translate({}), 0) << m_err.str();
    WriteFileAtomically(Project("Main.pas"), "edited\r\n");
    EXPECT_EQ(Run(UndoCommand, {}), 1);
    EXPECT_NE(m_err.str().find("changed since the run, left alone: Main.pas"), std::string::npos)
        << m_err.str();
    EXPECT_EQ(ReadFileBytes(Project("Main.pas")), "edited\r\n");
    EXPECT_EQ(ReadFileBytes(Project("Main.dfm")), kForm);
    ASSERT_EQ(Run(UndoCommand, {"--force"}), 0) << m_err.str();
    ExpectOriginals();
}

} // namespace
} // namespace wordloom::cli
