// What the XML formats share: texts with characters XML cannot hold, parse errors with their
// position, and the document written out with CR kept.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace wordloom::exchange {

/// Writes a character XML 1.0 cannot hold (a control character but tab, LF, CR) as an element.
using ControlWriter = void (*)(pugi::xml_node parent, unsigned char code, int index);

/// Appends `text` to `parent` as text, with `writeControl` for characters XML cannot hold.
void AppendXmlText(pugi::xml_node parent, std::string_view text, ControlWriter writeControl);

/// The text of `element`: its text nodes, the control characters written by AppendXmlText (as
/// <ph>/<x> of ctype or type "x-ch-0xHH", or XLIFF 2.0's <cp hex>), and the text of other inline
/// elements; placeholders of other tools add nothing.
std::string InlineText(pugi::xml_node element);

/// Parses `data`; throws ExchangeError with the line and column of a fault.
void ParseXml(pugi::xml_document& document, std::string_view data);

/// The document as UTF-8 text, indented, every CR written as "&#13;" so it reads back as CR.
std::string SaveXml(const pugi::xml_document& document);

/// An id that depends only on `text` (so a new export names a unit as the last one did).
std::string StableId(std::string_view text);

} // namespace wordloom::exchange
