#include "base/file_io.h"
#include "cli/commands.h"
#include "forms/form_stream.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace wordloom::cli {
namespace {

namespace fs = std::filesystem;

const char* const kText = "object Form1: TForm1\r\n"
                          "  Caption = 'It'#39's'\r\n"
                          "  object Label1: TLabel\r\n"
                          "    Caption = #1055#1088#1080\r\n"
                          "  end\r\n"
                          "end\r\n";

class FormCommandTest : public testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return (m_dir / name).string(); }
    int Run(std::vector<std::string> args) {
        m_out.str({});
        m_err.str({});
        return FormCommand(args, m_out, m_err);
    }

    TempDir m_temp;
    fs::path m_dir{m_temp.Path()};
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(FormCommandTest, ToBinaryAndBackGivesTheSameText) {
    WriteFileAtomically(PathOf("a.dfm"), kText);
    ASSERT_EQ(Run({"tobinary", PathOf("a.dfm"), PathOf("b.dfm")}), 0) << m_err.str();
    const std::string binary = ReadFileBytes(PathOf("b.dfm"));
    EXPECT_EQ(binary, TextToBinaryForm(kText));
    ASSERT_EQ(Run({"totext", PathOf("b.dfm"), PathOf("c.dfm")}), 0) << m_err.str();
    EXPECT_EQ(ReadFileBytes(PathOf("c.dfm")), kText);
    EXPECT_TRUE(m_err.str().empty());
}

TEST_F(FormCommandTest, SameFormIsPassedThroughTheConversion) {
    // An LF text form in free layout comes out canonical; a binary form stays binary.
    WriteFileAtomically(PathOf("a.dfm"), "object Form1:TForm1 Caption='It'#39's'\n"
                                         "object Label1: TLabel Caption=#1055#1088#1080 end end\n");
    ASSERT_EQ(Run({"totext", PathOf("a.dfm"), PathOf("a.dfm")}), 0) << m_err.str();
    EXPECT_EQ(ReadFileBytes(PathOf("a.dfm")), kText);
    WriteFileAtomically(PathOf("b.dfm"), TextToBinaryForm(kText));
    ASSERT_EQ(Run({"tobinary", PathOf("b.dfm"), PathOf("c.dfm")}), 0) << m_err.str();
    EXPECT_EQ(ReadFileBytes(PathOf("c.dfm")), TextToBinaryForm(kText));
}

TEST_F(FormCommandTest, FailureReportsMessageAndWritesNothing) {
    WriteFileAtomically(PathOf("bad.dfm"), "object Form1: TForm1\r\n  Caption = 'open\r\nend\r\n");
    EXPECT_EQ(Run({"tobinary", PathOf("bad.dfm"), PathOf("out.dfm")}), 1);
    EXPECT_EQ(m_err.str(), PathOf("bad.dfm") + ": Invalid string constant on line 2\n");
    EXPECT_FALSE(fs::exists(PathOf("out.dfm")));

    // An existing target keeps its content; an input converted in place is left as it was.
    WriteFileAtomically(PathOf("out.dfm"), "previous");
    WriteFileAtomically(PathOf("broken.dfm"),
                        std::string("\xFF\x0A\x00X\x00\x30\x10\x00\x00\x00\x00TPF1", 16));
    EXPECT_EQ(Run({"totext", PathOf("broken.dfm"), PathOf("out.dfm")}), 1);
    EXPECT_EQ(m_err.str(), PathOf("broken.dfm") + ": Invalid stream format\n");
    EXPECT_EQ(ReadFileBytes(PathOf("out.dfm")), "previous");
    EXPECT_EQ(Run({"tobinary", PathOf("bad.dfm"), PathOf("bad.dfm")}), 1);
    EXPECT_EQ(ReadFileBytes(PathOf("bad.dfm")), "object Form1: TForm1\r\n  Caption = 'open\r\nend\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 3);
}

TEST_F(FormCommandTest, MissingInputAndUnwritableTarget) {
    EXPECT_EQ(Run({"totext", PathOf("none.dfm"), PathOf("out.dfm")}), 1);
    EXPECT_EQ(m_err.str(), "Cannot open file " + PathOf("none.dfm") + "\n");
    WriteFileAtomically(PathOf("a.dfm"), kText);
    EXPECT_EQ(Run({"tobinary", PathOf("a.dfm"), PathOf("no/dir/out.dfm")}), 1);
    EXPECT_EQ(m_err.str(), "Cannot create file " + PathOf("no/dir/out.dfm") + "\n");
}

TEST_F(FormCommandTest, CodePageKeepsDoubleByteCharactersWhole) {
    const std::string pair = "\xB4\xF2";
    std::string caption = "a";
    for (int i = 0; i < 35; ++i)
        caption += pair;
    WriteFileAtomically(PathOf("a.dfm"), "object A: TA\r\n  Caption = '" + caption + "'\r\nend\r\n");
    ASSERT_EQ(Run({"totext", "--codepage", "CP936", PathOf("a.dfm"), PathOf("b.dfm")}), 0) << m_err.str();
    const std::string text = ReadFileBytes(PathOf("b.dfm"));
    EXPECT_NE(text.find("'a" + caption.substr(1, 62) + "' +\r\n"), std::string::npos) << text;
    ASSERT_EQ(Run({"totext", PathOf("a.dfm"), PathOf("c.dfm")}), 0) << m_err.str();
    EXPECT_NE(ReadFileBytes(PathOf("c.dfm")), text);
}

TEST_F(FormCommandTest, HelpAndWrongArguments) {
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(m_out.str().find("form totext IN OUT"), std::string::npos);
    EXPECT_EQ(Run({"totext", "--help"}), 0);
    EXPECT_NE(m_out.str().find("form tobinary IN OUT"), std::string::npos);
    EXPECT_EQ(Run({}), kExitUsage);
    EXPECT_NE(m_err.str().find("Usage"), std::string::npos);
    EXPECT_EQ(Run({"tohex", "a", "b"}), kExitUsage);
    EXPECT_NE(m_err.str().find("tohex"), std::string::npos) << m_err.str();
    EXPECT_EQ(Run({"totext", "a"}), kExitUsage);
    EXPECT_NE(m_err.str().find("OUT"), std::string::npos) << m_err.str();
    EXPECT_TRUE(m_out.str().empty());
}

TEST_F(FormCommandTest, ExecutableDispatchesAndReportsFailureStatus) {
    const std::string cli = std::string(WORDLOOM_BINARY_DIR) + "/cli/wordloom-cli";
    WriteFileAtomically(PathOf("a.dfm"), kText);
    const std::string err = PathOf("err.txt");
    EXPECT_EQ(std::system(
                  (cli + " form tobinary " + PathOf("a.dfm") + " " + PathOf("b.dfm") + " 2>" + err).c_str()),
              0);
    EXPECT_EQ(ReadFileBytes(PathOf("b.dfm")), TextToBinaryForm(kText));
    EXPECT_NE(std::system((cli + " form totext " + PathOf("a.dfm") + " 2>" + err).c_str()), 0);
    EXPECT_NE(std::system((cli + " frobnicate 2>" + err).c_str()), 0);
    EXPECT_NE(ReadFileBytes(err).find("unknown command"), std::string::npos);
    EXPECT_EQ(std::system((cli + " --help >" + err).c_str()), 0);
    EXPECT_NE(ReadFileBytes(err).find("form"), std::string::npos);
}

} // namespace
} // namespace wordloom::cli
