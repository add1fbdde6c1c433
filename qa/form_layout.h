// The layout of one form file as the form-aware checks need it: the tree of components with their
// class, size, font and caption. Read through the one form codec, so a text form and a binary form
// give the same tree.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom {
class CodePage;
} // namespace wordloom

namespace wordloom::qa {

/// A font as far as the form file states it; what it leaves out comes from the parent.
struct FormFont {
    std::optional<std::string> name;
    /// Font.Height: below 0 the em size in pixels, above 0 the cell height (internal leading in).
    std::optional<int> height;
    std::optional<int> size; ///< Font.Size in points (newer forms may store it instead of Height)
    std::optional<bool> bold, italic, underline, strikeOut; ///< from Font.Style, all set or none
};

/// A font with every part known.
struct ResolvedFont {
    std::string name = "MS Sans Serif"; // the font of a form that names none
    double pixelSize = 11;              ///< em size in the form's pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const ResolvedFont&) const = default;
};

/// One object of the form.
struct FormComponent {
    std::string name;      ///< empty for an unnamed object
    std::string className; ///< as stored, e.g. "TButton"
    std::string path;      ///< the names from the root down, dot-separated (as collected)
    int parent = -1;       ///< index in FormLayout::Components(); -1 for the root
    bool inherited = false;
    bool inlineFrame = false; ///< an embedded frame: its controls are in the frame's own form
    std::optional<int> width;
    std::optional<int> height;
    std::optional<bool> autoSize;
    std::optional<bool> wordWrap;
    std::optional<bool> parentFont;
    std::optional<int> tabWidth; ///< a page control's fixed tab width
    int glyphWidth = 0;          ///< the bitmap drawn beside the caption (Glyph), 0 for none
    int numGlyphs = 1;           ///< images side by side in that bitmap (NumGlyphs)
    FormFont font;
    std::optional<std::string> caption; ///< UTF-8
};

/// The component tree of a form file.
class FormLayout {
public:
    /// Parses a form file's bytes (text or binary form); narrow strings are decoded in `codePage`.
    /// Throws FormError when the form cannot be read.
    static FormLayout Read(std::string_view bytes, const CodePage& codePage);

    /// In stream order: a parent always stands before its children; the root is index 0.
    const std::vector<FormComponent>& Components() const { return m_components; }
    /// The index of the component with this path, or -1.
    int Find(std::string_view path) const;
    /// The form's PixelsPerInch (96 when it states none).
    int PixelsPerInch() const { return m_pixelsPerInch; }
    /// The font the component draws with: its own parts over its parent's font when ParentFont is
    /// off (a component that stores a font part has it off unless it says otherwise), else the
    /// parent's.
    ResolvedFont Font(int index) const;
    /// Whether the root is an inherited form: sizes its ancestor holds are not in this file.
    bool Inherited() const { return !m_components.empty() && m_components.front().inherited; }
    /// Whether the form embeds a frame whose controls are in the frame's own form.
    bool HasInlineFrames() const;

    /// A form (already completed) by the class of its root; nullptr when the project has none.
    using FormOfClass = std::function<const FormLayout*(std::string_view className)>;
    /// The form as it is built at run time: `descendant` (an inherited form's own file) laid over
    /// its `ancestor` (nullptr: the root is taken as it stands), and each embedded frame over the
    /// frame's form from `frameOf`. What the descendant states overrides; its own controls follow
    /// the inherited ones of the same parent.
    static FormLayout Inherit(const FormLayout* ancestor, const FormLayout& descendant,
                              const FormOfClass& frameOf);

private:
    friend class FormLayoutBuilder;
    friend class FormLayoutMerger;
    void IndexPaths();
    std::vector<FormComponent> m_components;
    std::vector<int> m_byPath; // component indexes in path order
    int m_pixelsPerInch = 96;
    bool m_pixelsPerInchStated = false;
};

} // namespace wordloom::qa
