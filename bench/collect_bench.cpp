// Collect Strings over a generated project of 2,000 forms and 2,000 units: into an empty table,
// and again into the table that already holds every text. Reports source MB/s and texts/s, both
// by wall clock and by the process's CPU time (the one to compare on a loaded machine; it counts
// the thread reading the files ahead as well as the one filing them).
//
// The empty-table run also times, between its iterations, the floor: SQLite alone inserting the
// very records the collect files, sorted by key, with one prepared statement in one transaction,
// into a copy of the same empty table, on a connection set up as the table's own (same pragmas).
// `x_floor` is the collect's CPU time over the floor's. The collect also records where each text
// stands, which that floor leaves out: `floor_occ_ms` / `x_floor_occ` are the same with the
// collect's occurrence rows inserted too (in the order the collect writes them, in the same
// transaction, through the side table's own schema). The collect spreads over two threads, the
// floor runs on one: `x_floor_wall` / `x_floor_occ_wall` compare wall-clock times instead, and
// `filing_cpu_ms` is the calling thread's share, what the wall time comes down to with a core free
// for the reading (on a loaded machine the wall-clock ratios say little).
//   ./bench/collect_bench --benchmark_counters_tabular=true
//   ./bench/collect_bench --benchmark_filter=Empty --benchmark_repetitions=3
#include "bench/project_bench.h"
#include "collect/collect_command.h"
#include "strings_db/strings_table.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
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

// The collect's other thread (the files read ahead) counts too.
double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The kernel's share of the CPU time: file reads for the collect, journal writes for both.
double SystemSeconds(int who) {
    rusage usage{};
    ::getrusage(who, &usage);
    return static_cast<double>(usage.ru_stime.tv_sec) + static_cast<double>(usage.ru_stime.tv_usec) / 1e6;
}
double ThreadSystemSeconds() {
    return SystemSeconds(RUSAGE_THREAD);
}
double ProcessSystemSeconds() {
    return SystemSeconds(RUSAGE_SELF);
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

struct OccurrenceRecord {
    std::string project;
    std::string file;
    int line = 0;
    std::string path;
    std::string property;
    std::string lang;
    std::string text;
};

struct Collected {
    std::vector<Record> records;
    std::vector<OccurrenceRecord> occurrences;
};

void Check(sqlite3* db, int rc, int expected) {
    if (rc != expected) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
}

std::string Column(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)))
                : std::string();
}

// What a collect of the project files: its records in the key index's order (BINARY on English),
// its occurrence rows in the order written.
const Collected& CollectedRecords() {
    static const Collected collected = [] {
        const std::string path = FreshTable();
        {
            StringsTable table(path);
            QuietHost host;
            CollectState collectState;
            RunCollectCommand(table, Settings(), host, collectState);
        }
        Collected result;
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* stmt = nullptr;
        Check(db,
              sqlite3_prepare_v2(db, "SELECT English, Project, SpFront, SpEnd FROM strings ORDER BY English",
                                 -1, &stmt, nullptr),
              SQLITE_OK);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            result.records.push_back({Column(stmt, 0), Column(stmt, 1), sqlite3_column_int64(stmt, 2),
                                      sqlite3_column_int64(stmt, 3)});
        }
        sqlite3_finalize(stmt);
        Check(db,
              sqlite3_prepare_v2(db,
                                 "SELECT project, file, line, path, property, lang, text FROM occurrence "
                                 "ORDER BY rowid",
                                 -1, &stmt, nullptr),
              SQLITE_OK);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            result.occurrences.push_back({Column(stmt, 0), Column(stmt, 1), sqlite3_column_int(stmt, 2),
                                          Column(stmt, 3), Column(stmt, 4), Column(stmt, 5),
                                          Column(stmt, 6)});
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        return result;
    }();
    return collected;
}

