#include "exchange/xliff_format.h"
#include "base/ui_text.h"
#include "exchange/xml_text.h"
#include "exchange/xml_writer.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>
#include <unordered_map>

namespace wordloom::exchange {

namespace {

constexpr const char* kXliff12 = "urn:oasis:names:tc:xliff:document:1.2";
constexpr const char* kXliff20 = "urn:oasis:names:tc:xliff:document:2.0";
constexpr const char* kMetadata20 = "urn:oasis:names:tc:xliff:metadata:2.0";
constexpr const char* kOwnNamespace = "urn:x-wordloom:exchange";

std::string UnitProject(const Catalog& catalog, const Unit& unit) {
    return unit.places.empty() || unit.places.front().project.empty() ? catalog.project
                                                                      : unit.places.front().project;
}

// Units grouped by project, in the order each project first appears.
std::vector<std::pair<std::string, std::vector<const Unit*>>> ByProject(const Catalog& catalog) {
    std::vector<std::pair<std::string, std::vector<const Unit*>>> groups;
    std::map<std::string, std::size_t> index;
    for (const Unit& unit : catalog.units) {
        const std::string project = UnitProject(catalog, unit);
        const auto [it, added] = index.emplace(project, groups.size());
        if (added)
            groups.emplace_back(project, std::vector<const Unit*>{});
        groups[it->second].second.push_back(&unit);
    }
    return groups;
}

std::string ComponentName(const Place& place) {
    return place.property.empty() ? place.path : place.path + "." + place.property;
}

// Unit ids, unique per file even when two texts hash alike: the n-th unit of one hash gets "-n".
class UnitIds {
public:
    explicit UnitIds(const std::vector<const Unit*>& units) {
        // Sorted hashes find the few repeated ones without a set of every id.
        std::vector<std::uint64_t> hashes;
        hashes.reserve(units.size());
        for (const Unit* unit : units)
            hashes.push_back(StableHash(unit->source));
        std::sort(hashes.begin(), hashes.end());
        for (std::size_t i = 1; i < hashes.size(); ++i)
            if (hashes[i] == hashes[i - 1])
                m_repeated.emplace(hashes[i], 0);
    }
    std::string Next(std::string_view source) {
        const std::uint64_t hash = StableHash(source);
        std::string id = StableId(hash);
        const auto repeated = m_repeated.find(hash);
        if (repeated == m_repeated.end() || ++repeated->second == 1)
            return id;
        return id + "-" + std::to_string(repeated->second);
    }

private:
    std::unordered_map<std::uint64_t, int> m_repeated; // units of the hash seen so far
};

// Room for the file, so that a large one is not copied as it grows.
std::size_t ExpectedSize(const Catalog& catalog) {
    std::size_t size = 4096;
    for (const Unit& unit : catalog.units)
        size += 320 + unit.source.size() + unit.target.size() + 160 * unit.places.size();
    return size;
}

void SetBlanks(XmlWriter& xml, const Unit& unit) {
    if (unit.spFront != 0)
        xml.Attribute("wl:sp-front", unit.spFront);
    if (unit.spEnd != 0)
        xml.Attribute("wl:sp-end", unit.spEnd);
}

[[noreturn]] void FailAt(std::string_view data, pugi::xml_node node, const std::string& what) {
    // The offset is that of the element's name; the position shown is its '<'.
    const std::ptrdiff_t offset = std::max<std::ptrdiff_t>(node.offset_debug() - 1, 0);
    const auto [line, column] = LineAndColumn(data, static_cast<std::size_t>(offset));
    throw ExchangeError(what, line, column);
}

long long IntAttribute(pugi::xml_node node, const char* name) {
    return node.attribute(name).as_llong(0);
}

// ---- 1.2 ----

void WriteControl12(XmlWriter& xml, unsigned char code, int index) {
    WritePlaceholder(xml, "id", "ch" + std::to_string(index), "ctype", code);
}

const char* State12(UnitState state) {
    switch (state) {
    case UnitState::Suggested:
        return "needs-review-translation";
    case UnitState::Translated:
        return "translated";
    case UnitState::Reviewed:
        return "signed-off";
    case UnitState::New:
    case UnitState::DontTranslate:
        break;
    }
    return "new";
}

UnitState StateFrom12(std::string_view state, bool hasTarget) {
    if (!hasTarget)
        return UnitState::New;
    if (state == "new" || state == "needs-translation")
        return UnitState::New;
    if (state.substr(0, 6) == "needs-")
        return UnitState::Suggested;
    if (state == "signed-off" || state == "final")
        return UnitState::Reviewed;
    return UnitState::Translated;
}

// <element attribute="type">value</element>, left out for an empty value.
void WriteTyped(XmlWriter& xml, std::string_view element, std::string_view attribute, std::string_view type,
                const std::string& value) {
    if (value.empty())
        return;
    xml.Open(element);
    xml.Attribute(attribute, type);
    xml.Text(value);
    xml.Close();
}

// The start of a unit, up to its content: id, component path, (1.2) kept blanks, translate="no" and
// the blank counts.
void OpenUnit(XmlWriter& xml, std::string_view element, std::string_view nameAttribute, bool preserve,
              const Unit& unit, UnitIds& ids) {
    xml.Open(element);
    xml.Attribute("id", ids.Next(unit.source));
    if (!unit.places.empty() && !unit.places.front().path.empty())
        xml.Attribute(nameAttribute, ComponentName(unit.places.front()));
    if (preserve)
        xml.Attribute("xml:space", "preserve");
    if (unit.state == UnitState::DontTranslate)
        xml.Attribute("translate", "no");
    SetBlanks(xml, unit);
}

void WriteUnit12(XmlWriter& xml, const Unit& unit, UnitIds& ids) {
    OpenUnit(xml, "trans-unit", "resname", true, unit, ids);
    xml.Open("source");
    xml.MixedText(unit.source, WriteControl12);
    xml.Close();
    if (!unit.target.empty() || unit.state != UnitState::New) {
        if (unit.state != UnitState::DontTranslate || !unit.target.empty()) {
            xml.Open("target");
            xml.Attribute("state", State12(unit.target.empty() ? UnitState::New : unit.state));
            xml.MixedText(unit.target, WriteControl12);
            xml.Close();
        }
    }
    for (const std::string& note : unit.notes) {
        xml.Open("note");
        xml.MixedText(note, WriteControl12);
        xml.Close();
    }
    int n = 0;
    for (const Place& place : unit.places) {
        xml.Open("context-group");
        xml.Attribute("name", "place" + std::to_string(++n));
        xml.Attribute("purpose", "location");
        WriteTyped(xml, "context", "context-type", "sourcefile", place.file);
        if (place.line > 0)
            WriteTyped(xml, "context", "context-type", "linenumber", std::to_string(place.line));
        WriteTyped(xml, "context", "context-type", "x-component", place.path);
        WriteTyped(xml, "context", "context-type", "x-property", place.property);
        xml.Close();
    }
    xml.Close();
}

Unit ReadUnit12(std::string_view data, pugi::xml_node tu, const std::string& project) {
    Unit unit;
    pugi::xml_node source = tu.child("source");
    if (!source)
        FailAt(data, tu, WL_TR("exchange", "A translation unit has no <source>"));
    unit.source = InlineText(source);
    pugi::xml_node target = tu.child("target");
    unit.target = target ? InlineText(target) : std::string();
    unit.state = StateFrom12(target.attribute("state").value(), target && !unit.target.empty());
    if (std::string_view(tu.attribute("translate").value()) == "no")
        unit.state = UnitState::DontTranslate;
    unit.spFront = IntAttribute(tu, "wl:sp-front");
    unit.spEnd = IntAttribute(tu, "wl:sp-end");
    for (pugi::xml_node note : tu.children("note"))
        unit.notes.push_back(InlineText(note));
    for (pugi::xml_node group : tu.children("context-group")) {
        Place place;
        place.project = project;
        for (pugi::xml_node context : group.children("context")) {
            const std::string_view type = context.attribute("context-type").value();
            const std::string value = context.text().get();
            if (type == "sourcefile")
                place.file = value;
            else if (type == "linenumber")
                place.line = context.text().as_int();
            else if (type == "x-component")
                place.path = value;
            else if (type == "x-property")
                place.property = value;
        }
        unit.places.push_back(std::move(place));
    }
    return unit;
}

// ---- 2.0 ----

void WriteControl20(XmlWriter& xml, unsigned char code, int) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", code);
    xml.Open("cp");
    xml.Attribute("hex", hex);
    xml.Close();
}

void WriteUnit20(XmlWriter& xml, const Unit& unit, UnitIds& ids) {
    OpenUnit(xml, "unit", "name", false, unit, ids);
    if (!unit.places.empty()) {
        xml.Open("mda:metadata");
        for (const Place& place : unit.places) {
            xml.Open("mda:metaGroup");
            xml.Attribute("category", "location");
            WriteTyped(xml, "mda:meta", "type", "sourcefile", place.file);
            if (place.line > 0)
                WriteTyped(xml, "mda:meta", "type", "linenumber", std::to_string(place.line));
            WriteTyped(xml, "mda:meta", "type", "component", place.path);
            WriteTyped(xml, "mda:meta", "type", "property", place.property);
            xml.Close();
        }
        xml.Close();
    }
    if (!unit.notes.empty()) {
        xml.Open("notes");
        for (const std::string& note : unit.notes) {
            xml.Open("note");
            xml.MixedText(note, WriteControl20);
            xml.Close();
        }
        xml.Close();
    }
    xml.Open("segment");
    const UnitState state = unit.target.empty() ? UnitState::New : unit.state;
    switch (state) {
    case UnitState::Suggested:
        xml.Attribute("state", "translated");
        xml.Attribute("subState", "wl:suggested");
        break;
    case UnitState::Translated:
        xml.Attribute("state", "translated");
        break;
    case UnitState::Reviewed:
        xml.Attribute("state", "final");
        break;
    case UnitState::New:
    case UnitState::DontTranslate:
        xml.Attribute("state", "initial");
        break;
    }
    xml.Open("source");
    xml.Attribute("xml:space", "preserve");
    xml.MixedText(unit.source, WriteControl20);
    xml.Close();
    if (!unit.target.empty()) {
        xml.Open("target");
        xml.Attribute("xml:space", "preserve");
        xml.MixedText(unit.target, WriteControl20);
        xml.Close();
    }
    xml.Close();
    xml.Close();
}

Unit ReadUnit20(std::string_view data, pugi::xml_node u, const std::string& project) {
    Unit unit;
    bool sawSegment = false;
    UnitState state = UnitState::New;
    for (pugi::xml_node segment : u.children("segment")) {
        pugi::xml_node source = segment.child("source");
        if (!source)
            FailAt(data, segment, WL_TR("exchange", "A segment has no <source>"));
        unit.source += InlineText(source);
        unit.target += InlineText(segment.child("target"));
        if (!sawSegment) {
            const std::string_view name = segment.attribute("state").value();
            const std::string_view sub = segment.attribute("subState").value();
            if (name == "final" || name == "reviewed")
                state = UnitState::Reviewed;
            else if (name == "translated")
                state = sub == "wl:suggested" ? UnitState::Suggested : UnitState::Translated;
            else if (name == "initial")
                state = UnitState::Suggested; // a target without a confirmed state: to be looked at
            else
                state = UnitState::Translated;
        }
        sawSegment = true;
    }
    if (!sawSegment)
        FailAt(data, u, WL_TR("exchange", "A unit has no <segment>"));
    unit.state = unit.target.empty() ? UnitState::New : state;
    if (std::string_view(u.attribute("translate").value()) == "no")
        unit.state = UnitState::DontTranslate;
    unit.spFront = IntAttribute(u, "wl:sp-front");
    unit.spEnd = IntAttribute(u, "wl:sp-end");
    for (pugi::xml_node note : u.child("notes").children("note"))
        unit.notes.push_back(InlineText(note));
    for (pugi::xml_node group : u.child("mda:metadata").children("mda:metaGroup")) {
        Place place;
        place.project = project;
        for (pugi::xml_node meta : group.children("mda:meta")) {
            const std::string_view type = meta.attribute("type").value();
            const std::string value = meta.text().get();
            if (type == "sourcefile")
                place.file = value;
            else if (type == "linenumber")
                place.line = meta.text().as_int();
            else if (type == "component")
                place.path = value;
            else if (type == "property")
                place.property = value;
        }
        unit.places.push_back(std::move(place));
    }
    return unit;
}

} // namespace

