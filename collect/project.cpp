#include "collect/project.h"

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

} // namespace wordloom
