// Binary form reader: any input either fails with a FormError or converts; what converts to a text
// that parses must then be a fixed point of binary -> text -> binary.
#include "base/errors.h"
#include "forms/form_stream.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wordloom;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string text;
    std::string binary;
    try {
        text = BinaryFormToText(input);
    } catch (const FormError&) {
        return 0;
    }
    try {
        binary = TextToBinaryForm(text);
    } catch (const FormError&) {
        return 0; // names that are not identifiers, for instance
    }
    // A binary form we produced must read back, and convert to the very same bytes again.
    if (TextToBinaryForm(BinaryFormToText(binary)) != binary)
        std::abort();
    return 0;
}
