// The side tables and what is built on them: review states, statistics, memory suggestions,
// pre-translation and find.
#include "strings_db/find_index.h"
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"
#include "strings_db/translation_memory.h"
#include "strings_db/translation_stats.h"
#include "support/recording_host.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace wordloom {
namespace {

using test::TableFile;
using TextList = std::vector<std::string>;

class SideFeatures : public ::testing::Test {
protected:
    void SetUp() override {
        table = std::make_unique<StringsTable>(file.Path());
        table->SetIndexFieldNames("English");
    }
    void Add(const std::string& english, const std::string& german, const std::string& project = "Demo") {
        table->Insert();
        table->SetField("English", english);
        table->SetField("German", german);
        table->SetField("Project", project);
        table->Post();
    }
    void SetState(const std::string& english, ReviewState state) {
        table->Side().SetReview({"English", english, "German", state, {}, 0});
    }
    std::string German(const std::string& english) const {
        return file.Query("SELECT German FROM strings WHERE English = '" + english + "'");
    }
    TableFile file;
    std::unique_ptr<StringsTable> table;
};

TEST_F(SideFeatures, ReviewRowsAreStoredPerTargetAndReplaced) {
    EXPECT_FALSE(table->Side().Review("English", "Open", "German"));
    table->Side().SetReview({"English", "Open", "German", ReviewState::Translated, "typed", 0});
    table->Side().SetReview({"English", "Open", "French", ReviewState::DontTranslate, {}, 1234});
    table->Side().SetReview({"English", "Open", "German", ReviewState::Reviewed, "checked", 0});
    const std::optional<ReviewEntry> german = table->Side().Review("English", "Open", "German");
    ASSERT_TRUE(german);
    EXPECT_EQ(german->state, ReviewState::Reviewed);
    EXPECT_EQ(german->note, "checked");
    EXPECT_GT(german->changedAt, 1234);
    EXPECT_EQ(table->Side().Review("English", "Open", "French")->changedAt, 1234);
    // Another connection sees the row: it was committed, and `strings` kept its columns.
    EXPECT_EQ(file.Query("SELECT state FROM review WHERE target = 'German'"), "reviewed");
    EXPECT_EQ(file.Query("SELECT count(*) FROM pragma_table_info('strings')"), "8");
    table->Side().ClearReview("English", "Open", "German");
    EXPECT_FALSE(table->Side().Review("English", "Open", "German"));
    for (ReviewState state : {ReviewState::New, ReviewState::Suggested, ReviewState::Translated,
                              ReviewState::Reviewed, ReviewState::DontTranslate}) {
        EXPECT_EQ(ParseReviewState(ReviewStateName(state)), state);
    }
    EXPECT_FALSE(ParseReviewState("approved"));
    EXPECT_EQ(EffectiveState(std::nullopt, ""), ReviewState::New);
    EXPECT_EQ(EffectiveState(std::nullopt, "Öffnen"), ReviewState::Translated);
}

TEST_F(SideFeatures, AReadOnlyTableWithoutSideTablesReadsEmptyAndRefusesWrites) {
    table.reset();
    StringsTable readOnly(file.Path(), OpenMode::ReadOnly);
    EXPECT_FALSE(readOnly.Side().Review("English", "Open", "German"));
    EXPECT_TRUE(readOnly.Side().OccurrenceFiles("Demo").empty());
    EXPECT_THROW(readOnly.Side().SetReview({"English", "Open", "German", ReviewState::Translated, {}, 0}),
                 DbError);
    EXPECT_EQ(file.Query("SELECT count(*) FROM sqlite_master WHERE name = 'review'"), "0");
}

TEST_F(SideFeatures, WordsAreRunsOfLettersInAnyScript) {
    EXPECT_EQ(CountWords("Save the file"), 3);
    EXPECT_EQ(CountWords("  Don't save: 3 files!  "), 4);
    EXPECT_EQ(CountWords("Größe ändern"), 2);
    EXPECT_EQ(CountWords("Открыть файл"), 2);
    EXPECT_EQ(CountWords("..."), 0);
    // Plain letters beside others: marks and apostrophes join the word before them, not a new one.
    EXPECT_EQ(CountWords("Cafe\u0301 l'e\u0301te\u0301 x_y 'quoted'"), 5);
    EXPECT_EQ(CountWords("\u0301a b\u00e9c\u00e9"), 2);
    EXPECT_EQ(CountWords("a\xff"
                         "b"),
              2); // a broken byte ends a word
}

TEST_F(SideFeatures, StatisticsCountDoneTextsAndWordsOfTheProject) {
    Add("Open the file", "Datei öffnen");     // translated: 3 words
    Add("Save", "Speichern");                 // reviewed: 1 word
    Add("Close all windows", "Alles zu");     // suggested, not done: 3 words
    Add("select * from T", "");               // don't translate: 3 words
    Add("Print", "");                         // new: 1 word
    Add("Other project", "Anderes", "Other"); // not counted
    SetState("Save", ReviewState::Reviewed);
    SetState("Close all windows", ReviewState::Suggested);
    SetState("select * from T", ReviewState::DontTranslate);
    const TranslationStats stats = ComputeStats(*table, "Demo", "English", "German");
    EXPECT_EQ(stats.totalTexts, 5);
    EXPECT_EQ(stats.totalWords, 11);
    EXPECT_EQ(stats.doneTexts, 3);
    EXPECT_EQ(stats.doneWords, 7);
    EXPECT_EQ(stats.suggestedTexts, 1);
    EXPECT_EQ(stats.dontTranslateTexts, 1);
    EXPECT_EQ(stats.reviewedTexts, 1);
    EXPECT_EQ(stats.Percent(), 60);
    EXPECT_EQ(ComputeStats(*table, "", "English", "German").totalTexts, 6);
    EXPECT_EQ(ComputeStats(*table, "Nobody", "English", "German").Percent(), 100);
    EXPECT_THROW(ComputeStats(*table, "Demo", "English", "Klingon"), DbError);
}

TEST_F(SideFeatures, PercentRoundsDown) {
    TranslationStats stats;
    stats.totalTexts = 1000;
    stats.doneTexts = 999;
    EXPECT_EQ(stats.Percent(), 99);
}

TEST(Similarity, CountsEditsOverCharacters) {
    EXPECT_EQ(Similarity("Open file", "Open file"), 100);
    EXPECT_EQ(Similarity("Open file", "Open files"), 90);
    EXPECT_EQ(Similarity("Größe", "Grösse"), 66); // two edits over six characters
    EXPECT_EQ(Similarity("abc", "xyz"), 0);
    EXPECT_EQ(Similarity("", ""), 100);
    // Nearly equal long texts never read as the same.
    EXPECT_EQ(Similarity(std::string(300, 'a'), std::string(299, 'a') + "b"), 99);
}

TEST(TranslationMemoryTest, SuggestsTheMostSimilarFirst) {
    TranslationMemory memory;
    memory.Add("Open the file", "Datei öffnen");
    memory.Add("Open the files", "Dateien öffnen");
    memory.Add("Open a file", "Eine Datei öffnen");
    memory.Add("Close the file", "Datei schließen");
    memory.Add("Completely different text", "Ganz anders");
    memory.Add("Open the file", "Second translation ignored");
    EXPECT_EQ(memory.Size(), 5u);
    const std::vector<Suggestion> found = memory.Suggest("Open the file");
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].source, "Open the file");
    EXPECT_EQ(found[0].translation, "Datei öffnen");
    EXPECT_EQ(found[0].percent, 100);
    EXPECT_EQ(found[1].source, "Open the files");
    EXPECT_EQ(found[1].percent, 92);
    EXPECT_EQ(found[2].source, "Open a file"); // 3 edits over 13 characters
    EXPECT_EQ(found[2].percent, 76);
    EXPECT_EQ(found[3].source, "Close the file"); // 5 edits over 14
    EXPECT_EQ(found[3].percent, 64);
    EXPECT_EQ(memory.Suggest("Open the file", 2).size(), 2u);
    EXPECT_EQ(memory.Suggest("Open the file", 5, 95).size(), 1u);
    EXPECT_TRUE(memory.Suggest("zzzz").empty());
}

