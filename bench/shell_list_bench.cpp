// The shell list on a folder of 100,000 files: filling it and showing the first screen, and a re-read
// that finds nothing changed. Reports the peak resident memory of the process.
//   ./bench/shell_list_bench --benchmark_counters_tabular=true
#include "shell/controls/shell_list.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

void ShowFirstScreen(TVelShellList& list) {
    list.show();
    list.View()->viewport()->repaint();
}

void BM_PopulateAndShowFirstScreen(benchmark::State& state) {
    const QString folder = BigFolder();
    for (auto _ : state) {
        TVelShellList list;
        list.resize(800, 600);
        list.SetPath(folder);
        ShowFirstScreen(list);
        benchmark::DoNotOptimize(list.ItemCount());
        if (list.ItemCount() != kFiles)
            state.SkipWithError("not every file listed");
        state.PauseTiming();
        list.hide();
        state.ResumeTiming();
    }
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
