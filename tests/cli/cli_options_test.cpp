// The command line every command shares: help per command, usage errors and exit statuses, and the
// program's dispatch (its --version: the cli_version test).
#include "base/file_io.h"
#include "cli/commands.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace wordloom::cli {
namespace {

namespace fs = std::filesystem;

struct CommandOptions {
    const char* name;
    CommandFunction run;
    std::vector<std::string> options;
};

const CommandOptions kCommandOptions[] = {
    {"form", FormCommand, {"--codepage"}},
    {"collect",
     CollectCommand,
     {"--db", "--lang", "--charset", "--properties", "--no-pas", "--rules-off", "--keep-going", "--verbose"}},
    {"translate",
     TranslateCommand,
     {"--to", "--lang", "--db", "--charset", "--target-charset", "--properties", "--no-pas", "--yes",
      "--form-format", "--dry-run", "--diff", "--verbose"}},
    {"runs", RunsCommand, {"--db", "--prune"}},
    {"undo", UndoCommand, {"--db", "--run", "--force"}},
    {"stats", StatsCommand, {"--db", "--from", "--to", "--project", "--json", "--min-percent"}},
    {"unused", UnusedCommand, {"--db", "--from", "--project", "--delete"}},
    {"pretranslate", PretranslateCommand, {"--db", "--from", "--to", "--project", "--min-percent"}},
    {"check",
     CheckCommand,
     {"--db", "--from", "--to", "--project", "--checks", "--json", "--include-dismissed", "--add-word",
      "--list"}},
};

/// The line of `help` that lists `option`, or empty.
std::string HelpLine(const std::string& help, const std::string& option) {
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string first;
        if (words >> first && first == option)
            return line;
    }
    return {};
}

TEST(CliOptions, HelpListsEveryOptionWithItsLineOfHelp) {
    for (const CommandOptions& command : kCommandOptions) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(command.run({"--help"}, out, err), kExitSuccess) << command.name;
        EXPECT_NE(out.str().find(std::string("Usage: wordloom-cli ") + command.name), std::string::npos)
            << out.str();
        for (const std::string& option : command.options) {
            // The option, maybe its value's name, then at least two words of help.
            std::istringstream words(HelpLine(out.str(), option));
            std::vector<std::string> rest{std::istream_iterator<std::string>(words), {}};
            EXPECT_GE(rest.size(), 3u) << command.name << " " << option << "\n" << out.str();
        }
        EXPECT_TRUE(err.str().empty());
    }
}

TEST(CliOptions, OptionErrorsAreUsageErrorsNamingTheOption) {
    struct Case {
        CommandFunction run;
        std::vector<std::string> args;
        std::string named;
    };
    const Case cases[] = {
        {CollectCommand, {"Demo.dpr", "--bogus"}, "--bogus"},
        {CollectCommand, {"Demo.dpr", "--lang"}, "--lang"},
        {CollectCommand, {"Demo.dpr", "--charset", "1x"}, "--charset"},
        {CollectCommand, {"Demo.dpr", "Other.dpr"}, "Other.dpr"},
        {CollectCommand, {"--db", "strings.db"}, "PROJECT.dpr"},
        {TranslateCommand, {"Demo.dpr", "--to", "German", "-y"}, "-y"},
        {TranslateCommand, {"Demo.dpr", "--to"}, "--to"},
        {TranslateCommand, {"Demo.dpr", "--to", "German", "--target-charset", "9999"}, "--target-charset"},
        {FormCommand, {"totext", "a.dfm", "b.dfm", "--codepage"}, "--codepage"},
        {FormCommand, {"totext", "a.dfm", "b.dfm", "c.dfm"}, "c.dfm"},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(c.run(c.args, out, err), kExitUsage) << c.named;
        EXPECT_NE(err.str().find(c.named), std::string::npos) << err.str();
        EXPECT_NE(err.str().find("--help"), std::string::npos) << err.str();
        EXPECT_TRUE(out.str().empty());
    }
}

/// The options a help text lists ("--db", "--no-pas", ...), --help aside.
std::set<std::string> HelpOptions(const std::string& help) {
    std::set<std::string> options;
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string first;
        if (words >> first && first.starts_with("--"))
            options.insert(first);
    }
    options.erase("-h,--help");
    return options;
}

