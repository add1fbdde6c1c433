// The command host of wordloom-cli: messages, errors and progress texts go to stderr; questions are
// answered with OK (the command line asked for the work); there is no clipboard and no view.
#pragma once

#include "collect/command_host.h"

#include <ostream>
#include <string>

namespace wordloom {

class CliHost : public CommandHost {
public:
    explicit CliHost(std::ostream& err) : m_err(err) {}

    void Message(const std::string& text) override { Print(text); }
    bool Question(const std::string& text) override {
        Print(text);
        return true;
    }
    void Error(const std::string& text) override { Print("Error: " + text); }
    void StatusText(const std::string& text) override { Print(text); }
    void BusyCursor(bool) override {}
    void ProcessPendingEvents() override {}
    void SetClipboardText(const std::string&) override {}
    void SetViewAttached(bool) override {}
    void ApplyProjectFilter() override {}

private:
    void Print(const std::string& text) { m_err << text << "\n"; }

    std::ostream& m_err;
};

} // namespace wordloom
