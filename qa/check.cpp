#include "qa/check.h"
#include "qa/form_checks.h"
#include "qa/spelling_check.h"

#include "base/ui_text.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <utility>

namespace wordloom::qa {

namespace {

constexpr std::array<std::pair<Severity, std::string_view>, 3> kSeverityNames{{
    {Severity::Error, "error"},
    {Severity::Warning, "warning"},
    {Severity::Info, "info"},
}};

} // namespace

std::string_view SeverityName(Severity severity) {
    for (const auto& [value, name] : kSeverityNames)
        if (value == severity)
            return name;
    return "warning";
}

std::optional<Severity> ParseSeverity(std::string_view name) {
    for (const auto& [value, known] : kSeverityNames)
        if (known == name)
            return value;
    return std::nullopt;
}

void FindingSink::Report(std::string_view check, Severity severity, const CheckContext& context,
                         std::string message, std::string hint) {
    m_out.push_back(Finding{std::string(check), severity, std::move(message), std::move(hint),
                            std::string(context.sourceLang), std::string(context.source),
                            std::string(context.targetLang), std::string(context.translation)});
}

void CheckRegistry::Add(CheckInfo info) {
    if (info.id.empty() || Find(info.id))
        throw std::invalid_argument("check id taken or empty: \"" + info.id + "\"");
    m_checks.push_back(std::move(info));
}

const CheckInfo* CheckRegistry::Find(std::string_view id) const {
    const auto found =
        std::find_if(m_checks.begin(), m_checks.end(), [id](const CheckInfo& info) { return info.id == id; });
    return found == m_checks.end() ? nullptr : &*found;
}

std::vector<const CheckInfo*> CheckRegistry::Select(const std::vector<std::string>& ids) const {
    for (const std::string& id : ids)
        if (!Find(id))
            throw std::invalid_argument(FillIn(WL_TR("qa", "Unknown check: %1"), {id}));
    std::vector<const CheckInfo*> chosen;
    for (const CheckInfo& info : m_checks)
        if (ids.empty() || std::find(ids.begin(), ids.end(), info.id) != ids.end())
            chosen.push_back(&info);
    return chosen;
}

const CheckRegistry& CheckRegistry::Standard() {
    static const CheckRegistry registry = [] {
        CheckRegistry made;
        AddStringChecks(made);
        AddSpellingCheck(made);
        AddFormChecks(made);
        return made;
    }();
    return registry;
}

} // namespace wordloom::qa
