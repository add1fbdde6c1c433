// The checks run again on the translations a bulk command changed (Pre-translate, an import), so
// that the warning marks the grid shows are those of the translations it holds now.
#pragma once

#include "qa/finding.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace wordloom {

class StringsTable;

namespace qa {
class Checker;
}

/// The checks a posted translation gets (every check, without the forms), for (lang → target); the
/// table gives the user's words. What they cannot do (no dictionary) is in the checker's Notices().
std::unique_ptr<qa::Checker> MakeTranslationChecker(StringsTable& table, const std::string& lang,
                                                    const std::string& target);

/// A text and the findings on its translation now (empty: no mark any more).
using TextFindings = std::pair<std::string, std::vector<qa::Finding>>;

/// The findings of `checker` on the translations into `target` of `texts` (filed under `lang`) as
/// the table holds them, findings dismissed for that very translation left out. Every text of
/// `texts` still in the table gets one entry; a text filed twice is checked once. One pass over
/// the table, so it suits thousands of texts.
std::vector<TextFindings> CheckTexts(StringsTable& table, qa::Checker& checker, const std::string& lang,
                                     const std::string& target, const std::vector<std::string>& texts);

} // namespace wordloom
