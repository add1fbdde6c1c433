// wordloom-cli check on the example project: a clean translation passes, broken ones fail the gate,
// and the JSON is read by Python's parser.
#include "cli/commands.h"

#include "support/file_read.h"
#include "support/table_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace wordloom::cli {
namespace {

// A translator's German for every text of examples/ (a name, a language name and "OK" stay as
// they are and are marked so).
const std::vector<std::pair<std::string, std::string>> kCleanGerman{
    {"&About", "Ü&ber"},
    {"&Open...", "Ö&ffnen..."},
    {"A memo line longer than sixty-four characters is cut by the form writer and continued on the next "
     "line.",
     "Eine Zeile im Memo, die länger als vierundsechzig Zeichen ist, wird vom Formularschreiber geteilt "
     "und auf "
     "der nächsten Zeile fortgesetzt."},
    {"About the Wordloom Demo", "Über die Wordloom-Demo"},
    {"Can't open a project in the demo.", "In der Demo kann kein Projekt geöffnet werden."},
    {"Choose the language of the texts", "Wählen Sie die Sprache der Texte"},
    {"Copyright © 2026 the Wordloom team", "Copyright © 2026 das Wordloom-Team"},
    {"Details of the open project", "Einzelheiten des geöffneten Projekts"},
    {"Don't panic: this is only a demo", "Keine Panik: Das ist nur eine Demo"},
    {"First line", "Erste Zeile"},
    {"No project is open.", "Kein Projekt ist geöffnet."},
    {"Opens a project|Opens a Delphi project file", "Öffnet ein Projekt|Öffnet eine Delphi-Projektdatei"},
    {"Path: (none)", "Pfad: (keiner)"},
    {"Project details", "Projektdetails"},
    {"Second line, with a tab:\there", "Zweite Zeile, mit Tabulator:\thier"},
    {"This long caption is written over two lines by the form writer, because it holds more than sixty-four "
     "characters.",
     "Diese lange Beschriftung schreibt der Formularschreiber auf zwei Zeilen, weil sie mehr als "
     "vierundsechzig "
     "Zeichen hat."},
    {"Where the project's files are", "Wo die Dateien des Projekts liegen"},
    {"Wordloom Demo", "Wordloom-Demo"},
    {"Wordloom Demo, version 1.0", "Wordloom-Demo, Version 1.0"},
};
const std::vector<std::string> kKept{"Deutsch", "English", "Français", "Größe", "OK", "打开"};

std::string Sql(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("''") : std::string(1, c);
    return quoted + "'";
}

class CheckCli : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& entry : std::filesystem::directory_iterator(WORDLOOM_SOURCE_DIR "/examples"))
            project.Write(entry.path().filename().string(), ReadBytes(entry.path()));
        ASSERT_EQ(Run(CollectCommand, {project.Path() + "/Demo.dpr", "--db", tableFile.Path()}), 0)
            << err.str();
        for (const auto& [english, german] : kCleanGerman)
            tableFile.Exec("UPDATE strings SET German = " + Sql(german) + " WHERE English = " + Sql(english));
        for (const std::string& kept : kKept) {
            tableFile.Exec("UPDATE strings SET German = English WHERE English = " + Sql(kept));
            tableFile.Exec(
                "INSERT OR REPLACE INTO review(lang, text, target, state, note, changed_at) VALUES "
                "('English', " +
                Sql(kept) + ", 'German', 'dont_translate', '', 1)");
        }
        ASSERT_EQ(tableFile.Query("SELECT count(*) FROM strings WHERE German IS NULL"), "0");
    }

    int Run(CommandFunction command, std::vector<std::string> args) {
        out.str({});
        err.str({});
        return command(args, out, err);
    }

    void Break(const std::string& english, const std::string& german) {
        tableFile.Exec("UPDATE strings SET German = " + Sql(german) + " WHERE English = " + Sql(english));
    }

    test::TableFile tableFile;
    TempDir project;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(CheckCli, ACleanTranslationOfTheExampleRaisesNoAlarm) {
    // Every check, spelling included where a German dictionary is installed.
    EXPECT_EQ(Run(CheckCommand, {"--db", tableFile.Path(), "--to", "German", "--project", "Demo"}), 0)
        << out.str();
    EXPECT_EQ(out.str(), "25 texts checked: 0 errors, 0 warnings, 0 notes; 0 dismissed\n");
}

