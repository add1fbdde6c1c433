#include "cli/parser.h"

#include "cli/commands.h"

#include <memory>

namespace wordloom::cli {

namespace {

std::shared_ptr<CLI::Formatter> MakeFormatter() {
    auto formatter = std::make_shared<CLI::Formatter>();
    formatter->label("SUBCOMMAND", "COMMAND");
    return formatter;
}

} // namespace

void SetUpParser(CLI::App& parser) {
    parser.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    parser.set_help_flag("-h,--help", "print this help and exit");
    parser.formatter(MakeFormatter());
}

void ReportUsageError(const CLI::App& parser, const std::string& text, std::ostream& err) {
    err << parser.get_name() << ": " << text << "\n"
        << MakeFormatter()->make_usage(&parser, parser.get_name()) << "'" << parser.get_name()
        << " --help' for help.\n";
}

std::optional<int> ParseCommandLine(CLI::App& parser, const std::vector<std::string>& args, std::ostream& out,
                                    std::ostream& err) {
    std::vector<std::string> words(args.rbegin(), args.rend()); // the parser takes them last first
    try {
        parser.parse(words);
        return std::nullopt;
    } catch (const CLI::CallForHelp&) {
        out << parser.help();
        return kExitSuccess;
    } catch (const CLI::ParseError& error) {
        ReportUsageError(parser, error.what(), err);
        return kExitUsage;
    }
}

CLI::Validator CharsetCheck() {
    return CLI::Validator(
        [](const std::string& text) {
            int charset = 0;
            return ParseCharset(text, charset) ? std::string() : "unknown character set " + text;
        },
        "N");
}

} // namespace wordloom::cli
