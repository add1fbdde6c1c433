// The engine commands' host in the window: boxes, hourglass, status bar, clipboard, grid.
#pragma once

#include "base/command_host.h"

#include <functional>

class QWidget;

namespace wordloom {

class StringsGridModel;
class TAdvStatusBar;

/// Records between two progress reports (and cancel checks) of the window's walks over the table.
constexpr int kWalkProgressStep = 1024;

/// Lives for one command. Whatever the command leaves behind — hourglass on, grid detached — is
/// undone when the host goes, also when the command ended by a failure; so is its progress panel.
class GuiCommandHost : public CommandHost {
public:
    GuiCommandHost(QWidget* window, TAdvStatusBar* statusBar, StringsGridModel* grid,
                   std::function<void()> applyProjectFilter);
    ~GuiCommandHost() override;
    GuiCommandHost(const GuiCommandHost&) = delete;
    GuiCommandHost& operator=(const GuiCommandHost&) = delete;

    void Message(const std::string& text) override;
    bool Question(const std::string& text) override;
    void Error(const std::string& text) override;
    FileFailureAnswer AskSkipFile(const std::string& text) override;
    void Report(const std::string& text, const std::vector<std::string>& items) override;
    void StatusText(const std::string& text) override;
    void BusyCursor(bool on) override;
    void ProcessPendingEvents() override;
    void SetClipboardText(const std::string& text) override;
    void SetViewAttached(bool attached) override;
    void ApplyProjectFilter() override;
    /// The status bar's Cancel button or Esc since the command's first progress.
    bool CancelRequested() override;
    /// Shows the status bar's progress panel and lets the events waiting through, so that the
    /// window repaints and Cancel can be clicked between items.
    void Progress(long long done, long long total, const std::string& current) override;

private:
    QWidget* m_window;
    TAdvStatusBar* m_statusBar;
    StringsGridModel* m_grid;
    std::function<void()> m_applyProjectFilter;
    int m_busy = 0;
    bool m_detached = false;
    bool m_progressShown = false;
};

} // namespace wordloom
