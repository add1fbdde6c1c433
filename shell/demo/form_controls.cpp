#include "shell/demo/form_controls.h"

#include "shell/forms/form_reader.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <mutex>

namespace wordloom::shell {

// Linking these classes in makes them known to form files.
[[maybe_unused]] static const bool kFormControlsRegistered = (RegisterFormControls(), true);

void RegisterFormControls() {
    static std::once_flag once;
    std::call_once(once, [] {
        TComponentRegistry::Register<TPanel>();
        TComponentRegistry::Register<TSpeedButton>();
        TComponentRegistry::Register<TSplitter>();
        TComponentRegistry::Register<TStatusBar>();
        TComponentRegistry::Register<TMenuItem>();
        TComponentRegistry::Register<TMainMenu>();
        TComponentRegistry::Register<TPopupMenu>();
    });
}

// ---- panel ----

TPanel::TPanel(QWidget* owner) : QFrame(owner), TComponentState(this) {
    resize(185, 41);
}

void TPanel::SetAlign(TAlign align) {
    m_align = align;
    RequestAlign(this);
}

void TPanel::SetWidth(int value) {
    resize(value, height());
    RequestAlign(this);
}

void TPanel::SetHeight(int value) {
    resize(width(), value);
    RequestAlign(this);
}

void TPanel::SetBevelInner(FormControls::TBevelCut value) {
    m_bevelInner = value;
    update();
}

void TPanel::SetBevelOuter(FormControls::TBevelCut value) {
    m_bevelOuter = value;
    update();
}

bool TPanel::event(QEvent* event) {
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Resize)
        AlignControls(this, contentsRect());
    return QFrame::event(event);
}

void TPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const auto bevel = [&painter](QRect rect, FormControls::TBevelCut cut, const QPalette& palette) {
        if (cut == FormControls::TBevelCut::bvNone)
            return;
        const QColor light = palette.color(QPalette::Light);
        const QColor dark = palette.color(QPalette::Dark);
        const QColor topLeft = cut == FormControls::TBevelCut::bvRaised ? light : dark;
        const QColor bottomRight = cut == FormControls::TBevelCut::bvRaised ? dark : light;
        painter.setPen(topLeft);
        painter.drawLine(rect.topLeft(), rect.topRight());
        painter.drawLine(rect.topLeft(), rect.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        painter.drawLine(rect.topRight(), rect.bottomRight());
    };
    QRect rect = this->rect();
    bevel(rect, m_bevelOuter, palette());
    bevel(rect.adjusted(1, 1, -1, -1), m_bevelInner, palette());
}

// ---- speed button ----

namespace {

// Pictures of the tool bar where the icon theme has none: drawn, so they look the same everywhere.
QIcon DrawnGlyph(const QString& name) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink(40, 40, 40);
    const QColor folder(222, 180, 60);
    painter.setPen(QPen(ink, 1));
    if (name == QLatin1String("go-up")) {
        painter.setBrush(folder);
        painter.drawRect(1, 6, 13, 8);
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(8, 12, 8, 2);
        painter.drawLine(8, 2, 5, 5);
        painter.drawLine(8, 2, 11, 5);
    } else if (name == QLatin1String("edit-delete")) {
        painter.setPen(QPen(QColor(200, 0, 0), 2.5));
        painter.drawLine(3, 3, 13, 13);
        painter.drawLine(13, 3, 3, 13);
    } else if (name == QLatin1String("document-properties")) {
        painter.setBrush(Qt::white);
        painter.drawRect(3, 1, 10, 14);
        for (int y = 4; y <= 12; y += 3)
            painter.drawLine(5, y, 11, y);
    } else if (name == QLatin1String("view-list-icons")) {
        painter.setBrush(QColor(70, 110, 200));
        painter.drawRect(1, 1, 6, 6);
        painter.drawRect(9, 1, 6, 6);
        painter.drawRect(1, 9, 6, 6);
        painter.drawRect(9, 9, 6, 6);
    } else if (name == QLatin1String("view-list-compact")) {
        painter.setBrush(QColor(70, 110, 200));
        for (int y = 2; y <= 11; y += 4) {
            painter.drawRect(1, y, 3, 3);
            painter.drawRect(9, y, 3, 3);
            painter.drawLine(5, y + 1, 7, y + 1);
            painter.drawLine(13, y + 1, 15, y + 1);
        }
    } else if (name == QLatin1String("view-list-text")) {
        painter.setBrush(QColor(70, 110, 200));
        for (int y = 2; y <= 13; y += 4) {
            painter.drawRect(1, y, 3, 3);
            painter.drawLine(6, y + 1, 14, y + 1);
        }
    } else if (name == QLatin1String("view-list-details")) {
        painter.setBrush(QColor(70, 110, 200));
        painter.drawRect(1, 1, 14, 3);
        painter.setBrush(Qt::NoBrush);
        for (int y = 7; y <= 14; y += 3) {
            painter.drawLine(1, y, 7, y);
            painter.drawLine(9, y, 15, y);
        }
    } else if (name == QLatin1String("network-server")) {
        painter.setBrush(QColor(180, 180, 190));
        painter.drawRect(2, 1, 12, 9);
        painter.drawLine(8, 10, 8, 13);
        painter.drawLine(2, 14, 14, 14);
    } else {
        painter.setBrush(folder);
        painter.drawRect(2, 2, 12, 12);
    }
    return QIcon(pixmap);
}

} // namespace

