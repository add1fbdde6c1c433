#include "base/ui_text.h"
#include "cli/commands.h"
#include "cli/parser.h"

#include "base/byte_buffer.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "forms/form_stream.h"

namespace wordloom::cli {

namespace {

// ByteBuffers throughout: a form of megabytes is read, converted and written without zero fills
// or copies of the whole.

/// The binary form of a form file in either form.
void ConvertToBinary(const ByteBuffer& data, ByteBuffer& binary) {
    if (IsTextForm(data.view())) {
        TextToBinaryForm(data.view(), binary);
        return;
    }
    ByteBuffer text;
    BinaryFormToText(data.view(), text);
    TextToBinaryForm(text.view(), binary);
}

/// The text form of a form file in either form.
void ConvertToText(const ByteBuffer& data, ByteBuffer& text, LeadByteTest isLeadByte) {
    if (!IsTextForm(data.view())) {
        BinaryFormToText(data.view(), text, isLeadByte);
        return;
    }
    ByteBuffer binary;
    TextToBinaryForm(data.view(), binary);
    BinaryFormToText(binary.view(), text, isLeadByte);
}

} // namespace

int FormCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string mode;
    std::string source;
    std::string target;
    std::string codePage;
    CLI::App parser(WL_TR("wordloom-cli",
                          "Converts a Delphi form file (.dfm) between its binary form and its text form:\n"
                          "  wordloom-cli form totext IN OUT [--codepage NAME]\n"
                          "  wordloom-cli form tobinary IN OUT\n"
                          "IN may be either form; a form already in the wanted form is passed through the\n"
                          "conversion, so OUT is always written canonically. OUT is replaced only when the\n"
                          "whole conversion succeeded; IN and OUT may be the same file."),
                    "wordloom-cli form");
    SetUpParser(parser);
    parser.add_option("MODE", mode, WL_TR("wordloom-cli", "totext or tobinary"))
        ->required()
        ->check(CLI::IsMember({"totext", "tobinary"}));
    parser.add_option("IN", source, WL_TR("wordloom-cli", "the form file to convert"))->required();
    parser.add_option("OUT", target, WL_TR("wordloom-cli", "the file to write"))->required();
    parser
        .add_option(
            "--codepage", codePage,
            WL_TR("wordloom-cli",
                  "the code page of the form's texts (CP932, CP936, CP949, CP950, JOHAB): long texts are "
                  "then never cut inside a character"))
        ->option_text("NAME");
    if (const std::optional<int> status = ParseCommandLine(parser, args, out, err))
        return *status;
    const LeadByteTest isLeadByte = codePage.empty() ? nullptr : DoubleByteLeadTest(codePage);
    ByteBuffer data;
    try {
        ReadFileBytes(source, data);
    } catch (const EngineError& e) {
        err << e.what() << "\n";
        return kExitFailure;
    }
    try {
        ByteBuffer result;
        if (mode == "totext")
            ConvertToText(data, result, isLeadByte);
        else
            ConvertToBinary(data, result);
        WriteFileAtomically(target, result.view());
    } catch (const FormError& e) {
        err << source << ": " << e.what() << "\n";
        return kExitFailure;
    } catch (const EngineError& e) {
        err << e.what() << "\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace wordloom::cli