TEST(TranslationMemoryTest, FindsTheBestAmongManyCandidates) {
    // More texts share trigrams with the query than are measured exactly: the best must still win.
    TranslationMemory memory;
    for (int i = 0; i < 500; ++i) {
        memory.Add("Record number " + std::to_string(i) + " of the table", "Datensatz " + std::to_string(i));
    }
    memory.Add("Record number of the table", "Datensatznummer");
    const std::vector<Suggestion> found = memory.Suggest("Record numbers of the table", 1);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].translation, "Datensatznummer");
    EXPECT_EQ(found[0].percent, 96);
}

TEST_F(SideFeatures, AStoppedMemoryReadEndsEmptyAndTheConnectionReadsOn) {
    for (int i = 0; i < 50; ++i) {
        Add("Text " + std::to_string(i), "Wort " + std::to_string(i));
    }
    std::atomic<bool> stop{true};
    EXPECT_EQ(TranslationMemory::Load(*table, "English", "German", &stop).Size(), 0u);
    EXPECT_EQ(TranslationMemory::Load(*table, "English", "German").Size(), 50u);
    Add("One more", "Noch einer");
    stop = false;
    EXPECT_EQ(TranslationMemory::Load(*table, "English", "German", &stop).Size(), 51u);
}

TEST_F(SideFeatures, TheWriteStampChangesWithEveryWriteAndOnlyThen) {
    Add("Open", "Öffnen");
    const auto stamp = table->WriteStamp();
    ASSERT_TRUE(stamp);
    ComputeStats(*table, "", "English", "German");
    table->SetIndexFieldNames("German");
    EXPECT_EQ(table->WriteStamp(), stamp) << "reading and re-ordering write nothing";
    Add("Close", "");
    const auto afterPost = table->WriteStamp();
    EXPECT_NE(afterPost, stamp);
    SetState("Open", ReviewState::Reviewed);
    const auto afterReview = table->WriteStamp();
    EXPECT_NE(afterReview, afterPost) << "a side table's row counts too";
    StringsTable other(file.Path());
    other.Insert();
    other.SetField("English", "Quit");
    other.Post();
    EXPECT_NE(table->WriteStamp(), afterReview) << "another connection's commit counts too";
}