std::string WriteXliff12(const Catalog& catalog) {
    XmlWriter xml(ExpectedSize(catalog));
    xml.Open("xliff");
    xml.Attribute("version", "1.2");
    xml.Attribute("xmlns", kXliff12);
    xml.Attribute("xmlns:wl", kOwnNamespace);
    for (const auto& [project, units] : ByProject(catalog)) {
        xml.Open("file");
        xml.Attribute("original", project.empty() ? "strings" : project);
        xml.Attribute("source-language", LanguageTag(catalog.sourceLanguage));
        xml.Attribute("target-language", LanguageTag(catalog.targetLanguage));
        xml.Attribute("datatype", "plaintext");
        xml.Open("body");
        UnitIds ids(units);
        for (const Unit* unit : units)
            WriteUnit12(xml, *unit, ids);
        xml.Close();
        xml.Close();
    }
    return xml.Finish();
}

std::string WriteXliff20(const Catalog& catalog) {
    XmlWriter xml(ExpectedSize(catalog));
    xml.Open("xliff");
    xml.Attribute("xmlns", kXliff20);
    xml.Attribute("xmlns:mda", kMetadata20);
    xml.Attribute("xmlns:wl", kOwnNamespace);
    xml.Attribute("version", "2.0");
    xml.Attribute("srcLang", LanguageTag(catalog.sourceLanguage));
    xml.Attribute("trgLang", LanguageTag(catalog.targetLanguage));
    int n = 0;
    for (const auto& [project, units] : ByProject(catalog)) {
        xml.Open("file");
        std::string id = "f";
        id += std::to_string(++n); // not "f" + temporary: GCC 12 at -O3 warns of an overlap
        xml.Attribute("id", id);
        xml.Attribute("original", project.empty() ? "strings" : project);
        UnitIds ids(units);
        for (const Unit* unit : units)
            WriteUnit20(xml, *unit, ids);
        xml.Close();
    }
    return xml.Finish();
}

