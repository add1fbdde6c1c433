// The option parser's own words (help labels, command line faults) in the user's language. The parser
// library writes them in English only and hands a fault over as a finished sentence, so each fault
// class is read back into its parts (the option, the value) and said again in our own words.
#include "base/ui_text.h"
#include "cli/parser.h"

#include <string_view>

namespace wordloom::cli {

namespace {

constexpr std::size_t npos = std::string::npos;

/// The help's text for an option's values: a type name, perhaps followed by what its check accepts
/// ("TEXT:{totext,tobinary}"), keeps the latter but says the former in the user's language.
class TranslatedFormatter : public CLI::Formatter {
public:
    std::string make_option_opts(const CLI::Option* option) const override {
        std::string text = CLI::Formatter::make_option_opts(option);
        const std::string type = option->get_type_name();
        const std::size_t colon = type.find(':');
        if (colon == npos || !option->get_option_text().empty())
            return text;
        if (const std::size_t at = text.find(" " + type); at != npos)
            text.replace(at + 1, colon, get_label(type.substr(0, colon)));
        return text;
    }
};

/// Splits `text` at the first `separator`: the part before it and the part after it.
bool SplitAt(std::string_view text, std::string_view separator, std::string& before, std::string& after) {
    const std::size_t at = text.find(separator);
    if (at == npos)
        return false;
    before = text.substr(0, at);
    after = text.substr(at + separator.size());
    return true;
}

std::string UnexpectedWordsText(const std::string& message, const CLI::App* parser) {
    // "The following argument was not expected: WORD" or "... arguments were ...: WORD WORD", the
    // words last first; the parser still holds them in the order they were typed.
    std::string head;
    std::string words;
    if (!SplitAt(message, ": ", head, words))
        return message;
    if (parser != nullptr && !parser->remaining(false).empty()) {
        words.clear();
        for (const std::string& word : parser->remaining(false))
            words += (words.empty() ? "" : " ") + word;
    }
    if (head.find("arguments") != npos)
        return FillIn(WL_TR("wordloom-cli", "unexpected arguments: %1"), {words});
    if (words.starts_with("-"))
        return FillIn(WL_TR("wordloom-cli", "unknown option %1"), {words});
    return FillIn(WL_TR("wordloom-cli", "unexpected argument %1"), {words});
}

std::string MissingText(const std::string& message) {
    constexpr std::string_view kRequired = " is required";
    if (std::string_view(message).ends_with(kRequired))
        return FillIn(WL_TR("wordloom-cli", "%1 is required"),
                      {message.substr(0, message.size() - kRequired.size())});
    if (message == "A subcommand")
        return WL_TR("wordloom-cli", "no command given");
    return message;
}

std::string ValueCountText(const std::string& message) {
    std::string name;
    std::string rest;
    if (std::string_view(message).ends_with(" was given a disallowed flag override") ||
        (SplitAt(message, ": ", name, rest) && rest == "too many inputs for a flag")) {
        return FillIn(WL_TR("wordloom-cli", "%1 takes no value"),
                      {name.empty() ? message.substr(0, message.find(' ')) : name});
    }
    if (!SplitAt(message, ": ", name, rest))
        return message;
    std::string count;
    std::string tail;
    // "NAME: 1 required FILE missing": the option came last, without its value.
    if (SplitAt(rest, " required ", count, tail) && tail.ends_with(" missing")) {
        return count == "1" ? FillIn(WL_TR("wordloom-cli", "%1 needs a value"), {name})
                            : FillIn(WL_TR("wordloom-cli", "%1 needs %2 values"), {name, count});
    }
    std::string received;
    if (SplitAt(rest, " required but received ", count, received)) {
        if (count.starts_with("At least "))
            return FillIn(WL_TR("wordloom-cli", "%1 needs at least %2 values, got %3"),
                          {name, count.substr(9), received});
        if (count.starts_with("At Most "))
            return FillIn(WL_TR("wordloom-cli", "%1 takes at most %2 values, got %3"),
                          {name, count.substr(8), received});
    }
    return message;
}

std::string BadValueText(const std::string& message) {
    std::string head;
    std::string rest;
    std::string value;
    std::string name;
    if (SplitAt(message, "The value ", head, rest) && head.empty() &&
        SplitAt(rest, " is not an allowed value for ", value, name)) {
        return FillIn(WL_TR("wordloom-cli", "%1: the value %2 is not allowed"), {name, value});
    }
    if (SplitAt(message, "Could not convert: ", head, rest) && head.empty() &&
        SplitAt(rest, " = ", name, value))
        return FillIn(WL_TR("wordloom-cli", "%1: cannot read the value %2"), {name, value});
    if (SplitAt(message, ": ", name, value) && value == "Should be true/false or a number")
        return FillIn(WL_TR("wordloom-cli", "%1 takes true, false or a number"), {name});
    return message;
}

std::string CheckFailedText(const std::string& message) {
    // "NAME: DETAIL"; our own checks write DETAIL translated already, a choice of words does not.
    std::string name;
    std::string detail;
    if (!SplitAt(message, ": ", name, detail))
        return message;
    std::string value;
    std::string choices;
    if (SplitAt(detail, " not in ", value, choices) && choices.starts_with("{"))
        return FillIn(WL_TR("wordloom-cli", "%1: %2 is not one of %3"), {name, value, choices});
    return name + ": " + detail;
}

} // namespace

std::shared_ptr<CLI::Formatter> MakeFormatter() {
    auto formatter = std::make_shared<TranslatedFormatter>();
    formatter->label("SUBCOMMAND", WL_TR("wordloom-cli", "COMMAND"));
    formatter->label("SUBCOMMANDS", WL_TR("wordloom-cli", "COMMANDS"));
    formatter->label("Usage", WL_TR("wordloom-cli", "Usage"));
    formatter->label("OPTIONS", WL_TR("wordloom-cli", "OPTIONS"));
    formatter->label("Positionals", WL_TR("wordloom-cli", "Positionals"));
    formatter->label("Options", WL_TR("wordloom-cli", "Options"));
    formatter->label("REQUIRED", WL_TR("wordloom-cli", "REQUIRED"));
    formatter->label("TEXT", WL_TR("wordloom-cli", "TEXT"));
    formatter->label("Env", WL_TR("wordloom-cli", "Env"));
    formatter->label("Needs", WL_TR("wordloom-cli", "Needs"));
    formatter->label("Excludes", WL_TR("wordloom-cli", "Excludes"));
    return formatter;
}

std::string ParseErrorText(const CLI::Error& error, const CLI::App* parser) {
    const std::string message = error.what();
    std::string first;
    std::string second;
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr)
        return UnexpectedWordsText(message, parser);
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr)
        return MissingText(message);
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr)
        return ValueCountText(message);
    if (dynamic_cast<const CLI::ConversionError*>(&error) != nullptr)
        return BadValueText(message);
    if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr)
        return CheckFailedText(message);
    if (dynamic_cast<const CLI::RequiresError*>(&error) != nullptr &&
        SplitAt(message, " requires ", first, second))
        return FillIn(WL_TR("wordloom-cli", "%1 needs %2 as well"), {first, second});
    if (dynamic_cast<const CLI::ExcludesError*>(&error) != nullptr &&
        SplitAt(message, " excludes ", first, second))
        return FillIn(WL_TR("wordloom-cli", "%1 cannot be used together with %2"), {first, second});
    // Configuration files and unlimited positionals are not used: their faults cannot arise here and
    // keep the parser's words, as does a sentence that no longer reads as above.
    return message;
}

} // namespace wordloom::cli
