#include "shell/core/file_time_text.h"

#include <QLocale>

namespace wordloom::shell {

QString FormatFileTime(const QDateTime& time) {
    if (!time.isValid() || time.toMSecsSinceEpoch() == 0)
        return QString();
    QDateTime local = time.toLocalTime();
    // Two-second steps, as file times were always shown.
    local = local.addSecs(-(local.time().second() % 2));
    const QLocale locale;
    return locale.toString(local.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(local.time(), QLocale::ShortFormat);
}

} // namespace wordloom::shell
