// The statistics of every project at once agree with those of each project alone, for records
// listed by several projects, by a project twice, and by none.
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"
#include "strings_db/translation_stats.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

namespace wordloom {
namespace {

TEST(StatsByProject, EveryProjectCountsAsItWouldAlone) {
    test::TableFile file;
    StringsTable table(file.Path());
    table.SetIndexFieldNames("English");
    const auto add = [&](const char* english, const char* german, const char* project) {
        table.Insert();
        table.SetField("English", english);
        table.SetField("German", german);
        table.SetField("Project", project);
        table.Post();
    };
    add("Open the file", "Datei öffnen", "Demo");
    add("Save", "", "Demo;Tools");
    add("Close all windows", "Alles zu", "Tools;Demo;Tools"); // Tools listed twice
    add("Print", "", "");
    add("select * from T", "", "Tools");
    table.Side().SetReview({"English", "Close all windows", "German", ReviewState::Suggested, {}, 0});
    table.Side().SetReview({"English", "select * from T", "German", ReviewState::DontTranslate, {}, 0});

    const std::map<std::string, TranslationStats> all = ComputeStatsByProject(table, "English", "German");
    ASSERT_EQ(all.size(), 3u);
    for (const auto& [project, stats] : all) {
        const TranslationStats alone = ComputeStats(table, project, "English", "German");
        EXPECT_EQ(stats.totalTexts, alone.totalTexts) << project;
        EXPECT_EQ(stats.totalWords, alone.totalWords) << project;
        EXPECT_EQ(stats.doneTexts, alone.doneTexts) << project;
        EXPECT_EQ(stats.doneWords, alone.doneWords) << project;
        EXPECT_EQ(stats.suggestedTexts, alone.suggestedTexts) << project;
        EXPECT_EQ(stats.dontTranslateTexts, alone.dontTranslateTexts) << project;
    }
    EXPECT_EQ(all.at("").totalTexts, 5);
    EXPECT_EQ(all.at("Tools").totalTexts, 3);
    EXPECT_EQ(all.at("Tools").suggestedTexts, 1);
    EXPECT_EQ(all.at("Demo").doneTexts, 1);
    EXPECT_EQ(all.at("Demo").Percent(), 33);
    EXPECT_THROW(ComputeStatsByProject(table, "English", "Klingon"), DbError);
}

} // namespace
} // namespace wordloom
