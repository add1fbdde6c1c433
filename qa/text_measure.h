// How wide a text is drawn: the one thing the truncation check cannot know without a font engine.
// The engine stays free of Qt; a front end hands in a measure built on real font metrics, and
// without one the checks use an estimate and say so.
#pragma once

#include <string>
#include <string_view>

namespace wordloom::qa {

/// A font as a form describes it, sized in the form's own pixels.
struct FontDescription {
    std::string family;     ///< as the form names it ("MS Sans Serif", "Tahoma", "Segoe UI")
    double pixelSize = 11;  ///< em size in the form's pixels
    int pixelsPerInch = 96; ///< the form's PixelsPerInch, which those pixels are counted at
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    /// The advance width in the form's pixels of one line of text (UTF-8, no line breaks, "&" drawn
    /// as it stands) in the font, or in the closest font installed.
    virtual double TextWidth(std::string_view utf8, const FontDescription& font) = 0;
    /// True when the widths are estimated from character classes rather than measured.
    virtual bool Estimated() const { return false; }
    /// The font actually used for `font` (its family name), for messages; the family itself when
    /// the measure cannot tell.
    virtual std::string UsedFamily(const FontDescription& font) { return font.family; }
};

/// A measure without font metrics: every character gets a share of the em by its class (narrow
/// punctuation, ordinary letters, capitals, East Asian wide characters), bold a tenth more. Good
/// enough to catch a caption twice the room, not to count single pixels.
class EstimatingTextMeasure final : public TextMeasure {
public:
    double TextWidth(std::string_view utf8, const FontDescription& font) override;
    bool Estimated() const override { return true; }
};

} // namespace wordloom::qa
