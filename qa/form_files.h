// The form files a run's texts were collected from, for the checks that look at forms. Each file is
// read once for the run and kept, however many texts of it are checked and by how many checks.
#pragma once

#include "qa/form_layout.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom {
class CodePage;
} // namespace wordloom

namespace wordloom::qa {

class FormFiles {
public:
    /// `projectFolders`: each project's name (as filed in `Project`) and its folder, which the
    /// occurrence rows' file names are relative to. Narrow strings of the forms are decoded in
    /// `codePage` (the sources' code page, as collected).
    FormFiles(std::map<std::string, std::string, std::less<>> projectFolders, const CodePage& codePage);
    ~FormFiles();
    FormFiles(const FormFiles&) = delete;
    FormFiles& operator=(const FormFiles&) = delete;

    /// The forms of one project: its name and folder from the project file's path (absolute), its
    /// forms decoded in the sources' character set (1 = Windows-1252, as the options give it).
    static std::unique_ptr<FormFiles> ForProject(const std::string& projectPath, int sourceCharset);

    /// True for the name of a form file (".dfm" in any letter case).
    static bool IsFormFile(std::string_view file);

    /// The layout of a project's form file; nullptr when the project's folder is unknown, the file
    /// is no form file, or it cannot be read or parsed (the reason is kept, see Failures()).
    const FormLayout* Layout(std::string_view project, std::string_view file);

    /// The forms that could not be read, each once: "path: reason".
    const std::vector<std::string>& Failures() const { return m_failures; }
    /// How many files were read from disk so far.
    int FilesRead() const { return m_filesRead; }

private:
    std::map<std::string, std::string, std::less<>> m_folders;
    const CodePage& m_codePage;
    // nullopt: tried and failed.
    std::map<std::pair<std::string, std::string>, std::optional<FormLayout>, std::less<>> m_layouts;
    std::vector<std::string> m_failures;
    int m_filesRead = 0;
};

} // namespace wordloom::qa
