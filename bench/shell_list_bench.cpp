// The shell list on a folder of 100,000 files: filling it and showing the first screen, and a re-read
// that finds nothing changed. Reports the peak resident memory of the process.
//   ./bench/shell_list_bench --benchmark_counters_tabular=true
#include "shell/controls/shell_list.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace wordloom::shell;

constexpr int kFiles = 100000;

// One folder of files for all runs, made once.
const QString& BigFolder() {
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        made = true;
        const QByteArray base = QFile::encodeName(dir.path()) + "/big/";
        ::mkdir(base.constData(), 0700);
        for (int i = 0; i < kFiles; ++i) {
            const QByteArray name = base + "file" + QByteArray::number(i) + (i % 3 == 0 ? ".txt" : ".pas");
            const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0600);
            if (fd >= 0)
                ::close(fd);
        }
    }
    static const QString path = dir.path() + QStringLiteral("/big/");
    return path;
}

double PeakRssMb() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// Resident memory now, in megabytes.
double CurrentRssMb() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void ShowFirstScreen(TVelShellList& list) {
    list.show();
    // The views' delayed layouts run, then the first screen is painted.
    QCoreApplication::processEvents();
    list.View()->viewport()->repaint();
}

void BM_PopulateAndShowFirstScreen(benchmark::State& state) {
    const QString folder = BigFolder();
    double growth = 0;
    for (auto _ : state) {
        const double before = CurrentRssMb();
        TVelShellList list;
        list.resize(800, 600);
        list.SetPath(folder);
        ShowFirstScreen(list);
        benchmark::DoNotOptimize(list.ItemCount());
        state.PauseTiming();
        if (list.ItemCount() != kFiles)
            state.SkipWithError("not every file listed");
        growth = std::max(growth, CurrentRssMb() - before);
        list.hide();
        state.ResumeTiming();
    }
    // What the list holds for its items (the first run; later ones reuse freed memory).
    state.counters["list_rss_mb"] = growth;
    state.counters["files"] = kFiles;
    state.counters["peak_rss_mb"] = PeakRssMb();
}
BENCHMARK(BM_PopulateAndShowFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ResyncUnchanged(benchmark::State& state) {
    TVelShellList list;
    list.resize(800, 600);
    list.SetPath(BigFolder());
    ShowFirstScreen(list);
    for (auto _ : state) {
        list.Resync();
        benchmark::DoNotOptimize(list.ItemCount());
    }
    state.counters["peak_rss_mb"] = PeakRssMb();
}
BENCHMARK(BM_ResyncUnchanged)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
