#include "support/table_file.h"

#include "support/file_read.h"

#include <sqlite3.h>

#include <memory>
#include <stdexcept>

namespace wordloom::test {

namespace {

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, Closer>;

Connection Connect(const std::string& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close_v2(db);
        throw std::runtime_error("cannot open " + path);
    }
    // Test files need no protection against power loss; without syncing the suite runs fast.
    sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    return Connection(db);
}

} // namespace

std::string TableFile::ShippedSchema() {
    return ReadBytes(std::string(WORDLOOM_SOURCE_DIR) + "/data/strings.sql");
}

TableFile::TableFile() : TableFile(ShippedSchema()) {}

TableFile::TableFile(const std::string& schemaSql) {
    m_folder = m_dir.Path();
    m_path = (m_folder / "strings.db").string();
    if (!schemaSql.empty()) {
        Exec(schemaSql);
    }
}

void TableFile::Exec(const std::string& sql) const {
    Connection db = Connect(m_path);
    char* message = nullptr;
    if (sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : "?";
        sqlite3_free(message);
        throw std::runtime_error("SQL failed: " + text);
    }
}

std::string TableFile::Query(const std::string& sql) const {
    Connection db = Connect(m_path);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        throw std::runtime_error("SQL failed: " + std::string(sqlite3_errmsg(db.get())));
    }
    std::string result;
    if (sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL) {
        result = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    }
    sqlite3_finalize(stmt);
    return result;
}

} // namespace wordloom::test
