#include "cli/json_text.h"

#include <cstdio>

namespace wordloom::cli {

std::string JsonString(const std::string& text) {
    std::string json = "\"";
    for (char c : text) {
        switch (c) {
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
                json += escaped;
            } else {
                json += c;
            }
        }
    }
    return json + '"';
}

} // namespace wordloom::cli
