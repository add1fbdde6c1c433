// TMX 1.4b translation memories: the whole table, or a language pair.
#pragma once

#include "exchange/unit.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom::exchange {

class XmlWriter;

/// Texts in several languages; rows[i][j] is row i's text in languages[j] (empty: none).
struct Memory {
    std::string sourceLanguage;         ///< a field name, or a tag when read from a file
    std::vector<std::string> languages; ///< likewise
    std::vector<std::vector<std::string>> rows;
};

/// One <tu> per row with a <tuv> per language that has a text (rows with fewer than two are left
/// out); languages are written as tags.
std::string WriteTmx(const Memory& memory);

/// WriteTmx a row at a time, for rows that are read as they are written and never held.
class TmxWriter {
public:
    TmxWriter(const std::string& sourceLanguage, const std::vector<std::string>& languages,
              std::size_t expectedSize = 0);
    ~TmxWriter();
    TmxWriter(const TmxWriter&) = delete;
    TmxWriter& operator=(const TmxWriter&) = delete;
    /// row[i] in languages[i] (empty: none); false (and nothing written) for fewer than two texts.
    bool Row(std::span<const std::string> row);
    /// The document; the writer is spent.
    std::string Finish();

private:
    std::unique_ptr<XmlWriter> m_xml;
    std::vector<std::string> m_tags;
};
/// Reads a TMX file; languages are the tags found, in order of appearance. Throws ExchangeError
/// with the position of a fault.
Memory ReadTmx(std::string_view data);

/// The pair of a catalogue as a memory (units without a translation are left out).
Memory MemoryFromCatalog(const Catalog& catalog);
/// The units of `memory` with texts in both languages (tags or fields, matched as FieldForTag does),
/// as translated units. Throws ExchangeError when the memory has no such language.
Catalog CatalogFromMemory(const Memory& memory, const std::string& sourceLanguage,
                          const std::string& targetLanguage);

} // namespace wordloom::exchange
