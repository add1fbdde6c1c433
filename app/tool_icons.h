// Icons of the tool bar: the desktop theme's where it has them, otherwise drawn ones, so the
// buttons never fall back to long texts.
#pragma once

#include <QIcon>
#include <QStyle>

namespace wordloom {

/// The theme's icon `themeName`, or the style's standard icon.
QIcon ToolIcon(const char* themeName, QStyle::StandardPixmap fallback);
/// The theme's icon `themeName`, or `glyph` drawn in the palette's text colour.
QIcon ToolIcon(const char* themeName, const QString& glyph);

} // namespace wordloom
