#include "qa/form_files.h"

#include "base/errors.h"
#include "base/project.h"
#include "base/source_file.h"
#include "forms/code_page.h"

namespace wordloom::qa {

FormFiles::FormFiles(std::map<std::string, std::string, std::less<>> projectFolders, const CodePage& codePage)
    : m_folders(std::move(projectFolders)), m_codePage(codePage) {}

FormFiles::~FormFiles() = default;

std::unique_ptr<FormFiles> FormFiles::ForProject(const std::string& projectPath, int sourceCharset) {
    return std::make_unique<FormFiles>(
        std::map<std::string, std::string, std::less<>>{
            {ProjectNameFromPath(projectPath), ProjectDirectory(projectPath)}},
        CodePage::ForCharset(sourceCharset));
}

bool FormFiles::IsFormFile(std::string_view file) {
    return WildcardMatch("*.dfm", file);
}

const FormLayout* FormFiles::Layout(std::string_view project, std::string_view file) {
    const auto key = std::make_pair(std::string(project), std::string(file));
    auto found = m_layouts.find(key);
    if (found == m_layouts.end()) {
        const auto folder = m_folders.find(project);
        if (folder == m_folders.end() || !IsFormFile(file))
            return nullptr;
        std::string path = folder->second;
        if (!path.empty() && path.back() != '/')
            path += '/';
        path += file;
        std::optional<FormLayout> layout;
        try {
            ++m_filesRead;
            layout = FormLayout::Read(ReadSourceFile(path), m_codePage);
        } catch (const EngineError& error) {
            m_failures.push_back(path + ": " + error.what());
        }
        found = m_layouts.emplace(key, std::move(layout)).first;
    }
    return found->second ? &*found->second : nullptr;
}

} // namespace wordloom::qa