void BindText(sqlite3_stmt* stmt, int index, const std::string& text) {
    sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

// CPU seconds SQLite alone needs to insert `records` (already sorted), and with `occurrences`
// their occurrence rows, into a fresh table; adds the system part to `systemSeconds` and the wall
// time to `wallSeconds`.
double FloorCpuSeconds(const std::vector<Record>& records, const std::vector<OccurrenceRecord>* occurrences,
                       double& systemSeconds, double& wallSeconds) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(FreshTable().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (occurrences) {
        // The side table as the program creates it (strings_db/sqlite_side_store.cpp), untimed.
        Check(db,
              sqlite3_exec(db,
                           "CREATE TABLE occurrence(project TEXT NOT NULL, file TEXT NOT NULL, line INTEGER "
                           "NOT NULL, path TEXT NOT NULL, property TEXT NOT NULL, lang TEXT NOT NULL, text "
                           "TEXT NOT NULL); CREATE INDEX occurrence_file ON occurrence(project, file)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    }
    // The settings the table's connection works with (strings_db/sqlite_backend.cpp).
    for (const char* pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL",
                               "PRAGMA cache_size=-32768", "PRAGMA mmap_size=268435456"}) {
        Check(db, sqlite3_exec(db, pragma, nullptr, nullptr, nullptr), SQLITE_OK);
    }
    const double startWall = WallSeconds();
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
    if (occurrences) {
        Check(db,
              sqlite3_prepare_v2(db,
                                 "INSERT INTO occurrence(project, file, line, path, property, lang, text) "
                                 "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
                                 -1, &insert, nullptr),
              SQLITE_OK);
        for (const OccurrenceRecord& row : *occurrences) {
            BindText(insert, 1, row.project);
            BindText(insert, 2, row.file);
            sqlite3_bind_int(insert, 3, row.line);
            BindText(insert, 4, row.path);
            BindText(insert, 5, row.property);
            BindText(insert, 6, row.lang);
            BindText(insert, 7, row.text);
            Check(db, sqlite3_step(insert), SQLITE_DONE);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
    }
    Check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    const double seconds = ThreadCpuSeconds() - start;
    systemSeconds += ThreadSystemSeconds() - startSystem;
    wallSeconds += WallSeconds() - startWall;
    sqlite3_close(db);
    return seconds;
}

void BM_CollectIntoEmptyTable(benchmark::State& state) {
    const ProjectSettings settings = Settings();
    const std::vector<Record>& records = CollectedRecords().records;
    double texts = 0;
    double cpu = 0;
    double floorCpu = 0;
    double floorOccurrenceCpu = 0;
    double system = 0;
    double floorSystem = 0;
    double floorOccurrenceSystem = 0;
    double wall = 0;
    double filingCpu = 0;
    double floorWall = 0;
    double floorOccurrenceWall = 0;
    int added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        floorCpu += FloorCpuSeconds(records, nullptr, floorSystem, floorWall);
        floorOccurrenceCpu += FloorCpuSeconds(records, &CollectedRecords().occurrences, floorOccurrenceSystem,
                                              floorOccurrenceWall);
        auto table = std::make_unique<StringsTable>(FreshTable());
        QuietHost host;
        CollectState collectState;
        state.ResumeTiming();
        const double startWall = WallSeconds();
        const double start = ProcessCpuSeconds();
        const double startFiling = ThreadCpuSeconds();
        const double startSystem = ProcessSystemSeconds();
        const CollectSummary summary = RunCollectCommand(*table, settings, host, collectState);
        cpu += ProcessCpuSeconds() - start;
        filingCpu += ThreadCpuSeconds() - startFiling;
        system += ProcessSystemSeconds() - startSystem;
        wall += WallSeconds() - startWall;
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
    state.counters["occurrences"] = static_cast<double>(CollectedRecords().occurrences.size());
    state.counters["floor_occ_ms"] = floorOccurrenceCpu * 1e3 / iterations;
    state.counters["floor_occ_sys_ms"] = floorOccurrenceSystem * 1e3 / iterations;
    state.counters["x_floor_occ"] = cpu / floorOccurrenceCpu;
    state.counters["wall_ms"] = wall * 1e3 / iterations;
    state.counters["filing_cpu_ms"] = filingCpu * 1e3 / iterations;
    state.counters["floor_wall_ms"] = floorWall * 1e3 / iterations;
    state.counters["floor_occ_wall_ms"] = floorOccurrenceWall * 1e3 / iterations;
    state.counters["x_floor_wall"] = wall / floorWall;
    state.counters["x_floor_occ_wall"] = wall / floorOccurrenceWall;
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
        const double start = ProcessCpuSeconds();
        const CollectSummary summary = RunCollectCommand(table, settings, host, collectState);
        cpu += ProcessCpuSeconds() - start;
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
