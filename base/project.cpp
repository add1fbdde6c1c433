#include "base/project.h"

#include "base/file_io.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace wordloom {

std::string ProjectDirectory(const std::string& projectPath) {
    // The established rule for a path without any folder. The front ends make relative paths
    // absolute, so only an empty path comes here, and the commands refuse that.
    return projectPath.find('/') == std::string::npos ? "/" : DirectoryOf(projectPath);
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