TEST(CliOptions, TheManualPageDescribesEachCommandsOptionsAndTheExitStatuses) {
    const std::string page = ReadFileBytes(std::string(WORDLOOM_SOURCE_DIR) + "/data/man/wordloom-cli.1");
    for (const CommandOptions& command : kCommandOptions) {
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(command.run({"--help"}, out, err), kExitSuccess);
        const std::size_t start = page.find(std::string(".SS \"") + command.name);
        ASSERT_NE(start, std::string::npos) << command.name;
        std::istringstream section(page.substr(start + 1, page.find("\n.S", start + 1) - start - 1));
        std::set<std::string> described;
        for (std::string line; std::getline(section, line);) {
            if (!line.starts_with(".B \\-\\-") && !line.starts_with(".BI \\-\\-"))
                continue;
            std::string option = line.substr(line.find(' ') + 1);
            option = option.substr(0, option.find(' '));
            for (std::size_t dash; (dash = option.find("\\-")) != std::string::npos;)
                option.erase(dash, 1);
            described.insert(option);
        }
        EXPECT_EQ(described, HelpOptions(out.str())) << command.name;
    }
    const std::size_t statuses = page.find(".SH \"EXIT STATUS\"");
    ASSERT_NE(statuses, std::string::npos);
    for (int status : {kExitSuccess, kExitFailure, kExitUsage})
        EXPECT_NE(page.find(".B " + std::to_string(status) + "\n", statuses), std::string::npos) << status;
}

