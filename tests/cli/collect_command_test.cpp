#include "cli/commands.h"

#include "support/table_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace wordloom::cli {
namespace {

class CollectCli : public ::testing::Test {
protected:
    void SetUp() override { project.Write("Demo.dpr", "program Demo;\r\n"); }

    int Run(std::vector<std::string> args) {
        out.str({});
        err.str({});
        return CollectCommand(args, out, err);
    }

    test::TableFile tableFile;
    TempDir project;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(CollectCli, CollectsAndEndsWithTheSummary) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Hello'\r\n  Hint = 'Tip'\r\nend\r\n");
    project.Write("Unit1.pas", "s := 'From unit';\r\n");
    const std::string dpr = project.Path() + "/Demo.dpr";
    EXPECT_EQ(Run({dpr, "--db", tableFile.Path()}), 0);
    EXPECT_EQ(out.str(), "files read: 2, texts added: 3, table size: 3\n");
    EXPECT_NE(err.str().find("Parsing Main.dfm ...\n"), std::string::npos);
    EXPECT_NE(err.str().find("Finished\n"), std::string::npos);
    EXPECT_EQ(tableFile.Query("SELECT Project FROM strings WHERE English = 'Hello'"), "Demo");

    EXPECT_EQ(Run({dpr, "--db", tableFile.Path(), "--no-pas", "--properties", "Caption", "--lang", "German"}),
              0);
    EXPECT_EQ(out.str(), "files read: 1, texts added: 1, table size: 4\n");
    EXPECT_EQ(tableFile.Query("SELECT count(*) FROM strings WHERE German = 'Hello'"), "1");
}

TEST_F(CollectCli, VerboseNamesEachFileWithItsCountAndNothingElseChanges) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Hello'\r\nend\r\n");
    project.Write("Unit1.pas", "s := 'From unit';\r\n");
    const std::string dpr = project.Path() + "/Demo.dpr";
    EXPECT_EQ(Run({dpr, "--db", tableFile.Path()}), 0);
    const std::string quiet = err.str();
    EXPECT_EQ(quiet.find("[1/2]"), std::string::npos);
    EXPECT_EQ(Run({dpr, "--db", tableFile.Path(), "--verbose"}), 0);
    EXPECT_EQ(out.str(), "files read: 2, texts added: 0, table size: 2\n");
    EXPECT_EQ(err.str(),
              "[1/2] Main.dfm\nParsing Main.dfm ...\n[2/2] Unit1.pas\nParsing Unit1.pas ...\nFinished\n");
    EXPECT_EQ(quiet, "Parsing Main.dfm ...\nParsing Unit1.pas ...\nFinished\n");
}

TEST_F(CollectCli, FailureGivesANonZeroStatus) {
    project.Write("Main.dfm", "neither text nor binary");
    EXPECT_EQ(Run({project.Path() + "/Demo.dpr", "--db", tableFile.Path()}), 1);
    EXPECT_NE(err.str().find("Invalid stream format"), std::string::npos);
    EXPECT_EQ(out.str(), "files read: 0, texts added: 0, table size: 0\n");
}

TEST_F(CollectCli, KeepGoingSkipsADamagedFormListsItAndStillFails) {
    project.Write("A.dfm", "object FormA: TFormA\r\n  Caption = 'From A'\r\nend\r\n");
    project.Write("B.dfm", "damaged");
    project.Write("C.dfm", "object FormC: TFormC\r\n  Caption = 'From C'\r\nend\r\n");
    project.Write("Unit1.pas", "s := 'From unit';\r\n");
    const std::string dpr = project.Path() + "/Demo.dpr";
    EXPECT_EQ(Run({dpr, "--db", tableFile.Path(), "--keep-going"}), 1);
    EXPECT_EQ(out.str(), "files read: 3, texts added: 3, table size: 3, files skipped: 1\n");
    EXPECT_NE(err.str().find("  Skipped B.dfm: Invalid stream format\n"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("Finished\n"), std::string::npos);
    EXPECT_EQ(err.str().find("Error:"), std::string::npos) << err.str();
    EXPECT_EQ(
        tableFile.Query("SELECT count(*) FROM strings WHERE English IN ('From A', 'From C', 'From unit')"),
        "3");
}

TEST_F(CollectCli, ParsingErrorsAreListedAtTheEndAndAreNoFailure) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Hello'\r\nend\r\n");
    project.Write("Unit1.pas", "(* don't *) s := 'After';\r\nt := 'broken;\r\n");
    EXPECT_EQ(Run({project.Path() + "/Demo.dpr", "--db", tableFile.Path()}), 0);
    EXPECT_EQ(out.str(), "files read: 2, texts added: 2, table size: 2\n");
    const std::string errors = err.str();
    EXPECT_NE(errors.find("Finished\n1 line(s) could not be parsed; their texts were not collected.\n"
                          "  Unit1.pas Line 2: Parsing error when parsing String: 'broken;\n"),
              std::string::npos)
        << errors;
}

TEST_F(CollectCli, AMissingProjectFileIsAFailure) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Hello'\r\nend\r\n");
    const std::string missing = project.Path() + "/Dmeo.dpr";
    EXPECT_EQ(Run({missing, "--db", tableFile.Path()}), 1);
    EXPECT_EQ(err.str(), "wordloom-cli collect: cannot find the project file " + missing + "\n");
    EXPECT_EQ(Run({project.Path() + "/elsewhere/Demo.dpr", "--db", tableFile.Path()}), 1);
    EXPECT_EQ(tableFile.Query("SELECT count(*) FROM strings"), "0");
}

TEST_F(CollectCli, OnlyLanguageFieldsAreLanguages) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Hello'\r\nend\r\n");
    for (const char* field : {"Project", "SpFront", "SpEnd"}) {
        EXPECT_EQ(Run({project.Path() + "/Demo.dpr", "--db", tableFile.Path(), "--lang", field}), 1);
        EXPECT_NE(err.str().find(std::string("no language field ") + field), std::string::npos) << err.str();
    }
    EXPECT_EQ(tableFile.Query("SELECT count(*) FROM strings"), "0");
}

TEST_F(CollectCli, ARepeatedOptionKeepsItsLastValue) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Hello'\r\nend\r\n");
    EXPECT_EQ(Run({project.Path() + "/Demo.dpr", "--db", project.Path() + "/none/strings.db", "--db",
                   tableFile.Path()}),
              0)
        << err.str();
    EXPECT_EQ(tableFile.Query("SELECT count(*) FROM strings"), "1");
}

TEST_F(CollectCli, BadArgumentsAreRefused) {
    const std::string dpr = project.Path() + "/Demo.dpr";
    EXPECT_EQ(Run({}), kExitUsage);
    EXPECT_EQ(Run({dpr, "--db", tableFile.Path(), "--lang", "Klingon"}), 1);
    EXPECT_NE(err.str().find("Klingon"), std::string::npos);
    EXPECT_EQ(Run({dpr, "--charset", "77"}), kExitUsage);
    EXPECT_NE(err.str().find("--charset: unknown character set 77"), std::string::npos) << err.str();
    EXPECT_EQ(Run({dpr, "--db"}), kExitUsage);
    EXPECT_NE(err.str().find("--db"), std::string::npos) << err.str();
    EXPECT_EQ(Run({dpr, "--db", project.Path() + "/missing.db"}), 1);
    EXPECT_TRUE(out.str().empty());
}

} // namespace
} // namespace wordloom::cli
