// The inputs of the Collect and Translate commands, as the window (or the command line) gives them.
#pragma once

#include <string>
#include <vector>

namespace wordloom {

/// The searched form properties, in the order of the window's check list.
inline const std::vector<std::string>& DefaultProperties() {
    static const std::vector<std::string> names{
        "Caption", "Text", "Hint", "Title", "DisplayLabel", "Items.Strings", "Lines.Strings", "Hints.String"};
    return names;
}

struct ProjectSettings {
    std::string projectPath; ///< full path of the .dpr file (the project edit field)
    std::string language;    ///< project language: the field texts are filed under
    std::string translation; ///< translation language
    std::vector<std::string> properties = DefaultProperties(); ///< checked properties, in list order
    bool includePas = true;                                    ///< unit sources are read / rewritten too
    int sourceCharset = 1;            ///< character set of the left column: the sources' code page
    int targetCharset = 1;            ///< character set of the right column: translations' code page
    bool proposeDontTranslate = true; ///< Collect proposes "don't translate" by rules
    std::vector<std::string> dontTranslateRulesOff; ///< ids of the rules switched off
};

/// The project directory: the folder of the path (DirectoryOf), but "/" when the path has no
/// directory part at all. The front ends make a relative project path absolute first.
std::string ProjectDirectory(const std::string& projectPath);
/// The file-name part of the path, cut before its first dot.
std::string ProjectNameFromPath(const std::string& projectPath);

/// Why a command cannot start on these settings, checked before it asks or changes anything: the
/// project file is not there, or one of `fields` (the fields it is to use as languages) is not
/// among `languages` (StringsTable::Languages). Empty when it can start.
std::string StartRefusal(const ProjectSettings& settings, const std::vector<std::string>& fields,
                         const std::vector<std::string>& languages);

} // namespace wordloom
