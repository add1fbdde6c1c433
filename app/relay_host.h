// A host for an engine command run on a worker thread: every call is carried out by the window's
// host on the UI thread, the worker waiting meanwhile (so progress is shown, and a Cancel clicked
// there is heard, at the very item the command reports).
#pragma once

#include "base/command_host.h"

class QObject;

namespace wordloom {

class RelayHost : public CommandHost {
public:
    /// `uiHost` is used on the thread of `uiContext` (the window's); both outlive the relay. The
    /// UI thread must run its event loop while the worker uses the relay.
    RelayHost(QObject* uiContext, CommandHost& uiHost) : m_context(uiContext), m_host(uiHost) {}

    void Message(const std::string& text) override;
    bool Question(const std::string& text) override;
    void Error(const std::string& text) override;
    FileFailureAnswer AskSkipFile(const std::string& text) override;
    void Report(const std::string& text, const std::vector<std::string>& items) override;
    void StatusText(const std::string& text) override;
    void BusyCursor(bool on) override;
    void ProcessPendingEvents() override {} // the UI thread handles its events itself
    void SetClipboardText(const std::string& text) override;
    void SetViewAttached(bool attached) override;
    void ApplyProjectFilter() override;
    bool CancelRequested() override;
    void Progress(long long done, long long total, const std::string& current) override;

private:
    template <typename Call>
    auto OnUiThread(Call call);

    QObject* m_context;
    CommandHost& m_host;
};

} // namespace wordloom
