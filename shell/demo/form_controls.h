// The plain controls the demo window's form file is made of: panel, speed button, splitter, status bar,
// main menu, pop-up menu and menu item. Each publishes the properties the form file sets; containers line
// their aligned children up (control_layout.h).
#pragma once

#include "shell/controls/control_layout.h"
#include "shell/forms/component.h"

#include <QFrame>
#include <QMenu>
#include <QPointer>
#include <QToolButton>

class QAction;
class QMenuBar;

namespace wordloom::shell {

namespace FormControls {
Q_NAMESPACE
enum class TBevelCut { bvNone, bvLowered, bvRaised };
Q_ENUM_NS(TBevelCut)
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
Q_ENUM_NS(TButtonLayout)
enum class TCursor { crDefault, crHSplit, crVSplit, crHandPoint };
Q_ENUM_NS(TCursor)
} // namespace FormControls

// Registers the classes below with the form reader (once).
void RegisterFormControls();

class TPanel : public QFrame, public TComponentState {
    Q_OBJECT
    Q_PROPERTY(wordloom::shell::ControlLayout::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(int Left READ x WRITE SetLeft)
    Q_PROPERTY(int Top READ y WRITE SetTop)
    Q_PROPERTY(int Width READ width WRITE SetWidth)
    Q_PROPERTY(int Height READ height WRITE SetHeight)
    Q_PROPERTY(wordloom::shell::FormControls::TBevelCut BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(wordloom::shell::FormControls::TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
public:
    explicit TPanel(QWidget* owner = nullptr);
    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);
    void SetLeft(int value) { move(value, y()); }
    void SetTop(int value) { move(x(), value); }
    void SetWidth(int value);
    void SetHeight(int value);
    FormControls::TBevelCut BevelInner() const { return m_bevelInner; }
    void SetBevelInner(FormControls::TBevelCut value);
    FormControls::TBevelCut BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(FormControls::TBevelCut value);
    int TabOrder() const { return m_tabOrder; }
    void SetTabOrder(int value) { m_tabOrder = value; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    TAlign m_align = TAlign::alNone;
    FormControls::TBevelCut m_bevelInner = FormControls::TBevelCut::bvNone;
    FormControls::TBevelCut m_bevelOuter = FormControls::TBevelCut::bvRaised;
    int m_tabOrder = -1;
};

class TSpeedButton : public QToolButton, public TComponentState {
    Q_OBJECT
    Q_PROPERTY(int Left READ x WRITE SetLeft)
    Q_PROPERTY(int Top READ y WRITE SetTop)
    Q_PROPERTY(int Width READ width WRITE SetWidth)
    Q_PROPERTY(int Height READ height WRITE SetHeight)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(QString Caption READ text WRITE setText)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE SetAllowAllUp)
    Q_PROPERTY(wordloom::shell::FormControls::TButtonLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(QString Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(TMethod OnClick READ OnClickMethod WRITE SetOnClickMethod)
public:
    explicit TSpeedButton(QWidget* owner = nullptr);
    void SetLeft(int value) { move(value, y()); }
    void SetTop(int value) { move(x(), value); }
    void SetWidth(int value) { resize(value, height()); }
    void SetHeight(int value) { resize(width(), value); }
    QString Hint() const { return toolTip(); }
    void SetHint(const QString& text) { setToolTip(text); }
    int Tag() const { return m_tag; }
    void SetTag(int value) { m_tag = value; }
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int value);
    bool Down() const { return isChecked(); }
    // In a group, pressing one button releases the others of the group.
    void SetDown(bool value);
    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool value) { m_allowAllUp = value; }
    FormControls::TButtonLayout Layout() const { return m_layout; }
    void SetLayout(FormControls::TButtonLayout value);
    // The picture: a theme icon name; a drawn picture stands in where the theme has none.
    QString Glyph() const { return m_glyph; }
    void SetGlyph(const QString& name);
    bool ParentShowHint() const { return m_parentShowHint; }
    void SetParentShowHint(bool value) { m_parentShowHint = value; }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool value) { m_showHint = value; }

    TNotifyEvent OnClick;
    TMethod OnClickMethod() const { return OnClick.Method(); }
    void SetOnClickMethod(const TMethod& m) { OnClick.SetMethod(m); }
    // What a click does: pressed down in its group, then OnClick.
    void Click();

private:
    int m_tag = 0;
    int m_groupIndex = 0;
    bool m_allowAllUp = false;
    bool m_parentShowHint = true;
    bool m_showHint = true;
    FormControls::TButtonLayout m_layout = FormControls::TButtonLayout::blGlyphLeft;
    QString m_glyph;
};

// Drags the boundary between the control before it and the rest of its container.
class TSplitter : public QWidget, public TComponentState {
    Q_OBJECT
    Q_PROPERTY(wordloom::shell::ControlLayout::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(int Left READ x WRITE SetLeft)
    Q_PROPERTY(int Top READ y WRITE SetTop)
    Q_PROPERTY(int Width READ width WRITE SetWidth)
    Q_PROPERTY(int Height READ height WRITE SetHeight)
    Q_PROPERTY(wordloom::shell::FormControls::TCursor Cursor READ Cursor WRITE SetCursor)
    Q_PROPERTY(int MinSize READ MinSize WRITE SetMinSize)
public:
    explicit TSplitter(QWidget* owner = nullptr);
    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);
    void SetLeft(int value) { move(value, y()); }
    void SetTop(int value) { move(x(), value); }
    void SetWidth(int value);
    void SetHeight(int value);
    FormControls::TCursor Cursor() const { return m_cursor; }
    void SetCursor(FormControls::TCursor value);
    int MinSize() const { return m_minSize; }
    void SetMinSize(int value) { m_minSize = value; }
    // The control whose size the splitter changes: the aligned one that ends where the splitter begins.
    QWidget* Neighbour() const;
    // Moves the boundary by `delta` pixels (right or down for a positive one).
    void MoveBy(int delta);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    TAlign m_align = TAlign::alLeft;
    FormControls::TCursor m_cursor = FormControls::TCursor::crHSplit;
    int m_minSize = 30;
    QPoint m_pressPoint;
    int m_pressSize = -1;
};

class TStatusBar : public QFrame, public TComponentState {
    Q_OBJECT
    Q_PROPERTY(wordloom::shell::ControlLayout::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(int Left READ x WRITE SetLeft)
    Q_PROPERTY(int Top READ y WRITE SetTop)
    Q_PROPERTY(int Width READ width WRITE SetWidth)
    Q_PROPERTY(int Height READ height WRITE SetHeight)
    Q_PROPERTY(bool SimplePanel READ SimplePanel WRITE SetSimplePanel)
    Q_PROPERTY(QString SimpleText READ SimpleText WRITE SetSimpleText)
    Q_PROPERTY(TMethod OnClick READ OnClickMethod WRITE SetOnClickMethod)
    Q_PROPERTY(TMethod OnDblClick READ OnDblClickMethod WRITE SetOnDblClickMethod)
public:
    explicit TStatusBar(QWidget* owner = nullptr);
    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);
    void SetLeft(int value) { move(value, y()); }
    void SetTop(int value) { move(x(), value); }
    void SetWidth(int value);
    void SetHeight(int value);
    bool SimplePanel() const { return m_simplePanel; }
    void SetSimplePanel(bool value);
    QString SimpleText() const { return m_simpleText; }
    void SetSimpleText(const QString& text);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMethod OnClickMethod() const { return OnClick.Method(); }
    void SetOnClickMethod(const TMethod& m) { OnClick.SetMethod(m); }
    TMethod OnDblClickMethod() const { return OnDblClick.Method(); }
    void SetOnDblClickMethod(const TMethod& m) { OnDblClick.SetMethod(m); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TAlign m_align = TAlign::alBottom;
    bool m_simplePanel = false;
    QString m_simpleText;
};

// A menu entry. Under a main menu it is a menu of the bar; under another entry or a pop-up menu it is a
// command (or, with entries of its own, a sub-menu).
class TMenuItem : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(TMethod OnClick READ OnClickMethod WRITE SetOnClickMethod)
public:
    explicit TMenuItem(QObject* owner = nullptr);
    ~TMenuItem() override;
    QString Caption() const;
    // "-" makes a separator.
    void SetCaption(const QString& text);
    bool Enabled() const;
    void SetEnabled(bool value);
    QAction* Action() const { return m_action; }
    // The entries below this one, made when the first one comes.
    QMenu* SubMenu();

    TNotifyEvent OnClick;
    TMethod OnClickMethod() const { return OnClick.Method(); }
    void SetOnClickMethod(const TMethod& m) { OnClick.SetMethod(m); }

private:
    QAction* m_action;
    std::unique_ptr<QMenu> m_subMenu;
};

class TMainMenu : public TComponent {
    Q_OBJECT
public:
    explicit TMainMenu(QObject* owner = nullptr) : TComponent(owner) {}
    // Fills a menu bar with the top-level entries.
    void FillMenuBar(QMenuBar* bar);
};

class TPopupMenu : public QMenu, public TComponentState {
    Q_OBJECT
public:
    explicit TPopupMenu(QWidget* owner = nullptr) : QMenu(owner), TComponentState(this) {}
};

} // namespace wordloom::shell
