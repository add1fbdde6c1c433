#include "dialogs/url_label.h"

#include "dialogs/shell_open.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

namespace wordloom {

TUrlLabel::TUrlLabel(QWidget* owner) : QLabel(owner), m_popup(new QMenu(this)) {
    setCursor(Qt::PointingHandCursor);
    SetTextColor(QColor(0, 0, 255));
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    m_popup->addAction(tr("Copy"), this, [this] { QGuiApplication::clipboard()->setText(text()); });
}

QString TUrlLabel::Target() const {
    const QString target = m_url.trimmed().isEmpty() ? text() : m_url;
    return target.trimmed().isEmpty() ? QString() : target;
}

QColor TUrlLabel::TextColor() const {
    return palette().color(QPalette::WindowText);
}

void TUrlLabel::SetTextColor(const QColor& color) {
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, color);
    setPalette(pal);
}

void TUrlLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_savedColor = TextColor();
        m_leftDown = true;
        SetTextColor(m_activeColor);
    }
    QLabel::mousePressEvent(event);
}

void TUrlLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = event->button() == Qt::LeftButton && m_leftDown;
    if (click) {
        m_leftDown = false;
        SetTextColor(m_savedColor);
    }
    QLabel::mouseReleaseEvent(event);
    if (click && rect().contains(event->position().toPoint())) {
        Click();
    }
}

void TUrlLabel::contextMenuEvent(QContextMenuEvent* event) {
    m_popup->popup(event->globalPos());
}

void TUrlLabel::Click() {
    emit Clicked();
    if (const QString target = Target(); !target.isEmpty()) {
        OpenDocument(target);
    }
}

} // namespace wordloom
