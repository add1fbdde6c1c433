// A read over the whole strings table that would stall the window on a large one, done on a thread
// with a connection of its own. A newer read supersedes the one running, which stops at its next
// record; the owner's end stops every read and waits for it.
#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace wordloom {

class StringsTable;

class BackgroundRead {
public:
    /// The reading itself, on the thread; it should end early once `stop` is set.
    using Work = std::function<void(StringsTable& table, const std::atomic<bool>& stop)>;
    /// Called on the thread that started the read when the newest read ended unstopped, never after
    /// this object is gone: empty `failure` on success.
    using Done = std::function<void(const std::string& failure)>;

    BackgroundRead();
    ~BackgroundRead();
    BackgroundRead(const BackgroundRead&) = delete;
    BackgroundRead& operator=(const BackgroundRead&) = delete;

    /// Opens `path` (a file or a server address) read-only on a new thread and runs `work` there.
    void Start(const std::string& path, Work work, Done done);
    /// Stops the newest read: its `done` is not called.
    void Stop();
    /// True while the newest read has not ended.
    bool Busy() const { return m_newest != nullptr; }

private:
    struct Job;
    std::unique_ptr<QObject> m_receiver; ///< ends are delivered to it: gone with this, so are they
    std::shared_ptr<Job> m_newest;
    std::vector<std::shared_ptr<Job>> m_running;
};

} // namespace wordloom
