#include "qa/form_files.h"

#include "qa/form_inheritance.h"

#include "base/errors.h"
#include "base/file_io.h"
#include "base/project.h"
#include "base/source_file.h"
#include "forms/code_page.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace wordloom::qa {

namespace {

// Deeper than any real chain of forms; a longer one is taken to be a fault in the project.
constexpr int kMaxInheritance = 16;

std::string Joined(const std::string& folder, std::string_view file) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += file;
    return path;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// The first bytes of a file: enough for the root of a form, text or binary.
std::string FileHead(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(1024, '\0');
    in.read(head.data(), std::streamsize(head.size()));
    head.resize(std::size_t(in.gcount()));
    return head;
}

} // namespace

FormFiles::FormFiles(std::map<std::string, std::string, std::less<>> projectFolders, const CodePage& codePage)
    : m_folders(std::move(projectFolders)), m_codePage(codePage) {}

FormFiles::~FormFiles() = default;

std::unique_ptr<FormFiles> FormFiles::ForProject(const std::string& projectPath, int sourceCharset) {
    const std::string folder = ProjectDirectory(projectPath);
    auto files = std::make_unique<FormFiles>(
        std::map<std::string, std::string, std::less<>>{{ProjectNameFromPath(projectPath), folder}},
        CodePage::ForCharset(sourceCharset));
    // Units kept elsewhere (a shared base form, say) are named in the project file.
    std::string source;
    try {
        source = ReadSourceFile(projectPath);
    } catch (const EngineError&) {
        return files; // the project file itself is not needed to check its forms
    }
    for (const std::string& unit : ProjectUnitPaths(source)) {
        const std::filesystem::path path = std::filesystem::path(folder) / unit;
        files->AddSearchFolder(path.parent_path().lexically_normal().string());
    }
    return files;
}

void FormFiles::AddSearchFolder(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    for (const auto& [project, known] : m_folders)
        if (std::filesystem::path(known).lexically_normal() ==
            std::filesystem::path(folder).lexically_normal())
            return;
    if (std::find(m_searchFolders.begin(), m_searchFolders.end(), folder) != m_searchFolders.end())
        return;
    m_searchFolders.push_back(std::move(folder));
    m_indexed = false;
    m_descendants.reset();
}

bool FormFiles::IsFormFile(std::string_view file) {
    return WildcardMatch("*.dfm", file);
}

std::string FormFiles::FullPath(std::string_view project, std::string_view file) const {
    const auto folder = m_folders.find(project);
    if (folder == m_folders.end() || !IsFormFile(file))
        return {};
    return Joined(folder->second, file);
}

const FormLayout* FormFiles::Layout(std::string_view project, std::string_view file) {
    const std::string path = FullPath(project, file);
    return path.empty() ? nullptr : Resolve(path, 0);
}

const FormLayout* FormFiles::Resolve(const std::string& path, int depth) {
    if (const auto found = m_layouts.find(path); found != m_layouts.end())
        return found->second ? &*found->second : nullptr;
    if (depth > kMaxInheritance || m_resolving.count(path))
        return nullptr;
    std::optional<FormLayout> layout;
    try {
        ++m_filesRead;
        layout = FormLayout::Read(ReadSourceFile(path), m_codePage);
    } catch (const EngineError& error) {
        m_failures.push_back(path + ": " + error.what());
    }
    if (layout && (layout->Inherited() || layout->HasInlineFrames())) {
        m_resolving.insert(path);
        const FormLayout* ancestor = nullptr;
        if (layout->Inherited()) {
            const std::string& className = layout->Components().front().className;
            const std::string ancestorClass = AncestorClassOf(path, className);
            const std::string ancestorPath =
                ancestorClass.empty() ? std::string() : FormOfClass(ancestorClass);
            ancestor = ancestorPath.empty() ? nullptr : Resolve(ancestorPath, depth + 1);
            if (!ancestor)
                m_missing.push_back(MissingAncestor{path, className, ancestorClass});
        }
        const FormLayout::FormOfClass frameOf = [&](std::string_view frameClass) -> const FormLayout* {
            const std::string framePath = FormOfClass(frameClass);
            return framePath.empty() ? nullptr : Resolve(framePath, depth + 1);
        };
        layout = FormLayout::Inherit(ancestor, *layout, frameOf);
        m_resolving.erase(path);
    }
    const auto stored = m_layouts.emplace(path, std::move(layout)).first;
    return stored->second ? &*stored->second : nullptr;
}

