// The team table on PostgreSQL against the SQLite file, on the same records (100,000 unless
// WORDLOOM_PG_BENCH_RECORDS says otherwise): open + first screen, order by the grid's index, key
// search, and the post of one edited record. Argument 0 is SQLite, 1 PostgreSQL over the server
// named by WORDLOOM_TEST_PG (scripts/pg-cluster.sh start DIR prints one; without it those skip):
//   WORDLOOM_TEST_PG=$(scripts/pg-cluster.sh start /tmp/pgb) ./bench/pg_bench
// The figures at 1,000,000 records (a few minutes of loading first):
//   WORDLOOM_PG_BENCH_RECORDS=1000000 WORDLOOM_TEST_PG=... ./bench/pg_bench
#include "strings_db/strings_table.h"

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>
#include <unistd.h>
#include <vector>

namespace {

int Records() {
    const char* given = std::getenv("WORDLOOM_PG_BENCH_RECORDS");
    return given ? std::atoi(given) : 100'000;
}

std::string EnglishText(int i) {
    static const char* words[] = {"Open", "save",   "Close", "print",  "Edit",   "view",  "Help",
                                  "file", "Window", "tools", "Format", "insert", "Table", "options"};
    return std::string(words[i % 14]) + " " + words[(i / 14) % 14] + " " +
           std::to_string(i * 7919 % Records());
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void PgRun(PGconn* conn, const std::string& sql) {
    PGresult* result = PQexec(conn, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    std::string message = PQresultErrorMessage(result);
    PQclear(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_COPY_IN) {
        throw std::runtime_error(message);
    }
}

/// The same records in an SQLite file and in a schema of the test server, made once per run.
class Tables {
public:
    static Tables& Get() {
        static Tables instance;
        return instance;
    }
    std::string sqlite;
    std::string postgres; // empty without a server

private:
    Tables() {
        std::string pattern = (std::filesystem::temp_directory_path() / "wordloom-pgbench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            throw std::runtime_error("no temporary folder");
        }
        m_folder = pattern;
        sqlite = (m_folder / "strings.db").string();
        MakeSqlite();
        const char* server = std::getenv("WORDLOOM_TEST_PG");
        if (server && *server) {
            MakePostgres(server);
        }
    }
    ~Tables() {
        if (m_conn) {
            PgRun(m_conn, "DROP SCHEMA IF EXISTS " + m_schema + " CASCADE");
            PQfinish(m_conn);
        }
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    static std::string Line(int i) {
        // English, German, Project, SpFront, SpEnd; \N is NULL in COPY's text format.
        const std::string english = EnglishText(i);
        return english + "\t" + (i % 3 == 0 ? "\\N" : "Deutsch " + english) + "\tProject" +
               std::to_string(i % 40) + "\t" + std::to_string(i % 3) + "\t" + std::to_string(i % 2) + "\n";
    }
    void MakeSqlite() {
        sqlite3* db = nullptr;
        sqlite3_open(sqlite.c_str(), &db);
        sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
        sqlite3_exec(db, ReadFile(std::string(WORDLOOM_SOURCE_DIR) + "/data/strings.sql").c_str(), nullptr,
                     nullptr, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(
            db, "INSERT INTO strings (English, German, Project, SpFront, SpEnd) VALUES (?1, ?2, ?3, ?4, ?5)",
            -1, &insert, nullptr);
        for (int i = 0; i < Records(); ++i) {
            const std::string english = EnglishText(i);
            const std::string german = "Deutsch " + english;
            const std::string project = "Project" + std::to_string(i % 40);
            sqlite3_bind_text(insert, 1, english.c_str(), -1, SQLITE_TRANSIENT);
            if (i % 3 == 0) {
                sqlite3_bind_null(insert, 2);
            } else {
                sqlite3_bind_text(insert, 2, german.c_str(), -1, SQLITE_TRANSIENT);
            }
            sqlite3_bind_text(insert, 3, project.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 4, i % 3);
            sqlite3_bind_int(insert, 5, i % 2);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    void MakePostgres(const std::string& server) {
        m_conn = PQconnectdb(server.c_str());
        if (PQstatus(m_conn) != CONNECTION_OK) {
            PQfinish(m_conn);
            m_conn = nullptr;
            return;
        }
        PQsetNoticeProcessor(
            m_conn, [](void*, const char*) {}, nullptr);
        m_schema = "wl_bench_" + std::to_string(getpid());
        PgRun(m_conn, "CREATE SCHEMA " + m_schema + "; SET search_path = " + m_schema);
        PgRun(m_conn, ReadFile(std::string(WORDLOOM_SOURCE_DIR) + "/data/strings.pg.sql"));
        // COPY into the bare table, the indexes built afterwards in one sort each: kept up row by row
        // (five of them under an ICU collation) they take most of the load at 1,000,000 records.
        const std::vector<std::string> indexes = TableIndexes();
        for (const std::string& name : indexes) {
            PgRun(m_conn, "DROP INDEX " + name);
        }
        PgRun(m_conn,
              "COPY strings (\"English\", \"German\", \"Project\", \"SpFront\", \"SpEnd\") FROM STDIN");
        std::string chunk;
        for (int i = 0; i < Records(); ++i) {
            chunk += Line(i);
            if (chunk.size() > 1 << 20 || i + 1 == Records()) {
                PQputCopyData(m_conn, chunk.data(), static_cast<int>(chunk.size()));
                chunk.clear();
            }
        }
        PQputCopyEnd(m_conn, nullptr);
        PGresult* result = PQgetResult(m_conn);
        const bool copied = PQresultStatus(result) == PGRES_COMMAND_OK;
        PQclear(result);
        while ((result = PQgetResult(m_conn))) {
            PQclear(result);
        }
        if (!copied) {
            throw std::runtime_error("COPY failed: " + std::string(PQerrorMessage(m_conn)));
        }
        PgRun(m_conn, "SET maintenance_work_mem = '256MB'");
        for (const std::string& definition : m_indexDefinitions) {
            PgRun(m_conn, definition);
        }
        PgRun(m_conn, "VACUUM ANALYZE strings");
        postgres = server + (server.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" +
                   m_schema;
    }
    /// The names of the secondary indexes of `strings`; their definitions go to m_indexDefinitions.
    std::vector<std::string> TableIndexes() {
        PGresult* result = PQexec(m_conn, "SELECT quote_ident(indexname), indexdef FROM pg_indexes WHERE "
                                          "schemaname = current_schema() AND tablename = 'strings' AND "
                                          "indexname <> 'strings_pkey'");
        std::vector<std::string> names;
        for (int r = 0; r < PQntuples(result); ++r) {
            names.emplace_back(PQgetvalue(result, r, 0));
            m_indexDefinitions.emplace_back(PQgetvalue(result, r, 1));
        }
        PQclear(result);
        return names;
    }
    std::filesystem::path m_folder;
    std::vector<std::string> m_indexDefinitions;
    PGconn* m_conn = nullptr;
    std::string m_schema;
};

using wordloom::StringsTable;

/// The table of the benchmark's argument; false (and the benchmark skipped) without a server.
bool Location(benchmark::State& state, std::string& location) {
    Tables& tables = Tables::Get();
    location = state.range(0) == 0 ? tables.sqlite : tables.postgres;
    if (location.empty()) {
        state.SkipWithError("no PostgreSQL server: set WORDLOOM_TEST_PG (scripts/pg-cluster.sh start DIR)");
        return false;
    }
    state.SetLabel(state.range(0) == 0 ? "sqlite" : "postgresql");
    state.counters["records"] = Records();
    return true;
}

// Open, the grid's order (case ignored), and the first screen of 40 rows.
void BM_OpenAndFirstScreen(benchmark::State& state) {
    std::string location;
    if (!Location(state, location)) {
        return;
    }
    for (auto _ : state) {
        StringsTable table(location);
        table.SetIndexName("English2");
        for (int row = 0; row < 40; ++row) {
            benchmark::DoNotOptimize(table.FieldAt(row, "English"));
            benchmark::DoNotOptimize(table.FieldAt(row, "German"));
        }
    }
}
BENCHMARK(BM_OpenAndFirstScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FindKey(benchmark::State& state) {
    std::string location;
    if (!Location(state, location)) {
        return;
    }
    StringsTable table(location);
    table.SetIndexFieldNames("English");
    table.RecordCount();
    std::mt19937 random(1);
    std::int64_t found = 0;
    for (auto _ : state) {
        found +=
            table.FindKey(EnglishText(static_cast<int>(random() % static_cast<unsigned>(Records())))) ? 1 : 0;
    }
    state.counters["found"] =
        benchmark::Counter(static_cast<double>(found) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_FindKey)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Edit one record's translation and post it (the version check included on PostgreSQL).
void BM_PostEditedRecord(benchmark::State& state) {
    std::string location;
    if (!Location(state, location)) {
        return;
    }
    StringsTable table(location);
    table.SetIndexName("English2");
    const int count = table.RecordCount();
    std::mt19937 random(3);
    int n = 0;
    for (auto _ : state) {
        table.SetRecNo(static_cast<int>(random() % static_cast<unsigned>(count)));
        table.Edit();
        table.SetField("German", "Bearbeitet " + std::to_string(++n));
        table.Post();
    }
}
BENCHMARK(BM_PostEditedRecord)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
