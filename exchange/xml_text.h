// What the XML readers share: texts with characters XML cannot hold, parse errors with their
// position. (They write through XmlWriter.)
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <string>
#include <string_view>

namespace wordloom::exchange {

/// The text of `element`: its text nodes, the control characters written by XmlWriter::MixedText (as
/// <ph>/<x> of ctype or type "x-ch-0xHH", or XLIFF 2.0's <cp hex>), and the text of other inline
/// elements; placeholders of other tools add nothing.
std::string InlineText(pugi::xml_node element);

/// Parses `data`; throws ExchangeError with the line and column of a fault.
void ParseXml(pugi::xml_document& document, std::string_view data);

/// An id that depends only on `text` (so a new export names a unit as the last one did):
/// "u" and StableHash in 16 hex digits.
std::string StableId(std::string_view text);
std::uint64_t StableHash(std::string_view text);
std::string StableId(std::uint64_t hash);

} // namespace wordloom::exchange
