// The Translate command: after the user's confirmation, rewrites the project's form files and
// (optionally) unit sources so that every text with a translation carries the target language.
#pragma once

#include "base/command_host.h"
#include "base/project.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wordloom {

class RunJournal;
class StringsTable;

/// How translated form files are stored: always in the binary form, or each in the form it had.
enum class FormFormat { Binary, Keep };

/// "binary" or "keep"; nothing else.
const char* FormFormatName(FormFormat format);
/// Reads FormFormatName's words; false for anything else.
bool ParseFormFormat(const std::string& name, FormFormat& format);

struct TranslateOptions {
    FormFormat formFormat = FormFormat::Binary;
    /// Works out what the run would do and changes nothing: no question, no file, no backup.
    bool dryRun = false;
    /// Each changed file's text before and after is kept in the summary (forms in text form).
    bool keepTexts = false;
    /// Where the run is recorded (its originals go to the project's run store); none: not recorded.
    RunJournal* journal = nullptr;
};

/// A file the run changes (or, in a dry run, would change).
struct ChangedFile {
    std::string name; ///< relative to the project folder
    bool form = false;
    int textsReplaced = 0;
    /// With keepTexts only, UTF-8 decoded from the sources' code page: the text as it was (a form in
    /// text form) ...
    std::string before;
    std::string after; ///< ... and as it is written (a form in text form)
};

/// What a Translate run did.
struct TranslateSummary {
    bool confirmed = false;                     ///< the user answered the question with OK
    int formFilesTranslated = 0;                ///< form files rewritten (each has its backup)
    int unitFilesTranslated = 0;                ///< unit sources rewritten (each has its backup)
    int textsReplaced = 0;                      ///< form values and unit literals replaced
    long long bytesRead = 0;                    ///< size of the files rewritten, before the rewrite
    bool failed = false;                        ///< the run ended on a failure: no file was changed
    bool cancelled = false;                     ///< the host asked to stop before any file was changed
    std::string failure;                        ///< the message that reported it
    std::vector<ChangedFile> changed;           ///< files rewritten (would be, in a dry run)
    std::vector<std::string> unchanged;         ///< files read that needed no change
    std::vector<std::string> untranslatedTexts; ///< texts met without a translation, each once
    std::int64_t runId = 0;                     ///< the journal's record of the run (0: none)
};

/// The question asked before anything is changed.
std::string TranslateQuestion(const ProjectSettings& settings);

/// Refuses to start, with an error and before asking, when the project file is missing or a field
/// it is given is not a language (StartRefusal). With a journal, first repairs runs of the project
/// that were killed (RecoverInterruptedRuns). Asks the question; on OK detaches the view, switches
/// the table's filter off, orders it by the project language's field, and works out the new content
/// of the form files and, when `includePas`, the unit sources. All or nothing: a file that fails
/// (it cannot be read, locked or replaced, or a translation cannot be written) stops the run before
/// any file is touched (forms: the parsing-error text as a message; units: the failure's own text,
/// as an error). Files whose content stays are neither rewritten nor backed up. The others are
/// replaced together with their backups; a failure while they are put in place puts every file
/// back. The host may cancel between files (CancelRequested) until the replacing starts: no file
/// is changed then; the replacing itself always goes to its end. Progress is told per file. Finally
/// reattaches the view and re-applies the project filter, whatever happened.
TranslateSummary RunTranslateCommand(StringsTable& table, const ProjectSettings& settings, CommandHost& host,
                                     const TranslateOptions& options = {});

} // namespace wordloom
