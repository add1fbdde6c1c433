// Text widths from the fonts installed here, for the checks on forms (qa/text_measure.h).
#pragma once

#include "qa/text_measure.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace wordloom {

/// Measures with QFontMetricsF in the font the form names, or the closest installed one (the font
/// database's own substitution). Needs a QGuiApplication for its whole life.
class QtTextMeasure final : public qa::TextMeasure {
public:
    /// Makes Wine's look-alike of Tahoma known when it is installed, and measures the old dialog
    /// fonts (MS Sans Serif, MS Shell Dlg), when missing, in Microsoft Sans Serif or Tahoma: most
    /// forms name one of those, and a look-alike measures far closer to what the form shows than
    /// the generic fallback does.
    QtTextMeasure();

    double TextWidth(std::string_view utf8, const qa::FontDescription& font) override;
    std::string UsedFamily(const qa::FontDescription& font) override;

    /// The Qt font for a form's font: the pixel size is the form's (its own pixels per inch), so
    /// the screen's resolution plays no part.
    static QFont MakeFont(const qa::FontDescription& font);

private:
    const QFontMetricsF& Metrics(const qa::FontDescription& font);

    using Key = std::tuple<std::string, int, bool, bool, bool, bool>;
    std::map<Key, std::unique_ptr<QFontMetricsF>> m_metrics; // most forms use a handful of fonts
};

} // namespace wordloom
