// XLIFF 1.2 and 2.0 files: written as they go, read through pugixml.
#pragma once

#include "exchange/unit.h"

#include <string>
#include <string_view>

namespace wordloom::exchange {

/// XLIFF 1.2: one <file> per project (of a unit's first place, else the catalogue's), a
/// <trans-unit> per unit with an id that depends on its source text only, resname = its first
/// component path, <target state> for the state, translate="no" for dont_translate, a
/// <context-group> per place. A character XML cannot hold is written <ph ctype="x-ch-0xHH"/>.
std::string WriteXliff12(const Catalog& catalog);
/// XLIFF 2.0: the same content in <unit>/<segment state>, places as metadata, <cp hex/> for
/// characters XML cannot hold.
std::string WriteXliff20(const Catalog& catalog);

/// Reads either version (told by the namespace); throws ExchangeError with the line and column of
/// the fault.
Catalog ReadXliff(std::string_view data);

/// Project names of the <file> elements, in order (for tests and reports).
std::vector<std::string> XliffFileProjects(std::string_view data);

} // namespace wordloom::exchange
