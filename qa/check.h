// The checks and their registry. A check is made for one run (one source and one target language)
// and then shown every translation of it; what it finds goes to a FindingSink. Every check has an
// id (used on the command line, in dismissals and in the output) and a default severity.
#pragma once

#include "qa/check_context.h"
#include "qa/finding.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom::qa {

class FormFiles;
class TextMeasure;

/// Collects the findings of a run; a check adds to it through Report.
class FindingSink {
public:
    explicit FindingSink(std::vector<Finding>& out) : m_out(out) {}

    /// Adds a finding about the record of `context`.
    void Report(std::string_view check, Severity severity, const CheckContext& context, std::string message,
                std::string hint = {});
    /// Adds a finding made by the caller (a check that compares several records).
    void Add(Finding finding) { m_out.push_back(std::move(finding)); }

private:
    std::vector<Finding>& m_out;
};

/// What a check may need to be set up for a run. A check that cannot work (no dictionary for the
/// language, say) adds a line to `notices` and finds nothing.
struct CheckSetup {
    std::string sourceLang;
    std::string targetLang;
    /// Words the user has accepted for the target language (the table's user word list).
    std::vector<std::string> userWords;
    /// Folders searched for Hunspell dictionaries (empty: the system's).
    std::vector<std::string> dictionaryFolders;
    /// Filled by the checks: what was skipped and why, shown to the user.
    std::vector<std::string>* notices = nullptr;
    /// The forms the texts were collected from, read once each for the run; nullptr: the checks
    /// that look at forms say so in a notice and find nothing.
    FormFiles* forms = nullptr;
    /// Text widths for the truncation check; nullptr: estimated, with a notice.
    TextMeasure* measure = nullptr;
    /// The translation into targetLang of another text filed under sourceLang ("" when it has
    /// none), for checks that compare a text with its neighbours in the form. Unset: a neighbour
    /// not in the run counts as untranslated.
    std::function<std::string(std::string_view text)> translationOf = {};

    void Notice(std::string text) const {
        if (notices)
            notices->push_back(std::move(text));
    }
};

class Check {
public:
    virtual ~Check() = default;
    /// Looks at one translation; called for every record of the run with a non-empty source.
    virtual void Inspect(const CheckContext& context, FindingSink& sink) = 0;
    /// After the last record: what only the whole run shows (texts compared with each other).
    virtual void Finish(FindingSink&) {}
};

/// A check the registry knows.
struct CheckInfo {
    std::string id; ///< short, lower case, "-" separated ("accelerator-count")
    Severity severity = Severity::Warning;
    std::string title; ///< one line for lists and --help, in English (translated when shown)
    /// Makes the check for one run; `severity` is what its findings carry.
    std::function<std::unique_ptr<Check>(const CheckSetup& setup, Severity severity)> make;
    /// The whole-table run reads where each text was collected only for checks that ask for it.
    bool usesOccurrences = false;
};

class CheckRegistry {
public:
    /// Adds a check; throws std::invalid_argument when its id is taken or empty.
    void Add(CheckInfo info);
    /// In the order added.
    const std::vector<CheckInfo>& Checks() const { return m_checks; }
    /// nullptr for an unknown id.
    const CheckInfo* Find(std::string_view id) const;
    /// The checks named by `ids` (every check when `ids` is empty), in registry order; throws
    /// std::invalid_argument naming the first unknown id.
    std::vector<const CheckInfo*> Select(const std::vector<std::string>& ids) const;

    /// Every check of this build.
    static const CheckRegistry& Standard();

private:
    std::vector<CheckInfo> m_checks;
};

/// The checks on the texts alone (qa/string_checks.cpp).
void AddStringChecks(CheckRegistry& registry);

} // namespace wordloom::qa
