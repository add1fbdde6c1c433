// What the SQLite files of the module share: the table's name, quoting, column reads.
#pragma once

#include <sqlite3.h>

#include "strings_db/quoted_name.h"

#include <string>

namespace wordloom::sqlite_shared {

inline constexpr const char* kTable = "strings";

/// The journal of translation runs (run_journal.h), beside `strings` in the same file.
inline constexpr const char* kRunJournalSchema =
    "CREATE TABLE IF NOT EXISTS run ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " project TEXT NOT NULL,"
    " target TEXT NOT NULL,"
    " started_at TEXT NOT NULL,"
    " state TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS run_file ("
    " run_id INTEGER NOT NULL REFERENCES run(id) ON DELETE CASCADE,"
    " file TEXT NOT NULL,"
    " backup TEXT NOT NULL,"
    " sha256_before TEXT NOT NULL,"
    " sha256_after TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS run_file_run ON run_file(run_id);";

using sql::Quote;

inline bool SameName(const std::string& a, const std::string& b) {
    return sqlite3_stricmp(a.c_str(), b.c_str()) == 0;
}

inline std::string Text(sqlite3_stmt* stmt, int column) {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, column));
    return bytes ? std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)))
                 : std::string();
}

/// Leaves the statement ready for its next use whatever happens to the caller.
class ResetGuard {
public:
    explicit ResetGuard(sqlite3_stmt* stmt) : m_stmt(stmt) {}
    ~ResetGuard() {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    ResetGuard(const ResetGuard&) = delete;
    ResetGuard& operator=(const ResetGuard&) = delete;

private:
    sqlite3_stmt* m_stmt;
};

} // namespace wordloom::sqlite_shared
