#include "base/file_io.h"
#include "cli/commands.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>

namespace wordloom::cli {
namespace {

namespace fs = std::filesystem;

class TranslateCliTest : public testing::Test {
protected:
    void SetUp() override {
        m_table.Exec("INSERT INTO strings (English, German, SpFront, SpEnd) VALUES ('Open file', 'Datei "
                     "laden', 0, 0)");
        WriteFileAtomically(Project("Demo.dpr"), "program Demo;\r\n");
        WriteFileAtomically(Project("Main.pas"), "S := 'Open file';\r\n");
        WriteFileAtomically(Project("Main.dfm"), "object F: TF\r\n  Caption = 'Open file'\r\nend\r\n");
    }

    std::string Project(const std::string& name) const { return (m_table.Folder() / name).string(); }

    int Run(std::vector<std::string> args) {
        m_out.str({});
        m_err.str({});
        return TranslateCommand(args, m_out, m_err);
    }

    test::TableFile m_table;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(TranslateCliTest, TranslatesWithYes) {
    ASSERT_EQ(Run({Project("Demo.dpr"), "--to", "German", "--db", m_table.Path(), "--yes"}), 0)
        << m_err.str();
    EXPECT_EQ(ReadFileBytes(Project("Main.pas")), "S := 'Datei laden';\r\n");
    EXPECT_EQ(ReadFileBytes(Project("Main.~pa")), "S := 'Open file';\r\n");
    EXPECT_EQ(m_out.str(), "form files translated: 1, unit files translated: 1, texts replaced: 2\n"
                           "run 1 recorded; 'wordloom-cli undo' takes it back\n");
    EXPECT_NE(m_err.str().find("Translating Main.pas ..."), std::string::npos);
}

TEST_F(TranslateCliTest, AFailedPassGivesAFailingStatus) {
    WriteFileAtomically(Project("Broken.dfm"), "no form at all");
    EXPECT_EQ(Run({Project("Demo.dpr"), "--to", "German", "--db", m_table.Path(), "--yes", "--no-pas"}), 1);
    EXPECT_NE(m_err.str().find("(Invalid stream format)"), std::string::npos) << m_err.str();
    EXPECT_EQ(ReadFileBytes(Project("Main.pas")), "S := 'Open file';\r\n");
}

TEST_F(TranslateCliTest, WrongArgumentsAreRefused) {
    EXPECT_EQ(Run({Project("Demo.dpr"), "--db", m_table.Path(), "--yes"}), kExitUsage); // no --to
    EXPECT_NE(m_err.str().find("--to is required"), std::string::npos);
    EXPECT_EQ(Run({Project("Demo.dpr"), "--to", "Klingon", "--db", m_table.Path(), "--yes"}), 1);
    EXPECT_NE(m_err.str().find("no language field Klingon"), std::string::npos);
    EXPECT_EQ(Run({Project("Demo.dpr"), "--to", "German", "--charset", "7", "--yes"}), kExitUsage);
    EXPECT_NE(m_err.str().find("--charset: unknown character set 7"), std::string::npos) << m_err.str();
    EXPECT_EQ(ReadFileBytes(Project("Main.pas")), "S := 'Open file';\r\n");
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(m_out.str().find("Usage: wordloom-cli translate"), std::string::npos);
}

TEST_F(TranslateCliTest, OnlyLanguageFieldsAreLanguages) {
    // Translating to Project replaced every text by the project's name.
    for (const char* option : {"--to", "--lang"}) {
        for (const char* field : {"Project", "SpFront", "SpEnd"}) {
            EXPECT_EQ(
                Run({Project("Demo.dpr"), "--to", "German", option, field, "--db", m_table.Path(), "--yes"}),
                1);
            EXPECT_NE(m_err.str().find(std::string("no language field ") + field), std::string::npos)
                << m_err.str();
        }
    }
    EXPECT_EQ(ReadFileBytes(Project("Main.pas")), "S := 'Open file';\r\n");
    EXPECT_FALSE(fs::exists(Project("Main.~pa")));
}

TEST_F(TranslateCliTest, AMissingProjectFileIsAFailure) {
    const std::string missing = Project("elsewhere/Demo.dpr");
    EXPECT_EQ(Run({missing, "--to", "German", "--db", m_table.Path(), "--yes"}), 1);
    EXPECT_EQ(m_err.str(), "wordloom-cli translate: cannot find the project file " + missing + "\n");
    // Said before any question: the question would be on the error stream too.
    EXPECT_EQ(Run({missing, "--to", "German", "--db", m_table.Path()}), 1);
    EXPECT_EQ(m_err.str(), "wordloom-cli translate: cannot find the project file " + missing + "\n");
    EXPECT_EQ(Run({m_table.Folder().string(), "--to", "German", "--db", m_table.Path(), "--yes"}), 1);
    EXPECT_EQ(ReadFileBytes(Project("Main.pas")), "S := 'Open file';\r\n");
}

TEST_F(TranslateCliTest, TheTerminalAnswerDecides) {
    const std::string command = std::string(WORDLOOM_BINARY_DIR) + "/cli/wordloom-cli translate '" +
                                Project("Demo.dpr") + "' --to German --db '" + m_table.Path() +
                                "' 2>/dev/null";
    const int refused = std::system(("echo n | " + command).c_str());
    ASSERT_TRUE(WIFEXITED(refused));
    EXPECT_EQ(WEXITSTATUS(refused), 1);
    EXPECT_EQ(ReadFileBytes(Project("Main.pas")), "S := 'Open file';\r\n");
    EXPECT_FALSE(fs::exists(Project("Main.~pa")));
    const int accepted = std::system(("echo y | " + command + " >/dev/null").c_str());
    ASSERT_TRUE(WIFEXITED(accepted));
    EXPECT_EQ(WEXITSTATUS(accepted), 0);
    EXPECT_EQ(ReadFileBytes(Project("Main.pas")), "S := 'Datei laden';\r\n");
}

} // namespace
} // namespace wordloom::cli
