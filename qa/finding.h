// What a quality check reports about one translation: which check, how bad, what is wrong and how
// to put it right, and the record it is about.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wordloom::qa {

/// How bad a finding is. An error breaks the translated program (a Format raising at run time, a
/// menu item out of reach); a warning is likely wrong; info is worth a look.
enum class Severity { Error, Warning, Info };

/// The stored and printed name of a severity ("error", "warning", "info").
std::string_view SeverityName(Severity severity);
/// The severity of such a name; nullopt for an unknown one.
std::optional<Severity> ParseSeverity(std::string_view name);

struct Finding {
    std::string check; ///< the id of the check that found it (CheckInfo::id)
    Severity severity = Severity::Warning;
    std::string message; ///< names the problem, in the user's language
    std::string hint;    ///< how to fix it; empty when there is nothing to suggest

    // The record it is about: the text filed under `lang` and its translation into `target`.
    std::string lang;
    std::string text;
    std::string target;
    std::string translation;

    bool operator==(const Finding&) const = default;
};

} // namespace wordloom::qa
