// The least a safe rewrite of the generated project (2,000 forms, 2,000 units) costs the kernel,
// with no translating at all: each file opened, locked and read; its new content (here the same
// bytes) written to a new file beside it with the file's mode; with backup:1 the file itself also
// linked aside as its backup; then one sync for everything, the renames, and one folder sync.
// Translate cannot do less than this and still be all-or-nothing and durable, so its "CPU MB/s"
// next to this one's is the share the translating itself costs. Run from the build folder:
//   ninja replace_floor_bench && ./bench/replace_floor_bench --benchmark_counters_tabular=true
#include "base/source_file.h"
#include "bench/project_bench.h"
#include "translate/file_replace.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wordloom {
namespace {

struct Staged {
    std::string path;
    std::string temp;
    std::string aside; ///< empty without backup
};

/// Replaces every file of the project by its own content; the number of system calls made.
long ReplaceAll(const std::vector<std::string>& paths, bool backup) {
    long calls = 0;
    std::vector<Staged> staged;
    staged.reserve(paths.size());
    std::string content;
    unsigned counter = 0;
    const std::string prefix = Project().directory + ".floor-";
    for (const std::string& path : paths) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        struct stat st {};
        if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &st) != 0)
            return -1;
        content.resize(static_cast<std::size_t>(st.st_size) + 1);
        const ssize_t got = ::pread(fd, content.data(), content.size(), 0);
        if (got != st.st_size || ::pread(fd, content.data(), 1, got) != 0) // the end seen
            return -1;
        content.resize(static_cast<std::size_t>(got));
        Staged entry{path, prefix + std::to_string(++counter), {}};
        const int out = ::open(entry.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (out < 0 || ::write(out, content.data(), content.size()) != got ||
            ::fchmod(out, st.st_mode & 07777) != 0 || ::close(out) != 0)
            return -1;
        calls += 9;
        if (backup) {
            entry.aside = prefix + std::to_string(++counter);
            if (::link(path.c_str(), entry.aside.c_str()) != 0)
                return -1;
            ++calls;
        }
        ::close(fd);
        ++calls;
        staged.push_back(std::move(entry));
    }
    const int folder = ::open(Project().directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0 || ::syncfs(folder) != 0)
        return -1;
    for (const Staged& entry : staged) {
        if (backup) {
            if (::rename(entry.aside.c_str(), BackupPath(entry.path).c_str()) != 0)
                return -1;
            ++calls;
        }
        if (::rename(entry.temp.c_str(), entry.path.c_str()) != 0)
            return -1;
        ++calls;
    }
    ::fsync(folder);
    ::close(folder);
    return calls + 4;
}

void BM_ReplaceFloor(benchmark::State& state) {
    const std::map<std::string, std::string> originals = Originals();
    std::vector<std::string> paths;
    for (const char* pattern : {"*.dfm", "*.pas"}) {
        for (const std::string& name : ListFiles(Project().directory, pattern))
            paths.push_back(Project().directory + name);
    }
    const bool backup = state.range(0) != 0;
    ThreadCpu cpu;
    long calls = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Restore(originals);
        state.ResumeTiming();
        const ThreadCpu before = ThreadCpuNow();
        const long made = ReplaceAll(paths, backup);
        const ThreadCpu after = ThreadCpuNow();
        if (made < 0) {
            state.SkipWithError("a replacement failed");
            break;
        }
        calls += made;
        cpu.user += after.user - before.user;
        cpu.system += after.system - before.system;
    }
    ReportCpuCounters(state, cpu);
    const double runs = static_cast<double>(state.iterations());
    state.counters["calls/file"] = static_cast<double>(calls) / runs / static_cast<double>(paths.size());
}
BENCHMARK(BM_ReplaceFloor)
    ->ArgName("backup")
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
