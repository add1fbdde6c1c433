// The workbench window over a strings table of 1,000,000 records: opening it (the window's start-up
// with the table and the grid), scrolling to its end, re-ordering by a column title click, and the
// find bar: its first use (which reads the two language columns once) and a keystroke after it
// (the grid narrowed and painted again).
//   ./bench/grid_bench --benchmark_counters_tabular=true
// Builds the table once (a few seconds) in a temporary folder from the shipped strings.db.
#include "app/find_bar.h"
#include "app/main_form.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "strings_db/strings_table.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdexcept>
#include <string>

namespace {

constexpr int Records = 1'000'000;

void Exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string text = error != nullptr ? error : "sqlite error";
        sqlite3_free(error);
        throw std::runtime_error(text);
    }
}

/// A folder holding strings.db with `Records` records; the current directory while it lives.
class BigTable {
public:
    BigTable() {
        const QString path = m_dir.filePath(QStringLiteral("strings.db"));
        if (!QFile::copy(QStringLiteral(WORDLOOM_BINARY_DIR "/strings.db"), path)) {
            throw std::runtime_error("no shipped strings.db in the build folder");
        }
        QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        sqlite3* db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        Exec(db, "BEGIN");
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(
            db, "INSERT INTO strings (English, German, Project, SpFront, SpEnd) VALUES (?, ?, ?, 0, 0)", -1,
            &insert, nullptr);
        for (int i = 0; i < Records; ++i) {
            const std::string english = "Text number " + std::to_string(i);
            // A scrambled order for the second column, and every tenth record untranslated.
            const std::string german = i % 10 == 0 ? "" : "Wort " + std::to_string((i * 7919LL) % Records);
            const std::string project = "Project" + std::to_string(i % 50);
            sqlite3_bind_text(insert, 1, english.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, german.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 3, project.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        Exec(db, "COMMIT");
        sqlite3_close(db);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_dir.filePath(QStringLiteral("config")));
        QDir::setCurrent(m_dir.path());
    }

private:
    QTemporaryDir m_dir;
};

BigTable& Table() {
    static BigTable table;
    return table;
}

void Paint(wordloom::TMainForm& form) {
    form.Ui().dbGrid->viewport()->repaint();
    QCoreApplication::processEvents();
}

/// Opens the window and waits for the status bar's statistics, which are counted off the UI thread
/// (on 2 cores that count would slow what is measured next).
void OpenAndSettle(wordloom::TMainForm& form) {
    form.show();
    Paint(form);
    auto* statistics = form.findChild<QLabel*>(QStringLiteral("Statistics"));
    for (int wait = 0; wait < 1200 && statistics != nullptr && statistics->text().isEmpty(); ++wait) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

void BM_OpenWindow(benchmark::State& state) {
    Table();
    for (auto _ : state) {
        wordloom::TMainForm form;
        form.show();
        Paint(form);
        if (form.GridModel()->rowCount() != Records) {
            state.SkipWithError("the grid does not show every record");
        }
    }
    state.counters["records"] = Records;
}

void BM_ScrollToEnd(benchmark::State& state) {
    Table();
    wordloom::TMainForm form;
    OpenAndSettle(form);
    wordloom::StringsGrid* grid = form.Ui().dbGrid;
    for (auto _ : state) {
        grid->setCurrentIndex(form.GridModel()->index(Records - 1, 0));
        grid->scrollToBottom();
        Paint(form);
        state.PauseTiming();
        grid->setCurrentIndex(form.GridModel()->index(0, 0));
        grid->scrollToTop();
        Paint(form);
        state.ResumeTiming();
    }
    if (form.StringTable()->RecNo() != 0) {
        state.SkipWithError("the cursor did not follow the grid");
    }
}

void BM_ReorderByTitleClick(benchmark::State& state) {
    Table();
    wordloom::TMainForm form;
    OpenAndSettle(form);
    QHeaderView* titles = form.Ui().dbGrid->horizontalHeader();
    int column = 1;
    for (auto _ : state) {
        emit titles->sectionClicked(column);
        Paint(form);
        column = 1 - column;
    }
    if (form.StringTable()->RecNo() != 0) {
        state.SkipWithError("a title click must go to the first record");
    }
}

/// Types `text` into the find bar as one keystroke (the text changes once).
void Type(wordloom::TMainForm& form, const QString& text) {
    form.Ui().findBar->Edit()->setText(text);
    Paint(form);
}

void BM_FindFirstUse(benchmark::State& state) {
    Table();
    for (auto _ : state) {
        state.PauseTiming();
        wordloom::TMainForm form;
        OpenAndSettle(form);
        form.Ui().findBar->Open();
        state.ResumeTiming();
        Type(form, QStringLiteral("w"));
        if (form.GridModel()->rowCount() != Records / 10 * 9) {
            state.SkipWithError("the find shows other records than those holding the text");
        }
    }
}

// Each keystroke is a new text that is no refinement of the last one: a full pass over the index.
void BM_FindKeystroke(benchmark::State& state) {
    Table();
    wordloom::TMainForm form;
    OpenAndSettle(form);
    form.Ui().findBar->Open();
    Type(form, QStringLiteral("w"));
    const QString texts[] = {QStringLiteral("ORT 4711"), QStringLiteral("number 99")};
    int next = 0;
    for (auto _ : state) {
        Type(form, texts[next]);
        next = 1 - next;
    }
    // "number 99" stands in 11,111 English texts; "ort 4711" in at most 11 German ones.
    const int shown = form.GridModel()->rowCount();
    if (next == 0 ? shown != 11'111 : shown < 1 || shown > 11) {
        state.SkipWithError("the find shows other records than those holding the text");
    }
    state.counters["records"] = Records;
}

BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScrollToEnd)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReorderByTitleClick)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_FindFirstUse)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_FindKeystroke)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wordloom"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
