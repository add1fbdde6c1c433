// What `wordloom-cli check` hands the checks on forms: the project's forms when --project names its
// .dpr file, and the text measure (the Qt module, or the estimate) when the truncation check runs.
#pragma once

#include "cli/text_measure_loader.h"
#include "qa/check.h"
#include "qa/form_files.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wordloom::cli {

class CheckForms {
public:
    /// `project` as given to --project: a project name (no forms then) or a path ending in ".dpr"
    /// (its folder holds the forms). `charset`: the sources' character set, as collected.
    CheckForms(const std::string& project, int charset, const std::vector<const qa::CheckInfo*>& checks);

    /// The project name the records are filed under.
    const std::string& ProjectName() const { return m_name; }
    /// nullptr when --project named no project file.
    qa::FormFiles* Forms() { return m_forms.get(); }
    /// nullptr when the truncation check does not run or there are no forms.
    qa::TextMeasure* Measure() { return m_measure ? &m_measure->Measure() : nullptr; }

private:
    std::string m_name;
    std::unique_ptr<qa::FormFiles> m_forms;
    std::optional<LoadedTextMeasure> m_measure;
};

} // namespace wordloom::cli
