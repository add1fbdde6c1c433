// The option parser's faults and help labels in our own words, naming the option or value at fault,
// and each of them through the catalogue.
#include "base/ui_text.h"
#include "cli/parser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace wordloom::cli {
namespace {

/// Marks every text of the command line's context, so a test sees which texts were looked up.
std::string Marked(const char* context, const char* text) {
    return std::strcmp(context, "wordloom-cli") == 0 ? std::string("<<") + text + ">>" : std::string();
}

class ParseErrorTextTest : public ::testing::Test {
protected:
    void TearDown() override { SetTextTranslator(nullptr); }

    /// The fault `words` make on a parser like a command's, in our words; empty when they parse.
    static std::string Fault(const std::vector<std::string>& words) {
        CLI::App parser("test", "test");
        SetUpParser(parser);
        std::string file;
        std::string mode;
        int number = 0;
        bool flag = false;
        bool no = false;
        bool both = false;
        parser.add_option("FILE", file, "file")->required();
        parser.add_option("--db", file, "db")->option_text("FILE");
        parser.add_option("--number", number, "number");
        parser.add_option("--mode", mode, "mode")->check(CLI::IsMember({"totext", "tobinary"}));
        CLI::Option* yes = parser.add_flag("--yes", flag, "yes");
        parser.add_flag("--no", no, "no")->excludes(yes);
        parser.add_flag("--both", both, "both")->needs(yes);
        std::vector<std::string> reversed(words.rbegin(), words.rend());
        try {
            parser.parse(reversed);
        } catch (const CLI::ParseError& error) {
            return ParseErrorText(error, &parser);
        }
        return {};
    }
};

TEST_F(ParseErrorTextTest, NamesTheOptionOrValueAtFault) {
    EXPECT_EQ(Fault({"a"}), "");
    EXPECT_EQ(Fault({"a", "--frobnicate"}), "unknown option --frobnicate");
    EXPECT_EQ(Fault({"a", "b"}), "unexpected argument b");
    EXPECT_EQ(Fault({"a", "b", "c"}), "unexpected arguments: b c");
    EXPECT_EQ(Fault({}), "FILE is required");
    EXPECT_EQ(Fault({"a", "--db"}), "--db needs a value");
    EXPECT_EQ(Fault({"a", "--number", "many"}), "--number: cannot read the value many");
    EXPECT_EQ(Fault({"a", "--yes=maybe"}), "--yes: cannot read the value maybe");
    EXPECT_EQ(Fault({"a", "--mode", "toxml"}), "--mode: toxml is not one of {totext,tobinary}");
    EXPECT_EQ(Fault({"a", "--no", "--yes"}), "--yes cannot be used together with --no");
    EXPECT_EQ(Fault({"a", "--both"}), "--both needs --yes as well");
}

TEST_F(ParseErrorTextTest, EveryFaultAndLabelGoesThroughTheCatalogue) {
    SetTextTranslator(&Marked);
    EXPECT_EQ(Fault({"a", "--frobnicate"}), "<<unknown option --frobnicate>>");
    EXPECT_EQ(Fault({}), "<<FILE is required>>");
    EXPECT_EQ(Fault({"a", "--db"}), "<<--db needs a value>>");
    EXPECT_EQ(Fault({"a", "--number", "many"}), "<<--number: cannot read the value many>>");
    EXPECT_EQ(Fault({"a", "--mode", "toxml"}), "<<--mode: toxml is not one of {totext,tobinary}>>");
    EXPECT_EQ(Fault({"a", "--no", "--yes"}), "<<--yes cannot be used together with --no>>");

    CLI::App parser("test", "test");
    SetUpParser(parser);
    std::string mode;
    parser.add_option("MODE", mode, "mode")->required()->check(CLI::IsMember({"totext", "tobinary"}));
    const std::string help = parser.help();
    for (const char* label : {"<<Usage>>: test [<<OPTIONS>>] MODE",
                              "<<Positionals>>:", "<<Options>>:", "<<TEXT>>:{totext,tobinary} <<REQUIRED>>"})
        EXPECT_NE(help.find(label), std::string::npos) << label << "\n" << help;
}

} // namespace
} // namespace wordloom::cli
