// wordloom-cli db: init makes the team table in an empty PostgreSQL database, once; copy moves
// every record between backends, into empty tables only.
#include "cli/commands.h"
#include "strings_db/strings_table.h"
#include "support/test_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace wordloom::cli {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome RunDb(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = DbCommand(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(DbCommand, WrongCommandLinesAreUsageErrors) {
    EXPECT_EQ(RunDb({}).status, kExitUsage);
    EXPECT_EQ(RunDb({"drop", "postgresql://x/y"}).status, kExitUsage);
    EXPECT_EQ(RunDb({"copy", "strings.db"}).status, kExitUsage);
    EXPECT_EQ(RunDb({"init", "postgresql://x/y", "postgresql://x/z"}).status, kExitUsage);
    const Outcome file = RunDb({"init", "strings.db"});
    EXPECT_EQ(file.status, kExitUsage);
    EXPECT_NE(file.err.find("no PostgreSQL address"), std::string::npos) << file.err;
}

TEST(DbCommand, InitMakesTheTableOnceAndFailsClearlyOtherwise) {
    if (!test::NoServerReason().empty()) {
        GTEST_SKIP() << test::NoServerReason();
    }
    test::TestTable database;
    database.CreateEmpty(test::Backend::Postgres);
    const Outcome made = RunDb({"init", database.Path()});
    ASSERT_EQ(made.status, kExitSuccess) << made.err;
    StringsTable table(database.Path());
    EXPECT_EQ(table.Languages().size(), 5u);

    const Outcome again = RunDb({"init", database.Path()});
    EXPECT_EQ(again.status, kExitFailure);
    EXPECT_NE(again.err.find("already holds a strings table"), std::string::npos) << again.err;

    const Outcome unreachable = RunDb({"init", "postgresql://nobody@/nowhere?host=/nonexistent"});
    EXPECT_EQ(unreachable.status, kExitFailure);
    EXPECT_NE(unreachable.err.find("nowhere"), std::string::npos) << unreachable.err;
}

/// Every record of a table as "English|German|Project|SpFront|SpEnd", sorted.
std::vector<std::string> Records(const std::string& location) {
    StringsTable table(location, OpenMode::ReadOnly);
    std::vector<std::string> records;
    for (table.First(); !table.Eof(); table.Next()) {
        std::string record;
        for (const char* field : {"English", "German", "Project", "SpFront", "SpEnd"}) {
            record += table.FieldAsString(field) + "|";
        }
        records.push_back(record);
    }
    std::sort(records.begin(), records.end());
    return records;
}

void Fill(const std::string& location) {
    StringsTable table(location);
    for (int i = 0; i < 30; ++i) {
        table.Insert();
        table.SetField("English", "Text " + std::to_string(i) + (i % 2 ? " é" : " É"));
        if (i % 3 != 0) {
            table.SetField("German", "Übersetzt " + std::to_string(i));
        }
        table.SetField("Project", i % 4 ? "A;B" : "O'Neil");
        table.SetFieldInt("SpFront", i % 3);
        table.Post();
    }
}

class DbCopy : public ::testing::TestWithParam<test::Backend> {
protected:
    void SetUp() override {
        if (GetParam() == test::Backend::Postgres && !test::NoServerReason().empty()) {
            GTEST_SKIP() << test::NoServerReason();
        }
    }
};

TEST_P(DbCopy, EveryRecordGoesThereAndBackIntoEmptyTablesOnly) {
    test::TestTable source(test::Backend::Sqlite);
    test::TestTable middle(GetParam());
    test::TestTable back(test::Backend::Sqlite);
    Fill(source.Path());
    const std::vector<std::string> records = Records(source.Path());
    ASSERT_EQ(records.size(), 30u);

    const Outcome there = RunDb({"copy", source.Path(), middle.Path()});
    ASSERT_EQ(there.status, kExitSuccess) << there.err;
    EXPECT_NE(there.out.find("30 records copied"), std::string::npos) << there.out;
    EXPECT_EQ(Records(middle.Path()), records);
    const Outcome home = RunDb({"copy", middle.Path(), back.Path()});
    ASSERT_EQ(home.status, kExitSuccess) << home.err;
    EXPECT_EQ(Records(back.Path()), records);

    // A table that holds records is not added to: nothing changes there.
    const Outcome again = RunDb({"copy", source.Path(), middle.Path()});
    EXPECT_EQ(again.status, kExitFailure);
    EXPECT_NE(again.err.find("empty table"), std::string::npos) << again.err;
    EXPECT_EQ(Records(middle.Path()).size(), 30u);
}

TEST_P(DbCopy, AFieldTheTargetLacksStopsTheCopyBeforeAnythingIsWritten) {
    test::TestTable target(GetParam());
    test::TableFile wide("CREATE TABLE strings (English TEXT, Klingon TEXT, Project TEXT, SpFront INTEGER, "
                         "SpEnd INTEGER); INSERT INTO strings (English, Klingon) VALUES ('Yes', 'HIja');");
    const Outcome copied = RunDb({"copy", wide.Path(), target.Path()});
    EXPECT_EQ(copied.status, kExitFailure);
    EXPECT_NE(copied.err.find("Klingon"), std::string::npos) << copied.err;
    EXPECT_TRUE(Records(target.Path()).empty());
}

INSTANTIATE_TEST_SUITE_P(Backends, DbCopy, ::testing::Values(test::Backend::Sqlite, test::Backend::Postgres),
                         test::BackendName());

} // namespace
} // namespace wordloom::cli
