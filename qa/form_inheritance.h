// What the form checks need to put an inherited form together: the class its root is of (read from
// the first bytes of a form file) and the class a unit declares that class to inherit from.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom::qa {

/// The root object of a form file.
struct FormRoot {
    std::string name;
    std::string className;
    bool inherited = false; ///< "inherited" (or a frame's "inline") instead of "object"
};

/// The root of a form from the start of its file (text or binary form; a few hundred bytes do);
/// nullopt when the bytes do not begin a form.
std::optional<FormRoot> ReadFormRoot(std::string_view head);

/// The class `className` inherits from as the unit source declares it ("TForm2 = class(TForm1)"
/// gives "TForm1"; a unit prefix is dropped); empty when the unit does not declare it. Comments and
/// string literals are skipped; letter case does not matter.
std::string AncestorClass(std::string_view unitSource, std::string_view className);

/// The files a project source (.dpr) names for its units ("Unit1 in 'common\Unit1.pas'"), as
/// written there with "\" turned into "/".
std::vector<std::string> ProjectUnitPaths(std::string_view projectSource);

/// ASCII letter case ignored, as Pascal compares identifiers.
bool SameIdentifier(std::string_view a, std::string_view b);

} // namespace wordloom::qa
