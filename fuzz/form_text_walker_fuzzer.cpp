// Form-text walker: any input is walked to its end; the events' lines are the text's lines, each
// once, and a whole value's source reads back as the value.
#include "forms/form_text_walker.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wordloom;
    static const std::vector<std::string> properties = {"Caption", "Hint", "Items.Strings"};
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    FormTextWalker walker(text, properties, true);
    std::size_t lines = 0;
    while (walker.Next()) {
        lines += walker.Lines().size();
        if (walker.Event() != FormTextEvent::Value || !walker.Whole())
            continue;
        std::size_t pos = 0;
        PascalString value;
        const std::string_view source = walker.Source();
        if (!ReadStringExpression(source, pos, value) || pos != source.size() || !(value == walker.Value()))
            std::abort();
    }
    if (lines != static_cast<std::size_t>(walker.LineCount()))
        std::abort();
    return 0;
}
