// TShellForm: the demonstration window of the shell controls — a folder combo box and a tool bar on top,
// a folder tree on the left, a file list on the right, all on one link. It is built by loading its
// shipped form file (data/ShellForm.dfm) with the form reader; the handlers below are what the form
// file binds by name.
#pragma once

#include "shell/controls/shell_control_common.h"
#include "shell/forms/component.h"

#include <QSet>

#include <QUrl>
#include <QWidget>

#include <functional>

class QMenuBar;

namespace wordloom::shell {

class TMainMenu;
class TStatusBar;
class TVelShellCombo;
class TVelShellLink;
class TVelShellList;
class TVelShellTree;
class TVelShellTreeNode;

class TShellForm : public QWidget, public TComponentState {
    Q_OBJECT
    Q_PROPERTY(int Left READ x WRITE SetLeft)
    Q_PROPERTY(int Top READ y WRITE SetTop)
    Q_PROPERTY(int Width READ width WRITE SetWidth)
    Q_PROPERTY(int Height READ height WRITE SetHeight)
    Q_PROPERTY(QString Caption READ windowTitle WRITE setWindowTitle)
    Q_PROPERTY(TMainMenu* Menu READ Menu WRITE SetMenu)

public:
    // Loads the shipped form. `startFolder` is where the form names its start folder; the user's home
    // folder when empty. Throws EReadError when the form cannot be read.
    explicit TShellForm(QWidget* owner = nullptr, const QString& startFolder = QString());
    ~TShellForm() override;

    // The shipped form file's text with the start folder written in.
    static std::string FormText(const QString& startFolder);
    // The web address of the component suite's home page (status bar and about box).
    QString HomePage() const;

    void SetLeft(int value) { move(value, y()); }
    void SetTop(int value) { move(x(), value); }
    void SetWidth(int value) { resize(value, height()); }
    void SetHeight(int value) { resize(width(), value); }
    TMainMenu* Menu() const { return m_menu; }
    void SetMenu(TMainMenu* menu) { m_menu = menu; }

    void Loaded() override;

    // ---- the components ----
    TVelShellTree* ShellTree() const;
    TVelShellList* ShellListView() const;
    TVelShellCombo* VelShellCombo1() const;
    TVelShellLink* VelShellLink() const;
    TStatusBar* StatusBar1() const;
    QMenuBar* MenuBar() const { return m_menuBar; }

    // ---- handlers ----
    Q_INVOKABLE void ParentButtonClick(QObject* sender);
    Q_INVOKABLE void DeleteButtonClick(QObject* sender);
    Q_INVOKABLE void PropertiesButtonClick(QObject* sender);
    Q_INVOKABLE void SpeedButton1Click(QObject* sender);
    Q_INVOKABLE void SpeedButton5Click(QObject* sender);
    Q_INVOKABLE void FullExpand1Click(QObject* sender);
    Q_INVOKABLE void FullCollapse1Click(QObject* sender);
    Q_INVOKABLE void Exit1Click(QObject* sender);
    Q_INVOKABLE void About1Click(QObject* sender);
    Q_INVOKABLE void StatusBar1Click(QObject* sender);
    Q_INVOKABLE void ShellListViewOperation(QObject* sender, TVelShellOperations operation,
                                            const QStringList& files, const QString& destination);
    Q_INVOKABLE void ShellListViewContextMenuSelect(const QString& command, bool& execute);

    // What the window shows and opens; tests replace them.
    struct Hooks {
        std::function<void(QWidget* parent, const QString& text)> Message;
        std::function<void(QWidget* parent, const QString& caption, const QString& text)> About;
        std::function<bool(const QUrl& url)> OpenUrl;
    };
    Hooks& UiHooks() { return m_hooks; }

protected:
    bool event(QEvent* event) override;

private:
    bool HasFocus(const QWidget* control) const;
    void RunOnFocused(const QString& verb);
    void ExpandAll(TVelShellTreeNode* node, QSet<QString>& seen, int depth);

    TMainMenu* m_menu = nullptr;
    QMenuBar* m_menuBar = nullptr;
    Hooks m_hooks;
};

} // namespace wordloom::shell
