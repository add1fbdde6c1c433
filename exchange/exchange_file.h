// One entry for every format: names, the format of a file, and catalogues read and written by format.
#pragma once

#include "exchange/unit.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom::exchange {

/// Paradox strings tables are read only.
enum class Format { Po, Xliff12, Xliff20, Csv, Tmx, Paradox };

/// A format as every front end offers it.
struct FormatInfo {
    Format format;
    std::string_view name;      ///< on the command line: "po", "xliff12", "xliff20", "csv", "tmx", "paradox"
    const char* title;          ///< for people, in English; shown as TranslateText("exchange", title)
    std::string_view extension; ///< of such a file
    bool written;               ///< false for a format that is only read (Paradox)
};

/// Every format, in the order the front ends list them (the ones only read last).
std::span<const FormatInfo> Formats();
/// The names of Formats() (only those written, when `writtenOnly`).
std::vector<std::string> FormatNames(bool writtenOnly);

const FormatInfo& InfoOf(Format format);
std::string_view FormatName(Format format);
std::optional<Format> FormatFromName(std::string_view name);

/// The format of a file from its content (an XML root and namespace) and name (.po, .pot, .csv,
/// .db that is no SQLite file).
/// Nothing when neither tells.
std::optional<Format> DetectFormat(const std::string& path, std::string_view data);

/// Reads `data` as `format`. The languages the file names (tags) are turned into fields of
/// `fields`; a TMX memory gives the pair `sourceLanguage` -> `targetLanguage` (fields; the file's
/// source language and the first other one when empty).
Catalog ReadCatalog(Format format, std::string_view data, const std::vector<std::string>& fields,
                    const std::string& sourceLanguage, const std::string& targetLanguage);

/// Writes the catalogue as `format` (CSV with a byte-order mark when `csvMark`); throws
/// ExchangeError for Paradox.
std::string WriteCatalog(Format format, const Catalog& catalog, bool csvMark = false);

} // namespace wordloom::exchange
