// The places of an export on a table of 20,000 texts collected at 60,000 places, opened read-only
// as the export command opens it (the occurrence table then has no text index): all of them read
// by the exchange in one pass, against a lookup per text (a sample of 500 texts). Run from the
// build folder:
//   ./bench/exchange_places_bench --benchmark_counters_tabular=true
#include "bench/schema_file.h"
#include "exchange/side_details.h"
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"

#include <benchmark/benchmark.h>

namespace {

using namespace wordloom;
using namespace wordloom::exchange;

constexpr int kTexts = 20'000;
constexpr int kFiles = 400;
constexpr int kSample = 500;

std::string Text(int i) {
    return "Open the file " + std::to_string(i);
}

class PlacesTable {
public:
    static const PlacesTable& Get() {
        static PlacesTable instance;
        return instance;
    }
    wordloom::bench::SchemaFile schemaFile;
    std::string path = schemaFile.path;

private:
    PlacesTable() {
        StringsTable table(path);
        StringsTable::Transaction transaction(table);
        for (int i = 0; i < kTexts; ++i) {
            table.Insert();
            table.SetField("English", Text(i));
            table.SetField("Project", "Demo");
            table.Post();
        }
        // Each text at three places, spread over the files.
        std::vector<std::vector<Occurrence>> files(kFiles);
        for (int i = 0; i < kTexts * 3; ++i) {
            const int file = i % kFiles;
            const std::string name = "Form" + std::to_string(file) + ".dfm";
            files[file].push_back({"Demo", name, static_cast<int>(files[file].size()) + 2,
                                   "Form" + std::to_string(file) + ".Button" + std::to_string(i), "Caption",
                                   "English", Text(i % kTexts)});
        }
        for (const std::vector<Occurrence>& rows : files)
            table.Side().ReplaceFileOccurrences("Demo", rows.front().file, rows);
        transaction.Commit();
    }
};

void BM_ExportWithPlaces(benchmark::State& state) {
    PlacesTable::Get();
    for (auto _ : state) {
        StringsTable table(PlacesTable::Get().path, OpenMode::ReadOnly);
        const SideDetails details(table, "English");
        const Catalog catalog = CatalogFromTable(table, {"English", "German", "", ExportScope::All}, details);
        if (catalog.units.size() != kTexts || catalog.units.front().places.size() != 3)
            state.SkipWithError("the export lost places");
        benchmark::DoNotOptimize(catalog.units.data());
    }
    state.counters["texts/s"] = benchmark::Counter(kTexts, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ExportWithPlaces)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PlacesTextByText(benchmark::State& state) {
    PlacesTable::Get();
    for (auto _ : state) {
        StringsTable table(PlacesTable::Get().path, OpenMode::ReadOnly);
        std::size_t found = 0;
        for (int i = 0; i < kSample; ++i)
            found += table.Side().Occurrences("English", Text(i * (kTexts / kSample))).size();
        if (found != kSample * 3)
            state.SkipWithError("a lookup lost places");
    }
    state.counters["texts/s"] = benchmark::Counter(kSample, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PlacesTextByText)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
