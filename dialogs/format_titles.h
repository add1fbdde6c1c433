// The exchange formats as the dialogs name them: one list (exchange::Formats) for export and import.
#pragma once

#include "exchange/exchange_file.h"

#include <QString>

namespace wordloom {

/// The format's title in the user's language.
QString FormatTitle(const exchange::FormatInfo& info);
/// The extension of a file of the format, without the dot.
QString FormatExtension(const exchange::FormatInfo& info);

} // namespace wordloom
