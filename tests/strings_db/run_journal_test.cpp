// The run journal beside `strings`: created on first use, never touching the strings.
#include "strings_db/run_journal.h"
#include "strings_db/strings_table.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace wordloom {
namespace {

TEST(RunJournal, RecordsRunsAndTheirFilesBesideTheUntouchedStrings) {
    test::TableFile file;
    file.Exec("INSERT INTO strings (English, German) VALUES ('Open', 'Auf')");
    const std::vector<std::string> languages = StringsTable(file.Path(), OpenMode::ReadOnly).Languages();
    const std::unique_ptr<RunJournal> journal = OpenSqliteRunJournal(file.Path());
    const std::vector<RunFileRecord> files = {{"Main.dfm", ".wordloom/runs/ab/ab1", "ab1", "cd2"},
                                              {"Main.pas", ".wordloom/runs/ef/ef3", "ef3", "0a4"}};
    const std::int64_t first = journal->BeginRun("/p/Demo.dpr", "German", files);
    const std::int64_t second = journal->BeginRun("/q/Other.dpr", "French", {});
    EXPECT_NE(first, second);
    journal->SetState(first, run_state::kDone);

    // A second connection sees it all: it is committed.
    const std::unique_ptr<RunJournal> again = OpenSqliteRunJournal(file.Path());
    const std::vector<RunRecord> runs = again->Runs("/p/Demo.dpr");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].target, "German");
    EXPECT_EQ(runs[0].state, run_state::kDone);
    EXPECT_EQ(runs[0].startedAt.size(), 20u); // 2026-12-08T21:00:00Z
    ASSERT_EQ(again->Files(first).size(), 2u);
    EXPECT_EQ(again->Files(first)[1].file, "Main.pas");
    EXPECT_EQ(again->Files(first)[1].sha256After, "0a4");
    EXPECT_EQ(again->Runs("").size(), 2u);
    EXPECT_EQ(again->Runs("")[0].id, second); // newest first

    again->Remove(first);
    EXPECT_TRUE(journal->Runs("/p/Demo.dpr").empty());
    EXPECT_TRUE(journal->Files(first).empty());
    // The strings are as they were.
    StringsTable table(file.Path(), OpenMode::ReadOnly);
    EXPECT_EQ(table.RecordCount(), 1);
    EXPECT_EQ(table.Languages(), languages);
}

TEST(RunJournal, AStringsTableThatCannotBeWrittenIsRefused) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes read-only files";
    test::TableFile file;
    ASSERT_EQ(::chmod(file.Path().c_str(), 0444), 0);
    EXPECT_THROW(OpenSqliteRunJournal(file.Path()), DbError);
}

} // namespace
} // namespace wordloom