TSpeedButton::TSpeedButton(QWidget* owner) : QToolButton(owner), TComponentState(this) {
    setFocusPolicy(Qt::NoFocus);
    setAutoRaise(true);
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    resize(23, 22);
    connect(this, &QToolButton::clicked, this, &TSpeedButton::Click);
}

void TSpeedButton::SetGroupIndex(int value) {
    m_groupIndex = value;
    setCheckable(value > 0);
}

void TSpeedButton::SetDown(bool value) {
    if (m_groupIndex <= 0) {
        setDown(value);
        return;
    }
    setChecked(value);
    if (!value || !parentWidget())
        return;
    for (TSpeedButton* other : parentWidget()->findChildren<TSpeedButton*>(Qt::FindDirectChildrenOnly)) {
        if (other != this && other->GroupIndex() == m_groupIndex)
            other->setChecked(false);
    }
}

void TSpeedButton::Click() {
    // A down button of a group stays down when clicked again (unless all may be up).
    if (m_groupIndex > 0)
        SetDown(m_allowAllUp ? isChecked() : true);
    OnClick(this);
}

void TSpeedButton::SetLayout(FormControls::TButtonLayout value) {
    m_layout = value;
    setLayoutDirection(value == FormControls::TButtonLayout::blGlyphRight ? Qt::RightToLeft
                                                                          : Qt::LeftToRight);
}

void TSpeedButton::SetGlyph(const QString& name) {
    m_glyph = name;
    QIcon icon = QIcon::fromTheme(name);
    setIcon(icon.isNull() ? DrawnGlyph(name) : icon);
}

// ---- splitter ----

TSplitter::TSplitter(QWidget* owner) : QWidget(owner), TComponentState(this) {
    resize(3, 100);
    SetCursor(FormControls::TCursor::crHSplit);
}

void TSplitter::SetAlign(TAlign align) {
    m_align = align;
    RequestAlign(this);
}

void TSplitter::SetWidth(int value) {
    resize(value, height());
    RequestAlign(this);
}

void TSplitter::SetHeight(int value) {
    resize(width(), value);
    RequestAlign(this);
}

void TSplitter::SetCursor(FormControls::TCursor value) {
    m_cursor = value;
    switch (value) {
    case FormControls::TCursor::crHSplit:
        QWidget::setCursor(Qt::SplitHCursor);
        break;
    case FormControls::TCursor::crVSplit:
        QWidget::setCursor(Qt::SplitVCursor);
        break;
    case FormControls::TCursor::crHandPoint:
        QWidget::setCursor(Qt::PointingHandCursor);
        break;
    case FormControls::TCursor::crDefault:
        unsetCursor();
        break;
    }
}

QWidget* TSplitter::Neighbour() const {
    if (!parentWidget())
        return nullptr;
    for (QObject* child : parentWidget()->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget == this || widget->isWindow() || AlignOf(widget) != m_align)
            continue;
        const bool touches = (m_align == TAlign::alLeft && widget->geometry().right() + 1 == x()) ||
                             (m_align == TAlign::alRight && widget->x() == geometry().right() + 1) ||
                             (m_align == TAlign::alTop && widget->geometry().bottom() + 1 == y()) ||
                             (m_align == TAlign::alBottom && widget->y() == geometry().bottom() + 1);
        if (touches)
            return widget;
    }
    return nullptr;
}

