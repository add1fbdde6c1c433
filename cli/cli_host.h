// The command host of wordloom-cli: messages, errors and progress texts go to stderr; there is no
// clipboard and no view.
#pragma once

#include "base/command_host.h"
#include "base/ui_text.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace wordloom {

class CliHost : public CommandHost {
public:
    /// With `answers`, a question is asked on `err` and answered from there ("y", "yes", "ok");
    /// without, it is answered OK unasked (the command line asked for the work).
    /// A file that cannot be read is skipped when `keepGoing`, else it ends the command.
    explicit CliHost(std::ostream& err, std::istream* answers = nullptr, bool keepGoing = false)
        : m_err(err), m_answers(answers), m_keepGoing(keepGoing) {}

    void Message(const std::string& text) override { m_err << text << "\n"; }
    bool Question(const std::string& text) override {
        if (m_answers == nullptr)
            return true;
        m_err << text << "\n" << WL_TR("wordloom-cli", "Continue? [y/N]") << " " << std::flush;
        std::string answer;
        if (!std::getline(*m_answers, answer)) {
            m_err << "\n"; // nobody answered: the next text starts on a line of its own
            return false;
        }
        return answer == "y" || answer == "Y" || answer == "yes" || answer == "ok" || answer == "OK";
    }
    void Error(const std::string& text) override {
        m_err << FillIn(WL_TR("wordloom-cli", "Error: %1"), {text}) << "\n";
    }
    FileFailureAnswer AskSkipFile(const std::string&) override {
        // The reason is listed with the skipped files at the end.
        return m_keepGoing ? FileFailureAnswer::SkipAll : FileFailureAnswer::Stop;
    }
    void Report(const std::string& text, const std::vector<std::string>& items) override {
        m_err << text << "\n";
        for (const std::string& item : items) {
            m_err << "  " << item << "\n";
        }
    }
    void StatusText(const std::string& text) override { m_err << text << "\n"; }
    void BusyCursor(bool) override {}
    void ProcessPendingEvents() override {}
    void SetClipboardText(const std::string&) override {}
    void SetViewAttached(bool) override {}
    void ApplyProjectFilter() override {}
    /// With --verbose only: "[3/40] Main.dfm" before each file.
    void Progress(long long done, long long total, const std::string& current) override {
        if (m_verbose && !current.empty()) {
            m_err << "[" << done + 1 << "/" << total << "] " << current << "\n";
        }
    }
    void SetVerbose(bool verbose) { m_verbose = verbose; }

private:
    std::ostream& m_err;
    std::istream* m_answers;
    bool m_keepGoing;
    bool m_verbose = false;
};

} // namespace wordloom
