// wordloom-cli db init ADDRESS: makes the team table in an empty PostgreSQL database.
// wordloom-cli db copy FROM TO: copies a whole table, side tables included, between two databases (a
// file or an address each).
#include "base/ui_text.h"
#include "cli/commands.h"
#include "cli/parser.h"

#include "strings_db/postgres_backend.h"
#include "strings_db/strings_table.h"
#include "strings_db/table_copy.h"

namespace wordloom::cli {

int DbCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string action;
    std::vector<std::string> places;
    CLI::App parser(WL_TR("wordloom-cli",
                          "init ADDRESS: makes the strings table for a team in the empty PostgreSQL\n"
                          "database at ADDRESS (postgresql://user@host/database). Passwords come from\n"
                          "~/.pgpass or PGPASSWORD, never from the address.\n"
                          "copy FROM TO: copies the strings table FROM with its side tables (where used,\n"
                          "review states, dismissed findings, word lists, translation runs) into the\n"
                          "empty table TO (each a file or an address), in one transaction on TO."),
                    "wordloom-cli db");
    SetUpParser(parser);
    parser.add_option("ACTION", action, WL_TR("wordloom-cli", "init or copy"))
        ->required()
        ->check(CLI::IsMember({"init", "copy"}));
    parser.add_option("PLACES", places, WL_TR("wordloom-cli", "ADDRESS, or FROM and TO"))->required();
    if (const std::optional<int> status = ParseCommandLine(parser, args, out, err))
        return *status;
    if (places.size() != (action == "init" ? 1u : 2u)) {
        err << "wordloom-cli db: "
            << (action == "init" ? WL_TR("wordloom-cli", "init takes one address")
                                 : WL_TR("wordloom-cli", "copy takes two tables, FROM and TO"))
            << "\n";
        return kExitUsage;
    }
    if (action == "init" && !IsPostgresAddress(places[0])) {
        err << "wordloom-cli db: "
            << FillIn(WL_TR("wordloom-cli", "%1 is no PostgreSQL address (postgresql://...)"), {places[0]})
            << "\n";
        return kExitUsage;
    }
    try {
        if (action == "init") {
            CreatePostgresTable(places[0]);
            out << FillIn(WL_TR("wordloom-cli", "The strings table was made in %1"),
                          {ShownAddress(places[0])})
                << "\n";
        } else {
            const TableCopyCounts copied = CopyTable(places[0], places[1]);
            out << FillIn(WL_TR("wordloom-cli", "%1 records copied"), {std::to_string(copied.records)})
                << "\n"
                << FillIn(WL_TR("wordloom-cli", "%1 rows of the side tables copied"),
                          {std::to_string(copied.sideRows)})
                << "\n";
        }
    } catch (const DbError& e) {
        err << "wordloom-cli db: " << e.what() << "\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace wordloom::cli
