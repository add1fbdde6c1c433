// The quality checks over a table of 1,000,000 translated records (made once per run in a temporary
// folder): captions with accelerators, Format strings, two-part hints and multi-line texts, with
// some translations broken the usual ways. Once without spelling, once with every check.
//   ./bench/qa_bench --benchmark_counters_tabular=true
#include "bench/schema_file.h"
#include "qa/run_checks.h"
#include "qa/spelling_check.h"
#include "strings_db/strings_table.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <random>
#include <stdexcept>

namespace wordloom::qa {
namespace {

constexpr int kRecords = 1'000'000;

// English and German words side by side, so each translation is a real (if clumsy) one.
constexpr std::pair<const char*, const char*> kWords[] = {
    {"open", "öffnen"},
    {"file", "Datei"},
    {"save", "speichern"},
    {"close", "schließen"},
    {"window", "Fenster"},
    {"project", "Projekt"},
    {"table", "Tabelle"},
    {"text", "Text"},
    {"new", "neue"},
    {"name", "Name"},
    {"folder", "Ordner"},
    {"delete", "löschen"},
    {"copy", "kopieren"},
    {"print", "drucken"},
    {"search", "suchen"},
    {"options", "Optionen"},
    {"help", "Hilfe"},
    {"language", "Sprache"},
    {"size", "Größe"},
    {"line", "Zeile"},
    {"value", "Wert"},
    {"error", "Fehler"},
    {"list", "Liste"},
    {"all", "alle"},
    {"the", "die"},
    {"settings", "Einstellungen"},
    {"server", "Server"},
    {"database", "Datenbank"},
    {"user", "Benutzer"},
    {"password", "Kennwort"},
    {"connection", "Verbindung"},
    {"export", "exportieren"},
};

std::pair<std::string, std::string> Sentence(std::mt19937& random) {
    const int count = 2 + static_cast<int>(random() % 5);
    std::string english;
    std::string german;
    for (int i = 0; i < count; ++i) {
        const auto& [en, de] = kWords[random() % std::size(kWords)];
        english += (i ? " " : "") + std::string(en);
        german += (i ? " " : "") + std::string(de);
    }
    english[0] = static_cast<char>(english[0] - 'a' + 'A');
    return {english, german};
}

// One record: its shape chosen at random, its translation broken in one of twenty.
std::pair<std::string, std::string> Record(std::mt19937& random, int i) {
    auto [english, german] = Sentence(random);
    switch (random() % 5) {
    case 0: // a caption with an accelerator
        english = "&" + english + "...";
        german = "&" + german + "...";
        break;
    case 1: // a Format string
        english += ": %d of %s";
        german += ": %d von %s";
        break;
    case 2: { // a two-part hint
        auto [longEnglish, longGerman] = Sentence(random);
        english += "|" + longEnglish + ".";
        german += "|" + longGerman + ".";
        break;
    }
    case 3: // two lines
        english += "\r\n" + Sentence(random).first;
        german += "\r\n" + Sentence(random).second;
        break;
    default:
        break;
    }
    english += " " + std::to_string(i); // every text its own
    german += " " + std::to_string(i);
    switch (random() % 20) {
    case 0:
        german.erase(std::remove(german.begin(), german.end(), '&'), german.end());
        break;
    case 1:
        if (const std::size_t at = german.find("%s"); at != std::string::npos)
            german[at + 1] = 'd';
        break;
    case 2:
        german += "  Ende";
        break;
    case 3: { // a word no dictionary knows, most of them different
        std::string word = "Qx";
        for (int rest = i; rest > 0; rest /= 26)
            word += static_cast<char>('a' + rest % 26);
        german += " " + word;
        break;
    }
    default:
        break;
    }
    return {english, german};
}

// The shipped schema, filled in one transaction; removed with its folder at exit.
const std::string& TablePath() {
    static const bench::SchemaFile file;
    static const bool filled = [] {
        sqlite3* db = nullptr;
        sqlite3_open(file.path.c_str(), &db);
        sqlite3_stmt* insert = nullptr;
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_prepare_v2(db, "INSERT INTO strings(English, German, Project) VALUES (?1, ?2, 'Bench')", -1,
                           &insert, nullptr);
        std::mt19937 random(42);
        bool ok = true;
        for (int i = 0; i < kRecords && ok; ++i) {
            const auto [english, german] = Record(random, i);
            sqlite3_bind_text(insert, 1, english.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, german.c_str(), -1, SQLITE_TRANSIENT);
            ok = sqlite3_step(insert) == SQLITE_DONE;
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
        const std::string message = sqlite3_errmsg(db);
        sqlite3_close(db);
        if (!ok)
            throw std::runtime_error("the benchmark table: " + message);
        return true;
    }();
    (void)filled;
    return file.path;
}

void Run(benchmark::State& state, const std::vector<const CheckInfo*>& checks) {
    StringsTable table(TablePath());
    for (auto _ : state) {
        const RunResult result = RunChecks(table, "German", "Bench", checks);
        if (!result.notices.empty()) {
            state.SkipWithError(result.notices.front().c_str());
            return;
        }
        state.counters["records"] = static_cast<double>(result.records);
        state.counters["findings"] = static_cast<double>(result.findings.size());
        state.counters["records/s"] =
            benchmark::Counter(static_cast<double>(result.records), benchmark::Counter::kIsRate);
    }
}

void BM_StringChecks(benchmark::State& state) {
    std::vector<const CheckInfo*> checks;
    for (const CheckInfo& info : CheckRegistry::Standard().Checks())
        if (info.id != "spelling")
            checks.push_back(&info);
    Run(state, checks);
}
BENCHMARK(BM_StringChecks)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_AllChecksWithSpelling(benchmark::State& state) {
    Run(state, CheckRegistry::Standard().Select({}));
}
BENCHMARK(BM_AllChecksWithSpelling)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
} // namespace wordloom::qa

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
