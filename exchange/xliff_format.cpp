#include "exchange/xliff_format.h"
#include "base/ui_text.h"
#include "exchange/xml_text.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>
#include <unordered_set>

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

// Unique per file even when two texts hash alike.
std::string UnitId(const std::string& source, std::unordered_set<std::string>& used) {
    std::string id = StableId(source);
    for (int n = 2; !used.insert(id).second; ++n)
        id = StableId(source) + "-" + std::to_string(n);
    return id;
}

void SetBlanks(pugi::xml_node node, const Unit& unit) {
    if (unit.spFront != 0)
        node.append_attribute("wl:sp-front") = unit.spFront;
    if (unit.spEnd != 0)
        node.append_attribute("wl:sp-end") = unit.spEnd;
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

void WriteControl12(pugi::xml_node parent, unsigned char code, int index) {
    char type[16];
    std::snprintf(type, sizeof type, "x-ch-0x%02X", code);
    pugi::xml_node ph = parent.append_child("ph");
    ph.append_attribute("id") = ("ch" + std::to_string(index)).c_str();
    ph.append_attribute("ctype") = type;
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

void AddContext(pugi::xml_node group, const char* type, const std::string& value) {
    if (value.empty())
        return;
    pugi::xml_node context = group.append_child("context");
    context.append_attribute("context-type") = type;
    context.text().set(value.c_str());
}

void WriteUnit12(pugi::xml_node body, const Unit& unit, std::unordered_set<std::string>& ids) {
    pugi::xml_node tu = body.append_child("trans-unit");
    tu.append_attribute("id") = UnitId(unit.source, ids).c_str();
    if (!unit.places.empty() && !unit.places.front().path.empty())
        tu.append_attribute("resname") = ComponentName(unit.places.front()).c_str();
    tu.append_attribute("xml:space") = "preserve";
    if (unit.state == UnitState::DontTranslate)
        tu.append_attribute("translate") = "no";
    SetBlanks(tu, unit);
    AppendXmlText(tu.append_child("source"), unit.source, WriteControl12);
    if (!unit.target.empty() || unit.state != UnitState::New) {
        if (unit.state != UnitState::DontTranslate || !unit.target.empty()) {
            pugi::xml_node target = tu.append_child("target");
            target.append_attribute("state") = State12(unit.target.empty() ? UnitState::New : unit.state);
            AppendXmlText(target, unit.target, WriteControl12);
        }
    }
    for (const std::string& note : unit.notes)
        AppendXmlText(tu.append_child("note"), note, WriteControl12);
    int n = 0;
    for (const Place& place : unit.places) {
        pugi::xml_node group = tu.append_child("context-group");
        group.append_attribute("name") = ("place" + std::to_string(++n)).c_str();
        group.append_attribute("purpose") = "location";
        AddContext(group, "sourcefile", place.file);
        if (place.line > 0)
            AddContext(group, "linenumber", std::to_string(place.line));
        AddContext(group, "x-component", place.path);
        AddContext(group, "x-property", place.property);
    }
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

void WriteControl20(pugi::xml_node parent, unsigned char code, int) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", code);
    parent.append_child("cp").append_attribute("hex") = hex;
}

void WriteUnit20(pugi::xml_node file, const Unit& unit, std::unordered_set<std::string>& ids) {
    pugi::xml_node u = file.append_child("unit");
    u.append_attribute("id") = UnitId(unit.source, ids).c_str();
    if (!unit.places.empty() && !unit.places.front().path.empty())
        u.append_attribute("name") = ComponentName(unit.places.front()).c_str();
    if (unit.state == UnitState::DontTranslate)
        u.append_attribute("translate") = "no";
    SetBlanks(u, unit);
    if (!unit.places.empty()) {
        pugi::xml_node metadata = u.append_child("mda:metadata");
        for (const Place& place : unit.places) {
            pugi::xml_node group = metadata.append_child("mda:metaGroup");
            group.append_attribute("category") = "location";
            const auto meta = [&group](const char* type, const std::string& value) {
                if (value.empty())
                    return;
                pugi::xml_node node = group.append_child("mda:meta");
                node.append_attribute("type") = type;
                node.text().set(value.c_str());
            };
            meta("sourcefile", place.file);
            if (place.line > 0)
                meta("linenumber", std::to_string(place.line));
            meta("component", place.path);
            meta("property", place.property);
        }
    }
    if (!unit.notes.empty()) {
        pugi::xml_node notes = u.append_child("notes");
        for (const std::string& note : unit.notes)
            AppendXmlText(notes.append_child("note"), note, WriteControl20);
    }
    pugi::xml_node segment = u.append_child("segment");
    const UnitState state = unit.target.empty() ? UnitState::New : unit.state;
    switch (state) {
    case UnitState::Suggested:
        segment.append_attribute("state") = "translated";
        segment.append_attribute("subState") = "wl:suggested";
        break;
    case UnitState::Translated:
        segment.append_attribute("state") = "translated";
        break;
    case UnitState::Reviewed:
        segment.append_attribute("state") = "final";
        break;
    case UnitState::New:
    case UnitState::DontTranslate:
        segment.append_attribute("state") = "initial";
        break;
    }
    pugi::xml_node source = segment.append_child("source");
    source.append_attribute("xml:space") = "preserve";
    AppendXmlText(source, unit.source, WriteControl20);
    if (!unit.target.empty()) {
        pugi::xml_node target = segment.append_child("target");
        target.append_attribute("xml:space") = "preserve";
        AppendXmlText(target, unit.target, WriteControl20);
    }
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
    pugi::xml_document document;
    pugi::xml_node decl = document.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = document.append_child("xliff");
    root.append_attribute("version") = "1.2";
    root.append_attribute("xmlns") = kXliff12;
    root.append_attribute("xmlns:wl") = kOwnNamespace;
    for (const auto& [project, units] : ByProject(catalog)) {
        pugi::xml_node file = root.append_child("file");
        file.append_attribute("original") = project.empty() ? "strings" : project.c_str();
        file.append_attribute("source-language") = LanguageTag(catalog.sourceLanguage).c_str();
        file.append_attribute("target-language") = LanguageTag(catalog.targetLanguage).c_str();
        file.append_attribute("datatype") = "plaintext";
        pugi::xml_node body = file.append_child("body");
        std::unordered_set<std::string> ids;
        for (const Unit* unit : units)
            WriteUnit12(body, *unit, ids);
    }
    return SaveXml(document);
}

std::string WriteXliff20(const Catalog& catalog) {
    pugi::xml_document document;
    pugi::xml_node decl = document.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = document.append_child("xliff");
    root.append_attribute("xmlns") = kXliff20;
    root.append_attribute("xmlns:mda") = kMetadata20;
    root.append_attribute("xmlns:wl") = kOwnNamespace;
    root.append_attribute("version") = "2.0";
    root.append_attribute("srcLang") = LanguageTag(catalog.sourceLanguage).c_str();
    root.append_attribute("trgLang") = LanguageTag(catalog.targetLanguage).c_str();
    int n = 0;
    for (const auto& [project, units] : ByProject(catalog)) {
        pugi::xml_node file = root.append_child("file");
        std::string fileId = "f";
        fileId += std::to_string(++n);
        file.append_attribute("id") = fileId.c_str();
        file.append_attribute("original") = project.empty() ? "strings" : project.c_str();
        std::unordered_set<std::string> ids;
        for (const Unit* unit : units)
            WriteUnit20(file, *unit, ids);
    }
    return SaveXml(document);
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
