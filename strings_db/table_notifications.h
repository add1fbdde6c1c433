// What a shared table tells its readers between their reads: others' committed changes, and whether
// the server can still be reached. Plain descriptors and calls, so any event loop can watch it.
#pragma once

#include <functional>

namespace wordloom {

class TableNotifications {
public:
    virtual ~TableNotifications() = default;
    /// The descriptor to watch for reading; -1 while there is no connection. It changes when the
    /// connection is made again.
    virtual int Socket() const = 0;
    /// Reads what the server sent: how many changes other connections committed since the last
    /// call (0 for none). Marks the connection lost when the server went away.
    virtual int TakeNotices() = 0;
    /// False once the connection to the server was lost (until Reconnect succeeds).
    virtual bool Connected() const = 0;
    /// One attempt to connect again; true when the table can be used again.
    virtual bool Reconnect() = 0;
    /// Called when a write begins to wait for another connection's write to finish (empty:
    /// nothing); the write itself blocks until then or its timeout. Apart from a command's
    /// busy notice, so that the two do not replace each other.
    virtual void SetLockWaitNotice(std::function<void()> onWait) = 0;
};

} // namespace wordloom
