// How the shell components show a file's change time, in the detail columns and the properties.
#pragma once

#include <QDateTime>
#include <QString>

namespace wordloom::shell {

// Local short date and time, in two-second steps; empty for a time that is not set.
QString FormatFileTime(const QDateTime& time);

} // namespace wordloom::shell