TEST_F(SideFeatures, PreTranslateFillsOnlyGoodMatchesAsSuggested) {
    Add("Open the file", "Datei öffnen", "Library");
    Add("Save the document", "Dokument speichern", "Library");
    Add("Open the files", "");              // 92%: filled
    Add("Save the documents", "");          // 94%: filled
    Add("Save a document", "");             // 82%: left empty
    Add("Open the file", "", "Demo;Other"); // same text: exact
    Add("Keep me", "Bleib");                // already translated: untouched
    Add("Open the filez", "");              // marked don't translate: untouched
    SetState("Open the filez", ReviewState::DontTranslate);
    table->SetIndexFieldNames("German"); // the key search order does not matter to it
    const PreTranslateSummary summary = PreTranslate(*table, "Demo", "English", "German", 90);
    EXPECT_EQ(summary.fuzzy, 2);
    EXPECT_EQ(summary.exact, 1);
    table->Refresh();
    EXPECT_EQ(German("Open the files"), "Datei öffnen");
    EXPECT_EQ(German("Save the documents"), "Dokument speichern");
    EXPECT_EQ(German("Save a document"), "");
    EXPECT_EQ(German("Keep me"), "Bleib");
    EXPECT_EQ(German("Open the filez"), "");
    const std::optional<ReviewEntry> state = table->Side().Review("English", "Open the files", "German");
    ASSERT_TRUE(state);
    EXPECT_EQ(state->state, ReviewState::Suggested);
    EXPECT_EQ(state->note, "memory:92");
    EXPECT_EQ(ComputeStats(*table, "Demo", "English", "German").suggestedTexts, 3);
}

