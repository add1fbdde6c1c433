// PO files (UTF-8, no byte-order mark), written and read by our own code.
#pragma once

#include "exchange/unit.h"

#include <string>
#include <string_view>

namespace wordloom::exchange {

struct PoHeader {
    std::string revisionDate;   ///< "2026-12-08 20:45+0000"; empty: now
    std::string lastTranslator; ///< "Name <mail>"; may be empty
    std::string languageTeam;
    std::string generator = "Wordloom";
};

/// The catalogue as a PO file: a complete header, then one entry per unit in order. Line ends of
/// CR LF are written as "\n" (and read back as CR LF); `#.` lines carry the places' component paths
/// and properties, `#:` their files and lines, `#, fuzzy` marks suggested translations.
std::string WritePo(const Catalog& catalog, const PoHeader& header = {});

/// Reads a PO file; throws ExchangeError naming the line of the first fault. The languages come
/// from the header's Language (target) and X-Source-Language fields as tags; obsolete entries are
/// left out.
Catalog ReadPo(std::string_view data);

/// True when `text` holds a Format placeholder (%s, %d, %0:s, %-8.2f, ...).
bool HasFormatPlaceholder(std::string_view text);

} // namespace wordloom::exchange
