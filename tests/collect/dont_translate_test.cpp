// The rules that propose "don't translate": what each recognises, what prose they leave alone, and
// switching them off.
#include "collect/dont_translate.h"

#include <gtest/gtest.h>

namespace wordloom {
namespace {

struct Case {
    const char* text;
    const char* rule; ///< nullptr: no proposal
};

class RuleProposal : public ::testing::TestWithParam<Case> {};

TEST_P(RuleProposal, ProposesTheFirstRuleThatRecognisesTheText) {
    const Case& c = GetParam();
    const std::optional<std::string_view> rule = ProposeDontTranslate(c.text, {});
    if (c.rule == nullptr) {
        EXPECT_FALSE(rule) << c.text << " -> " << *rule;
    } else {
        ASSERT_TRUE(rule) << c.text;
        EXPECT_EQ(*rule, c.rule) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RuleProposal,
    ::testing::Values(Case{"SELECT Name, City FROM Customers WHERE Id = :Id", "sql"},
                      Case{"insert into log values (1, 2)", "sql"}, Case{"update T set A = 1", "sql"},
                      Case{"Select a file to open", nullptr},
                      Case{"Delete the selected rows from the list?", nullptr},
                      Case{"Update available", nullptr}, Case{"Select items from the list", nullptr},
                      Case{"SELECT Name FROM Customers", "sql"}, Case{"drop table T", "sql"},
                      Case{"^\\d{4}-\\d{2}$", "regex"}, Case{"[A-Z]+\\s*", "regex"},
                      Case{"Price: $5", nullptr}, Case{"C:\\Program Files\\App", "path"},
                      Case{"https://example.org/help", "path"}, Case{"/usr/share/wordloom", "path"},
                      Case{"config\\app.ini", "path"}, Case{"Yes/No", nullptr}, Case{"and/or", nullptr},
                      Case{"btnSave_Click", "identifier"}, Case{"TForm1", "identifier"},
                      Case{"Edit1", "identifier"}, Case{"Form1.Caption", "identifier"}, Case{"OK", nullptr},
                      Case{"Cancel", nullptr}, Case{"Hello.", nullptr}, Case{"Wait...", nullptr},
                      Case{"%d / %d", "format"}, Case{"%s: %.2f%%", "format"}, Case{"{0} - {1}", "format"},
                      Case{"#,##0.00", "format"}, Case{"%d files copied", nullptr}, Case{"100%", nullptr},
                      Case{"Größe", nullptr}, Case{"...", nullptr}));

TEST(DontTranslateRulesSettings, ASwitchedOffRuleProposesNothingAndTheNextOneMayStill) {
    EXPECT_FALSE(ProposeDontTranslate("select * from T", {"sql"}));
    EXPECT_EQ(ProposeDontTranslate("TForm1", {"sql", "path"}), "identifier");
    EXPECT_FALSE(ProposeDontTranslate("TForm1", {"identifier"}));
    // Every rule has an id and a description for the settings list, ids unique.
    std::vector<std::string_view> ids;
    for (const DontTranslateRule& rule : DontTranslateRules()) {
        EXPECT_FALSE(rule.description.empty());
        ids.push_back(rule.id);
    }
    EXPECT_EQ(ids, (std::vector<std::string_view>{"sql", "regex", "path", "identifier", "format"}));
}

} // namespace
} // namespace wordloom
