#include "collect/collect_command.h"

#include "collect/form_collector.h"
#include "collect/source_file.h"
#include "collect/unit_collector.h"

#include <exception>

namespace wordloom {

namespace {

template <class Collect>
void CollectInTransaction(StringsTable& table, Collect collect) {
    // One transaction per file: fast, and a failure keeps what earlier files filed.
    StringsTable::Transaction transaction(table);
    collect();
    transaction.Commit();
}

} // namespace

CollectSummary RunCollectCommand(StringsTable& table, const ProjectSettings& settings, CommandHost& host,
                                 CollectState& state) {
    CollectSummary summary;
    const std::string directory = ProjectDirectory(settings.projectPath);
    host.BusyCursor(true);
    host.SetViewAttached(false);
    int countBefore = -1;
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
        const std::vector<std::string> forms = ListFiles(directory, "*.dfm");
        if (forms.empty()) {
            host.Message("No Forms found!");
        } else {
            for (const std::string& name : forms) {
                host.StatusText("Parsing " + name + " ...");
                host.ProcessPendingEvents();
                CollectInTransaction(table, [&] { CollectFormFile(context, directory + name); });
                ++summary.filesRead;
            }
            if (settings.includePas) {
                const std::vector<std::string> units = ListFiles(directory, "*.pas");
                if (units.empty()) {
                    host.Message("No Pascal Files found!");
                }
                for (const std::string& name : units) {
                    host.StatusText("Parsing " + name + " ...");
                    CollectInTransaction(table, [&] { CollectUnitFile(context, directory + name); });
                    ++summary.filesRead;
                }
            }
            host.StatusText("Finished");
        }
    } catch (const std::exception& error) {
        summary.failed = true;
        summary.failure = error.what();
    }
    // Closing steps, in every case.
    try {
        if (table.State() != TableState::Browse) {
            table.Cancel();
        }
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
