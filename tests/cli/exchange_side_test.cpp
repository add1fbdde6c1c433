// export / import after a collect: places and review states travel with the texts.
#include "cli/commands.h"
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"

#include "support/file_read.h"
#include "support/table_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace wordloom::cli {
namespace {

class ExchangeAfterCollect : public ::testing::Test {
protected:
    void SetUp() override {
        project.Write("Demo.dpr", "program Demo;\r\n");
        project.Write("Main.dfm", "object Form1: TForm1\r\n"
                                  "  Caption = 'Main window'\r\n"
                                  "  object OpenButton: TButton\r\n"
                                  "    Caption = 'Open file'\r\n"
                                  "    Hint = 'Opens a file'\r\n"
                                  "  end\r\n"
                                  "end\r\n");
        project.Write("Tools.pas", "unit Tools;\r\ns := 'Open file';\r\n");
        ASSERT_EQ(Run(CollectCommand, {project.Path() + "/Demo.dpr"}), 0) << err.str();
        table.Exec("UPDATE strings SET German = 'Hauptfenster' WHERE English = 'Main window'");
        table.Exec("UPDATE strings SET German = 'Öffnet eine Datei' WHERE English = 'Opens a file'");
    }
    int Run(CommandFunction command, std::vector<std::string> args) {
        out.str({});
        err.str({});
        args.insert(args.end(), {"--db", table.Path()});
        return command(args, out, err);
    }
    void SetReview(const std::string& text, ReviewState state) {
        StringsTable strings(table.Path());
        strings.Side().SetReview({"English", text, "German", state, "", 0});
    }
    std::optional<ReviewEntry> Review(const std::string& text) {
        StringsTable strings(table.Path(), OpenMode::ReadOnly);
        return strings.Side().Review("English", text, "German");
    }
    std::string German(const std::string& english) const {
        return table.Query("SELECT German FROM strings WHERE English = '" + english + "'");
    }

    test::TableFile table;
    TempDir project;
    TempDir dir;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(ExchangeAfterCollect, PoExportCarriesPlacesAndMarksSuggestedFuzzy) {
    SetReview("Opens a file", ReviewState::Suggested);
    const std::string path = dir.FilePath("out.po");
    ASSERT_EQ(Run(ExportCommand, {"--format", "po", "--to", "German", path}), 0) << err.str();
    const std::string po = ReadBytes(path);
    EXPECT_NE(
        po.find("#. Form1.OpenButton.Caption\n#. Tools\n#: Main.dfm:4 Tools.pas:2\nmsgid \"Open file\""),
        std::string::npos)
        << po;
    EXPECT_NE(po.find("#. Form1.Caption\n#: Main.dfm:2\nmsgid \"Main window\""), std::string::npos) << po;
    EXPECT_NE(po.find("#. Form1.OpenButton.Hint\n#: Main.dfm:5\n#, fuzzy\nmsgid \"Opens a file\""),
              std::string::npos)
        << po;
    EXPECT_EQ(po.find("#, fuzzy"), po.rfind("#, fuzzy")) << po;

    const std::string suggested = dir.FilePath("suggested.po");
    ASSERT_EQ(Run(ExportCommand, {"--format", "po", "--to", "German", "--suggested", suggested}), 0);
    EXPECT_EQ(out.str(), "texts written: 1\n");
    const std::string only = ReadBytes(suggested);
    EXPECT_NE(only.find("msgid \"Opens a file\""), std::string::npos) << only;
    EXPECT_EQ(only.find("msgid \"Main window\""), std::string::npos) << only;
    EXPECT_EQ(only.find("msgid \"Open file\""), std::string::npos) << only;
}

TEST_F(ExchangeAfterCollect, XliffImportStoresTheFilesStates) {
    const std::string path = dir.Write(
        "in.xlf", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
                  "<file original=\"Demo\" source-language=\"en\" target-language=\"de\" "
                  "datatype=\"plaintext\"><body>\n"
                  "<trans-unit id=\"1\"><source>Open file</source>"
                  "<target state=\"translated\">Datei öffnen</target></trans-unit>\n"
                  "<trans-unit id=\"2\"><source>Opens a file</source>"
                  "<target state=\"needs-review-translation\">Öffnet eine Datei</target></trans-unit>\n"
                  "</body></file></xliff>\n");
    ASSERT_EQ(Run(ImportCommand, {path}), 0) << err.str();
    EXPECT_EQ(German("Open file"), "Datei öffnen");
    ASSERT_TRUE(Review("Open file"));
    EXPECT_EQ(Review("Open file")->state, ReviewState::Translated);
    ASSERT_TRUE(Review("Opens a file"));
    EXPECT_EQ(Review("Opens a file")->state, ReviewState::Suggested);

    // Exported again, the suggested one is the one still to be looked at.
    const std::string po = dir.FilePath("again.po");
    ASSERT_EQ(Run(ExportCommand, {"--format", "po", "--to", "German", "--suggested", po}), 0);
    EXPECT_EQ(out.str(), "texts written: 1\n");
}

TEST_F(ExchangeAfterCollect, ADryRunStoresNoState) {
    SetReview("Main window", ReviewState::Reviewed);
    const std::string path = dir.Write("in.po", "msgid \"\"\nmsgstr \"Language: de\\n\"\n\n"
                                                "#, fuzzy\nmsgid \"Main window\"\nmsgstr \"Hauptfenster\"\n");
    ASSERT_EQ(Run(ImportCommand, {path, "--dry-run"}), 0) << err.str();
    EXPECT_NE(out.str().find("changed: 1"), std::string::npos) << out.str();
    EXPECT_EQ(Review("Main window")->state, ReviewState::Reviewed);
    ASSERT_EQ(Run(ImportCommand, {path}), 0) << err.str();
    EXPECT_EQ(Review("Main window")->state, ReviewState::Suggested);
}

} // namespace
} // namespace wordloom::cli
