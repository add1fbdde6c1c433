// The checks run over a whole strings table: every record's translation into one language, read in
// one pass with its review state, its places (for checks that want them) and the findings the
// translators have dismissed.
#pragma once

#include "qa/check.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace wordloom {
class StringsTable;
}

namespace wordloom::qa {

struct RunOptions {
    /// The language field the texts are filed under; empty: the table's first one.
    std::string sourceLang;
    /// Where to look for spelling dictionaries; empty: the system's folders.
    std::vector<std::string> dictionaryFolders;
    /// Report dismissed findings too (they are counted either way).
    bool includeDismissed = false;
    /// The forms the texts were collected from and the measure of caption widths, for the checks
    /// on forms (see CheckSetup); the caller keeps both for the run.
    FormFiles* forms = nullptr;
    TextMeasure* measure = nullptr;
};

struct RunResult {
    std::vector<Finding> findings;    ///< in record order, a record's findings in check order
    std::vector<std::string> notices; ///< what was not checked and why
    std::size_t records = 0;          ///< the records looked at
    std::size_t dismissed = 0;        ///< findings left out as dismissed

    bool HasErrors() const;
};

/// The checks made once for one source and target language, shown translations one at a time (as
/// the window does when a translation is posted).
class Checker {
public:
    /// Makes each check; what they cannot do (no dictionary) is in Notices().
    Checker(const std::vector<const CheckInfo*>& checks, CheckSetup setup);
    /// The findings of every check on one translation.
    std::vector<Finding> Inspect(const CheckContext& context);
    const std::vector<std::string>& Notices() const { return m_notices; }

private:
    std::vector<std::string> m_notices;
    std::vector<std::unique_ptr<Check>> m_checks;
};

/// Runs `checks` on the translations into `target` of the records of `project` (those that list
/// it in their Project field; every record when empty) in `table`. A text filed twice with the
/// same translation is reported once. Throws DbError when `target` or the source language is not a
/// language field of the table, or the table cannot be read.
RunResult RunChecks(StringsTable& table, const std::string& target, const std::string& project,
                    const std::vector<const CheckInfo*>& checks, const RunOptions& options = {});

/// Sets a finding aside for its translation (until the translation changes).
void DismissFinding(StringsTable& table, const Finding& finding);

} // namespace wordloom::qa
