// wordloom-cli stats, unused and pretranslate on a table made by a collect.
#include "cli/commands.h"

#include "support/table_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace wordloom::cli {
namespace {

class SideCli : public ::testing::Test {
protected:
    void SetUp() override {
        project.Write("Demo.dpr", "program Demo;\r\n");
        project.Write("Main.dfm", "object Form1: TForm1\r\n"
                                  "  Caption = 'Open the file'\r\n"
                                  "  Hint = 'Open the files'\r\n"
                                  "  object Button1: TButton\r\n"
                                  "    Caption = 'Close \"all\" windows'\r\n"
                                  "  end\r\n"
                                  "end\r\n");
        ASSERT_EQ(Run(CollectCommand, {project.Path() + "/Demo.dpr", "--db", tableFile.Path(), "--no-pas"}),
                  0);
        tableFile.Exec("UPDATE strings SET German = 'Datei öffnen' WHERE English = 'Open the file'");
    }

    int Run(CommandFunction command, std::vector<std::string> args) {
        out.str({});
        err.str({});
        return command(args, out, err);
    }

    test::TableFile tableFile;
    TempDir project;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(SideCli, StatsPrintsTheFiguresAndGatesOnThePercentage) {
    EXPECT_EQ(Run(StatsCommand, {"--db", tableFile.Path(), "--project", "Demo", "--to", "German"}), 0);
    EXPECT_EQ(out.str(),
              "German: 1 of 3 texts (33%), 3 of 9 words; 0 suggested, 0 reviewed, 0 not to be translated\n");
    EXPECT_EQ(Run(StatsCommand, {"--db", tableFile.Path(), "--project", "Demo", "--min-percent", "33"}), 0);
    EXPECT_EQ(Run(StatsCommand, {"--db", tableFile.Path(), "--project", "Demo", "--min-percent", "34"}), 1);
    EXPECT_NE(err.str().find("33% done, less than the 34% asked for"), std::string::npos);
    EXPECT_EQ(Run(StatsCommand, {"--db", tableFile.Path(), "--min-percent", "101"}), 2);
    EXPECT_EQ(Run(StatsCommand, {"--db", tableFile.Path(), "--to", "Klingon"}), 1);
    EXPECT_NE(err.str().find("no language field Klingon"), std::string::npos);
}

TEST_F(SideCli, StatsJsonIsValidJson) {
    EXPECT_EQ(Run(StatsCommand, {"--db", tableFile.Path(), "--project", "De\"mo", "--json"}), 0);
    EXPECT_EQ(out.str(),
              "{\"project\": \"De\\\"mo\", \"source\": \"English\", \"target\": \"German\", \"texts\": 0, "
              "\"textsDone\": 0, \"words\": 0, \"wordsDone\": 0, \"suggested\": 0, \"reviewed\": 0, "
              "\"dontTranslate\": 0, \"percent\": 100}\n");
    EXPECT_EQ(Run(StatsCommand, {"--db", tableFile.Path(), "--project", "Demo", "--json"}), 0);
    if (std::system("python3 -c '' 2>/dev/null") != 0) {
        GTEST_SKIP() << "python3 is not installed: the JSON is not checked by a parser";
    }
    const std::string file = project.Path() + "/stats.json";
    std::ofstream(file) << out.str();
    const std::string check = "python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); "
                              "sys.exit(0 if d[\"texts\"] == 3 and d[\"percent\"] == 33 else 1)' " +
                              file;
    EXPECT_EQ(std::system(check.c_str()), 0) << out.str();
}

TEST_F(SideCli, UnusedListsAndDeletesAfterARecollect) {
    EXPECT_EQ(Run(UnusedCommand, {"--db", tableFile.Path(), "--project", "Demo"}), 0);
    EXPECT_EQ(out.str(), "");
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Open the file'\r\nend\r\n");
    ASSERT_EQ(Run(CollectCommand, {project.Path() + "/Demo.dpr", "--db", tableFile.Path(), "--no-pas"}), 0);
    EXPECT_EQ(Run(UnusedCommand, {"--db", tableFile.Path(), "--project", "Demo"}), 0);
    EXPECT_EQ(out.str(), "Close \"all\" windows\nOpen the files\n");
    EXPECT_EQ(tableFile.Query("SELECT count(*) FROM strings"), "3");
    EXPECT_EQ(Run(UnusedCommand, {"--db", tableFile.Path(), "--project", "Demo", "--delete"}), 0);
    EXPECT_NE(err.str().find("2 unused text(s) removed"), std::string::npos);
    EXPECT_EQ(tableFile.Query("SELECT group_concat(English) FROM strings"), "Open the file");
}

TEST_F(SideCli, UnusedRefusesAProjectWithoutWhereUsedRecords) {
    EXPECT_EQ(Run(UnusedCommand, {"--db", tableFile.Path(), "--project", "Other", "--delete"}), 1);
    EXPECT_NE(err.str().find("collect it first"), std::string::npos);
    EXPECT_EQ(tableFile.Query("SELECT count(*) FROM strings"), "3");
    EXPECT_EQ(Run(UnusedCommand, {"--db", tableFile.Path()}), 2); // --project is required
}

TEST_F(SideCli, PretranslateFillsSimilarTextsAsSuggested) {
    EXPECT_EQ(Run(PretranslateCommand, {"--db", tableFile.Path(), "--to", "German", "--min-percent", "95"}),
              0);
    EXPECT_EQ(out.str(), "filled: 0 from the same text, 0 from similar texts\n");
    EXPECT_EQ(Run(PretranslateCommand, {"--db", tableFile.Path(), "--to", "German"}), 0);
    EXPECT_EQ(out.str(), "filled: 0 from the same text, 1 from similar texts\n");
    EXPECT_EQ(tableFile.Query("SELECT German FROM strings WHERE English = 'Open the files'"), "Datei öffnen");
    EXPECT_EQ(tableFile.Query("SELECT state || ' ' || note FROM review WHERE text = 'Open the files'"),
              "suggested memory:92");
    EXPECT_EQ(Run(StatsCommand, {"--db", tableFile.Path(), "--json"}), 0);
    EXPECT_NE(out.str().find("\"suggested\": 1"), std::string::npos);
}

TEST_F(SideCli, CollectProposesDontTranslateUnlessTheRuleIsOff) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'select * from A'\r\n"
                              "  Hint = 'TForm2'\r\nend\r\n");
    const std::string dpr = project.Path() + "/Demo.dpr";
    ASSERT_EQ(Run(CollectCommand, {dpr, "--db", tableFile.Path(), "--no-pas", "--rules-off", "identifier"}),
              0);
    EXPECT_EQ(tableFile.Query("SELECT group_concat(DISTINCT note) FROM review WHERE state = 'suggested'"),
              "dont_translate:sql");
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'select * from B'\r\nend\r\n");
    ASSERT_EQ(Run(CollectCommand, {dpr, "--db", tableFile.Path(), "--no-pas", "--rules-off", "all"}), 0);
    EXPECT_EQ(tableFile.Query("SELECT count(*) FROM review WHERE text = 'select * from B'"), "0");
}

} // namespace
} // namespace wordloom::cli
