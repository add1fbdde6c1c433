// Collect Strings over the generated project of 2,000 forms and 2,000 units into an empty table:
// argument 0 the SQLite file, 1 a team table on the PostgreSQL server named by WORDLOOM_TEST_PG
// over its local socket (without it that one skips):
//   WORDLOOM_TEST_PG=$(scripts/pg-cluster.sh start /tmp/pgb) ./bench/pg_collect_bench
#include "bench/project_bench.h"
#include "collect/collect_command.h"
#include "strings_db/strings_table.h"

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace wordloom {
namespace {

std::string FreshSqlite() {
    const std::filesystem::path table = WorkDir() / "strings.db";
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::filesystem::remove(table.string() + suffix);
    }
    std::filesystem::copy_file(std::string(WORDLOOM_BINARY_DIR) + "/data/strings.db", table);
    return table.string();
}

std::string Server() {
    const char* server = std::getenv("WORDLOOM_TEST_PG");
    return server ? server : "";
}

void PgRun(PGconn* conn, const std::string& sql) {
    PGresult* result = PQexec(conn, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    const std::string message = PQresultErrorMessage(result);
    PQclear(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        throw std::runtime_error(message);
    }
}

/// A schema of its own on the server holding an empty team table, dropped at the end.
class FreshTeamTable {
public:
    FreshTeamTable() : m_conn(PQconnectdb(Server().c_str())) {
        if (PQstatus(m_conn) != CONNECTION_OK) {
            throw std::runtime_error(PQerrorMessage(m_conn));
        }
        PQsetNoticeProcessor(
            m_conn, [](void*, const char*) {}, nullptr);
        std::ifstream in(std::string(WORDLOOM_SOURCE_DIR) + "/data/strings.pg.sql");
        std::stringstream schema;
        schema << in.rdbuf();
        PgRun(m_conn, "DROP SCHEMA IF EXISTS " + m_schema + " CASCADE; CREATE SCHEMA " + m_schema +
                          "; SET search_path = " + m_schema);
        PgRun(m_conn, schema.str());
    }
    ~FreshTeamTable() {
        PgRun(m_conn, "DROP SCHEMA IF EXISTS " + m_schema + " CASCADE");
        PQfinish(m_conn);
    }
    FreshTeamTable(const FreshTeamTable&) = delete;
    FreshTeamTable& operator=(const FreshTeamTable&) = delete;

    std::string Address() const {
        const std::string server = Server();
        return server + (server.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" +
               m_schema;
    }

private:
    PGconn* m_conn;
    std::string m_schema = "wl_collect_bench_" + std::to_string(::getpid());
};

void BM_CollectIntoEmptyTable(benchmark::State& state) {
    const bool onServer = state.range(0) == 1;
    if (onServer && Server().empty()) {
        state.SkipWithError("no PostgreSQL server: set WORDLOOM_TEST_PG (scripts/pg-cluster.sh start DIR)");
        return;
    }
    state.SetLabel(onServer ? "postgresql" : "sqlite");
    const ProjectSettings settings = Settings();
    ThreadCpu cpu;
    int added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<FreshTeamTable> server = onServer ? std::make_unique<FreshTeamTable>() : nullptr;
        auto table = std::make_unique<StringsTable>(onServer ? server->Address() : FreshSqlite());
        QuietHost host;
        CollectState collectState;
        state.ResumeTiming();
        const ThreadCpu start = ThreadCpuNow();
        const CollectSummary summary = RunCollectCommand(*table, settings, host, collectState);
        const ThreadCpu end = ThreadCpuNow();
        cpu.user += end.user - start.user;
        cpu.system += end.system - start.system;
        state.PauseTiming();
        if (summary.failed || host.messages > 0 || summary.textsAdded == 0) {
            state.SkipWithError("collect failed");
            break;
        }
        added = summary.textsAdded;
        table.reset();
        server.reset();
        state.ResumeTiming();
    }
    state.counters["records"] = added;
    ReportCpuCounters(state, cpu);
}
// A collect into a team table takes its time: once each is enough for a figure.
BENCHMARK(BM_CollectIntoEmptyTable)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
} // namespace wordloom

int main(int argc, char** argv) {
    return wordloom::RunProjectBenchmarks(argc, argv);
}
