// CSV files (RFC 4180, UTF-8): a header row, then source, target, state, places, notes per unit.
#pragma once

#include "exchange/unit.h"

#include <string>
#include <string_view>

namespace wordloom::exchange {

/// The catalogue as CSV with CR LF row ends; `byteOrderMark` puts the UTF-8 mark first, which
/// spreadsheet programs need to see UTF-8. Places stand one a line in their cell ("file:line
/// component"), notes likewise.
std::string WriteCsv(const Catalog& catalog, bool byteOrderMark = false);

/// Reads CSV with or without the mark, with CR LF or LF row ends; a first row naming the columns
/// ("source", "target", ...) places them, otherwise the order above holds. Throws ExchangeError
/// naming the line of the fault (for an unclosed quote: the line where the field began).
Catalog ReadCsv(std::string_view data);

} // namespace wordloom::exchange