Catalog ReadXliff(std::string_view data) {
    pugi::xml_document document;
    ParseXml(document, data);
    pugi::xml_node root = document.document_element();
    if (std::string_view(root.name()) != "xliff")
        FailAt(data, root, WL_TR("exchange", "The file is not an XLIFF document"));
    const std::string_view ns = root.attribute("xmlns").value();
    const std::string_view version = root.attribute("version").value();
    const bool v2 = ns == kXliff20 || version.substr(0, 1) == "2";
    Catalog catalog;
    if (v2) {
        catalog.sourceLanguage = root.attribute("srcLang").value();
        catalog.targetLanguage = root.attribute("trgLang").value();
    }
    for (pugi::xml_node file : root.children("file")) {
        const std::string project = file.attribute("original").value();
        if (!v2) {
            if (catalog.sourceLanguage.empty())
                catalog.sourceLanguage = file.attribute("source-language").value();
            if (catalog.targetLanguage.empty())
                catalog.targetLanguage = file.attribute("target-language").value();
        }
        // Units may stand in nested groups.
        std::vector<pugi::xml_node> pending{v2 ? file : file.child("body")};
        while (!pending.empty()) {
            pugi::xml_node parent = pending.back();
            pending.pop_back();
            std::vector<pugi::xml_node> groups;
            for (pugi::xml_node child : parent.children()) {
                const std::string_view name = child.name();
                if (name == "group")
                    groups.push_back(child);
                else if (!v2 && name == "trans-unit")
                    catalog.units.push_back(ReadUnit12(data, child, project));
                else if (v2 && name == "unit")
                    catalog.units.push_back(ReadUnit20(data, child, project));
            }
            pending.insert(pending.end(), groups.rbegin(), groups.rend());
        }
    }
    return catalog;
}

std::vector<std::string> XliffFileProjects(std::string_view data) {
    pugi::xml_document document;
    ParseXml(document, data);
    std::vector<std::string> projects;
    for (pugi::xml_node file : document.document_element().children("file"))
        projects.emplace_back(file.attribute("original").value());
    return projects;
}

} // namespace wordloom::exchange
