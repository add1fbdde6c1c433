#include "app/tool_icons.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>

namespace wordloom {

namespace {

QIcon ThemeIcon(const char* themeName) {
    const QString name = QString::fromLatin1(themeName);
    QIcon icon = QIcon::fromTheme(name);
    // Newer themes ship only the symbolic variants.
    return icon.isNull() ? QIcon::fromTheme(name + QStringLiteral("-symbolic")) : icon;
}

} // namespace

QIcon ToolIcon(const char* themeName, QStyle::StandardPixmap fallback) {
    const QIcon icon = ThemeIcon(themeName);
    return icon.isNull() ? QApplication::style()->standardIcon(fallback) : icon;
}

QIcon ToolIcon(const char* themeName, const QString& glyph) {
    if (const QIcon icon = ThemeIcon(themeName); !icon.isNull()) {
        return icon;
    }
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font = QApplication::font();
    font.setPixelSize(26);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QApplication::palette().color(QPalette::ButtonText));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, glyph);
    return QIcon(pixmap);
}

} // namespace wordloom
