// What the benchmarks over a generated project share: a quiet command host, the project in a
// folder of this run, and a main that reports the project's size and removes the folder at the end.
#pragma once

#include "base/command_host.h"
#include "base/project.h"
#include "support/project_generator.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace wordloom {

/// Questions answered OK, messages only counted.
class QuietHost : public CommandHost {
public:
    void Message(const std::string&) override { ++messages; }
    bool Question(const std::string&) override { return true; }
    void Error(const std::string&) override { ++messages; }
    FileFailureAnswer AskSkipFile(const std::string&) override { return FileFailureAnswer::Stop; }
    void Report(const std::string&, const std::vector<std::string>& items) override {
        messages += static_cast<int>(items.size());
    }
    void StatusText(const std::string&) override {}
    void BusyCursor(bool) override {}
    void ProcessPendingEvents() override {}
    void SetClipboardText(const std::string&) override {}
    void SetViewAttached(bool) override {}
    void ApplyProjectFilter() override {}
    int messages = 0;
};

inline const std::filesystem::path& WorkDir() {
    static const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("wordloom-bench-" + std::to_string(::getpid()));
    return dir;
}

/// The generated project (2,000 forms, 2,000 units), made on first use.
inline const GeneratedProject& Project() {
    static const GeneratedProject project = GenerateProject((WorkDir() / "project").string());
    return project;
}

/// The generated project, its texts in English, translated into German.
inline ProjectSettings Settings() {
    ProjectSettings settings;
    settings.projectPath = Project().projectPath;
    settings.language = "English";
    settings.translation = "German";
    return settings;
}

/// The CPU time of the calling thread: user and system part, in seconds.
struct ThreadCpu {
    double user = 0;
    double system = 0;
};
inline ThreadCpu ThreadCpuNow() {
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return {seconds(usage.ru_utime), seconds(usage.ru_stime)};
}

/// The counters of runs over the whole project: "MB/s" over the wall time, "CPU MB/s" over `cpu`
/// (the time of the runs' thread), and its user and system part per run. The system part is mostly
/// the file system's work, and varies most with what else the machine does.
inline void ReportCpuCounters(benchmark::State& state, const ThreadCpu& cpu) {
    const double runs = static_cast<double>(state.iterations());
    const double megabytes = runs * static_cast<double>(Project().Bytes()) / 1e6;
    state.counters["MB/s"] = benchmark::Counter(megabytes, benchmark::Counter::kIsRate);
    state.counters["CPU MB/s"] = megabytes / (cpu.user + cpu.system);
    state.counters["user ms"] = cpu.user * 1e3 / runs;
    state.counters["sys ms"] = cpu.system * 1e3 / runs;
}

/// The project as generated, to put back before each run.
inline std::map<std::string, std::string> Originals() {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(Project().directory)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

inline void Restore(const std::map<std::string, std::string>& files) {
    for (const auto& [path, content] : files) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << content;
    }
    ::sync(); // the restored files must not be flushed by the run's own syncs
}

inline int RunProjectBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const GeneratedProject& project = Project();
    std::fprintf(stderr, "generated project: %zu bytes of forms, %zu bytes of units\n", project.formBytes,
                 project.unitBytes);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(WorkDir());
    return 0;
}

} // namespace wordloom
