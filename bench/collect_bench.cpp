// Collect Strings over a generated project of 2,000 forms and 2,000 units: into an empty table,
// and again into the table that already holds every text. Reports source MB/s and texts/s, both
// by wall clock and by the thread's CPU time (the one to compare on a loaded machine).
//
// The empty-table run also times, between its iterations, the floor: SQLite alone inserting the
// very records the collect files, sorted by key, with one prepared statement in one transaction,
// into a copy of the same empty table, on a connection set up as the table's own (same pragmas).
// `x_floor` is the collect's CPU time over the floor's.
//   ./bench/collect_bench --benchmark_counters_tabular=true
//   ./bench/collect_bench --benchmark_filter=Empty --benchmark_repetitions=3
#include "bench/project_bench.h"
#include "collect/collect_command.h"
#include "strings_db/strings_table.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <sys/resource.h>
#include <unistd.h>

namespace wordloom {
namespace {

std::string FreshTable() {
    const std::filesystem::path table = WorkDir() / "strings.db";
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::filesystem::remove(table.string() + suffix);
    }
    std::filesystem::copy_file(std::string(WORDLOOM_BINARY_DIR) + "/data/strings.db", table);
    return table.string();
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The kernel's share of the thread's CPU time: file reads for the collect, journal writes for both.
double ThreadSystemSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_stime.tv_sec) + static_cast<double>(usage.ru_stime.tv_usec) / 1e6;
}

void Report(benchmark::State& state, double texts, double cpuSeconds) {
    const double megabytes = static_cast<double>(state.iterations() * Project().Bytes()) / 1e6;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Project().Bytes()));
    state.counters["MB/s"] = benchmark::Counter(megabytes, benchmark::Counter::kIsRate);
    state.counters["MB/s_cpu"] = megabytes / cpuSeconds;
    state.counters["texts/s"] = benchmark::Counter(texts, benchmark::Counter::kIsRate);
}

struct Record {
    std::string english;
    std::string project;
    long long spFront = 0;
    long long spEnd = 0;
};

void Check(sqlite3* db, int rc, int expected) {
    if (rc != expected) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
}

// What a collect of the project files, in the key index's order (BINARY on English).
const std::vector<Record>& CollectedRecords() {
    static const std::vector<Record> records = [] {
        const std::string path = FreshTable();
        {
            StringsTable table(path);
            QuietHost host;
            CollectState collectState;
            RunCollectCommand(table, Settings(), host, collectState);
        }
        std::vector<Record> result;
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* stmt = nullptr;
        Check(db,
              sqlite3_prepare_v2(db, "SELECT English, Project, SpFront, SpEnd FROM strings ORDER BY English",
                                 -1, &stmt, nullptr),
              SQLITE_OK);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            result.push_back({reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                              reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)),
                              sqlite3_column_int64(stmt, 2), sqlite3_column_int64(stmt, 3)});
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        return result;
    }();
    return records;
}

// CPU seconds SQLite alone needs to insert `records` (already sorted) into a fresh table; adds
// the system part to `systemSeconds`.
double FloorCpuSeconds(const std::vector<Record>& records, double& systemSeconds) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(FreshTable().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    // The settings the table's connection works with (strings_db/sqlite_backend.cpp).
    for (const char* pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL",
                               "PRAGMA cache_size=-32768", "PRAGMA mmap_size=268435456"}) {
        Check(db, sqlite3_exec(db, pragma, nullptr, nullptr, nullptr), SQLITE_OK);
    }
    const double start = ThreadCpuSeconds();
    const double startSystem = ThreadSystemSeconds();
    sqlite3_stmt* insert = nullptr;
    Check(db, sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), SQLITE_OK);
    Check(db,
          sqlite3_prepare_v2(db,
                             "INSERT INTO strings (English, Project, SpFront, SpEnd) VALUES (?1, ?2, ?3, ?4)",
                             -1, &insert, nullptr),
          SQLITE_OK);
    for (const Record& record : records) {
        sqlite3_bind_text(insert, 1, record.english.data(), static_cast<int>(record.english.size()),
                          SQLITE_STATIC);
        sqlite3_bind_text(insert, 2, record.project.data(), static_cast<int>(record.project.size()),
                          SQLITE_STATIC);
        sqlite3_bind_int64(insert, 3, record.spFront);
        sqlite3_bind_int64(insert, 4, record.spEnd);
        Check(db, sqlite3_step(insert), SQLITE_DONE);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    const double seconds = ThreadCpuSeconds() - start;
    systemSeconds += ThreadSystemSeconds() - startSystem;
    sqlite3_close(db);
    return seconds;
}

void BM_CollectIntoEmptyTable(benchmark::State& state) {
    const ProjectSettings settings = Settings();
    const std::vector<Record>& records = CollectedRecords();
    double texts = 0;
    double cpu = 0;
    double floorCpu = 0;
    double system = 0;
    double floorSystem = 0;
    int added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        floorCpu += FloorCpuSeconds(records, floorSystem);
        auto table = std::make_unique<StringsTable>(FreshTable());
        QuietHost host;
        CollectState collectState;
        state.ResumeTiming();
        const double start = ThreadCpuSeconds();
        const double startSystem = ThreadSystemSeconds();
        const CollectSummary summary = RunCollectCommand(*table, settings, host, collectState);
        cpu += ThreadCpuSeconds() - start;
        system += ThreadSystemSeconds() - startSystem;
        if (summary.failed || host.messages > 0 || summary.textsAdded != static_cast<int>(records.size())) {
            state.SkipWithError("collect failed");
            break;
        }
        texts += summary.textsAdded;
        added = summary.textsAdded;
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["records"] = added;
    state.counters["cpu_ms"] = cpu * 1e3 / iterations;
    state.counters["sys_ms"] = system * 1e3 / iterations;
    state.counters["floor_ms"] = floorCpu * 1e3 / iterations;
    state.counters["floor_sys_ms"] = floorSystem * 1e3 / iterations;
    state.counters["x_floor"] = cpu / floorCpu;
    Report(state, texts, cpu);
}
BENCHMARK(BM_CollectIntoEmptyTable)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_CollectIntoFilledTable(benchmark::State& state) {
    const ProjectSettings settings = Settings();
    StringsTable table(FreshTable());
    QuietHost host;
    CollectState collectState;
    const int records = RunCollectCommand(table, settings, host, collectState).textsAdded;
    double texts = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double start = ThreadCpuSeconds();
        const CollectSummary summary = RunCollectCommand(table, settings, host, collectState);
        cpu += ThreadCpuSeconds() - start;
        if (summary.failed || summary.textsAdded != 0) {
            state.SkipWithError("second run filed texts");
            break;
        }
        texts += records; // every text looked up again
    }
    state.counters["records"] = records;
    state.counters["cpu_ms"] = cpu * 1e3 / static_cast<double>(state.iterations());
    Report(state, texts, cpu);
}
BENCHMARK(BM_CollectIntoFilledTable)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace
} // namespace wordloom

int main(int argc, char** argv) {
    return wordloom::RunProjectBenchmarks(argc, argv);
}
