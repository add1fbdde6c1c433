// Text as the find compares it: letter case and accents ignored. The one place that decides what
// "the same letters" means, so a faster matcher can replace it without touching its callers.
#pragma once

#include <string>
#include <string_view>

namespace wordloom {

/// `utf8` with Unicode case folding applied and accents (combining marks after canonical
/// decomposition) removed: "Größe" and "GROSSE" both give "grosse", "Éte" gives "ete". A needle
/// folded the same way is found in a folded text by plain byte search.
std::string FoldForFind(std::string_view utf8);

} // namespace wordloom
