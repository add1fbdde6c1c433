#include "cli/commands.h"

#include <algorithm>

namespace wordloom::cli {

bool WantsHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& a) { return a == "--help" || a == "-h"; });
}

} // namespace wordloom::cli
