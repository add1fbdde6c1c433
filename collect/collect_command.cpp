#include "collect/collect_command.h"

#include "base/errors.h"
#include "base/source_file.h"
#include "base/ui_text.h"
#include "collect/form_collector.h"
#include "collect/read_ahead.h"
#include "collect/unit_collector.h"

#include <chrono>
#include <exception>
#include <optional>

namespace wordloom {

namespace {

// Files read and parsed ahead of their filing: enough to even out files of different sizes.
constexpr std::size_t kReadAhead = 8;

// How long filed texts may wait for their commit.
constexpr auto kCommitInterval = std::chrono::milliseconds(250);

// Groups the writes of consecutive files into one transaction, committed after a file once the
// interval has passed, and at the end. A file that fails does so before it files anything (it is
// read and converted whole first; failures inside lines are reported and passed over), so a
// failure keeps exactly the files before it, as a transaction per file would, without paying a
// journal write for every file.
class BatchedTransaction {
public:
    explicit BatchedTransaction(StringsTable& table) : m_table(table) {}
    ~BatchedTransaction() {
        if (m_table.InTransaction()) {
            try {
                m_table.Commit();
            } catch (...) { // a destructor must not throw; Finish() reports commit failures
            }
        }
    }
    BatchedTransaction(const BatchedTransaction&) = delete;
    BatchedTransaction& operator=(const BatchedTransaction&) = delete;

