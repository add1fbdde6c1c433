#include "cli/cli_host.h"
#include "cli/commands.h"

#include <gtest/gtest.h>

#include <sstream>

namespace wordloom::cli {
namespace {

TEST(CliHost, WithoutAnswersAQuestionIsAnsweredOkUnasked) {
    std::ostringstream err;
    CliHost host(err);
    EXPECT_TRUE(host.Question("Translate?"));
    EXPECT_EQ(err.str(), "");
    host.Error("broken");
    host.Message("done");
    EXPECT_EQ(err.str(), "Error: broken\ndone\n");
}

TEST(CliHost, AQuestionIsAskedAndAnsweredFromTheInput) {
    std::ostringstream err;
    std::istringstream answers("y\nno\nOK\n");
    CliHost host(err, &answers);
    EXPECT_TRUE(host.Question("First?"));
    EXPECT_FALSE(host.Question("Second?"));
    EXPECT_TRUE(host.Question("Third?"));
    EXPECT_FALSE(host.Question("After the end of the input?"));
    EXPECT_EQ(err.str().find("First?\nContinue? [y/N] "), 0u);
    // Nobody answered the last one: what follows starts on a line of its own.
    EXPECT_TRUE(err.str().ends_with("After the end of the input?\nContinue? [y/N] \n")) << err.str();
}

TEST(CliArguments, ListsAndCharacterSets) {
    EXPECT_EQ(SplitList("Caption,,Hint,"), (std::vector<std::string>{"Caption", "Hint"}));
    EXPECT_EQ(SplitList(""), std::vector<std::string>{});
    int charset = 0;
    EXPECT_TRUE(ParseCharset("1", charset));
    EXPECT_EQ(charset, 1);
    EXPECT_FALSE(ParseCharset("1x", charset));
    EXPECT_FALSE(ParseCharset("", charset));
    EXPECT_FALSE(ParseCharset("7", charset));
}

} // namespace
} // namespace wordloom::cli
