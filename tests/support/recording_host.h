// A CommandHost for tests: records everything a command shows, answers questions as told.
#pragma once

#include "base/command_host.h"

#include <deque>
#include <string>
#include <vector>

namespace wordloom {

class RecordingHost : public CommandHost {
public:
    enum class Kind {
        Message,
        Question,
        Error,
        AskSkipFile,
        Report,
        StatusText,
        BusyCursor,
        ProcessPendingEvents,
        SetClipboardText,
        SetViewAttached,
        ApplyProjectFilter
    };
    /// One Progress call (kept apart from the events, whose order the tests compare).
    struct ProgressStep {
        long long done;
        long long total;
        std::string current;
    };
    struct Event {
        Kind kind;
        std::string text;               ///< message, question, error, status, report or clipboard text
        std::vector<std::string> items; ///< a report's list
        bool flag;                      ///< busy cursor on, view attached
    };

    /// The answer the next questions get (OK when true).
    bool answer = true;
    /// Answers to the next AskSkipFile calls, in order; Stop once they run out.
    std::deque<FileFailureAnswer> skipAnswers;
    /// Asks to stop once this many Progress calls were made (negative: never).
    int cancelAfterProgress = -1;

    void Message(const std::string& text) override { Record(Kind::Message, text); }
    bool Question(const std::string& text) override {
        Record(Kind::Question, text);
        return answer;
    }
    void Error(const std::string& text) override { Record(Kind::Error, text); }
    FileFailureAnswer AskSkipFile(const std::string& text) override {
        Record(Kind::AskSkipFile, text);
        if (skipAnswers.empty()) {
            return FileFailureAnswer::Stop;
        }
        const FileFailureAnswer next = skipAnswers.front();
        skipAnswers.pop_front();
        return next;
    }
    void Report(const std::string& text, const std::vector<std::string>& items) override {
        m_events.push_back({Kind::Report, text, items, false});
    }
    void StatusText(const std::string& text) override { Record(Kind::StatusText, text); }
    void BusyCursor(bool on) override {
        Record(Kind::BusyCursor, {}, on);
        m_busy = on;
    }
    void ProcessPendingEvents() override { Record(Kind::ProcessPendingEvents); }
    void SetClipboardText(const std::string& text) override {
        Record(Kind::SetClipboardText, text);
        m_clipboard = text;
    }
    void SetViewAttached(bool attached) override {
        Record(Kind::SetViewAttached, {}, attached);
        m_attached = attached;
    }
    void ApplyProjectFilter() override { Record(Kind::ApplyProjectFilter); }
    bool CancelRequested() override {
        return cancelAfterProgress >= 0 && static_cast<int>(m_progress.size()) >= cancelAfterProgress;
    }
    void Progress(long long done, long long total, const std::string& current) override {
        m_progress.push_back({done, total, current});
    }
    const std::vector<ProgressStep>& ProgressSteps() const { return m_progress; }

    const std::vector<Event>& Events() const { return m_events; }
    /// The texts of every event of one kind, in order.
    std::vector<std::string> Texts(Kind kind) const {
        std::vector<std::string> texts;
        for (const Event& event : m_events) {
            if (event.kind == kind) {
                texts.push_back(event.text);
            }
        }
        return texts;
    }
    std::vector<std::string> Messages() const { return Texts(Kind::Message); }
    std::vector<std::string> Errors() const { return Texts(Kind::Error); }
    std::vector<std::string> StatusTexts() const { return Texts(Kind::StatusText); }
    /// The items of every report, in order.
    std::vector<std::string> ReportItems() const {
        std::vector<std::string> items;
        for (const Event& event : m_events) {
            if (event.kind == Kind::Report) {
                items.insert(items.end(), event.items.begin(), event.items.end());
            }
        }
        return items;
    }
    int Count(Kind kind) const {
        int count = 0;
        for (const Event& event : m_events) {
            count += event.kind == kind ? 1 : 0;
        }
        return count;
    }
    const std::string& Clipboard() const { return m_clipboard; }
    bool Busy() const { return m_busy; }
    bool ViewAttached() const { return m_attached; }
    void Clear() { m_events.clear(); }

private:
    void Record(Kind kind, const std::string& text = {}, bool flag = false) {
        m_events.push_back({kind, text, {}, flag});
    }

    std::vector<Event> m_events;
    std::vector<ProgressStep> m_progress;
    std::string m_clipboard;
    bool m_busy = false;
    bool m_attached = true;
};

} // namespace wordloom