void FormFiles::IndexForms() {
    if (m_indexed)
        return;
    m_indexed = true;
    m_forms.clear();
    m_byClass.clear();
    std::vector<std::string> folders;
    for (const auto& [project, folder] : m_folders)
        folders.push_back(folder);
    folders.insert(folders.end(), m_searchFolders.begin(), m_searchFolders.end());
    for (const std::string& folder : folders) {
        for (const std::string& name : ListFiles(folder, "*.dfm")) {
            std::string path = Joined(folder, name);
            const std::optional<FormRoot> root = ReadFormRoot(FileHead(path));
            if (!root)
                continue; // reading it whole tells why, should a check need it
            m_byClass.emplace(Lower(root->className), m_forms.size());
            m_forms.push_back(IndexedForm{std::move(path), root->className, root->inherited});
        }
    }
}

std::string FormFiles::FormOfClass(std::string_view className) {
    IndexForms();
    const auto found = m_byClass.find(Lower(className));
    return found == m_byClass.end() ? std::string() : m_forms[found->second].path;
}

std::string FormFiles::UnitBeside(const std::string& formPath) {
    const std::string folder = DirectoryOf(formPath);
    auto units = m_units.find(folder);
    if (units == m_units.end()) {
        units = m_units.emplace(folder, std::map<std::string, std::string>()).first;
        for (const std::string& name : ListFiles(folder.empty() ? "." : folder, "*.pas"))
            units->second.emplace(Lower(std::filesystem::path(name).stem().string()), name);
    }
    const auto unit = units->second.find(Lower(std::filesystem::path(formPath).stem().string()));
    return unit == units->second.end() ? std::string() : Joined(folder, unit->second);
}

std::string FormFiles::AncestorClassOf(const std::string& formPath, const std::string& className) {
    const std::string unit = UnitBeside(formPath);
    if (unit.empty())
        return {};
    try {
        return AncestorClass(ReadSourceFile(unit), className);
    } catch (const EngineError&) {
        return {};
    }
}

std::vector<std::string> FormFiles::Descendants(std::string_view project, std::string_view file) {
    const std::string path = FullPath(project, file);
    if (path.empty())
        return {};
    if (!m_descendants) {
        IndexForms();
        m_descendants.emplace();
        for (const IndexedForm& form : m_forms) {
            if (!form.inherited)
                continue;
            const std::string ancestorClass = AncestorClassOf(form.path, form.className);
            const std::string ancestor = ancestorClass.empty() ? std::string() : FormOfClass(ancestorClass);
            if (!ancestor.empty() && ancestor != form.path)
                (*m_descendants)[ancestor].push_back(form.path);
        }
    }
    if (m_descendants->empty())
        return {};
    std::string folder = m_folders.find(project)->second;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back(); // a trailing "/" would make every name relative to it start with ".."
    std::vector<std::string> found;
    std::vector<std::string> heirs{path};
    std::set<std::string> seen{path};
    for (std::size_t next = 0; next < heirs.size() && heirs.size() <= m_forms.size(); ++next) {
        const auto children = m_descendants->find(heirs[next]);
        if (children == m_descendants->end())
            continue;
        for (const std::string& child : children->second)
            if (seen.insert(child).second) {
                heirs.push_back(child);
                found.push_back(
                    std::filesystem::path(child).lexically_relative(std::filesystem::path(folder)).string());
            }
    }
    return found;
}

} // namespace wordloom::qa
