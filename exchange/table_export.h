// An export as the front ends run it: the table's texts in one format, ready to be written.
#pragma once

#include "exchange/exchange_file.h"
#include "exchange/table_exchange.h"

#include <cstddef>
#include <string>

namespace wordloom::exchange {

struct ExportedFile {
    std::string data;      ///< the file's bytes
    std::size_t count = 0; ///< texts written
};

/// The table's texts as `format`. A TMX export without a target language holds every language of
/// the table; with one, the translated texts of that pair only. Throws DbError for an unknown
/// language field, ExchangeError for a format that is only read (Paradox).
ExportedFile ExportTable(StringsTable& table, Format format, const ExportOptions& options,
                         const UnitDetails& details, bool csvMark = false);

} // namespace wordloom::exchange
