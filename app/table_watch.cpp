#include "app/table_watch.h"

#include "strings_db/table_notifications.h"

#include <QSocketNotifier>
#include <algorithm>

namespace wordloom {

namespace {

constexpr int kTickMs = 700;
constexpr int kFirstPauseMs = 500;
// Short enough that a server restarted is found soon after, long enough not to hammer one down.
constexpr int kLongestPauseMs = 4000;

} // namespace

TableWatch::TableWatch(TableNotifications& source, Hooks hooks, QObject* parent)
    : QObject(parent), m_source(source), m_hooks(std::move(hooks)) {
    connect(&m_tick, &QTimer::timeout, this, &TableWatch::Poll);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &TableWatch::Retry);
    m_source.SetLockWaitNotice([this] { LockWait(); });
    Listen();
    m_tick.start(kTickMs);
}

TableWatch::~TableWatch() {
    m_source.SetLockWaitNotice({});
}

void TableWatch::Listen() {
    delete m_notifier;
    m_notifier = nullptr;
    const int socket = m_source.Socket();
    if (socket >= 0) {
        m_notifier = new QSocketNotifier(socket, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &TableWatch::Poll);
    }
}

void TableWatch::Poll() {
    if (m_lost) {
        return;
    }
    if (m_source.TakeNotices() > 0) {
        m_pending = true;
    }
    if (!m_source.Connected()) {
        ConnectionFailed();
        return;
    }
    if (m_pending && m_hooks.reload()) {
        m_pending = false;
    }
}

void TableWatch::ConnectionFailed() {
    if (m_lost) {
        return;
    }
    m_lost = true;
    // Its descriptor is closed: watching it would report it readable for ever.
    delete m_notifier;
    m_notifier = nullptr;
    m_hooks.status(tr("The server cannot be reached: trying again ..."));
    m_pauseMs = kFirstPauseMs;
    m_retry.start(m_pauseMs);
}

void TableWatch::Retry() {
    if (!m_source.Reconnect()) {
        m_pauseMs = std::min(m_pauseMs * 2, kLongestPauseMs);
        m_retry.start(m_pauseMs);
        return;
    }
    m_lost = false;
    Listen();
    m_hooks.status(tr("The server is back: changes are saved again"));
    m_hooks.back();
    // What others changed meanwhile was announced to no one.
    m_pending = true;
    Poll();
}

void TableWatch::LockWait() {
    // The write blocks the window until the lock is free or its timeout passes: painted now, and
    // cleared by the first event after it.
    m_hooks.status(tr("Waiting for another user's change to finish ..."));
    QTimer::singleShot(0, this, [this] { m_hooks.status(QString()); });
}

} // namespace wordloom
