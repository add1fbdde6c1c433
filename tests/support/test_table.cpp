#include "support/test_table.h"

#include "support/file_read.h"

#include <libpq-fe.h>

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <unistd.h>

namespace wordloom::test {

namespace {

struct Finish {
    void operator()(PGconn* conn) const { PQfinish(conn); }
};
using Conn = std::unique_ptr<PGconn, Finish>;

Conn Connect(const std::string& address) {
    Conn conn(PQconnectdb(address.c_str()));
    if (PQstatus(conn.get()) != CONNECTION_OK) {
        throw std::runtime_error("cannot reach the test server: " + std::string(PQerrorMessage(conn.get())));
    }
    PQsetNoticeProcessor(
        conn.get(), [](void*, const char*) {}, nullptr); // "drop cascades to ..."
    return conn;
}

std::string Run(PGconn* conn, const std::string& sql) {
    PGresult* result = PQexec(conn, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    std::string value;
    if (status == PGRES_TUPLES_OK && PQntuples(result) > 0 && PQnfields(result) > 0) {
        value = PQgetvalue(result, 0, 0);
    }
    std::string message = PQresultErrorMessage(result);
    PQclear(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        throw std::runtime_error("SQL failed: " + message);
    }
    return value;
}

/// The tests' SQL, written for SQLite, in PostgreSQL's dialect: the field names keep their letter
/// case there (so they are quoted), the record id is `id`, and group_concat is string_agg.
std::string PgDialect(const std::string& sql) {
    static const char* const kNames[] = {"English", "German",  "French",  "Spanish",
                                         "Italian", "Project", "SpFront", "SpEnd"};
    std::string out;
    std::size_t i = 0;
    const auto wordAt = [&](std::size_t at, const std::string& word) {
        const auto isWord = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
        return sql.compare(at, word.size(), word) == 0 && (at == 0 || !isWord(sql[at - 1])) &&
               (at + word.size() == sql.size() || !isWord(sql[at + word.size()]));
    };
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'' || c == '"') { // a literal or a quoted name: as it is
            const std::size_t end = sql.find(c, i + 1);
            const std::size_t stop = end == std::string::npos ? sql.size() : end + 1;
            out.append(sql, i, stop - i);
            i = stop;
            continue;
        }
        bool replaced = false;
        for (const char* name : kNames) {
            if (wordAt(i, name)) {
                out += '"' + std::string(name) + '"';
                i += std::strlen(name);
                replaced = true;
                break;
            }
        }
        if (!replaced && sql.compare(i, 6, "FROM (") == 0) {
            // A subquery in FROM needs a name there.
            std::size_t depth = 0, j = i + 5;
            for (; j < sql.size(); ++j) {
                if (sql[j] == '(') {
                    ++depth;
                } else if (sql[j] == ')' && --depth == 0) {
                    break;
                } else if (sql[j] == '\'') {
                    j = sql.find('\'', j + 1);
                }
            }
            out += "FROM " + PgDialect(sql.substr(i + 5, j + 1 - i - 5)) + " AS sub";
            i = j + 1;
            replaced = true;
        }
        if (!replaced && wordAt(i, "rowid")) {
            out += "id";
            i += 5;
            replaced = true;
        }
        if (!replaced && wordAt(i, "group_concat") && sql.compare(i + 12, 1, "(") == 0) {
            // Its arguments up to the closing parenthesis; a second one is the separator.
            std::size_t depth = 0, j = i + 12, comma = std::string::npos;
            for (; j < sql.size(); ++j) {
                if (sql[j] == '(') {
                    ++depth;
                } else if (sql[j] == ')' && --depth == 0) {
                    break;
                } else if (sql[j] == ',' && depth == 1) {
                    comma = j;
                } else if (sql[j] == '\'') {
                    j = sql.find('\'', j + 1);
                }
            }
            const std::string value = sql.substr(i + 13, (comma == std::string::npos ? j : comma) - i - 13);
            const std::string separator =
                comma == std::string::npos ? "','" : sql.substr(comma + 1, j - comma - 1);
            out += "string_agg((" + PgDialect(value) + ")::text, " + separator + ")";
            i = j + 1;
            replaced = true;
        }
        if (!replaced) {
            out += c;
            ++i;
        }
    }
    return out;
}

std::string WithSchema(const std::string& address, const std::string& schema) {
    return address + (address.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" +
           schema;
}

} // namespace

std::string TestServer() {
    const char* address = std::getenv("WORDLOOM_TEST_PG");
    return address ? address : "";
}

std::string NoServerReason() {
    static const std::string reason = [] {
        const std::string address = TestServer();
        if (address.empty()) {
            return std::string("no PostgreSQL test server: WORDLOOM_TEST_PG is not set "
                               "(scripts/test.sh starts one with scripts/pg-cluster.sh)");
        }
        Conn conn(PQconnectdb(address.c_str()));
        if (PQstatus(conn.get()) != CONNECTION_OK) {
            return "the PostgreSQL test server " + address +
                   " cannot be reached: " + PQerrorMessage(conn.get());
        }
        return std::string();
    }();
    return reason;
}

void TestTable::Create(Backend backend) {
    CreateEmpty(backend);
    if (backend == Backend::Sqlite) {
        m_file->Exec(TableFile::ShippedSchema());
        return;
    }
    Conn schema = Connect(m_path);
    Run(schema.get(), ReadBytes(std::string(WORDLOOM_SOURCE_DIR) + "/data/strings.pg.sql"));
}

void TestTable::CreateEmpty(Backend backend) {
    m_backend = backend;
    if (backend == Backend::Sqlite) {
        m_file = std::make_unique<TableFile>("");
        m_path = m_file->Path();
        return;
    }
    static std::atomic<int> counter{0};
    m_schema = "wl_test_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    Conn conn = Connect(TestServer());
    Run(conn.get(), "DROP SCHEMA IF EXISTS " + m_schema + " CASCADE; CREATE SCHEMA " + m_schema);
    m_path = WithSchema(TestServer(), m_schema);
}

TestTable::~TestTable() {
    if (!m_schema.empty()) {
        try {
            Conn conn = Connect(TestServer());
            Run(conn.get(), "DROP SCHEMA IF EXISTS " + m_schema + " CASCADE");
        } catch (const std::exception&) { // the server's end; nothing left to tidy
        }
    }
}

void TestTable::Exec(const std::string& sql) const {
    if (m_file) {
        m_file->Exec(sql);
        return;
    }
    Conn conn = Connect(m_path);
    Run(conn.get(), PgDialect(sql));
}

std::string TestTable::Query(const std::string& sql) const {
    if (m_file) {
        return m_file->Query(sql);
    }
    Conn conn = Connect(m_path);
    return Run(conn.get(), PgDialect(sql));
}

} // namespace wordloom::test
