// How the engine's commands talk to the user. The window, the command line and the tests each
// implement it; the engine never shows anything itself.
#pragma once

#include <string>
#include <vector>

namespace wordloom {

/// What to do about a file that cannot be read while other files wait.
enum class FileFailureAnswer {
    Skip,    ///< leave this file out and go on
    SkipAll, ///< the same for this file and every later one, without asking again
    Stop     ///< end the command here
};

class CommandHost {
public:
    virtual ~CommandHost() = default;

    /// A plain message: the text, an OK button, no icon, captioned "Wordloom".
    virtual void Message(const std::string& text) = 0;
    /// A question with OK and Cancel and the exclamation icon; true when the answer is OK.
    virtual bool Question(const std::string& text) = 0;
    /// The report of a failure no command handled: its text with the stop icon.
    virtual void Error(const std::string& text) = 0;
    /// A file failed (its name and the reason in `text`): skip it, skip all such, or stop.
    virtual FileFailureAnswer AskSkipFile(const std::string& text) = 0;
    /// A message with a list of items under it (lines that could not be read, files skipped),
    /// shown once however long the list.
    virtual void Report(const std::string& text, const std::vector<std::string>& items) = 0;
    /// The progress text in the last panel of the status bar.
    virtual void StatusText(const std::string& text) = 0;
    /// The hourglass cursor on or off.
    virtual void BusyCursor(bool on) = 0;
    /// Lets the window handle pending events (repaint) between files.
    virtual void ProcessPendingEvents() = 0;
    /// Replaces the clipboard's plain text (UTF-8).
    virtual void SetClipboardText(const std::string& text) = 0;
    /// Detaches (false) or reattaches (true) the grid from the table while a command walks it.
    virtual void SetViewAttached(bool attached) = 0;
    /// Applies the project filter the window shows (what a change of the project list does).
    virtual void ApplyProjectFilter() = 0;
    /// True once the user asked to stop the running command; long commands ask between files and
    /// stop there, keeping what is done.
    virtual bool CancelRequested() { return false; }
    /// Where a long command stands, told before each item (file or record) it works on: `done` of
    /// `total` items (0 while the total is unknown), `current` the item's name (may be empty).
    virtual void Progress(long long done, long long total, const std::string& current) {
        static_cast<void>(done);
        static_cast<void>(total);
        static_cast<void>(current);
    }
};

} // namespace wordloom
