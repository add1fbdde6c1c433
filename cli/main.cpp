// wordloom-cli: the engine's commands for batch use. Each command has one line in kCommands.
#include "cli/commands.h"
#include "wordloom_build_info.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <string_view>

namespace wordloom::cli {

namespace {

struct Command {
    std::string_view name;
    std::string_view summary;
    CommandFunction run;
};

constexpr Command kCommands[] = {
    {"form", "convert form files between their binary and text form", FormCommand},
    {"collect", "collect the strings of a project's forms and units into the strings table", CollectCommand},
    {"translate", "rewrite a project's forms and units in another language", TranslateCommand},
};

void PrintUsage(std::ostream& stream) {
    stream << "Usage: wordloom-cli COMMAND [ARGS...]\n"
              "       wordloom-cli COMMAND --help\n"
              "       wordloom-cli --version\n\n"
              "Commands:\n";
    for (const Command& command : kCommands)
        stream << "  " << command.name
               << std::string(12 - std::min<std::size_t>(command.name.size(), 11), ' ') << command.summary
               << "\n";
}

} // namespace
} // namespace wordloom::cli

int main(int argc, char** argv) {
    using namespace wordloom::cli;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintUsage(std::cerr);
        return 1;
    }
    if (args[0] == "--version") {
        std::cout << "wordloom-cli " WORDLOOM_VERSION "\n";
        return 0;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(std::cout);
        return 0;
    }
    for (const Command& command : kCommands) {
        if (command.name == args[0]) {
            try {
                return command.run({args.begin() + 1, args.end()}, std::cout, std::cerr);
            } catch (const std::exception& e) {
                std::cerr << "wordloom-cli: " << e.what() << "\n";
                return 1;
            }
        }
    }
    std::cerr << "wordloom-cli: unknown command \"" << args[0] << "\"\n\n";
    PrintUsage(std::cerr);
    return 1;
}
