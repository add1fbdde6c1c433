// Shell namespace: enumerating a folder of 100,000 files with names and attributes, and the icon and
// detail texts of a sample of its objects (what a list asks for the rows it shows).
//   ./bench/shell_bench --benchmark_counters_tabular=true
#include "shell/core/pathwright.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace wordloom::shell;

constexpr int kFiles = 100000;

const char* const kExtensions[] = {".txt", ".pas",  ".dfm", ".png", ".pdf",
                                   ".cpp", ".html", ".zip", ".odt", ""};

// One folder for all runs, made once: 100,000 empty files with assorted extensions, 1% hidden.
QString BenchFolder() {
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        made = true;
        for (int i = 0; i < kFiles; ++i) {
            const QByteArray name = QFile::encodeName(dir.path()) + (i % 100 == 0 ? "/.file" : "/file") +
                                    QByteArray::number(i) + kExtensions[i % 10];
            const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
            if (fd >= 0) {
                if (i % 7 == 0)
                    (void)!::write(fd, "some text", 9);
                ::close(fd);
            }
        }
    }
    return dir.path();
}

void BM_EnumerateNamesAndAttributes(benchmark::State& state) {
    const QString folder = BenchFolder();
    TPathwright pathwright;
    std::int64_t objects = 0;
    std::int64_t hidden = 0;
    for (auto _ : state) {
        pathwright.SetFolder(QString());
        pathwright.SetFolder(folder);
        while (pathwright.NextObject()) {
            const QString name = pathwright.DisplayName();
            benchmark::DoNotOptimize(name);
            hidden += pathwright.IsHidden();
            benchmark::DoNotOptimize(pathwright.IsFolder());
            ++objects;
        }
    }
    state.counters["objects"] = benchmark::Counter(double(objects), benchmark::Counter::kIsRate);
    state.counters["hidden"] = double(hidden) / double(state.iterations());
}
BENCHMARK(BM_EnumerateNamesAndAttributes)->Unit(benchmark::kMillisecond);

void BM_IconAndDetailTexts(benchmark::State& state) {
    const QString folder = BenchFolder();
    TPathwright pathwright;
    pathwright.SetFolder(folder);
    // A sample spread over the folder, as the rows of a scrolled list.
    std::vector<IDList> sample;
    for (int i = 0; pathwright.NextObject(); ++i) {
        if (i % 100 == 0)
            sample.push_back(*pathwright.GetObjectIDList());
    }
    std::int64_t objects = 0;
    for (auto _ : state) {
        for (const IDList& item : sample) {
            pathwright.SetObjectIDList(item);
            benchmark::DoNotOptimize(pathwright.GetIconNumber());
            for (int column = 0; column < 4; ++column)
                benchmark::DoNotOptimize(pathwright.DetailText(column, false));
            ++objects;
        }
    }
    state.counters["objects"] = benchmark::Counter(double(objects), benchmark::Counter::kIsRate);
    state.counters["us_per_object"] =
        benchmark::Counter(double(objects), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_IconAndDetailTexts)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
