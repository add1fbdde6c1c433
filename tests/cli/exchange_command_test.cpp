#include "cli/commands.h"

#include "support/file_read.h"
#include "support/table_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace wordloom::cli {
namespace {

class ExchangeCli : public ::testing::Test {
protected:
    void SetUp() override {
        table.Exec("INSERT INTO strings (English, German, Project) VALUES ('Open', 'Öffnen', 'Demo'),"
                   "('Close', '', 'Demo'), ('Quit', 'Ende', 'Other')");
    }
    int Run(CommandFunction command, std::vector<std::string> args) {
        out.str({});
        err.str({});
        args.insert(args.end(), {"--db", table.Path()});
        return command(args, out, err);
    }
    std::string German(const std::string& english) const {
        return table.Query("SELECT German FROM strings WHERE English = '" + english + "'");
    }

    test::TableFile table;
    TempDir dir;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(ExchangeCli, ExportsEveryFormatAndImportsItBack) {
    for (const char* format : {"po", "xliff12", "xliff20", "csv", "tmx"}) {
        SCOPED_TRACE(format);
        const std::string path = dir.FilePath(std::string("out.") + format);
        ASSERT_EQ(Run(ExportCommand, {"--format", format, "--to", "German", path}), 0) << err.str();
        EXPECT_EQ(out.str(), format == std::string("tmx") ? "texts written: 2\n" : "texts written: 3\n");
        table.Exec("UPDATE strings SET German = NULL WHERE English = 'Open'");
        // CSV names no languages.
        std::vector<std::string> args{path};
        if (format == std::string("csv"))
            args.insert(args.end(), {"--to", "German"});
        ASSERT_EQ(Run(ImportCommand, args), 0) << err.str();
        EXPECT_NE(out.str().find("new: 1, changed: 0, conflicts: 0"), std::string::npos) << out.str();
        EXPECT_EQ(German("Open"), "Öffnen");
    }
}

TEST_F(ExchangeCli, ExportsOneProjectsUntranslatedTexts) {
    const std::string path = dir.FilePath("todo.csv");
    ASSERT_EQ(Run(ExportCommand,
                  {"--format", "csv", "--to", "German", "--project", "Demo", "--untranslated", path}),
              0);
    EXPECT_EQ(ReadBytes(path), "source,target,state,places,notes\r\nClose,,new,,\r\n");
    EXPECT_EQ(Run(ExportCommand, {"--format", "po", path}), 2); // --to is needed
    EXPECT_EQ(Run(ExportCommand, {"--format", "doc", "--to", "German", path}), 2);
    EXPECT_EQ(Run(ExportCommand, {"--format", "po", "--to", "Klingon", path}), 1);
    EXPECT_NE(err.str().find("Klingon"), std::string::npos);
}

TEST_F(ExchangeCli, ConflictsAreKeptUnlessTheirsAreTakenAndADryRunWritesNothing) {
    const std::string path =
        dir.Write("in.csv", "source,target\nOpen,Aufmachen\nClose,Schließen\nNew one,Neu\n");
    ASSERT_EQ(Run(ImportCommand, {path, "--to", "German", "--dry-run", "--take", "theirs"}), 0) << err.str();
    EXPECT_NE(out.str().find("conflict: \"Open\": ours \"Öffnen\", theirs \"Aufmachen\""), std::string::npos);
    EXPECT_NE(out.str().find("unknown, left out: \"New one\""), std::string::npos);
    EXPECT_NE(out.str().find("dry run"), std::string::npos);
    EXPECT_EQ(German("Close"), "");

    ASSERT_EQ(Run(ImportCommand, {path, "--to", "German"}), 0) << err.str();
    EXPECT_EQ(German("Open"), "Öffnen");
    EXPECT_EQ(German("Close"), "Schließen");
    ASSERT_EQ(Run(ImportCommand, {path, "--to", "German", "--take", "theirs", "--add-unknown"}), 0);
    EXPECT_EQ(German("Open"), "Aufmachen");
    EXPECT_EQ(German("New one"), "Neu");
    EXPECT_EQ(Run(ImportCommand, {path, "--to", "German", "--take", "mine"}), 2);
    // A Paradox table need not be named .db: the format can be named instead.
    EXPECT_EQ(Run(ImportCommand, {path, "--format", "paradox", "--to", "German"}), 1);
    EXPECT_NE(err.str().find("Paradox"), std::string::npos) << err.str();
}

TEST_F(ExchangeCli, ABrokenFileIsReportedWithItsLineAndChangesNothing) {
    const std::string path =
        dir.Write("bad.po", "msgid \"Close\"\nmsgstr \"Schließen\"\n\nmsgid \"Quit\nmsgstr \"x\"\n");
    EXPECT_EQ(Run(ImportCommand, {path, "--to", "German"}), 1);
    EXPECT_NE(err.str().find("bad.po: The string has no closing quote (line 4, column 7)"), std::string::npos)
        << err.str();
    EXPECT_EQ(German("Close"), "");
    const std::string unknown = dir.Write("notes.txt", "hello");
    EXPECT_EQ(Run(ImportCommand, {unknown, "--to", "German"}), 1);
    EXPECT_NE(err.str().find("--format"), std::string::npos);
}

} // namespace
} // namespace wordloom::cli
