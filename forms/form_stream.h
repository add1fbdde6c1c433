// Conversion between the two forms of a Delphi form file: the binary form resource (resource
// header + "TPF0" component stream) and the text form (object ... end blocks). Both directions are
// single passes over in-memory buffers; neither depends on the locale.
#pragma once

#include <string>
#include <string_view>

namespace wordloom {

class ByteBuffer;

/// Objects, lists and collections nested deeper than this fail to convert, in both directions, so
/// that hostile input cannot exhaust the stack.
inline constexpr int kMaxFormNesting = 1000;

/// A text-form line longer than this many bytes (its LF not counted) fails with "Line too long".
inline constexpr std::size_t kMaxFormLineLength = 4096;

/// True when data is a form in its text form: it begins with "object ", "inherited " or "inline "
/// in any letter case (a tab or line end may stand for the blank).
bool IsTextForm(std::string_view data);

/// Tells whether a byte begins a double-byte character in the sources' code page.
using LeadByteTest = bool (*)(unsigned char byte);

/// The lead-byte test of a double-byte code page, by its iconv name ("CP932", "CP936", "CP949",
/// "CP950", "JOHAB"); nullptr for any other code page.
LeadByteTest DoubleByteLeadTest(std::string_view codePage);

/// The text form of a binary form resource, with CR LF line ends. With isLeadByte, a long narrow
/// string is never cut between the two bytes of a double-byte character (the cut moves one byte
/// earlier). Throws FormError
/// "Invalid stream format" (bad header or signature, a length beyond the data, nesting too deep)
/// or "Invalid property value" (a tag that does not fit where it stands, or a float that is not a
/// number).
std::string BinaryFormToText(std::string_view binary, LeadByteTest isLeadByte = nullptr);
/// The same, replacing the content of text (its buffer is reused); after a failure text is empty.
void BinaryFormToText(std::string_view binary, std::string& text, LeadByteTest isLeadByte = nullptr);
/// The same into a ByteBuffer, which is cheaper for large forms; after a failure text is empty.
void BinaryFormToText(std::string_view binary, ByteBuffer& text, LeadByteTest isLeadByte = nullptr);

/// The binary form resource of a text form: the resource header, named after the root object's
/// class in upper case, and the component stream. Throws FormError "<message> on line <n>".
std::string TextToBinaryForm(std::string_view text);
/// The same, replacing the content of binary (its buffer is reused); after a failure binary is
/// empty.
void TextToBinaryForm(std::string_view text, std::string& binary);
/// The same into a ByteBuffer, which is cheaper for large forms; after a failure binary is empty.
void TextToBinaryForm(std::string_view text, ByteBuffer& binary);

} // namespace wordloom
