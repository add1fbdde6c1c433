// wordloom-cli db init ADDRESS: makes the team table in an empty PostgreSQL database.
// wordloom-cli db copy FROM TO: copies every record between two tables (a file or an address each).
#include "base/ui_text.h"
#include "cli/commands.h"
#include "cli/parser.h"

#include "strings_db/postgres_backend.h"
#include "strings_db/strings_table.h"

#include <algorithm>
#include <cctype>

namespace wordloom::cli {
namespace {

bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

/// Copies the records of `from` into the empty table `to`, in one transaction on `to`; the number
/// copied. Throws DbError, `to` unchanged, when it holds records or lacks a field of `from`.
int CopyRecords(const std::string& from, const std::string& to) {
    StringsTable source(from, OpenMode::ReadOnly);
    StringsTable target(to);
    if (target.RecordCount() != 0) {
        throw DbError(FillIn(WL_TR("wordloom-cli", "%1 holds records already: copy only into an empty table"),
                             {ShownAddress(to)}));
    }
    // Field by field under the target's spelling of the name.
    std::vector<std::pair<FieldDef, std::string>> fields;
    for (const FieldDef& field : source.Fields()) {
        auto found = std::find_if(target.Fields().begin(), target.Fields().end(),
                                  [&](const FieldDef& f) { return SameName(f.name, field.name); });
        if (found == target.Fields().end()) {
            throw DbError(FillIn(WL_TR("wordloom-cli", "%1 has no field %2: its texts would be lost"),
                                 {ShownAddress(to), field.name}));
        }
        fields.emplace_back(field, found->name);
    }
    int copied = 0;
    StringsTable::Transaction transaction(target);
    for (source.First(); !source.Eof(); source.Next()) {
        target.Insert();
        for (const auto& [field, name] : fields) {
            const std::string value = source.FieldAsString(field.name);
            if (!value.empty()) {
                target.SetField(name, value);
            }
        }
        target.Post();
        ++copied;
    }
    transaction.Commit();
    return copied;
}

} // namespace

int DbCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string action;
    std::vector<std::string> places;
    CLI::App parser(WL_TR("wordloom-cli",
                          "init ADDRESS: makes the strings table for a team in the empty PostgreSQL\n"
                          "database at ADDRESS (postgresql://user@host/database). Passwords come from\n"
                          "~/.pgpass or PGPASSWORD, never from the address.\n"
                          "copy FROM TO: copies every record of the strings table FROM into the empty\n"
                          "table TO (each a file or an address), in one transaction on TO."),
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
            const int copied = CopyRecords(places[0], places[1]);
            out << FillIn(WL_TR("wordloom-cli", "%1 records copied"), {std::to_string(copied)}) << "\n";
        }
    } catch (const DbError& e) {
        err << "wordloom-cli db: " << e.what() << "\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace wordloom::cli