TEST_F(CheckCli, AnErrorFailsTheGateAWarningDoesNot) {
    Break("Wordloom Demo", "Wordloom-Demo  ");
    Break("Wordloom Demo, version 1.0", "Wordloom-Demo,  Version 1.0");
    EXPECT_EQ(Run(CheckCommand, {"--db", tableFile.Path(), "--to", "German"}), 0);
    EXPECT_NE(out.str().find("warning [double-blank] \"Wordloom Demo, version 1.0\""), std::string::npos)
        << out.str();
    Break("Opens a project|Opens a Delphi project file", "Öffnet ein Projekt: eine Delphi-Projektdatei");
    Break("&Open...", "Öffnen...");
    EXPECT_EQ(Run(CheckCommand, {"--db", tableFile.Path(), "--to", "German"}), 1);
    EXPECT_NE(out.str().find("error [hint-separator]"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("error [accelerator-missing] \"&Open...\" \u2192 \"Öffnen...\""),
              std::string::npos);
    EXPECT_NE(out.str().find("25 texts checked: 2 errors, 2 warnings, 0 notes"), std::string::npos)
        << out.str();
    // Only the checks asked for.
    EXPECT_EQ(
        Run(CheckCommand, {"--db", tableFile.Path(), "--to", "German", "--checks", "double-blank,too-long"}),
        0);
}

TEST_F(CheckCli, JsonIsReadByPython) {
    Break("Second line, with a tab:\there", "Zweite \"Zeile\"\tmit\r\nTabulator:");
    Break("&About", "\xC3\x9C"
                    "ber");
    EXPECT_EQ(Run(CheckCommand, {"--db", tableFile.Path(), "--to", "German", "--json", "--checks",
                                 "accelerator-missing,line-breaks,end-punctuation"}),
              1);
    if (std::system("python3 -c '' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3 is not installed: the JSON is not checked by a parser";
    const std::string file = project.Write("check.json", out.str());
    const std::string script = project.Write("read.py", R"py(
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
found = sorted((f["check"], f["severity"], f["text"], f["translation"]) for f in d["findings"])
expected = sorted([
    ("accelerator-missing", "error", "&About", "\u00dcber"),
    ("line-breaks", "warning", "Second line, with a tab:\there", "Zweite \"Zeile\"\tmit\r\nTabulator:"),
    ("end-punctuation", "warning", "Second line, with a tab:\there", "Zweite \"Zeile\"\tmit\r\nTabulator:"),
])
ok = (found == expected and d["target"] == "German" and d["source"] == "English" and d["records"] == 25
      and all(f["message"] and f["lang"] == "English" and f["target"] == "German" for f in d["findings"]))
sys.exit(0 if ok else 1)
)py");
    EXPECT_EQ(std::system(("python3 " + script + " " + file).c_str()), 0) << out.str();
}

TEST_F(CheckCli, WrongCommandLinesAndTablesAreToldApart) {
    EXPECT_EQ(Run(CheckCommand, {"--db", tableFile.Path()}), 2); // --to missing
    EXPECT_NE(err.str().find("--to"), std::string::npos);
    EXPECT_EQ(Run(CheckCommand, {"--db", tableFile.Path(), "--to", "German", "--checks", "spelling,grammar"}),
              2);
    EXPECT_NE(err.str().find("grammar"), std::string::npos);
    EXPECT_EQ(Run(CheckCommand, {"--db", tableFile.Path(), "--to", "Klingon"}), 1);
    EXPECT_NE(err.str().find("Klingon"), std::string::npos);
    EXPECT_EQ(Run(CheckCommand, {"--db", project.FilePath("missing.db"), "--to", "German"}), 1);
    EXPECT_EQ(Run(CheckCommand, {"--list"}), 0);
    EXPECT_NE(out.str().find("format-specifiers (error): "), std::string::npos);
}

TEST_F(CheckCli, AddedWordsAreAcceptedFromThenOn) {
    Break("Project details", "Projektdetailz");
    EXPECT_EQ(Run(CheckCommand, {"--db", tableFile.Path(), "--to", "German", "--checks", "spelling"}), 0);
    if (err.str().find("No spelling dictionary") != std::string::npos)
        GTEST_SKIP() << err.str();
    EXPECT_NE(out.str().find("Projektdetailz"), std::string::npos);
    EXPECT_EQ(Run(CheckCommand, {"--db", tableFile.Path(), "--to", "German", "--checks", "spelling",
                                 "--add-word", "Projektdetailz"}),
              0);
    EXPECT_EQ(Run(CheckCommand, {"--db", tableFile.Path(), "--to", "German", "--checks", "spelling"}), 0);
    EXPECT_EQ(out.str().find("Projektdetailz"), std::string::npos) << out.str();
    EXPECT_EQ(tableFile.Query("SELECT word FROM qa_word WHERE lang = 'German'"), "Projektdetailz");
}

} // namespace
} // namespace wordloom::cli
