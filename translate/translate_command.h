// The Translate command: after the user's confirmation, rewrites the project's form files and
// (optionally) unit sources so that every text with a translation carries the target language.
#pragma once

#include "base/command_host.h"
#include "base/project.h"

#include <string>

namespace wordloom {

class StringsTable;

/// What a Translate run did.
struct TranslateSummary {
    bool confirmed = false;      ///< the user answered the question with OK
    int formFilesTranslated = 0; ///< form files rewritten (each has its backup)
    int unitFilesTranslated = 0; ///< unit sources rewritten (each has its backup)
    int textsReplaced = 0;       ///< form values and unit literals replaced
    long long bytesRead = 0;     ///< size of the files rewritten, before the rewrite
    bool failed = false;         ///< a pass ended on a failure
    std::string failure;         ///< the message that reported it
};

/// The question asked before anything is changed.
std::string TranslateQuestion(const ProjectSettings& settings);

/// Refuses to start, with an error and before asking, when the project file is missing or a field
/// it is given is not a language (StartRefusal). Asks the question; on OK detaches the view, switches the
/// table's filter off, orders it by the project language's field, rewrites the form files and, when
/// `includePas`, the unit sources, and finally reattaches the view and re-applies the project filter,
/// whatever happened. A file that fails ends its pass with a message (forms: the parsing-error text; units:
/// the failure's own text, as an error); files before it stay translated, it and the files after it
/// untouched.
TranslateSummary RunTranslateCommand(StringsTable& table, const ProjectSettings& settings, CommandHost& host);

} // namespace wordloom
