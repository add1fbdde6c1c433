#include "cli/parser.h"
#include "base/ui_text.h"

#include "cli/commands.h"

namespace wordloom::cli {

void SetUpParser(CLI::App& parser) {
    parser.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    parser.option_defaults()->group(WL_TR("wordloom-cli", "Options"));
    parser.set_help_flag("-h,--help", WL_TR("wordloom-cli", "print this help and exit"));
    parser.formatter(MakeFormatter());
    parser.failure_message(
        [](const CLI::App* failed, const CLI::Error& error) { return ParseErrorText(error, failed) + "\n"; });
}

void ReportUsageError(const CLI::App& parser, const std::string& text, std::ostream& err) {
    err << parser.get_name() << ": " << text << "\n"
        << MakeFormatter()->make_usage(&parser, parser.get_name())
        << FillIn(WL_TR("wordloom-cli", "'%1 --help' for help."), {parser.get_name()}) << "\n";
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
        ReportUsageError(parser, ParseErrorText(error, &parser), err);
        return kExitUsage;
    }
}

CLI::Validator CharsetCheck() {
    return CLI::Validator(
        [](const std::string& text) {
            int charset = 0;
            return ParseCharset(text, charset)
                       ? std::string()
                       : FillIn(WL_TR("wordloom-cli", "unknown character set %1"), {text});
        },
        "N");
}

} // namespace wordloom::cli
