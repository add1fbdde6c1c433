#include "cli/commands.h"

#include "collect/errors.h"
#include "collect/file_io.h"
#include "collect/form_stream.h"

namespace wordloom::cli {

namespace {

constexpr const char* kUsage =
    "Usage: wordloom-cli form totext IN OUT\n"
    "       wordloom-cli form tobinary IN OUT\n"
    "\n"
    "Converts a Delphi form file (.dfm) between its binary form and its text form.\n"
    "IN may be either form; a form already in the wanted form is passed through the\n"
    "conversion, so OUT is always written canonically. OUT is replaced only when the\n"
    "whole conversion succeeded; IN and OUT may be the same file.\n";

/// The binary form of a form file in either form.
std::string AsBinary(const std::string& data) {
    return TextToBinaryForm(IsTextForm(data) ? data : BinaryFormToText(data));
}

/// The text form of a form file in either form.
std::string AsText(const std::string& data) {
    return BinaryFormToText(IsTextForm(data) ? TextToBinaryForm(data) : data);
}

} // namespace

int FormCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (WantsHelp(args)) {
        out << kUsage;
        return 0;
    }
    if (args.size() != 3 || (args[0] != "totext" && args[0] != "tobinary")) {
        err << kUsage;
        return 1;
    }
    const std::string& source = args[1];
    const std::string& target = args[2];
    std::string data;
    try {
        data = ReadFileBytes(source);
    } catch (const EngineError& e) {
        err << e.what() << "\n";
        return 1;
    }
    try {
        const std::string result = args[0] == "totext" ? AsText(data) : AsBinary(data);
        WriteFileAtomically(target, result);
    } catch (const FormError& e) {
        err << source << ": " << e.what() << "\n";
        return 1;
    } catch (const EngineError& e) {
        err << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace wordloom::cli
