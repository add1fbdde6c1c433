// What every reader of translation files must do with any input: fail with ExchangeError, or give
// units that its own writer writes and it reads back to the same texts and states.
#pragma once

#include "exchange/unit.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace wordloom::exchange {

template <typename Read, typename Write>
int FuzzReader(const std::uint8_t* data, std::size_t size, Read read, Write write) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Catalog first;
    try {
        first = read(input);
    } catch (const ExchangeError&) {
        return 0;
    }
    const Catalog second = read(write(first)); // must not fail
    if (second.units.size() != first.units.size())
        std::abort();
    for (std::size_t i = 0; i < first.units.size(); ++i) {
        const Unit& a = first.units[i];
        const Unit& b = second.units[i];
        if (a.source != b.source || a.target != b.target || a.state != b.state)
            std::abort();
    }
    return 0;
}

} // namespace wordloom::exchange
