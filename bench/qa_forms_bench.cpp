// The checks on forms over the whole table of a generated project (2,000 forms, 2,000 units), every
// text translated a third longer: each form read once for the run, every caption measured.
// Reports records/s and forms/s; `findings` shows the work was real.
//   ./bench/qa_forms_bench --benchmark_counters_tabular=true
#include "bench/project_bench.h"
#include "cli/text_measure_loader.h"
#include "collect/collect_command.h"
#include "qa/form_files.h"
#include "qa/run_checks.h"
#include "qa/text_measure.h"
#include "strings_db/strings_table.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>

namespace wordloom {
namespace {

// The project collected and translated, once.
const std::string& TranslatedTable() {
    static const std::string path = [] {
        const std::string table = (WorkDir() / "strings.db").string();
        std::filesystem::copy_file(std::string(WORDLOOM_BINARY_DIR) + "/data/strings.db", table);
        {
            StringsTable strings(table);
            QuietHost host;
            CollectState state;
            RunCollectCommand(strings, Settings(), host, state);
        }
        sqlite3* db = nullptr;
        sqlite3_open(table.c_str(), &db);
        char* error = nullptr;
        if (sqlite3_exec(
                db, "UPDATE strings SET German = English || ' ' || substr(English, 1, length(English) / 3)",
                nullptr, nullptr, &error) != SQLITE_OK)
            throw std::runtime_error(error ? error : "update failed");
        sqlite3_close(db);
        return table;
    }();
    return path;
}

void RunFormChecks(benchmark::State& state, qa::TextMeasure& measure) {
    StringsTable table(TranslatedTable());
    const auto checks = qa::CheckRegistry::Standard().Select({"accelerator-clash", "truncation"});
    std::size_t records = 0;
    std::size_t findings = 0;
    int forms = 0;
    for (auto _ : state) {
        const std::unique_ptr<qa::FormFiles> files = qa::FormFiles::ForProject(Settings().projectPath, 1);
        qa::RunOptions options;
        options.forms = files.get();
        options.measure = &measure;
        const qa::RunResult result = qa::RunChecks(table, "German", "", checks, options);
        records += result.records;
        findings = result.findings.size();
        forms += files->FilesRead();
    }
    state.counters["records/s"] = benchmark::Counter(double(records), benchmark::Counter::kIsRate);
    state.counters["forms/s"] = benchmark::Counter(double(forms), benchmark::Counter::kIsRate);
    state.counters["findings"] = double(findings);
    state.counters["forms_per_run"] = double(forms) / double(state.iterations());
}

void BM_FormChecksEstimated(benchmark::State& state) {
    qa::EstimatingTextMeasure measure;
    RunFormChecks(state, measure);
}
BENCHMARK(BM_FormChecksEstimated)->Unit(benchmark::kMillisecond)->UseRealTime();

// The Qt measure as wordloom-cli loads it (where the build has the windows).
void BM_FormChecksFontMetrics(benchmark::State& state) {
    cli::LoadedTextMeasure loaded = cli::LoadTextMeasure({WORDLOOM_BINARY_DIR "/cli"});
    if (!loaded.FromFonts()) {
        state.SkipWithError("no font module in the build");
        return;
    }
    RunFormChecks(state, loaded.Measure());
}
BENCHMARK(BM_FormChecksFontMetrics)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace wordloom

int main(int argc, char** argv) {
    return wordloom::RunProjectBenchmarks(argc, argv);
}
