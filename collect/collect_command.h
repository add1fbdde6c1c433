// The Collect Strings command without its window: every step, status text and message, talking to
// the user only through the host.
#pragma once

#include "base/command_host.h"
#include "base/project.h"
#include "collect/collect_context.h"
#include "strings_db/strings_table.h"

#include <cstddef>
#include <string>
#include <vector>

namespace wordloom {

struct CollectSummary {
    int filesRead = 0;      ///< form and unit files collected to their end
    int textsAdded = 0;     ///< records created
    bool failed = false;    ///< a failure ended the command early (already shown through the host)
    bool cancelled = false; ///< the host asked to stop; the files before were kept
    std::string failure;    ///< its text
    std::vector<std::string> skippedFiles; ///< "name: reason" of each file the host chose to skip
    std::vector<LineFailure> lineFailures; ///< lines that could not be read, in the order met
};

/// Collects the forms and (settings.includePas) units of the project directory into the table
/// under settings.language. Files are committed in groups; a failure keeps every file before it. Ends with
/// the table ordered by settings.translation at record 0, the project filter applied, the view attached and
/// the cursor restored, also after a failure. A file that cannot be read or converted is offered to the
/// host for skipping (host.AskSkipFile); lines that failed and files skipped are shown together in one
/// host.Report() at the end; a failure that ends the command (a file not skipped, a table that cannot be
/// used) is shown with host.Error(). Where each text stands is recorded per file (SideStore
/// occurrences, replacing the file's earlier rows); after a run to the end, the rows of files no
/// longer in the folder go. New records that a rule takes for something other than prose get a
/// "don't translate" suggestion. The host may cancel between files (CancelRequested): the files
/// done so far are kept.
CollectSummary RunCollectCommand(StringsTable& table, const ProjectSettings& settings, CommandHost& host,
                                 CollectState& state);

/// As above, with `readAhead` files read and parsed ahead of their filing on a worker thread (the
/// host and the table are only ever used from the calling thread); 0 reads each file on the
/// calling thread when its turn comes. The outcome is the same either way.
CollectSummary RunCollectCommand(StringsTable& table, const ProjectSettings& settings, CommandHost& host,
                                 CollectState& state, std::size_t readAhead);

} // namespace wordloom
