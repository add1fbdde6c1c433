// What the collectors work with while the Collect command runs.
#pragma once

#include "collect/code_page.h"
#include "collect/command_host.h"
#include "strings_db/strings_table.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace wordloom {

/// State the collectors keep between files and between runs of the command (the window holds one
/// for its life).
struct CollectState {
    /// A brace comment opened in an earlier line (or file, or run) is still open.
    bool inBraceComment = false;
    /// Number of the line last taken from the current file.
    int lineCount = 0;
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
};

/// Files a decoded raw text (UTF-8) under the context's language and project.
void OfferText(CollectContext& context, std::string rawText);

} // namespace wordloom
