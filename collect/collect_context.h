// What the collectors work with while the Collect command runs.
#pragma once

#include "base/command_host.h"
#include "forms/code_page.h"
#include "strings_db/strings_table.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace wordloom {

/// State the collectors keep while the command runs (the window holds one for its life).
struct CollectState {
    /// Number of the line last taken from the current file.
    int lineCount = 0;
};

/// A source line the collectors could not read; reported all together when the command ends.
struct LineFailure {
    std::string path;
    int line = 0;
    std::string text; ///< the line, trimmed, as UTF-8
};

struct CollectContext {
    StringsTable& table;
    CommandHost& host;
    std::string language;                ///< field the texts are filed under
    std::string projectName;             ///< Project of new records
    std::vector<std::string> properties; ///< searched form properties, in list order
    const CodePage& codePage;            ///< code page of the sources
    CollectState& state;
    /// Texts (trimmed as AddString trims them) already given to AddString in this run: a second
    /// offer of the same text finds its record anyway, so it is spared the key search (real
    /// projects repeat "OK" and "Cancel" hundreds of times).
    std::unordered_set<std::string> offered = {};
    /// Records created.
    int added = 0;
    /// Lines that failed, in the order met.
    std::vector<LineFailure> lineFailures = {};
};

/// Notes that line state.lineCount of `path` failed; `text` is the line as shown to the user.
void NoteLineFailure(CollectContext& context, const std::string& path, std::string text);

/// Files a decoded raw text (UTF-8) under the context's language and project.
void OfferText(CollectContext& context, std::string rawText);

} // namespace wordloom
