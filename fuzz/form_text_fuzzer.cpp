// Text form parser: any input either fails with a FormError or converts; a binary form it produces
// must read back and give the same binary once more.
#include "base/errors.h"
#include "forms/form_stream.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wordloom;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string binary;
    try {
        binary = TextToBinaryForm(input);
    } catch (const FormError&) {
        return 0;
    }
    const std::string text = BinaryFormToText(binary); // must not fail
    if (TextToBinaryForm(text) != binary)
        std::abort();
    return 0;
}