    template <class Collect>
    void File(Collect collect) {
        if (!m_table.InTransaction()) {
            m_table.BeginTransaction();
            m_started = std::chrono::steady_clock::now();
        }
        collect();
        if (std::chrono::steady_clock::now() - m_started >= kCommitInterval) {
            m_table.Commit();
        }
    }
    /// Stores the records held by the table's batch and commits what the files before filed.
    void Finish() {
        if (m_table.State() != TableState::Browse) {
            m_table.Cancel();
        }
        m_table.EndBatch();
        if (m_table.InTransaction()) {
            m_table.Commit();
        }
    }

private:
    StringsTable& m_table;
    std::chrono::steady_clock::time_point m_started;
};

// Names in messages: the file's name alone for a file of the project folder.
std::string ShownName(const std::string& path, const std::string& directory) {
    return path.starts_with(directory) ? path.substr(directory.size()) : path;
}

// Lines that failed and files skipped, in one report.
void ReportLeftOut(const CollectSummary& summary, const std::string& directory, CommandHost& host) {
    if (summary.skippedFiles.empty() && summary.lineFailures.empty()) {
        return;
    }
    std::string text;
    if (!summary.skippedFiles.empty()) {
        text = FillIn(WL_TR("Collect", "%1 file(s) could not be read and were skipped."),
                      {std::to_string(summary.skippedFiles.size())});
    }
    if (!summary.lineFailures.empty()) {
        if (!text.empty()) {
            text += '\n';
        }
        text += FillIn(WL_TR("Collect", "%1 line(s) could not be parsed; their texts were not collected."),
                       {std::to_string(summary.lineFailures.size())});
    }
    std::vector<std::string> items;
    items.reserve(summary.skippedFiles.size() + summary.lineFailures.size());
    for (const std::string& skipped : summary.skippedFiles) {
        items.push_back(FillIn(WL_TR("Collect", "Skipped %1"), {skipped}));
    }
    for (const LineFailure& failure : summary.lineFailures) {
        items.push_back(
            FillIn(WL_TR("Collect", "%1 Line %2: Parsing error when parsing String: %3"),
                   {ShownName(failure.path, directory), std::to_string(failure.line), failure.text}));
    }
    host.Report(text, items);
}

} // namespace

CollectSummary RunCollectCommand(StringsTable& table, const ProjectSettings& settings, CommandHost& host,
                                 CollectState& state) {
    return RunCollectCommand(table, settings, host, state, kReadAhead);
}

CollectSummary RunCollectCommand(StringsTable& table, const ProjectSettings& settings, CommandHost& host,
                                 CollectState& state, std::size_t readAhead) {
    CollectSummary summary;
    summary.failure = StartRefusal(settings, {settings.language}, table.Languages());
    if (!summary.failure.empty()) {
        summary.failed = true;
        host.Error(summary.failure);
        return summary;
    }
    const std::string directory = ProjectDirectory(settings.projectPath);
    host.BusyCursor(true);
    host.SetViewAttached(false);
    // The host lives no longer than the command.
    struct NoticeGuard {
        StringsTable& table;
        ~NoticeGuard() { table.SetBusyNotice({}); }
    } noticeGuard{table};
    // No event processing here: the table's engine is in the middle of a call.
    table.SetBusyNotice([&host] {
        host.StatusText(
            WL_TR("Collect", "Waiting for the strings table: another program is writing to it ..."));
    });
    std::optional<CollectContext> context;
    BatchedTransaction transaction(table);
    try {
        table.SetFiltered(false);
        table.SetIndexFieldNames(settings.language);
        context.emplace(CollectContext{table, host, settings.language,
                                       ProjectNameFromPath(settings.projectPath), settings.properties,
                                       CodePage::ForCharset(settings.sourceCharset), state});
        context->proposeDontTranslate = settings.proposeDontTranslate;
        context->dontTranslateRulesOff = settings.dontTranslateRulesOff;
        for (const std::string& language : table.Languages()) {
            if (language != settings.language) {
                context->targets.push_back(language);
            }
        }
        // New records are held and stored together, in key order, at each commit (every
        // kCommitInterval and at the end): a commit always holds whole files, and a record the
        // table refuses is still reported for its line.
        table.BeginBatch();
        bool skipAll = false;
        const auto collectFile = [&](const std::string& name, ReadAhead& reader) {
            ++context->fileNumber;
            // Waited for outside the transaction: the table is not held for a file being read.
            std::unique_ptr<ParsedFile> file = reader.Next();
            try {
                transaction.File([&] {
                    context->occurrences.clear();
                    FileParsed(*context, *file);
                    // In the file's transaction: its texts and where they stand are kept together.
                    table.Side().ReplaceFileOccurrences(context->projectName, name, context->occurrences);
                });
                ++summary.filesRead;
                file->occurrences.swap(context->occurrences); // freed with the file
            } catch (const TableError&) {
                throw;
            } catch (const EngineError& error) {
                PassOver(*context, *file);
                // The file failed before it filed anything (see BatchedTransaction).
                if (!skipAll) {
                    const FileFailureAnswer answer = host.AskSkipFile(name + ": " + error.what());
                    if (answer == FileFailureAnswer::Stop) {
                        throw;
                    }
                    skipAll = answer == FileFailureAnswer::SkipAll;
                }
                summary.skippedFiles.push_back(name + ": " + error.what());
            }
            reader.Recycle(std::move(file));
        };
        const auto cancelled = [&] {
            if (!summary.cancelled && host.CancelRequested()) {
                summary.cancelled = true;
            }
            return summary.cancelled;
        };
        const std::vector<std::string> forms = ListFiles(directory, "*.dfm");
        if (forms.empty()) {
            host.Message(WL_TR("Collect", "No Forms found!"));
        } else {
            // Listed even when left out, so that their earlier rows stay.
            const std::vector<std::string> units = ListFiles(directory, "*.pas");
            const long long total =
                static_cast<long long>(forms.size() + (settings.includePas ? units.size() : 0));
            long long done = 0;
            std::vector<ReadAhead::Job> jobs;
            for (const std::string& name : forms) {
                jobs.push_back({directory + name, ParseFormFile});
            }
            if (settings.includePas) {
                for (const std::string& name : units) {
                    jobs.push_back({directory + name, ParseUnitFile});
                }
            }
            ReadAhead reader(std::move(jobs), ParseInput::Of(*context), readAhead);
            for (const std::string& name : forms) {
                if (cancelled()) {
                    break;
                }
                host.Progress(done++, total, name);
                host.StatusText(FillIn(WL_TR("Collect", "Parsing %1 ..."), {name}));
                host.ProcessPendingEvents();
                collectFile(name, reader);
            }
            if (settings.includePas && !cancelled()) {
                if (units.empty()) {
                    host.Message(WL_TR("Collect", "No Pascal Files found!"));
                }
                for (const std::string& name : units) {
                    if (cancelled()) {
                        break;
                    }
                    host.Progress(done++, total, name);
                    host.StatusText(FillIn(WL_TR("Collect", "Parsing %1 ..."), {name}));
                    collectFile(name, reader);
                }
            }
            if (summary.cancelled) {
                host.StatusText(WL_TR("Collect", "Cancelled"));
            } else {
                host.Progress(total, total, {});
                std::vector<std::string> present = forms;
                present.insert(present.end(), units.begin(), units.end());
                transaction.File([&] { table.Side().DropFilesExcept(context->projectName, present); });
                host.StatusText(WL_TR("Collect", "Finished"));
            }
        }
    } catch (const std::exception& error) {
        summary.failed = true;
        summary.failure = error.what();
    }
    // Closing steps, in every case.
    try {
        transaction.Finish();
        if (context) {
            NoteBatchFailures(*context);
        }
        table.SetFiltered(false);
        // Counted, not taken from the record count: another program may be filing into the table too.
        summary.textsAdded = context ? context->added : 0;
        table.SetIndexFieldNames(settings.translation);
        table.SetRecNo(0);
    } catch (const std::exception& error) {
        if (!summary.failed) {
            summary.failed = true;
            summary.failure = error.what();
        }
    }
    if (context) {
        NoteBatchFailures(*context);
        summary.lineFailures = std::move(context->lineFailures);
    }
    host.ApplyProjectFilter();
    host.SetViewAttached(true);
    host.BusyCursor(false);
    ReportLeftOut(summary, directory, host);
    if (summary.failed) {
        host.Error(summary.failure);
    }
    return summary;
}

} // namespace wordloom
