// A strings table for one test on either backend: an SQLite file (TableFile) or, on the test
// server named by WORDLOOM_TEST_PG, a schema of its own holding the team table
// (data/strings.pg.sql), dropped when the test ends. So one suite runs on both.
#pragma once

#include "support/table_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

namespace wordloom::test {

enum class Backend { Sqlite, Postgres };

inline std::ostream& operator<<(std::ostream& out, Backend backend) {
    return out << (backend == Backend::Sqlite ? "Sqlite" : "Postgres");
}

/// For INSTANTIATE_TEST_SUITE_P: the instance names "Sqlite" and "Postgres".
struct BackendName {
    template <class Info>
    std::string operator()(const Info& info) const {
        return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
    }
};

/// The test server's address (WORDLOOM_TEST_PG); empty when there is none.
std::string TestServer();
/// Why a PostgreSQL test cannot run here; empty when it can.
std::string NoServerReason();

class TestTable {
public:
    /// Nothing yet: Create makes the table (in a fixture's SetUp, after the skip).
    TestTable() = default;
    /// The shipped schema on `backend`.
    explicit TestTable(Backend backend) { Create(backend); }
    ~TestTable();
    TestTable(const TestTable&) = delete;
    TestTable& operator=(const TestTable&) = delete;

    void Create(Backend backend);
    /// A database (file or schema) without any table.
    void CreateEmpty(Backend backend);
    Backend Kind() const { return m_backend; }

    /// What StringsTable opens: the file's path or the database's address.
    const std::string& Path() const { return m_path; }
    /// Runs SQL written for SQLite in the table's database (on PostgreSQL: field names, rowid and
    /// group_concat translated).
    void Exec(const std::string& sql) const;
    /// The first column of the first row of a query, as text ("" for NULL or no row).
    std::string Query(const std::string& sql) const;

private:
    Backend m_backend = Backend::Sqlite;
    std::unique_ptr<TableFile> m_file;
    std::string m_schema;
    std::string m_path;
};

/// An empty table with the shipped schema on the backend of the test's parameter; a PostgreSQL
/// instance skips, saying why, where no test server can be reached.
class OnBackend : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        if (GetParam() == Backend::Postgres && !NoServerReason().empty()) {
            GTEST_SKIP() << NoServerReason();
        }
        file.Create(GetParam());
    }
    TestTable file;
};

} // namespace wordloom::test
