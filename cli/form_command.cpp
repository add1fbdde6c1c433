#include "cli/commands.h"

#include "collect/errors.h"
#include "collect/file_io.h"
#include "collect/form_stream.h"

namespace wordloom::cli {

namespace {

constexpr const char* kUsage =
    "Usage: wordloom-cli form totext IN OUT [--codepage NAME]\n"
    "       wordloom-cli form tobinary IN OUT\n"
    "\n"
    "Converts a Delphi form file (.dfm) between its binary form and its text form.\n"
    "IN may be either form; a form already in the wanted form is passed through the\n"
    "conversion, so OUT is always written canonically. OUT is replaced only when the\n"
    "whole conversion succeeded; IN and OUT may be the same file.\n"
    "\n"
    "--codepage NAME  the code page of the form's texts (CP932, CP936, CP949, CP950,\n"
    "                 JOHAB): long texts are then never cut inside a character.\n";

/// The binary form of a form file in either form.
std::string AsBinary(const std::string& data) {
    return TextToBinaryForm(IsTextForm(data) ? data : BinaryFormToText(data));
}

/// The text form of a form file in either form.
std::string AsText(const std::string& data, LeadByteTest isLeadByte) {
    return BinaryFormToText(IsTextForm(data) ? TextToBinaryForm(data) : data, isLeadByte);
}

} // namespace

int FormCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (WantsHelp(args)) {
        out << kUsage;
        return 0;
    }
    std::vector<std::string> words;
    LeadByteTest isLeadByte = nullptr;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--codepage" && i + 1 < args.size())
            isLeadByte = DoubleByteLeadTest(args[++i]);
        else
            words.push_back(args[i]);
    }
    if (words.size() != 3 || (words[0] != "totext" && words[0] != "tobinary")) {
        err << kUsage;
        return 1;
    }
    const std::string& source = words[1];
    const std::string& target = words[2];
    std::string data;
    try {
        data = ReadFileBytes(source);
    } catch (const EngineError& e) {
        err << e.what() << "\n";
        return 1;
    }
    try {
        const std::string result = words[0] == "totext" ? AsText(data, isLeadByte) : AsBinary(data);
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
