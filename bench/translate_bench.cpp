// Translate over a generated project of 2,000 forms and 2,000 units with every text translated.
// Reports source MB/s, backups and atomic replacement (with their syncs) included: "MB/s" over the
// wall time, "CPU MB/s" over the CPU time of the translating thread (user and system, also per
// run; waits for the disk not counted). Run from the build folder (the table template must be built):
//   ninja wordloom_strings_template translate_bench
//   ./bench/translate_bench --benchmark_counters_tabular=true
#include "bench/project_bench.h"
#include "collect/collect_command.h"
#include "strings_db/run_journal.h"
#include "strings_db/strings_table.h"
#include "translate/translate_command.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace wordloom {
namespace {

/// A table holding every text of the project with a German translation.
std::string TranslatedTable(int& records) {
    const std::filesystem::path table = WorkDir() / "strings.db";
    std::filesystem::copy_file(std::string(WORDLOOM_BINARY_DIR) + "/data/strings.db", table,
                               std::filesystem::copy_options::overwrite_existing);
    StringsTable strings(table.string());
    QuietHost host;
    CollectState collectState;
    records = RunCollectCommand(strings, Settings(), host, collectState).textsAdded;
    strings.SetFiltered(false);
    strings.SetIndexFieldNames("English");
    StringsTable::Transaction transaction(strings);
    for (strings.First(); !strings.Eof(); strings.Next()) {
        strings.Edit();
        strings.SetField("German", "\xc3\x9c"
                                   "bersetzt: " +
                                       strings.FieldAsString("English"));
        strings.Post();
    }
    transaction.Commit();
    return table.string();
}

void BM_TranslateProject(benchmark::State& state) {
    int records = 0;
    const std::string tablePath = TranslatedTable(records);
    StringsTable table(tablePath, OpenMode::ReadOnly);
    const ProjectSettings settings = Settings();
    const std::map<std::string, std::string> originals = Originals();
    // With the journal: every run recorded, its originals kept in the project's run store.
    const bool journaled = state.range(0) != 0;
    std::unique_ptr<RunJournal> journal = journaled ? OpenSqliteRunJournal(tablePath) : nullptr;
    TranslateOptions options;
    options.journal = journal.get();
    double texts = 0;
    ThreadCpu cpu;
    for (auto _ : state) {
        state.PauseTiming();
        Restore(originals);
        // A first run's cost: the store holds none of the originals yet.
        std::filesystem::remove_all(std::filesystem::path(Project().directory) / ".wordloom");
        QuietHost host;
        state.ResumeTiming();
        const ThreadCpu before = ThreadCpuNow();
        const TranslateSummary summary = RunTranslateCommand(table, settings, host, options);
        const ThreadCpu after = ThreadCpuNow();
        cpu.user += after.user - before.user;
        cpu.system += after.system - before.system;
        if (summary.failed || host.messages > 0 ||
            summary.formFilesTranslated + summary.unitFilesTranslated != 4000) {
            state.SkipWithError("translate failed");
            break;
        }
        texts += summary.textsReplaced;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Project().Bytes()));
    ReportCpuCounters(state, cpu);
    state.counters["texts/s"] = benchmark::Counter(texts, benchmark::Counter::kIsRate);
    state.counters["records"] = records;
}
BENCHMARK(BM_TranslateProject)
    ->ArgName("journal")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

} // namespace
} // namespace wordloom

int main(int argc, char** argv) {
    return wordloom::RunProjectBenchmarks(argc, argv);
}
