#include "base/project.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace wordloom {

std::string ProjectDirectory(const std::string& projectPath) {
    const size_t slash = projectPath.rfind('/');
    if (slash == std::string::npos) {
        return "/";
    }
    // "a//b.dpr" and "/b.dpr": the separators before the name belong to neither part.
    size_t end = slash;
    while (end > 0 && projectPath[end - 1] == '/') {
        --end;
    }
    return projectPath.substr(0, end) + "/";
}

std::string ProjectNameFromPath(const std::string& projectPath) {
    const size_t slash = projectPath.rfind('/');
    std::string name = slash == std::string::npos ? projectPath : projectPath.substr(slash + 1);
    const size_t dot = name.find('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return name;
}

std::string StartRefusal(const ProjectSettings& settings, const std::vector<std::string>& fields,
                         const std::vector<std::string>& languages) {
    // A mistyped path is a folder without forms (or the root folder): say so before anything else.
    std::error_code error;
    if (settings.projectPath.empty()) {
        return "No project file is given.";
    }
    if (!std::filesystem::is_regular_file(settings.projectPath, error)) {
        return "The project file " + settings.projectPath + " could not be found.";
    }
    for (const std::string& field : fields) {
        if (std::find(languages.begin(), languages.end(), field) == languages.end()) {
            return "\"" + field + "\" is not a language of the strings table.";
        }
    }
    return {};
}

} // namespace wordloom
