// SQL identifiers in double quotes, the same on every backend.
#pragma once

#include <string>

namespace wordloom::sql {

inline std::string Quote(const std::string& identifier) {
    std::string quoted = "\"";
    for (char c : identifier) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

} // namespace wordloom::sql
