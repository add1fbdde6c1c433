#include "dialogs/format_titles.h"
#include "base/ui_text.h"

namespace wordloom {

QString FormatTitle(const exchange::FormatInfo& info) {
    return QString::fromStdString(TranslateText("exchange", info.title));
}

QString FormatExtension(const exchange::FormatInfo& info) {
    return QString::fromLatin1(info.extension.data(), static_cast<qsizetype>(info.extension.size()));
}

} // namespace wordloom
