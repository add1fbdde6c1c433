// The form files a run's texts were collected from, for the checks that look at forms. Each file is
// read once for the run and kept, however many texts of it are checked and by how many checks. An
// inherited form is completed with its ancestor's form, and an embedded frame with the frame's form,
// both found among the project's forms by their class.
#pragma once

#include "qa/form_layout.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
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

    /// A folder searched for ancestor forms and frames (with their units) besides the projects'
    /// folders; ForProject adds the folders of the units the project file names.
    void AddSearchFolder(std::string folder);

    /// The layout of a project's form file, completed with what it inherits; nullptr when the
    /// project's folder is unknown, the file is no form file, or it cannot be read or parsed (the
    /// reason is kept, see Failures()).
    const FormLayout* Layout(std::string_view project, std::string_view file);

    /// The project's forms that inherit from this one, directly or further down, as file names
    /// relative to the project's folder.
    std::vector<std::string> Descendants(std::string_view project, std::string_view file);

    /// The forms that could not be read, each once: "path: reason".
    const std::vector<std::string>& Failures() const { return m_failures; }

    /// An inherited form whose ancestor form was not found: its inherited controls stay unknown.
    struct MissingAncestor {
        std::string form;     ///< the inherited form's path
        std::string forClass; ///< its root's class
        /// The class it inherits from; empty when no unit of the project declares `forClass`.
        std::string ancestorClass;
    };
    /// Each once, in the order met.
    const std::vector<MissingAncestor>& MissingAncestors() const { return m_missing; }
    /// How many files were read from disk so far (whole forms, not the first bytes that tell a
    /// form's class).
    int FilesRead() const { return m_filesRead; }

private:
    struct IndexedForm {
        std::string path;
        std::string className;
        bool inherited = false;
    };

    std::string FullPath(std::string_view project, std::string_view file) const;
    const FormLayout* Resolve(const std::string& path, int depth);
    /// The form whose root is of this class; empty when none.
    std::string FormOfClass(std::string_view className);
    /// The unit beside a form: the same name with ".pas" in any letter case; empty when none.
    std::string UnitBeside(const std::string& formPath);
    /// The class the form's root class inherits from, as the unit beside the form declares it.
    std::string AncestorClassOf(const std::string& formPath, const std::string& className);
    void IndexForms();

    std::map<std::string, std::string, std::less<>> m_folders;
    std::vector<std::string> m_searchFolders;
    const CodePage& m_codePage;
    // By full path, completed; nullopt: tried and failed.
    std::map<std::string, std::optional<FormLayout>, std::less<>> m_layouts;
    std::set<std::string, std::less<>> m_resolving; // against a form that inherits from itself
    bool m_indexed = false;
    std::vector<IndexedForm> m_forms;                          // every form found, root class read
    std::map<std::string, std::size_t, std::less<>> m_byClass; // lower-case class -> m_forms index
    std::optional<std::map<std::string, std::vector<std::string>>> m_descendants; // ancestor -> heirs
    std::map<std::string, std::map<std::string, std::string>> m_units; // folder -> lower-case stem -> name
    std::vector<std::string> m_failures;
    std::vector<MissingAncestor> m_missing;
    int m_filesRead = 0;
};

} // namespace wordloom::qa