void TSplitter::MoveBy(int delta) {
    QWidget* neighbour = Neighbour();
    if (!neighbour)
        return;
    const bool horizontal = m_align == TAlign::alLeft || m_align == TAlign::alRight;
    const int sign = (m_align == TAlign::alLeft || m_align == TAlign::alTop) ? 1 : -1;
    const int size = (horizontal ? neighbour->width() : neighbour->height()) + sign * delta;
    const int limit = horizontal ? parentWidget()->width() - m_minSize : parentWidget()->height() - m_minSize;
    const int newSize = std::clamp(size, m_minSize, std::max(m_minSize, limit));
    if (horizontal)
        neighbour->resize(newSize, neighbour->height());
    else
        neighbour->resize(neighbour->width(), newSize);
    QEvent request(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(parentWidget(), &request);
}

void TSplitter::mousePressEvent(QMouseEvent* event) {
    m_pressPoint = event->globalPosition().toPoint();
    m_pressSize = 0;
}

void TSplitter::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || m_pressSize < 0)
        return;
    const QPoint now = event->globalPosition().toPoint();
    const bool horizontal = m_align == TAlign::alLeft || m_align == TAlign::alRight;
    const int delta = horizontal ? now.x() - m_pressPoint.x() : now.y() - m_pressPoint.y();
    m_pressPoint = now;
    MoveBy(delta);
}

// ---- status bar ----

TStatusBar::TStatusBar(QWidget* owner) : QFrame(owner), TComponentState(this) {
    resize(100, 19);
}

void TStatusBar::SetAlign(TAlign align) {
    m_align = align;
    RequestAlign(this);
}

void TStatusBar::SetWidth(int value) {
    resize(value, height());
    RequestAlign(this);
}

void TStatusBar::SetHeight(int value) {
    resize(width(), value);
    RequestAlign(this);
}

void TStatusBar::SetSimplePanel(bool value) {
    m_simplePanel = value;
    update();
}

void TStatusBar::SetSimpleText(const QString& text) {
    m_simpleText = text;
    update();
}

void TStatusBar::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect panel = rect().adjusted(1, 2, -1, -1);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(panel.topLeft(), panel.topRight());
    painter.drawLine(panel.topLeft(), panel.bottomLeft());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(panel.bottomLeft(), panel.bottomRight());
    painter.drawLine(panel.topRight(), panel.bottomRight());
    if (m_simplePanel) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(panel.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, m_simpleText);
    }
}

void TStatusBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        OnClick(this);
}

void TStatusBar::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnDblClick(this);
}

// ---- menus ----

TMenuItem::TMenuItem(QObject* owner) : TComponent(owner) {
    m_action = new QAction(this);
    connect(m_action, &QAction::triggered, this, [this] { OnClick(this); });
    if (auto* parentItem = qobject_cast<TMenuItem*>(owner))
        parentItem->SubMenu()->addAction(m_action);
    else if (auto* menu = qobject_cast<QMenu*>(owner))
        menu->addAction(m_action);
}

TMenuItem::~TMenuItem() = default;

QString TMenuItem::Caption() const {
    return m_action->isSeparator() ? QStringLiteral("-") : m_action->text();
}

void TMenuItem::SetCaption(const QString& text) {
    m_action->setSeparator(text == QLatin1String("-"));
    m_action->setText(text);
}

bool TMenuItem::Enabled() const {
    return m_action->isEnabled();
}

void TMenuItem::SetEnabled(bool value) {
    m_action->setEnabled(value);
}

QMenu* TMenuItem::SubMenu() {
    if (!m_subMenu) {
        m_subMenu = std::make_unique<QMenu>();
        m_action->setMenu(m_subMenu.get());
    }
    return m_subMenu.get();
}

void TMainMenu::FillMenuBar(QMenuBar* bar) {
    bar->clear();
    for (QObject* child : children()) {
        if (auto* item = qobject_cast<TMenuItem*>(child)) {
            QMenu* menu = item->SubMenu();
            menu->setTitle(item->Caption());
            bar->addMenu(menu);
        }
    }
}

} // namespace wordloom::shell
