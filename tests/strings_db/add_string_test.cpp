// AddString: how a collected text is filed.
#include "strings_db/strings_table.h"
#include "support/table_file.h"
#include "support/test_table.h"

#include <gtest/gtest.h>

namespace wordloom {
namespace {

using test::Backend;
using test::TableFile;

class AddStringFixture {
protected:
    void Open(Backend backend) {
        file.Create(backend);
        table = std::make_unique<StringsTable>(file.Path());
        table->SetIndexFieldNames("English");
    }
    std::string Count() const { return file.Query("SELECT count(*) FROM strings"); }
    /// "text|SpFront|SpEnd|Project" of the record with that English text, "" when there is none.
    std::string Record(const std::string& english) const {
        return file.Query("SELECT English || '|' || SpFront || '|' || SpEnd || '|' || Project FROM strings "
                          "WHERE English = '" +
                          english + "'");
    }
    test::TestTable file;
    std::unique_ptr<StringsTable> table;
};

/// On each backend; the PostgreSQL instances skip without a test server.
class AddStringTest : public AddStringFixture, public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        if (GetParam() == Backend::Postgres && !test::NoServerReason().empty()) {
            GTEST_SKIP() << test::NoServerReason();
        }
        Open(GetParam());
    }
};

INSTANTIATE_TEST_SUITE_P(Backends, AddStringTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         test::BackendName());

TEST_P(AddStringTest, BlanksAroundTheTextAreCountedAndTheTextFiledOnce) {
    AddString(*table, "English", " OK ", "P1");
    AddString(*table, "English", "OK", "P1");
    AddString(*table, "English", "   OK", "P1");
    EXPECT_EQ(Count(), "1");
    EXPECT_EQ(Record("OK"), "OK|1|1|P1");
}

TEST_P(AddStringTest, CountsAreTakenOnTheRawText) {
    AddString(*table, "English", "  Save as  ", "P");
    AddString(*table, "English", "Name: ", "P");
    EXPECT_EQ(Record("Save as"), "Save as|2|2|P");
    EXPECT_EQ(Record("Name:"), "Name:|0|1|P");
}

struct DroppedCase {
    const char* name;
    const char* text;
};

// The filing rule runs before the table is reached: one backend is enough.
class AddStringDropTest : public AddStringFixture, public ::testing::TestWithParam<DroppedCase> {
protected:
    void SetUp() override { Open(Backend::Sqlite); }
};

TEST_P(AddStringDropTest, ShortTextsAreNotFiled) {
    AddString(*table, "English", GetParam().text, "P");
    EXPECT_EQ(Count(), "0");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AddStringDropTest,
    ::testing::Values(DroppedCase{"Empty", ""}, DroppedCase{"OneLetter", "A"},
                      DroppedCase{"OneLetterInBlanks", " A "}, DroppedCase{"ThreeBlanks", "   "},
                      DroppedCase{"Dash", "-"}, DroppedCase{"LetterAndTab", "A\t"},
                      DroppedCase{"ControlsAround", "\r\n:\x01"},
                      // Two bytes but one character.
                      DroppedCase{"OneUmlaut", "\xC3\xB6"}, DroppedCase{"UmlautInBlanks", "  \xC3\x96  "},
                      DroppedCase{"OneCjkCharacter", "\xE6\x96\x87"}),
    [](const ::testing::TestParamInfo<DroppedCase>& param) { return std::string(param.param.name); });

TEST_P(AddStringTest, TwoCharactersAreEnoughWhateverTheirBytes) {
    AddString(*table, "English", "\xC3\x96l", "P"); // Öl
    AddString(*table, "English", "\xE6\x96\x87\xE4\xBB\xB6", "P");
    EXPECT_EQ(Count(), "2");
}

TEST_P(AddStringTest, TabIsTrimmedButNotCounted) {
    AddString(*table, "English", "\tName", "P");
    EXPECT_EQ(Record("Name"), "Name|0|0|P");
    AddString(*table, "English", " \tCity\t ", "P");
    EXPECT_EQ(Record("City"), "City|1|1|P");
}

