// The exchange over the side tables: places, states and notes out of them, imported states into
// them, in the import's transaction.
#include "exchange/po_format.h"
#include "exchange/side_details.h"
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

namespace wordloom::exchange {
namespace {

class SideExchange : public ::testing::Test {
protected:
    void SetUp() override {
        m_file.Exec("INSERT INTO strings (English, German, Project) VALUES "
                    "('Open', 'Öffnen', 'Demo;Other'), ('Close', '', 'Demo'), ('Save', 'Sichern', 'Demo'),"
                    "('Quit', 'Beenden', 'Demo')");
    }
    std::optional<ReviewEntry> Review(StringsTable& table, const std::string& text) {
        return table.Side().Review("English", text, "German");
    }
    static Catalog Incoming(std::vector<std::tuple<std::string, std::string, UnitState>> texts) {
        Catalog catalog;
        for (auto& [source, target, state] : texts)
            catalog.units.push_back({source, target, state, 0, 0, {}, {}});
        return catalog;
    }

    test::TableFile m_file;
};

TEST_F(SideExchange, ExportCarriesPlacesStatesAndNotes) {
    StringsTable table(m_file.Path());
    SideStore& side = table.Side();
    side.ReplaceFileOccurrences("Demo", "Main.dfm",
                                {{"Demo", "Main.dfm", 2, "Form1.OpenButton", "Caption", "English", "Open"},
                                 {"Demo", "Main.dfm", 9, "Form1.SaveButton", "Hint", "English", "Save"}});
    side.ReplaceFileOccurrences("Other", "Tools.pas",
                                {{"Other", "Tools.pas", 4, "Tools", "", "English", "Open"}});
    side.SetReview({"English", "Save", "German", ReviewState::Suggested, "from the memory", 0});
    side.SetReview({"English", "Quit", "German", ReviewState::Reviewed, "", 0});
    // A row of another target language says nothing about German.
    side.SetReview({"English", "Open", "French", ReviewState::Suggested, "", 0});

    const SideDetails details(table, "");
    const Catalog demo = CatalogFromTable(table, {"", "German", "Demo", ExportScope::All}, details);
    ASSERT_EQ(demo.units.size(), 4u);
    const Unit& open = demo.units[1];
    ASSERT_EQ(open.source, "Open");
    EXPECT_EQ(open.state, UnitState::Translated);
    EXPECT_EQ(open.places, (std::vector<Place>{{"Demo", "Main.dfm", 2, "Form1.OpenButton", "Caption"}}));
    EXPECT_EQ(demo.units[2].state, UnitState::Reviewed);
    EXPECT_EQ(demo.units[3].state, UnitState::Suggested);
    EXPECT_EQ(demo.units[3].notes, (std::vector<std::string>{"from the memory"}));
    EXPECT_EQ(demo.units[0].state, UnitState::New);

    const Catalog all = CatalogFromTable(table, {"", "German", "", ExportScope::All}, details);
    EXPECT_EQ(all.units[1].places.size(), 2u);
    // The places are filed by language: the same text as a German one was collected nowhere.
    EXPECT_TRUE(details.Places("German", "Open", "").empty());
    EXPECT_EQ(details.Places("English", "Open", "Other"),
              (std::vector<Place>{{"Other", "Tools.pas", 4, "Tools", ""}}));

    const std::string po = WritePo(demo);
    EXPECT_NE(po.find("#. Form1.OpenButton.Caption\n#: Main.dfm:2\nmsgid \"Open\""), std::string::npos) << po;
    EXPECT_NE(po.find("# from the memory\n#. Form1.SaveButton.Hint\n#: Main.dfm:9\n#, fuzzy\nmsgid \"Save\""),
              std::string::npos)
        << po;
    EXPECT_EQ(po.find("fuzzy"), po.rfind("fuzzy")) << po;

    const Catalog suggested = CatalogFromTable(table, {"", "German", "", ExportScope::Suggested}, details);
    ASSERT_EQ(suggested.units.size(), 1u);
    EXPECT_EQ(suggested.units[0].source, "Save");
}

TEST_F(SideExchange, ImportStoresTheFilesStatesAndKeepsNotes) {
    StringsTable table(m_file.Path());
    table.Side().SetReview({"English", "Save", "German", ReviewState::Suggested, "from the memory", 0});
    SideDetails details(table, "English");
    const ImportOptions options{"English", "German", ConflictChoice::Ours, false, ""};
    const ImportPlan plan = PlanImport(table,
                                       Incoming({{"Close", "Schließen", UnitState::Suggested},
                                                 {"Save", "Sichern", UnitState::Translated},
                                                 {"Quit", "Beenden", UnitState::Translated},
                                                 {"Open", "Öffnen", UnitState::Suggested}}),
                                       options, details);
    ASSERT_EQ(plan.items.size(), 4u);
    EXPECT_EQ(plan.items[0].kind, ImportKind::New);
    EXPECT_EQ(plan.items[1].kind, ImportKind::Changed); // same text, the file has looked at it
    EXPECT_EQ(plan.items[2].kind, ImportKind::Unchanged);
    EXPECT_EQ(plan.items[3].kind, ImportKind::Changed); // no row: it read as translated
    const ImportResult result = ApplyImport(table, plan, options, details);
    EXPECT_EQ(result.written, 1u);
    EXPECT_EQ(result.states, 2u);

    ASSERT_TRUE(Review(table, "Close"));
    EXPECT_EQ(Review(table, "Close")->state, ReviewState::Suggested);
    ASSERT_TRUE(Review(table, "Save"));
    EXPECT_EQ(Review(table, "Save")->state, ReviewState::Translated);
    EXPECT_EQ(Review(table, "Save")->note, "from the memory");
    EXPECT_FALSE(Review(table, "Quit"));
    ASSERT_TRUE(Review(table, "Open"));
    EXPECT_EQ(Review(table, "Open")->state, ReviewState::Suggested);
}

TEST_F(SideExchange, AFailingImportLeavesTheReviewRowsAsTheyWere) {
    StringsTable table(m_file.Path());
    table.Side().SetReview({"English", "Save", "German", ReviewState::Reviewed, "checked", 1000});
    SideDetails details(table, "");
    const ImportOptions options{"", "German", ConflictChoice::Ours, false, ""};
    const ImportPlan plan = PlanImport(
        table,
        Incoming({{"Save", "Sichern", UnitState::Suggested}, {"Close", "Schließen", UnitState::Translated}}),
        options, details);
    ASSERT_EQ(plan.items.size(), 2u);
    ASSERT_TRUE(plan.items[0].take && plan.items[1].take);
    // Gone between planning and applying: the second item fails after the first stored its state.
    m_file.Exec("DELETE FROM strings WHERE English = 'Close'");
    table.Refresh();
    EXPECT_THROW(ApplyImport(table, plan, options, details), DbError);

    const std::optional<ReviewEntry> save = Review(table, "Save");
    ASSERT_TRUE(save);
    EXPECT_EQ(save->state, ReviewState::Reviewed);
    EXPECT_EQ(save->note, "checked");
    EXPECT_EQ(save->changedAt, 1000);
    EXPECT_FALSE(Review(table, "Close"));
    EXPECT_FALSE(table.InTransaction());
}

TEST_F(SideExchange, AReadOnlyTableWithoutSideTablesReadsEmpty) {
    StringsTable table(m_file.Path(), OpenMode::ReadOnly);
    const SideDetails details(table, "");
    EXPECT_EQ(details.SourceLanguage(), "English");
    const Catalog catalog = CatalogFromTable(table, {"", "German", "", ExportScope::All}, details);
    ASSERT_EQ(catalog.units.size(), 4u);
    for (const Unit& unit : catalog.units) {
        EXPECT_TRUE(unit.places.empty());
        EXPECT_TRUE(unit.notes.empty());
        EXPECT_EQ(unit.state, unit.target.empty() ? UnitState::New : UnitState::Translated);
    }
    EXPECT_EQ(m_file.Query("SELECT count(*) FROM sqlite_master WHERE name IN ('occurrence', 'review')"), "0");
}

} // namespace
} // namespace wordloom::exchange
