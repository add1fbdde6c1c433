// The whole-table run on real table files: which records it reads, what it hands a check, and the
// dismissals and word list it keeps in the side tables.
#include "qa/run_checks.h"
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <memory>

namespace wordloom::qa {
namespace {

using test::TableFile;

class RunChecksTest : public ::testing::Test {
protected:
    void SetUp() override {
        table = std::make_unique<StringsTable>(file.Path());
        table->SetIndexFieldNames("English");
    }
    void Add(const std::string& english, const std::string& german, const std::string& project = "Demo") {
        // Straight into the file: the key index would refuse a second record with the same text.
        file.Exec("INSERT INTO strings(English, German, Project) VALUES ('" + english + "', " +
                  (german.empty() ? std::string("NULL") : "'" + german + "'") + ", '" + project + "')");
    }
    std::vector<const CheckInfo*> Checks(const std::vector<std::string>& ids) {
        return CheckRegistry::Standard().Select(ids);
    }
    std::vector<std::string> Texts(const RunResult& result) {
        std::vector<std::string> texts;
        for (const Finding& finding : result.findings)
            texts.push_back(finding.check + ":" + finding.text);
        return texts;
    }
    TableFile file;
    std::unique_ptr<StringsTable> table;
};

TEST_F(RunChecksTest, ReportsEachTranslationOnceInRecordOrder) {
    Add("&Open", "Öffnen");
    Add("Size: %d", "Größe: %s");
    Add("&Open", "Öffnen", "Other"); // the same pair filed for another project
    Add("Close", "");
    Add("&Save", "&Speichern");
    const RunResult result =
        RunChecks(*table, "German", "", Checks({"accelerator-missing", "format-specifiers", "untranslated"}));
    EXPECT_EQ(result.records, 5u);
    EXPECT_EQ(Texts(result), (std::vector<std::string>{"accelerator-missing:&Open",
                                                       "format-specifiers:Size: %d", "untranslated:Close"}));
    EXPECT_TRUE(result.HasErrors());
    EXPECT_EQ(result.findings[0].lang, "English");
    EXPECT_EQ(result.findings[0].target, "German");
    EXPECT_EQ(result.findings[0].translation, "Öffnen");
}

TEST_F(RunChecksTest, AProjectLimitsTheRecords) {
    Add("&Open", "Öffnen", "Demo;Other");
    Add("&Close", "Schließen", "Other");
    Add("&Save", "Speichern", "Demo");
    const RunResult result = RunChecks(*table, "German", "Demo", Checks({"accelerator-missing"}));
    EXPECT_EQ(Texts(result),
              (std::vector<std::string>{"accelerator-missing:&Open", "accelerator-missing:&Save"}));
    const RunResult none = RunChecks(*table, "German", "Nowhere", Checks({}));
    EXPECT_EQ(none.records, 0u);
    EXPECT_TRUE(none.findings.empty());
}

TEST_F(RunChecksTest, ADismissalHoldsUntilTheTranslationChanges) {
    Add("Options", "Options");
    Add("&Open", "Öffnen");
    RunResult result = RunChecks(*table, "German", "", Checks({"identical", "accelerator-missing"}));
    ASSERT_EQ(result.findings.size(), 2u);
    DismissFinding(*table, result.findings[0]);
    EXPECT_EQ(file.Query("SELECT check_id FROM qa_dismissal"), "identical");

    result = RunChecks(*table, "German", "", Checks({"identical", "accelerator-missing"}));
    EXPECT_EQ(Texts(result), (std::vector<std::string>{"accelerator-missing:&Open"}));
    EXPECT_EQ(result.dismissed, 1u);
    RunOptions all;
    all.includeDismissed = true;
    EXPECT_EQ(RunChecks(*table, "German", "", Checks({"identical"}), all).findings.size(), 1u);

    // Dismissed for one check only, and for the translation it was given for.
    file.Exec("UPDATE strings SET German = 'Options ' WHERE English = 'Options'");
    file.Exec("UPDATE strings SET German = 'Options' WHERE English = 'Options'");
    EXPECT_EQ(RunChecks(*table, "German", "", Checks({"identical"})).dismissed, 1u);
    file.Exec("UPDATE strings SET German = 'Einstellungen' WHERE English = 'Options'");
    file.Exec("UPDATE strings SET German = 'Options' WHERE English = 'Options'");
    table->Side().ClearDismissal("English", "Options", "German", "identical");
    EXPECT_EQ(RunChecks(*table, "German", "", Checks({"identical"})).findings.size(), 1u);
    DismissFinding(*table, RunChecks(*table, "German", "", Checks({"identical"})).findings.at(0));
    file.Exec("UPDATE strings SET German = 'Optionen!' WHERE English = 'Options'");
    EXPECT_EQ(RunChecks(*table, "German", "", Checks({"end-punctuation"})).findings.size(), 1u);
}

TEST_F(RunChecksTest, DontTranslateFromTheReviewTableIsSeen) {
    Add("Wordloom", "Wordloom");
    Add("Deutsch", "");
    table->Side().SetReview({"English", "Wordloom", "German", ReviewState::DontTranslate, {}, 0});
    table->Side().SetReview({"English", "Deutsch", "German", ReviewState::DontTranslate, {}, 0});
    EXPECT_TRUE(RunChecks(*table, "German", "", Checks({"identical", "untranslated"})).findings.empty());
    // The state is per target language.
    EXPECT_EQ(RunChecks(*table, "French", "", Checks({"untranslated"})).findings.size(), 2u);
}

TEST_F(RunChecksTest, TheWordListIsKeptPerLanguageAndUsed) {
    table->Side().AddUserWord("German", "Wortwbstxl");
    table->Side().AddUserWord("German", "Wortwbstxl");
    table->Side().AddUserWord("French", "Mot");
    EXPECT_EQ(table->Side().UserWords("German"), std::vector<std::string>{"Wortwbstxl"});
    Add("The loom", "Der Wortwbstxl");
    RunResult result = RunChecks(*table, "German", "", Checks({"spelling"}));
    if (!result.notices.empty())
        GTEST_SKIP() << result.notices.front();
    EXPECT_TRUE(result.findings.empty());
    table->Side().RemoveUserWord("German", "Wortwbstxl");
    EXPECT_EQ(RunChecks(*table, "German", "", Checks({"spelling"})).findings.size(), 1u);
}

TEST_F(RunChecksTest, ACheckThatAsksGetsThePlacesOfTheProject) {
    Add("&Open", "&Öffnen");
    table->Side().ReplaceFileOccurrences(
        "Demo", "Main.dfm", {{"Demo", "Main.dfm", 12, "MainForm.OpenButton", "Caption", "English", "&Open"}});
    table->Side().ReplaceFileOccurrences(
        "Other", "Main.dfm", {{"Other", "Main.dfm", 3, "Form1.Open", "Caption", "English", "&Open"}});
    struct PlaceCheck : Check {
        void Inspect(const CheckContext& context, FindingSink& sink) override {
            for (const Occurrence& place : context.occurrences)
                sink.Report("places", Severity::Info, context, place.path);
        }
    };
    CheckInfo info{
        "places", Severity::Info, "places",
        [](const CheckSetup&, Severity) -> std::unique_ptr<Check> { return std::make_unique<PlaceCheck>(); },
        true};
    RunResult result = RunChecks(*table, "German", "Demo", {&info});
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_EQ(result.findings[0].message, "MainForm.OpenButton");
    EXPECT_EQ(RunChecks(*table, "German", "", {&info}).findings.size(), 2u);
    info.usesOccurrences = false;
    EXPECT_TRUE(RunChecks(*table, "German", "", {&info}).findings.empty());
}

TEST_F(RunChecksTest, UnknownLanguagesAreRefused) {
    EXPECT_THROW(RunChecks(*table, "Klingon", "", Checks({})), DbError);
    RunOptions from;
    from.sourceLang = "Project";
    EXPECT_THROW(RunChecks(*table, "German", "", Checks({}), from), DbError);
}

TEST_F(RunChecksTest, AReadOnlyTableWithoutSideTablesIsCheckedAndRefusesDismissals) {
    Add("&Open", "Öffnen");
    table.reset();
    StringsTable readOnly(file.Path(), OpenMode::ReadOnly);
    const RunResult result =
        RunChecks(readOnly, "German", "", CheckRegistry::Standard().Select({"accelerator-missing"}));
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_THROW(DismissFinding(readOnly, result.findings[0]), DbError);
    EXPECT_EQ(file.Query("SELECT count(*) FROM sqlite_master WHERE name = 'qa_dismissal'"), "0");
}

} // namespace
} // namespace wordloom::qa

namespace wordloom::qa {
namespace {

TEST(Checker, ChecksOneTranslationAtATime) {
    Checker checker(CheckRegistry::Standard().Select({"accelerator-missing", "format-specifiers"}),
                    CheckSetup{"English", "German", {}, {}, nullptr});
    EXPECT_TRUE(checker.Notices().empty());
    const std::vector<Finding> found =
        checker.Inspect(CheckContext{"English", "German", "&Size: %d", "Größe: %s", {}, std::nullopt});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].check, "accelerator-missing");
    EXPECT_EQ(found[1].check, "format-specifiers");
    EXPECT_TRUE(
        checker.Inspect(CheckContext{"English", "German", "&Size: %d", "&Größe: %d", {}, std::nullopt})
            .empty());
    EXPECT_TRUE(checker.Inspect(CheckContext{"English", "German", "", "%s", {}, std::nullopt}).empty());
}

} // namespace
} // namespace wordloom::qa
