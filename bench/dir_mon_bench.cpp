// The directory monitor: starting and stopping it on a folder (the watch service is opened and closed
// each time, as when a window's only monitor comes and goes), and the time from a file being made to
// OnDirChange on the monitor's thread.
//   ./bench/dir_mon_bench
#include "shell/core/dir_mon.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace wordloom::shell;

void BM_StartStop(benchmark::State& state) {
    QTemporaryDir dir;
    TDirMon monitor;
    for (auto _ : state) {
        monitor.SetDirectory(dir.path());
        monitor.Stop();
        monitor.SetDirectory(QString());
    }
}
BENCHMARK(BM_StartStop)->Unit(benchmark::kMicrosecond);

void BM_ChangeToNotice(benchmark::State& state) {
    QTemporaryDir dir;
    TDirMon monitor;
    bool changed = false;
    monitor.OnDirChange = [&changed](QObject*) { changed = true; };
    monitor.SetDirectory(dir.path());
    const QByteArray base = QFile::encodeName(dir.path()) + "/f";
    int made = 0;
    for (auto _ : state) {
        changed = false;
        // A new name each time: one event, so one notice, per round.
        const QByteArray file = base + QByteArray::number(made);
        const int fd = ::open(file.constData(), O_CREAT | O_WRONLY, 0600);
        if (fd >= 0)
            ::close(fd);
        while (!changed)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ++made;
    }
    state.counters["notices"] = made;
}
BENCHMARK(BM_ChangeToNotice)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
