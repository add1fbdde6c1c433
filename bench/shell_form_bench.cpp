// The demo window opened on a folder of 100,000 files: from creating the window (loading its form file,
// building the tree, the combo box and the list) until the first screen of the list is painted.
//   ./bench/shell_form_bench --benchmark_counters_tabular=true
#include "shell/controls/shell_list.h"
#include "shell/demo/shell_form.h"

#include <QApplication>
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

// One folder for all runs, made once: 100,000 empty files with assorted extensions.
QString BenchFolder() {
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        made = true;
        for (int i = 0; i < kFiles; ++i) {
            const QByteArray name =
                QFile::encodeName(dir.path()) + "/file" + QByteArray::number(i) + kExtensions[i % 10];
            const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
            if (fd >= 0)
                ::close(fd);
        }
    }
    return dir.path();
}

void BM_ShellFormUpOn100kFiles(benchmark::State& state) {
    const QString folder = BenchFolder();
    int items = 0;
    for (auto _ : state) {
        TShellForm form(nullptr, folder);
        form.show();
        // Painting the whole window paints the list's first screen.
        const QPixmap shot = form.grab();
        benchmark::DoNotOptimize(shot.cacheKey());
        items = form.ShellListView()->ItemCount();
        state.PauseTiming();
        form.hide();
        state.ResumeTiming();
    }
    if (items != kFiles)
        state.SkipWithError("the list does not show every file");
    state.counters["items"] = items;
}
BENCHMARK(BM_ShellFormUpOn100kFiles)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
