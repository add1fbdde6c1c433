// What the collectors work with while the Collect command runs.
#pragma once

#include "base/command_host.h"
#include "collect/text_set.h"
#include "forms/code_page.h"
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"

#include <string>
#include <string_view>
#include <utility>
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

/// Where a text stands: the line reported should its record be refused.
struct TextOrigin {
    const std::string& path;
    std::string_view line; ///< as the collector reports a failed line, in `codePage`
    const CodePage& codePage;
    std::string_view component = {}; ///< component path or unit name (where used)
    std::string_view property = {};  ///< property name; empty in units
    int lineNumber = 0;              ///< where the text begins; 0: the line last taken
};

/// A TextOrigin kept until the batch holding its record is stored.
struct PendingOrigin {
    std::size_t path = 0; ///< in CollectContext::originPaths
    int fileNumber = 0;
    int line = 0;
    std::string text;
    const CodePage* codePage = nullptr;
};

struct CollectContext {
    StringsTable& table;
    CommandHost& host;
    std::string language;                ///< field the texts are filed under
    std::string projectName;             ///< Project of new records
    std::vector<std::string> properties; ///< searched form properties, in list order
    const CodePage& codePage;            ///< code page of the sources
    CollectState& state;
    /// Texts (as the filing rule prepares them) already given to AddString in this run: a second
    /// offer of the same text finds its record anyway, so it is spared the key search (real
    /// projects repeat "OK" and "Cancel" hundreds of times).
    TextSet offered = {};
    /// Texts offered before but not filed (the table refused them, or their line was passed over):
    /// a text FileHints::metBefore says was met already is looked up again only when here.
    TextSet retry = {};
    /// Records created.
    int added = 0;
    /// Lines that failed, in the order met.
    std::vector<LineFailure> lineFailures = {};
    /// Files begun, counted by the command; orders the failures found when a batch is stored.
    int fileNumber = 0;
    /// (fileNumber, line) of each entry of lineFailures.
    std::vector<std::pair<int, int>> failurePlaces = {};
    /// Inside a batch of the table: where each record posted came from, by post number.
    std::vector<PendingOrigin> origins = {};
    std::vector<std::string> originPaths = {};
    /// Where the texts of the current file stand, stored when the file is done.
    std::vector<Occurrence> occurrences = {};
    /// Rules not to propose "don't translate" by; `proposeDontTranslate` off: none at all.
    bool proposeDontTranslate = true;
    std::vector<std::string> dontTranslateRulesOff = {};
    /// The languages a new record's proposals are made for (every language but `language`).
    std::vector<std::string> targets = {};
};

/// Notes that line state.lineCount of `path` failed; `text` is the line as shown to the user.
void NoteLineFailure(CollectContext& context, const std::string& path, std::string text);

/// Files a decoded raw text (UTF-8) under the context's language and project, by the filing rule.
void OfferText(CollectContext& context, std::string_view rawText, const TextOrigin& origin);

/// What a parse found out about a text ahead of its filing.
struct FileHints {
    /// Offered earlier in this run (every text met before was offered before it, in order).
    bool metBefore = false;
};

/// Files a text the filing rule already prepared: `occurrence` (its text the text as filed) is
/// where it stands; origin.lineNumber is not used.
void FileText(CollectContext& context, Occurrence&& occurrence, long long spFront, long long spEnd,
              const TextOrigin& origin, const FileHints& hints = {});

/// Takes the records the table refused when it stored its batch and reports each as a failure of
/// its line, among the other failures in file and line order (one entry per line).
void NoteBatchFailures(CollectContext& context);

} // namespace wordloom
