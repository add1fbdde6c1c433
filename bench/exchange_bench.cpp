// Exchange files of a table of 1,000,000 records (shipped schema, a third untranslated): the table
// read for an export, export to PO, XLIFF 1.2 and TMX, reading such files, and an import that fills the
// 333,334 empty translations in one transaction (its plan and its writes also counted apart, in
// seconds of CPU), and the plan of a file of 1,000 texts. Run from the build folder:
//   ./bench/exchange_bench --benchmark_counters_tabular=true
#include "bench/schema_file.h"
#include "exchange/po_format.h"
#include "exchange/table_exchange.h"
#include "exchange/table_export.h"
#include "exchange/xliff_format.h"
#include "strings_db/strings_table.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>
#include <time.h>

namespace {

using namespace wordloom::exchange;

constexpr int kRecords = 1'000'000;

void Exec(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : "?";
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

std::string EnglishText(int i) {
    return "Open the file " + std::to_string(i) + " and say 'yes'";
}

class BenchTable {
public:
    static const BenchTable& Get() {
        static BenchTable instance;
        return instance;
    }
    wordloom::bench::SchemaFile schemaFile;
    std::string path = schemaFile.path;

private:
    BenchTable() {
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        Exec(db, "PRAGMA synchronous=OFF");
        Exec(db, "BEGIN");
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(
            db, "INSERT INTO strings (English, German, Project, SpFront, SpEnd) VALUES (?1, ?2, ?3, 0, 0)",
            -1, &insert, nullptr);
        for (int i = 0; i < kRecords; ++i) {
            const std::string english = EnglishText(i);
            const std::string german = "Öffne die Datei " + std::to_string(i);
            const std::string project = "Project" + std::to_string(i % 40);
            sqlite3_bind_text(insert, 1, english.c_str(), -1, SQLITE_TRANSIENT);
            if (i % 3 == 0)
                sqlite3_bind_null(insert, 2);
            else
                sqlite3_bind_text(insert, 2, german.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 3, project.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        Exec(db, "COMMIT");
        sqlite3_close(db);
    }
};

Catalog ExportAll() {
    wordloom::StringsTable table(BenchTable::Get().path);
    PlainDetails details;
    return CatalogFromTable(table, {"English", "German", "", ExportScope::All}, details);
}

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void BM_ReadTableForExport(benchmark::State& state) {
    BenchTable::Get();
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportAll().units.size());
    state.counters["records/s"] = benchmark::Counter(kRecords, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ReadTableForExport)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ExportToPo(benchmark::State& state) {
    BenchTable::Get();
    for (auto _ : state) {
        const std::string po = WritePo(ExportAll());
        benchmark::DoNotOptimize(po.data());
    }
    state.counters["records/s"] = benchmark::Counter(kRecords, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ExportToPo)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ExportToXliff12(benchmark::State& state) {
    BenchTable::Get();
    for (auto _ : state) {
        const std::string xliff = WriteXliff12(ExportAll());
        benchmark::DoNotOptimize(xliff.data());
    }
    state.counters["records/s"] = benchmark::Counter(kRecords, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ExportToXliff12)->Unit(benchmark::kMillisecond)->Iterations(1);

// TMX of the pair English -> German, and of every language, as the front ends export it.
void BM_ExportToTmx(benchmark::State& state) {
    BenchTable::Get();
    const bool pair = state.range(0) == 1;
    std::size_t count = 0;
    for (auto _ : state) {
        wordloom::StringsTable table(BenchTable::Get().path);
        PlainDetails details;
        const ExportedFile file =
            ExportTable(table, wordloom::exchange::Format::Tmx,
                        {"English", pair ? "German" : "", "", ExportScope::All}, details);
        benchmark::DoNotOptimize(file.data.data());
        count = file.count;
    }
    if (count != static_cast<std::size_t>(kRecords - (kRecords + 2) / 3))
        state.SkipWithError("the memory does not hold every translated text");
    state.counters["records/s"] = benchmark::Counter(kRecords, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ExportToTmx)->ArgName("pair")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ReadPo(benchmark::State& state) {
    const std::string po = WritePo(ExportAll());
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadPo(po).units.size());
    state.counters["records/s"] = benchmark::Counter(kRecords, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ReadPo)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ReadXliff12(benchmark::State& state) {
    const std::string xliff = WriteXliff12(ExportAll());
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadXliff(xliff).units.size());
    state.counters["records/s"] = benchmark::Counter(kRecords, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ReadXliff12)->Unit(benchmark::kMillisecond)->Iterations(1);

// Plans 1,000,000 incoming units against the table and writes the third that fills empty records.
void BM_ImportPo(benchmark::State& state) {
    Catalog incoming = ExportAll();
    for (Unit& unit : incoming.units)
        if (unit.target.empty())
            unit.target = "Neu: " + unit.source;
    const std::string po = WritePo(incoming);
    const std::string copy = (BenchTable::Get().schemaFile.folder / "import.db").string();
    std::size_t written = 0;
    double planCpu = 0;
    double applyCpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::copy_file(BenchTable::Get().path, copy,
                                   std::filesystem::copy_options::overwrite_existing);
        state.ResumeTiming();
        wordloom::StringsTable table(copy);
        PlainDetails details;
        const ImportOptions options{"English", "German", ConflictChoice::Ours, false, ""};
        const Catalog catalog = ReadPo(po);
        const double start = CpuSeconds();
        const ImportPlan plan = PlanImport(table, catalog, options, details);
        const double planned = CpuSeconds();
        written = ApplyImport(table, plan, options, details).written;
        planCpu = planned - start;
        applyCpu = CpuSeconds() - planned;
    }
    state.counters["plan s"] = planCpu;
    state.counters["apply s"] = applyCpu;
    if (written != static_cast<std::size_t>((kRecords + 2) / 3))
        state.SkipWithError("the import did not fill every empty translation");
    state.counters["records/s"] = benchmark::Counter(kRecords, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ImportPo)->Unit(benchmark::kMillisecond)->Iterations(1);

// Plans a file of 1,000 texts (every thousandth record, translated anew) against the whole table.
void BM_PlanSmallImport(benchmark::State& state) {
    Catalog incoming = ExportAll();
    Catalog small;
    for (std::size_t i = 0; i < incoming.units.size(); i += 1000) {
        small.units.push_back(std::move(incoming.units[i]));
        small.units.back().target = "Neu: " + small.units.back().source;
    }
    wordloom::StringsTable table(BenchTable::Get().path);
    PlainDetails details;
    const ImportOptions options{"English", "German", ConflictChoice::Theirs, false, ""};
    std::size_t planned = 0;
    for (auto _ : state)
        planned = PlanImport(table, small, options, details).items.size();
    if (planned != small.units.size())
        state.SkipWithError("the plan left texts out");
    state.counters["units/s"] = benchmark::Counter(static_cast<double>(small.units.size()),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PlanSmallImport)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