TEST_P(AddStringTest, RecordFoundInAnotherProjectKeepsItsProject) {
    AddString(*table, "English", "Open", "P1");
    AddString(*table, "English", " Open", "P2");
    EXPECT_EQ(Count(), "1");
    EXPECT_EQ(Record("Open"), "Open|0|0|P1");
}

TEST_P(AddStringTest, OtherLanguagesStayEmpty) {
    AddString(*table, "English", "Open", "P");
    EXPECT_EQ(file.Query("SELECT count(*) FROM strings WHERE German IS NULL AND French IS NULL AND "
                         "Spanish IS NULL AND Italian IS NULL"),
              "1");
}

TEST_P(AddStringTest, KeySearchComparesLetterCaseEvenWhenTheGridIgnoresIt) {
    // The grid orders by English2 (case ignored); filing still goes through the English index.
    table->SetIndexName("English2");
    AddString(*table, "English", "Save", "P");
    AddString(*table, "English", "SAVE", "P");
    AddString(*table, "English", "Save", "P");
    EXPECT_EQ(Count(), "2");
    EXPECT_EQ(table->IndexName(), "English");
}

TEST_P(AddStringTest, FilesUnderTheGivenLanguage) {
    AddString(*table, "German", "Speichern", "P");
    AddString(*table, "German", "Speichern ", "P");
    EXPECT_EQ(file.Query("SELECT German || '|' || SpEnd FROM strings"), "Speichern|0");
    EXPECT_EQ(Count(), "1");
    EXPECT_EQ(table->IndexField(), "German");
}

TEST_P(AddStringTest, EachPostRunsTheHooks) {
    int before = 0;
    int after = 0;
    table->SetBeforePost([&](StringsTable& t) {
        ++before;
        EXPECT_EQ(t.State(), TableState::Insert);
    });
    table->SetAfterPost([&](StringsTable&) { ++after; });
    AddString(*table, "English", "One", "P");
    AddString(*table, "English", "One", "P");
    AddString(*table, "English", "Two", "P");
    EXPECT_EQ(before, 2);
    EXPECT_EQ(after, 2);
}

TEST_P(AddStringTest, FailureLeavesNoPendingRecord) {
    table->SetBeforePost([](StringsTable&) { throw DbError("locked"); });
    EXPECT_THROW(AddString(*table, "English", "One", "P"), DbError);
    EXPECT_EQ(table->State(), TableState::Browse);
    table->SetBeforePost(nullptr);
    AddString(*table, "English", "Two", "P");
    EXPECT_EQ(Count(), "1");
    EXPECT_EQ(Record("Two"), "Two|0|0|P");
}

TEST_P(AddStringTest, UnknownLanguageIsAnError) {
    EXPECT_THROW(AddString(*table, "Klingon", "Qapla", "P"), DbError);
    EXPECT_EQ(table->State(), TableState::Browse);
}

TEST(AddStringDefaults, ProjectDefaultGetsTheNameAppended) {
    TableFile file("CREATE TABLE strings (English TEXT, Project TEXT DEFAULT 'Shared', SpFront INTEGER, "
                   "SpEnd INTEGER); CREATE INDEX English ON strings (English);");
    StringsTable table(file.Path());
    AddString(table, "English", "Close", "P1");
    EXPECT_EQ(file.Query("SELECT Project FROM strings"), "Shared;P1");
}

using AddStringCursor = test::OnBackend;

TEST_P(AddStringCursor, NewRecordIsCurrentAndInOrder) {
    StringsTable table(file.Path());
    table.SetIndexFieldNames("English");
    for (const char* text : {"delta", "alpha", "charlie", "bravo"}) {
        AddString(table, "English", text, "P");
    }
    EXPECT_EQ(table.FieldAsString("English"), "bravo");
    EXPECT_EQ(table.RecNo(), 1);
    std::vector<std::string> seen;
    for (int i = 0; i < table.RecordCount(); ++i) {
        seen.push_back(table.FieldAt(i, "English"));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"alpha", "bravo", "charlie", "delta"}));
}

INSTANTIATE_TEST_SUITE_P(Backends, AddStringCursor, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         test::BackendName());

} // namespace
} // namespace wordloom
