// CSV reader: see exchange_fuzz.h.
#include "exchange/csv_format.h"
#include "exchange_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wordloom::exchange;
    return FuzzReader(
        data, size, [](std::string_view text) { return ReadCsv(text); },
        [](const Catalog& catalog) { return WriteCsv(catalog); });
}
