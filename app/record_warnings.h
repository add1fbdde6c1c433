// The findings of the quality checks on the translations the grid shows, kept in memory per text
// for one pair of languages: what the warning mark beside a row and its tooltip show, and what the
// "With warnings" filter lets through.
#pragma once

#include "qa/finding.h"

#include <QString>
#include <string>
#include <unordered_map>
#include <vector>

namespace wordloom {

class RecordWarnings {
public:
    /// The languages the findings are about; another pair forgets them all.
    void SetPair(const std::string& lang, const std::string& target);
    const std::string& Lang() const { return m_lang; }
    const std::string& Target() const { return m_target; }

    /// The findings on the translation of `text` (none: the text has no mark).
    void Set(const std::string& text, std::vector<qa::Finding> findings);
    /// Replaces every finding by those of a whole run.
    void SetAll(const std::vector<qa::Finding>& findings);
    void Clear() { m_byText.clear(); }

    /// Null when the text has no findings.
    const std::vector<qa::Finding>* Of(const std::string& text) const;
    bool Empty() const { return m_byText.empty(); }
    /// The texts with findings.
    std::size_t Texts() const { return m_byText.size(); }

private:
    std::string m_lang;
    std::string m_target;
    std::unordered_map<std::string, std::vector<qa::Finding>> m_byText;
};

/// One line per finding: its message and, after a dash, the hint.
QString WarningsTooltip(const std::vector<qa::Finding>& findings);

} // namespace wordloom
