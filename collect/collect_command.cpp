#include "collect/collect_command.h"

#include "collect/form_collector.h"
#include "collect/source_file.h"
#include "collect/ui_text.h"
#include "collect/unit_collector.h"

#include <chrono>
#include <exception>

namespace wordloom {

namespace {

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
    /// Commits what the files before filed.
    void Finish() {
        if (m_table.State() != TableState::Browse) {
            m_table.Cancel();
        }
        if (m_table.InTransaction()) {
            m_table.Commit();
        }
    }

private:
    StringsTable& m_table;
    std::chrono::steady_clock::time_point m_started;
};

} // namespace

CollectSummary RunCollectCommand(StringsTable& table, const ProjectSettings& settings, CommandHost& host,
                                 CollectState& state) {
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
    int countBefore = -1;
    BatchedTransaction transaction(table);
    try {
        table.SetFiltered(false);
        countBefore = table.RecordCount();
        table.SetIndexFieldNames(settings.language);
        CollectContext context{table,
                               host,
                               settings.language,
                               ProjectNameFromPath(settings.projectPath),
                               settings.properties,
                               CodePage::ForCharset(settings.sourceCharset),
                               state};
        context.offered.reserve(4096);
        const std::vector<std::string> forms = ListFiles(directory, "*.dfm");
        if (forms.empty()) {
            host.Message(WL_TR("Collect", "No Forms found!"));
        } else {
            for (const std::string& name : forms) {
                host.StatusText(FillIn(WL_TR("Collect", "Parsing %1 ..."), {name}));
                host.ProcessPendingEvents();
                transaction.File([&] { CollectFormFile(context, directory + name); });
                ++summary.filesRead;
            }
            if (settings.includePas) {
                const std::vector<std::string> units = ListFiles(directory, "*.pas");
                if (units.empty()) {
                    host.Message(WL_TR("Collect", "No Pascal Files found!"));
                }
                for (const std::string& name : units) {
                    host.StatusText(FillIn(WL_TR("Collect", "Parsing %1 ..."), {name}));
                    transaction.File([&] { CollectUnitFile(context, directory + name); });
                    ++summary.filesRead;
                }
            }
            host.StatusText(WL_TR("Collect", "Finished"));
        }
    } catch (const std::exception& error) {
        summary.failed = true;
        summary.failure = error.what();
    }
    // Closing steps, in every case.
    try {
        transaction.Finish();
        table.SetFiltered(false);
        if (countBefore >= 0) {
            summary.textsAdded = table.RecordCount() - countBefore;
        }
        table.SetIndexFieldNames(settings.translation);
        table.SetRecNo(0);
    } catch (const std::exception& error) {
        if (!summary.failed) {
            summary.failed = true;
            summary.failure = error.what();
        }
    }
    host.ApplyProjectFilter();
    host.SetViewAttached(true);
    host.BusyCursor(false);
    if (summary.failed) {
        host.Error(summary.failure);
    }
    return summary;
}

} // namespace wordloom
