// XLIFF reader (both versions, each written back in 1.2 and read again): see exchange_fuzz.h.
#include "exchange/xliff_format.h"
#include "exchange_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wordloom::exchange;
    return FuzzReader(
        data, size, [](std::string_view text) { return ReadXliff(text); },
        [](const Catalog& catalog) { return WriteXliff12(catalog); });
}
