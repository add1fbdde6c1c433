// Collect Strings over a generated project of 2,000 forms and 2,000 units: into an empty table,
// and again into the table that already holds every text. Reports source MB/s and texts/s.
//   ./bench/collect_bench --benchmark_counters_tabular=true
#include "bench/project_bench.h"
#include "collect/collect_command.h"
#include "strings_db/strings_table.h"

#include <benchmark/benchmark.h>

#include <filesystem>
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

void Report(benchmark::State& state, double texts) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Project().Bytes()));
    state.counters["MB/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * Project().Bytes()) / 1e6, benchmark::Counter::kIsRate);
    state.counters["texts/s"] = benchmark::Counter(texts, benchmark::Counter::kIsRate);
}

void BM_CollectIntoEmptyTable(benchmark::State& state) {
    const ProjectSettings settings = Settings();
    double texts = 0;
    int records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto table = std::make_unique<StringsTable>(FreshTable());
        QuietHost host;
        CollectState collectState;
        state.ResumeTiming();
        const CollectSummary summary = RunCollectCommand(*table, settings, host, collectState);
        if (summary.failed || host.messages > 0) {
            state.SkipWithError("collect failed");
            break;
        }
        texts += summary.textsAdded;
        records = summary.textsAdded;
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
    state.counters["records"] = records;
    Report(state, texts);
}
BENCHMARK(BM_CollectIntoEmptyTable)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_CollectIntoFilledTable(benchmark::State& state) {
    const ProjectSettings settings = Settings();
    StringsTable table(FreshTable());
    QuietHost host;
    CollectState collectState;
    const int records = RunCollectCommand(table, settings, host, collectState).textsAdded;
    double texts = 0;
    for (auto _ : state) {
        const CollectSummary summary = RunCollectCommand(table, settings, host, collectState);
        if (summary.failed || summary.textsAdded != 0) {
            state.SkipWithError("second run filed texts");
            break;
        }
        texts += records; // every text looked up again
    }
    state.counters["records"] = records;
    Report(state, texts);
}
BENCHMARK(BM_CollectIntoFilledTable)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
} // namespace wordloom

int main(int argc, char** argv) {
    return wordloom::RunProjectBenchmarks(argc, argv);
}