TEST_F(SideFeatures, PreTranslateTellsProgressAndACancelFillsNothing) {
    Add("Open the file", "Datei öffnen");
    constexpr int kEmpty = 70; // more than one step of progress
    for (int i = 0; i < kEmpty; ++i) {
        Add("Open the file " + std::to_string(i), "");
    }
    for (const int cancelAfter : {1, 2}) { // while matches are looked for; just before filling
        SCOPED_TRACE(cancelAfter);
        RecordingHost host;
        host.cancelAfterProgress = cancelAfter;
        const PreTranslateSummary summary = PreTranslate(*table, "Demo", "English", "German", 70, &host);
        EXPECT_TRUE(summary.cancelled);
        EXPECT_EQ(summary.exact + summary.fuzzy, 0);
        EXPECT_EQ(host.ProgressSteps().size(), static_cast<std::size_t>(cancelAfter));
        table->Refresh();
        EXPECT_EQ(German("Open the file 7"), "");
        EXPECT_EQ(ComputeStats(*table, "Demo", "English", "German").suggestedTexts, 0);
    }
    RecordingHost host;
    const PreTranslateSummary summary = PreTranslate(*table, "Demo", "English", "German", 70, &host);
    EXPECT_FALSE(summary.cancelled);
    EXPECT_EQ(summary.fuzzy, kEmpty);
    const std::vector<RecordingHost::ProgressStep>& steps = host.ProgressSteps();
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].done, 0);
    EXPECT_EQ(steps[1].done, 64);
    EXPECT_EQ(steps[2].done, kEmpty);
    for (const RecordingHost::ProgressStep& step : steps) {
        EXPECT_EQ(step.total, kEmpty);
    }
    EXPECT_TRUE(steps[0].current.starts_with("Open the file "));
    EXPECT_EQ(steps[2].current, "");
}

TEST(FoldForFindTest, FoldsCaseAndDropsAccentsBeyondAscii) {
    EXPECT_EQ(FoldForFind("Hello World"), "hello world");
    EXPECT_EQ(FoldForFind("ÉCOLE Française"), "ecole francaise");
    EXPECT_EQ(FoldForFind("Straße"), "strasse");
    EXPECT_EQ(FoldForFind("ΣΟΦΊΑ"), "σοφια");
    EXPECT_EQ(FoldForFind("Ｆｕｌｌ"), "ｆｕｌｌ");
    EXPECT_EQ(FoldForFind("e\xCC\x81"), "e"); // a decomposed accent
    EXPECT_EQ(FoldForFind("bad \xFF byte"), "bad \xEF\xBF\xBD byte");
    EXPECT_TRUE(FindMatcher("strasse").Matches("Hauptstraße 1"));
    EXPECT_TRUE(FindMatcher("ÖFFNEN").Matches("Datei öffnen"));
    EXPECT_TRUE(FindMatcher("oeffnen").Empty() == false);
    EXPECT_FALSE(FindMatcher("oeffnen").Matches("Datei öffnen"));
}

TEST_F(SideFeatures, FindIndexMarksRecordsMatchingInAnyField) {
    Add("Open the file", "Datei öffnen");
    Add("Save", "Speichern");
    Add("Größe ändern", "");
    const std::string nul("a\0b", 3);
    FindIndex index(*table, "English", {"English", "German"});
    EXPECT_EQ(index.Size(), 3u);
    EXPECT_EQ(index.Search("OFFNEN"), 1u);
    EXPECT_TRUE(index.Matches("Open the file"));
    EXPECT_FALSE(index.Matches("Save"));
    EXPECT_EQ(index.Search("GROSSE"), 1u);
    EXPECT_EQ(index.MatchingKeys(), (TextList{"Größe ändern"}));
    // A needle never spans two fields.
    EXPECT_EQ(index.Search("fileDatei"), 0u);
    EXPECT_EQ(index.Search("e"), 3u);
    EXPECT_EQ(index.Search(""), 3u);
    EXPECT_FALSE(index.Matches("Unknown"));
}

} // namespace
} // namespace wordloom
