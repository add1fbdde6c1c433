#include "cli/check_forms.h"

#include "base/project.h"
#include "base/source_file.h"

#include <algorithm>
#include <filesystem>

namespace wordloom::cli {

CheckForms::CheckForms(const std::string& project, int charset,
                       const std::vector<const qa::CheckInfo*>& checks) {
    if (!WildcardMatch("*.dpr", project)) {
        m_name = project;
        return;
    }
    // A relative path means the working folder, as for collect and translate.
    const std::string path = std::filesystem::absolute(project).lexically_normal().string();
    m_name = ProjectNameFromPath(path);
    m_forms = qa::FormFiles::ForProject(path, charset);
    // Starting Qt costs a good part of a second: only for the check that measures.
    if (std::any_of(checks.begin(), checks.end(),
                    [](const qa::CheckInfo* info) { return info->id == "truncation"; }))
        m_measure.emplace(LoadTextMeasure());
}

} // namespace wordloom::cli
