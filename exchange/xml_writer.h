// XML written as it goes, into a string: the exchange formats write a unit at a time instead of
// building a whole document first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wordloom::exchange {

/// Writes elements, attributes and text in document order, indented by two blanks per level. An
/// element holding text keeps all of its content on its line (indentation there would be read
/// back as text); an element without content is written "<name />". Text and attribute values
/// are escaped, every CR as "&#13;" so it reads back as CR. A value ends at a NUL character.
class XmlWriter {
public:
    /// Starts the document with its declaration (UTF-8); `expectedSize` is room reserved for it.
    explicit XmlWriter(std::size_t expectedSize = 0);

    void Open(std::string_view name);
    /// An attribute of the element just opened, before any of its content.
    void Attribute(std::string_view name, std::string_view value);
    void Attribute(std::string_view name, long long value);
    /// Text content; an empty one still makes the element one with content.
    void Text(std::string_view text);
    void Close();
    /// An element holding only `text` (escaped as Text does).
    void TextElement(std::string_view name, std::string_view text);

    /// Writes a character XML 1.0 cannot hold (a control character but tab, LF, CR) as an element;
    /// `index` counts them within one text, from 1.
    using ControlWriter = void (*)(XmlWriter& writer, unsigned char code, int index);
    /// `text` as the content of the element just opened, with `writeControl` for the characters XML
    /// cannot hold (the reader's InlineText turns them back).
    void MixedText(std::string_view text, ControlWriter writeControl);

    /// The document; the writer is spent.
    std::string Finish();

private:
    void EndStartTag();
    void NewLine();

    std::string m_out;
    std::vector<std::string> m_open;
    bool m_inStartTag = false;
    bool m_breakLine = false; // false right after text: the next tag stays on its line
};

/// The placeholder of XLIFF 1.2 and TMX: <ph `indexName`=`index` `typeName`="x-ch-0xHH" />.
void WritePlaceholder(XmlWriter& writer, std::string_view indexName, std::string_view index,
                      std::string_view typeName, unsigned char code);

} // namespace wordloom::exchange
