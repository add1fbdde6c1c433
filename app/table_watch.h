// Watches a shared table for the window: reads others' change notices as they arrive (a socket
// notifier, and a slow tick for notices that came in during the window's own reads), notices a
// lost server and tries again with growing pauses, never blocking the window in a loop.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class QSocketNotifier;

namespace wordloom {

class TableNotifications;

class TableWatch : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        /// Others changed the table: read it again. False while that must wait (an open editor,
        /// a running command); asked again on the next tick.
        std::function<bool()> reload;
        /// A text for the status bar; empty clears it.
        std::function<void(const QString&)> status;
        /// The connection is back: post what waited for it.
        std::function<void()> back;
    };

    TableWatch(TableNotifications& source, Hooks hooks, QObject* parent = nullptr);
    ~TableWatch() override;

    /// True while the server cannot be reached.
    bool Lost() const { return m_lost; }
    /// A write failed for a lost connection: the retries begin (if they have not).
    void ConnectionFailed();

private:
    void Listen();
    void Poll();
    void Retry();
    void LockWait();

    TableNotifications& m_source;
    Hooks m_hooks;
    QSocketNotifier* m_notifier = nullptr;
    QTimer m_tick;
    QTimer m_retry;
    int m_pauseMs = 0;
    bool m_pending = false;
    bool m_lost = false;
};

} // namespace wordloom
