#include "exchange/exchange_file.h"
#include "base/ui_text.h"
#include "exchange/csv_format.h"
#include "exchange/paradox_import.h"
#include "exchange/po_format.h"
#include "exchange/tmx_format.h"
#include "exchange/xliff_format.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

namespace wordloom::exchange {

namespace {

constexpr std::array<FormatInfo, 6> kFormats{{
    {Format::Po, "po", WL_TR_NOOP("exchange", "PO (gettext)"), "po", true},
    {Format::Xliff12, "xliff12", WL_TR_NOOP("exchange", "XLIFF 1.2"), "xlf", true},
    {Format::Xliff20, "xliff20", WL_TR_NOOP("exchange", "XLIFF 2.0"), "xlf", true},
    {Format::Csv, "csv", WL_TR_NOOP("exchange", "CSV"), "csv", true},
    {Format::Tmx, "tmx", WL_TR_NOOP("exchange", "TMX"), "tmx", true},
    {Format::Paradox, "paradox", WL_TR_NOOP("exchange", "Paradox table"), "db", false},
}};

std::string FieldOrTag(const std::string& tag, const std::vector<std::string>& fields) {
    if (tag.empty())
        return tag;
    const std::optional<std::string> field = FieldForTag(tag, fields);
    return field ? *field : tag;
}

} // namespace

std::span<const FormatInfo> Formats() {
    return kFormats;
}

std::vector<std::string> FormatNames(bool writtenOnly) {
    std::vector<std::string> names;
    for (const FormatInfo& info : kFormats)
        if (info.written || !writtenOnly)
            names.emplace_back(info.name);
    return names;
}

const FormatInfo& InfoOf(Format format) {
    for (const FormatInfo& info : kFormats)
        if (info.format == format)
            return info;
    return kFormats.front();
}

std::string_view FormatName(Format format) {
    return InfoOf(format).name;
}

std::optional<Format> FormatFromName(std::string_view name) {
    for (const FormatInfo& entry : kFormats)
        if (entry.name == name)
            return entry.format;
    return std::nullopt;
}

std::optional<Format> DetectFormat(const std::string& path, std::string_view data) {
    const std::string_view head = data.substr(0, 4096);
    if (head.find("<tmx") != std::string_view::npos)
        return Format::Tmx;
    if (head.find("urn:oasis:names:tc:xliff:document:2.0") != std::string_view::npos)
        return Format::Xliff20;
    if (head.find("<xliff") != std::string_view::npos)
        return Format::Xliff12;
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".po" || extension == ".pot")
        return Format::Po;
    if (extension == ".csv")
        return Format::Csv;
    if (extension == ".tmx")
        return Format::Tmx;
    if (extension == ".xlf" || extension == ".xliff")
        return Format::Xliff12;
    if (extension == ".db" && data.substr(0, 16) != std::string_view("SQLite format 3\0", 16))
        return Format::Paradox;
    return std::nullopt;
}

Catalog ReadCatalog(Format format, std::string_view data, const std::vector<std::string>& fields,
                    const std::string& sourceLanguage, const std::string& targetLanguage) {
    Catalog catalog;
    switch (format) {
    case Format::Po:
        catalog = ReadPo(data);
        break;
    case Format::Xliff12:
    case Format::Xliff20:
        catalog = ReadXliff(data);
        break;
    case Format::Csv:
        catalog = ReadCsv(data);
        break;
    case Format::Tmx: {
        const Memory memory = ReadTmx(data);
        std::string source = sourceLanguage.empty() ? memory.sourceLanguage : sourceLanguage;
        if (source.empty() && !memory.languages.empty())
            source = memory.languages.front();
        std::string target = targetLanguage;
        for (std::size_t i = 0; target.empty() && i < memory.languages.size(); ++i)
            if (LanguageTag(memory.languages[i]) != LanguageTag(FieldOrTag(source, fields)) &&
                FieldOrTag(memory.languages[i], fields) != FieldOrTag(source, fields))
                target = memory.languages[i];
        catalog = CatalogFromMemory(memory, source, target);
        break;
    }
    case Format::Paradox: {
        const ParadoxTable table = ReadParadox(data);
        const std::string source = sourceLanguage.empty() ? table.languages.front() : sourceLanguage;
        if (targetLanguage.empty())
            throw ExchangeError(WL_TR("exchange", "Name the language to import from the Paradox table"), 0);
        catalog = CatalogFromParadox(table, source, targetLanguage);
        break;
    }
    }
    catalog.sourceLanguage = FieldOrTag(catalog.sourceLanguage, fields);
    catalog.targetLanguage = FieldOrTag(catalog.targetLanguage, fields);
    return catalog;
}

std::string WriteCatalog(Format format, const Catalog& catalog, bool csvMark) {
    switch (format) {
    case Format::Po:
        return WritePo(catalog);
    case Format::Xliff12:
        return WriteXliff12(catalog);
    case Format::Xliff20:
        return WriteXliff20(catalog);
    case Format::Csv:
        return WriteCsv(catalog, csvMark);
    case Format::Tmx:
        return WriteTmx(MemoryFromCatalog(catalog));
    case Format::Paradox:
        break;
    }
    throw ExchangeError(WL_TR("exchange", "Paradox tables are read, not written"), 0);
}

} // namespace wordloom::exchange
