// wordloom-cli check with the project's forms: --project given as the .dpr file finds the form
// checks' places; given as a name, the form checks say they were skipped.
#include "cli/commands.h"

#include "base/file_io.h"
#include "support/table_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace wordloom::cli {
namespace {

class CheckFormsCli : public ::testing::Test {
protected:
    void SetUp() override {
        project.Write("Demo.dpr", "program Demo;\r\n");
        project.Write("Main.dfm", "object MainForm: TMainForm\r\n"
                                  "  object GoButton: TButton\r\n"
                                  "    Width = 50\r\n"
                                  "    Caption = '&Go'\r\n"
                                  "  end\r\n"
                                  "  object StopButton: TButton\r\n"
                                  "    Width = 75\r\n"
                                  "    Caption = '&Stop'\r\n"
                                  "  end\r\n"
                                  "end\r\n");
        ASSERT_EQ(Run(CollectCommand, {project.Path() + "/Demo.dpr", "--db", table.Path()}), 0) << err.str();
        table.Exec("UPDATE strings SET German = '&Weitergehen und so weiter' WHERE English = '&Go'");
        table.Exec("UPDATE strings SET German = '&Weiter' WHERE English = '&Stop'");
    }
    int Run(CommandFunction command, std::vector<std::string> args) {
        out.str({});
        err.str({});
        return command(args, out, err);
    }

    test::TableFile table;
    TempDir project;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(CheckFormsCli, ProjectFileBringsTheForms) {
    // Warnings only: the gate stays open.
    ASSERT_EQ(Run(CheckCommand, {"--db", table.Path(), "--to", "German", "--project",
                                 project.Path() + "/Demo.dpr", "--checks", "accelerator-clash,truncation"}),
              0)
        << err.str();
    const std::string text = out.str();
    EXPECT_NE(text.find("[truncation] \"&Go\""), std::string::npos) << text;
    EXPECT_NE(text.find("MainForm.GoButton in Main.dfm"), std::string::npos) << text;
    EXPECT_NE(text.find("[accelerator-clash] \"&Stop\""), std::string::npos) << text;
    EXPECT_NE(text.find("2 texts checked: 0 errors, 3 warnings"), std::string::npos) << text;
    // Beside the test program there is no font module: the widths are estimated, and it says so.
    EXPECT_NE(err.str().find("estimated"), std::string::npos) << err.str();
}

TEST_F(CheckFormsCli, ProjectNameLeavesTheFormsOut) {
    ASSERT_EQ(Run(CheckCommand, {"--db", table.Path(), "--to", "German", "--project", "Demo", "--checks",
                                 "accelerator-clash,truncation"}),
              0);
    EXPECT_NE(out.str().find("2 texts checked: 0 errors, 0 warnings"), std::string::npos) << out.str();
    EXPECT_NE(err.str().find("project folder"), std::string::npos) << err.str();
    // A character set the program does not know is a usage error.
    EXPECT_EQ(Run(CheckCommand, {"--db", table.Path(), "--to", "German", "--charset", "7"}), 2);
}

#ifdef WORDLOOM_TEXT_MEASURE_MODULE
// The program itself, with the font module beside it: the module is loaded and measures (this is
// what the sanitizer build runs across the program and the module).
TEST_F(CheckFormsCli, ProgramLoadsTheFontModule) {
    const std::string cli = std::string(WORDLOOM_BINARY_DIR) + "/cli/wordloom-cli";
    const std::string outFile = project.Path() + "/out.txt";
    const std::string errors = project.Path() + "/err.txt";
    const std::string command = cli + " check --db '" + table.Path() + "' --to German --project '" +
                                project.Path() + "/Demo.dpr' --checks accelerator-clash,truncation >'" +
                                outFile + "' 2>'" + errors + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(errors);
    const std::string text = ReadFileBytes(outFile);
    EXPECT_NE(text.find("[truncation] \"&Go\""), std::string::npos) << text;
    EXPECT_NE(text.find("[accelerator-clash] \"&Stop\""), std::string::npos) << text;
    EXPECT_EQ(ReadFileBytes(errors).find("estimated"), std::string::npos) << ReadFileBytes(errors);
}
#endif

} // namespace
} // namespace wordloom::cli
