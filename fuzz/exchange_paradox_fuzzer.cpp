// Paradox reader: any input is read or refused with ExchangeError, and every pair of its
// language fields gives a catalogue with no more units than the table has records.
#include "exchange/paradox_import.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wordloom::exchange;
    ParadoxTable table;
    try {
        table = ReadParadox(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const ExchangeError&) {
        return 0;
    }
    if (table.languages.empty())
        std::abort(); // refused by the reader
    for (const ParadoxTable::Record& record : table.records)
        if (record.texts.size() != table.languages.size())
            std::abort();
    for (const std::string& source : table.languages) {
        const Catalog catalog = CatalogFromParadox(table, source, table.languages.back());
        if (catalog.units.size() > table.records.size())
            std::abort();
    }
    return 0;
}
