// Memory suggestions and find on a table of 1,000,000 translated records (made once per run in a
// temporary folder): building each index once, then one suggestion lookup and one find keystroke.
// The window needs a lookup under 200 ms and a keystroke under 100 ms.
//   ./bench/side_bench --benchmark_counters_tabular=true
#include "strings_db/find_index.h"
#include "strings_db/strings_table.h"
#include "strings_db/translation_memory.h"
#include "strings_db/translation_stats.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>
#include <unistd.h>

namespace wordloom {
namespace {

constexpr int kRecords = 1'000'000;

// A vocabulary of some 2,000 made-up words, so that trigrams spread as in real texts.
const std::vector<std::string>& Words() {
    static const std::vector<std::string> words = [] {
        const char* syllables[] = {"ka",  "lo", "mer", "sti", "ün", "pra", "dos", "vel", "qui", "ba",
                                   "ren", "to", "fé",  "gal", "mo", "nik", "sa",  "tri", "we",  "zor"};
        std::vector<std::string> list;
        for (const char* a : syllables) {
            for (const char* b : syllables) {
                for (const char* c : {"", "s", "ing", "e", "ed"}) {
                    list.push_back(std::string(a) + b + c);
                }
            }
        }
        return list;
    }();
    return words;
}

std::string Sentence(std::mt19937& random) {
    const std::vector<std::string>& words = Words();
    const int count = 2 + static_cast<int>(random() % 8);
    std::string text;
    for (int i = 0; i < count; ++i) {
        std::string word = words[random() % words.size()];
        if (i == 0) {
            word[0] = static_cast<char>(word[0] - 'a' + 'A');
        }
        text += (i ? " " : "") + word;
    }
    return text;
}

void Check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
}

const std::string& TablePath() {
    static const std::string path = [] {
        const std::filesystem::path dir =
            std::filesystem::temp_directory_path() / ("wordloom-side-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        const std::string file = (dir / "strings.db").string();
        sqlite3* db = nullptr;
        sqlite3_open(file.c_str(), &db);
        Check(db,
              sqlite3_exec(db,
                           "CREATE TABLE strings(English TEXT, German TEXT, Project TEXT, SpFront INTEGER, "
                           "SpEnd INTEGER); BEGIN",
                           nullptr, nullptr, nullptr));
        sqlite3_stmt* insert = nullptr;
        Check(db, sqlite3_prepare_v2(db, "INSERT INTO strings VALUES (?1, ?2, 'Bench', 0, 0)", -1, &insert,
                                     nullptr));
        std::mt19937 random(42);
        for (int i = 0; i < kRecords; ++i) {
            const std::string english = Sentence(random);
            const std::string german = "de: " + english;
            sqlite3_bind_text(insert, 1, english.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, german.c_str(), -1, SQLITE_TRANSIENT);
            Check(db, sqlite3_step(insert));
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        Check(db, sqlite3_exec(db, "CREATE INDEX English ON strings(English); COMMIT", nullptr, nullptr,
                               nullptr));
        sqlite3_close(db);
        return file;
    }();
    return path;
}

StringsTable& Table() {
    static StringsTable table(TablePath());
    return table;
}

const TranslationMemory& Memory() {
    static const TranslationMemory memory = TranslationMemory::Load(Table(), "English", "German");
    return memory;
}

FindIndex& Index() {
    static FindIndex index(Table(), "English", {"English", "German"});
    return index;
}

void BM_MemoryBuild(benchmark::State& state) {
    for (auto _ : state) {
        const TranslationMemory memory = TranslationMemory::Load(Table(), "English", "German");
        benchmark::DoNotOptimize(memory.Size());
        state.counters["pairs"] = static_cast<double>(memory.Size());
    }
}
BENCHMARK(BM_MemoryBuild)->Unit(benchmark::kMillisecond)->Iterations(1);

// A record's text with a word changed: what a translator meets after a small edit of the source.
void BM_Suggest(benchmark::State& state) {
    const TranslationMemory& memory = Memory();
    std::mt19937 random(7);
    std::vector<std::string> queries;
    for (int i = 0; i < 50; ++i) {
        std::string text = Sentence(random);
        text += " " + Words()[random() % Words().size()];
        queries.push_back(text);
    }
    std::size_t next = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        found += memory.Suggest(queries[next++ % queries.size()]).size();
    }
    state.counters["found/lookup"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Suggest)->Unit(benchmark::kMillisecond);

void BM_FindBuild(benchmark::State& state) {
    for (auto _ : state) {
        FindIndex index(Table(), "English", {"English", "German"});
        benchmark::DoNotOptimize(index.Size());
    }
}
BENCHMARK(BM_FindBuild)->Unit(benchmark::kMillisecond)->Iterations(1);

// Typing a needle: each keystroke searches the whole table again.
void BM_FindKeystroke(benchmark::State& state) {
    FindIndex& index = Index();
    const std::vector<std::string> needles = {"k", "ka", "kal", "kalo", "kalos", "FÉ", "Fémo", "xyz"};
    std::size_t next = 0;
    std::size_t hits = 0;
    for (auto _ : state) {
        hits += index.Search(needles[next++ % needles.size()]);
    }
    state.counters["hits/keystroke"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FindKeystroke)->Unit(benchmark::kMillisecond);

// The statistics window counts every project of a language in one pass; the status bar one project.
void BM_StatsOneProject(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeStats(Table(), "Bench", "English", "German").doneTexts);
    }
}
BENCHMARK(BM_StatsOneProject)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_StatsEveryProject(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeStatsByProject(Table(), "English", "German").size());
    }
}
BENCHMARK(BM_StatsEveryProject)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
} // namespace wordloom

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(std::filesystem::path(wordloom::TablePath()).parent_path());
    return 0;
}