class CliProgram : public testing::Test {
protected:
    /// Runs the program with `args` (shell words) in the language `locale`; its exit status, its
    /// output in m_out and m_err.
    int Run(const std::string& args, const std::string& locale = "C", const std::string& languages = "") {
        const std::string outPath = (m_dir / "out").string();
        const std::string errPath = (m_dir / "err").string();
        const int status =
            std::system(("LANGUAGE=" + languages + " LC_ALL=" + locale + " " + WORDLOOM_BINARY_DIR +
                         "/cli/wordloom-cli " + args + " >" + outPath + " 2>" + errPath + " </dev/null")
                            .c_str());
        m_out = ReadFileBytes(outPath);
        m_err = ReadFileBytes(errPath);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    TempDir m_temp;
    fs::path m_dir{m_temp.Path()};
    std::string m_out;
    std::string m_err;
};

TEST_F(CliProgram, HelpListsTheCommandsAndTheExitStatuses) {
    for (const char* words : {"--help", "-h", "help"}) {
        EXPECT_EQ(Run(words), kExitSuccess) << words;
        for (const CommandOptions& command : kCommandOptions)
            EXPECT_FALSE(HelpLine(m_out, command.name).empty()) << command.name << "\n" << m_out;
        EXPECT_NE(m_out.find("Exit status"), std::string::npos);
    }
    // A command's words go to its own parser, help included.
    EXPECT_EQ(Run("collect --help"), kExitSuccess);
    EXPECT_NE(m_out.find("Usage: wordloom-cli collect"), std::string::npos) << m_out;
}

TEST_F(CliProgram, ExitStatuses) {
    EXPECT_EQ(Run(""), kExitUsage);
    EXPECT_NE(m_err.find("no command given"), std::string::npos) << m_err;
    EXPECT_EQ(Run("frobnicate"), kExitUsage);
    EXPECT_NE(m_err.find("unknown command \"frobnicate\""), std::string::npos) << m_err;
    EXPECT_EQ(Run("--frobnicate"), kExitUsage);
    EXPECT_NE(m_err.find("--frobnicate"), std::string::npos) << m_err;
    EXPECT_EQ(Run("collect Demo.dpr --charset 0x1"), kExitUsage);
    EXPECT_NE(m_err.find("--charset"), std::string::npos) << m_err;
    EXPECT_TRUE(m_out.empty());

    const std::string form = (m_dir / "a.dfm").string();
    WriteFileAtomically(form, "object A: TA\r\n  Caption = 'x'\r\nend\r\n");
    EXPECT_EQ(Run("form tobinary " + form + " " + form), kExitSuccess) << m_err;
    EXPECT_EQ(Run("form totext " + (m_dir / "none.dfm").string() + " " + form), kExitFailure);
    EXPECT_NE(m_err.find("Cannot open file"), std::string::npos) << m_err;
}

TEST_F(CliProgram, SpeaksTheUsersLanguage) {
    // German from the catalogue the build made; the words a script reads (options, exit
    // statuses) stay what they are.
    EXPECT_EQ(Run("--help", "de_DE.UTF-8"), kExitSuccess);
    EXPECT_NE(m_out.find("Aufruf: wordloom-cli [OPTIONEN] [BEFEHL]"), std::string::npos) << m_out;
    EXPECT_NE(m_out.find("Formulardateien zwischen Binär- und Textform umwandeln"), std::string::npos)
        << m_out;
    EXPECT_EQ(Run("frobnicate", "de_DE.UTF-8"), kExitUsage);
    EXPECT_NE(m_err.find("unbekannter Befehl „frobnicate“"), std::string::npos) << m_err;
    EXPECT_EQ(Run("collect --help", "de_AT.UTF-8"), kExitSuccess); // no de_AT catalogue: de serves
    EXPECT_NE(m_out.find("--no-pas"), std::string::npos);
    EXPECT_NE(m_out.find("die Unit-Quellen auslassen"), std::string::npos) << m_out;
    // A language without a catalogue gets the source texts.
    EXPECT_EQ(Run("frobnicate", "fr_FR.UTF-8"), kExitUsage);
    EXPECT_NE(m_err.find("unknown command \"frobnicate\""), std::string::npos) << m_err;
}

TEST_F(CliProgram, TheParsersOwnWordsAreTranslatedToo) {
    // LANGUAGE picks the language of a locale that translates at all.
    const std::string french = "fr_FR.UTF-8";
    EXPECT_EQ(Run("collect Demo.dpr --frobnicate", french, "de"), kExitUsage);
    EXPECT_NE(m_err.find("wordloom-cli collect: unbekannte Option --frobnicate\n"), std::string::npos)
        << m_err;
    EXPECT_NE(m_err.find("Aufruf: wordloom-cli collect [OPTIONEN] PROJECT.dpr"), std::string::npos) << m_err;
    EXPECT_EQ(Run("collect Demo.dpr --db", french, "de"), kExitUsage);
    EXPECT_NE(m_err.find("--db braucht einen Wert"), std::string::npos) << m_err;
    EXPECT_EQ(Run("translate Demo.dpr", french, "de"), kExitUsage);
    EXPECT_NE(m_err.find("--to fehlt"), std::string::npos) << m_err;
    EXPECT_EQ(Run("form toxml a b", french, "de"), kExitUsage);
    EXPECT_NE(m_err.find("MODE: toxml ist keins von {totext,tobinary}"), std::string::npos) << m_err;
    EXPECT_EQ(Run("form --help", french, "de"), kExitSuccess);
    for (const char* label : {"Argumente:", "Optionen:", "MODE TEXT:{totext,tobinary} PFLICHT"})
        EXPECT_NE(m_out.find(label), std::string::npos) << label << "\n" << m_out;

    // Without a translation the same faults read in the parser's English, in our words.
    EXPECT_EQ(Run("collect Demo.dpr --frobnicate"), kExitUsage);
    EXPECT_NE(m_err.find("wordloom-cli collect: unknown option --frobnicate\n"), std::string::npos) << m_err;
    EXPECT_NE(m_err.find("Usage: wordloom-cli collect [OPTIONS] PROJECT.dpr"), std::string::npos) << m_err;
    EXPECT_EQ(Run("collect Demo.dpr --db"), kExitUsage);
    EXPECT_NE(m_err.find("--db needs a value"), std::string::npos) << m_err;
    EXPECT_EQ(Run("form --help"), kExitSuccess);
    EXPECT_NE(m_out.find("MODE TEXT:{totext,tobinary} REQUIRED"), std::string::npos) << m_out;
}

} // namespace
} // namespace wordloom::cli
