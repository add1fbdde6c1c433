#include "exchange/tmx_format.h"
#include "base/ui_text.h"
#include "exchange/xml_text.h"

#include <cstdio>

namespace wordloom::exchange {

namespace {

void WriteControl(pugi::xml_node parent, unsigned char code, int index) {
    char type[16];
    std::snprintf(type, sizeof type, "x-ch-0x%02X", code);
    pugi::xml_node ph = parent.append_child("ph");
    ph.append_attribute("x") = index;
    ph.append_attribute("type") = type;
}

std::size_t LanguageIndex(const std::vector<std::string>& languages, const std::string& wanted) {
    if (const auto field = FieldForTag(wanted, languages))
        for (std::size_t i = 0; i < languages.size(); ++i)
            if (languages[i] == *field)
                return i;
    // A field name asked of a memory read from a file (which holds tags).
    const std::string tag = LanguageTag(wanted);
    for (std::size_t i = 0; i < languages.size(); ++i)
        if (LanguageTag(languages[i]) == tag || FieldForTag(languages[i], {wanted}))
            return i;
    throw ExchangeError(FillIn(WL_TR("exchange", "The memory has no texts in %1"), {wanted}), 0);
}

} // namespace

std::string WriteTmx(const Memory& memory) {
    pugi::xml_document document;
    pugi::xml_node decl = document.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
    pugi::xml_node tmx = document.append_child("tmx");
    tmx.append_attribute("version") = "1.4";
    pugi::xml_node header = tmx.append_child("header");
    header.append_attribute("creationtool") = "Wordloom";
    header.append_attribute("creationtoolversion") = "1.0";
    header.append_attribute("segtype") = "sentence";
    header.append_attribute("o-tmf") = "Wordloom";
    header.append_attribute("adminlang") = "en";
    header.append_attribute("srclang") = LanguageTag(memory.sourceLanguage).c_str();
    header.append_attribute("datatype") = "plaintext";
    pugi::xml_node body = tmx.append_child("body");
    std::vector<std::string> tags;
    for (const std::string& language : memory.languages)
        tags.push_back(LanguageTag(language));
    for (const std::vector<std::string>& row : memory.rows) {
        int texts = 0;
        for (const std::string& text : row)
            texts += text.empty() ? 0 : 1;
        if (texts < 2)
            continue;
        pugi::xml_node tu = body.append_child("tu");
        for (std::size_t i = 0; i < row.size() && i < tags.size(); ++i) {
            if (row[i].empty())
                continue;
            pugi::xml_node tuv = tu.append_child("tuv");
            tuv.append_attribute("xml:lang") = tags[i].c_str();
            pugi::xml_node seg = tuv.append_child("seg");
            AppendXmlText(seg, row[i], WriteControl);
        }
    }
    return SaveXml(document);
}

Memory ReadTmx(std::string_view data) {
    pugi::xml_document document;
    ParseXml(document, data);
    pugi::xml_node tmx = document.document_element();
    if (std::string_view(tmx.name()) != "tmx" || !tmx.child("body")) {
        const auto [line, column] = LineAndColumn(
            data, static_cast<std::size_t>(std::max<std::ptrdiff_t>(tmx.offset_debug() - 1, 0)));
        throw ExchangeError(WL_TR("exchange", "The file is not a TMX document"), line, column);
    }
    Memory memory;
    memory.sourceLanguage = tmx.child("header").attribute("srclang").value();
    for (pugi::xml_node tu : tmx.child("body").children("tu")) {
        std::vector<std::string> row(memory.languages.size());
        for (pugi::xml_node tuv : tu.children("tuv")) {
            std::string tag = tuv.attribute("xml:lang").value();
            if (tag.empty())
                tag = tuv.attribute("lang").value(); // TMX 1.1
            std::size_t index = 0;
            while (index < memory.languages.size() && memory.languages[index] != tag)
                ++index;
            if (index == memory.languages.size()) {
                memory.languages.push_back(tag);
                row.resize(memory.languages.size());
            }
            row[index] = InlineText(tuv.child("seg"));
        }
        memory.rows.push_back(std::move(row));
    }
    for (std::vector<std::string>& row : memory.rows)
        row.resize(memory.languages.size());
    return memory;
}

Memory MemoryFromCatalog(const Catalog& catalog) {
    Memory memory;
    memory.sourceLanguage = catalog.sourceLanguage;
    memory.languages = {catalog.sourceLanguage, catalog.targetLanguage};
    for (const Unit& unit : catalog.units)
        if (!unit.target.empty())
            memory.rows.push_back({unit.source, unit.target});
    return memory;
}

Catalog CatalogFromMemory(const Memory& memory, const std::string& sourceLanguage,
                          const std::string& targetLanguage) {
    const std::size_t source = LanguageIndex(memory.languages, sourceLanguage);
    const std::size_t target = LanguageIndex(memory.languages, targetLanguage);
    Catalog catalog;
    catalog.sourceLanguage = memory.languages[source];
    catalog.targetLanguage = memory.languages[target];
    for (const std::vector<std::string>& row : memory.rows) {
        if (row[source].empty() || row[target].empty())
            continue;
        Unit unit;
        unit.source = row[source];
        unit.target = row[target];
        unit.state = UnitState::Translated;
        catalog.units.push_back(std::move(unit));
    }
    return catalog;
}

} // namespace wordloom::exchange
