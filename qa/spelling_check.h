// Spelling of translations with Hunspell. The dictionary is chosen by the target language field's
// name ("German" -> de_DE, or a field named like a locale, "de_DE"); without one the check finds
// nothing and says so once.
#pragma once

#include <string>
#include <vector>

namespace wordloom::qa {

class CheckRegistry;

/// The dictionary names ("de_DE", "de_AT", ...) tried for a language field, most likely first.
std::vector<std::string> DictionaryNames(const std::string& languageField);
/// The folders searched for dictionaries when the run names none: those of $DICPATH, then the
/// system's.
std::vector<std::string> DefaultDictionaryFolders();
/// The path of the .dic file (beside it the .aff) for a language field; empty when none is found.
std::string FindDictionary(const std::string& languageField, const std::vector<std::string>& folders);

/// Adds the "spelling" check.
void AddSpellingCheck(CheckRegistry& registry);

} // namespace wordloom::qa
