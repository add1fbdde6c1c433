#include "exchange/tmx_format.h"
#include "base/ui_text.h"
#include "exchange/xml_text.h"
#include "exchange/xml_writer.h"

namespace wordloom::exchange {

namespace {

void WriteControl(XmlWriter& xml, unsigned char code, int index) {
    WritePlaceholder(xml, "x", std::to_string(index), "type", code);
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

TmxWriter::TmxWriter(const std::string& sourceLanguage, const std::vector<std::string>& languages,
                     std::size_t expectedSize)
    : m_xml(std::make_unique<XmlWriter>(expectedSize)) {
    XmlWriter& xml = *m_xml;
    xml.Open("tmx");
    xml.Attribute("version", "1.4");
    xml.Open("header");
    xml.Attribute("creationtool", "Wordloom");
    xml.Attribute("creationtoolversion", "1.0");
    xml.Attribute("segtype", "sentence");
    xml.Attribute("o-tmf", "Wordloom");
    xml.Attribute("adminlang", "en");
    xml.Attribute("srclang", LanguageTag(sourceLanguage));
    xml.Attribute("datatype", "plaintext");
    xml.Close();
    xml.Open("body");
    for (const std::string& language : languages)
        m_tags.push_back(LanguageTag(language));
}

TmxWriter::~TmxWriter() = default;

bool TmxWriter::Row(std::span<const std::string> row) {
    int texts = 0;
    for (const std::string& text : row)
        texts += text.empty() ? 0 : 1;
    if (texts < 2)
        return false;
    XmlWriter& xml = *m_xml;
    xml.Open("tu");
    for (std::size_t i = 0; i < row.size() && i < m_tags.size(); ++i) {
        if (row[i].empty())
            continue;
        xml.Open("tuv");
        xml.Attribute("xml:lang", m_tags[i]);
        xml.Open("seg");
        xml.MixedText(row[i], WriteControl);
        xml.Close();
        xml.Close();
    }
    xml.Close();
    return true;
}

std::string TmxWriter::Finish() {
    m_xml->Close();
    return m_xml->Finish();
}

std::string WriteTmx(const Memory& memory) {
    std::size_t size = 4096;
    for (const std::vector<std::string>& row : memory.rows)
        for (const std::string& text : row)
            size += 64 + text.size();
    TmxWriter tmx(memory.sourceLanguage, memory.languages, size);
    for (const std::vector<std::string>& row : memory.rows)
        tmx.Row(row);
    return tmx.Finish();
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
