// Strings tables of the Paradox file format, read through pxlib, to be copied into ours.
#pragma once

#include "exchange/unit.h"

#include <string>
#include <string_view>
#include <vector>

namespace wordloom::exchange {

/// A Paradox strings table read whole; texts are UTF-8, decoded from the table's code page.
struct ParadoxTable {
    std::vector<std::string> languages; ///< the alpha fields but Project, in field order
    struct Record {
        std::vector<std::string> texts; ///< one per language
        std::string project;
        long long spFront = 0;
        long long spEnd = 0;
    };
    std::vector<Record> records;
    int codePage = 0; ///< the header's DOS/Windows code page number
};

/// Reads the bytes of a Paradox table file; throws ExchangeError with pxlib's reason when they
/// are not one (a broken header, a truncated file) or hold no language field.
ParadoxTable ReadParadox(std::string_view data);

/// The records with texts in `sourceLanguage`, with their `targetLanguage` translations (fields of
/// the Paradox table, letter case ignored) as translated units. Throws ExchangeError when the
/// table has no such field.
Catalog CatalogFromParadox(const ParadoxTable& table, const std::string& sourceLanguage,
                           const std::string& targetLanguage);

} // namespace wordloom::exchange
