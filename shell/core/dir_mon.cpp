#include "shell/core/dir_mon.h"

#include "base/file_descriptor.h"
#include "shell/core/core_components.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <functional>
#include <memory>
#include <mutex>
#include <sys/inotify.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace wordloom::shell {

// Linking this class in makes the core's classes known to form files (see core_components.h).
[[maybe_unused]] static const bool kCoreComponentsRegistered = (RegisterShellCoreComponents(), true);

namespace {

// Notify-filter bits, in set order.
constexpr std::uint32_t FilterBitOf[] = {0x1, 0x2, 0x4, 0x8, 0x10, 0x100};
constexpr std::uint32_t FileNameBit = 0x1, DirNameBit = 0x2, AttributesBit = 0x4, SizeBit = 0x8,
                        LastWriteBit = 0x10, SecurityBit = 0x100;

// Every watch reports names and its own disappearance: a nested monitor must follow new
// subfolders, and a vanished folder is a change whatever the filter.
constexpr std::uint32_t BaseMask =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;

std::uint32_t InotifyMask(std::uint32_t filterBits) {
    std::uint32_t mask = BaseMask;
    if (filterBits & (AttributesBit | SecurityBit | LastWriteBit))
        mask |= IN_ATTRIB; // permissions, owners and time stamps alike
    if (filterBits & (SizeBit | LastWriteBit))
        mask |= IN_MODIFY;
    return mask;
}

// Whether an event on a watched folder is a change under the filter.
bool Reportable(std::uint32_t filterBits, std::uint32_t mask) {
    if (mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO))
        return filterBits & ((mask & IN_ISDIR) ? DirNameBit : FileNameBit);
    if (mask & IN_ATTRIB)
        return filterBits & (AttributesBit | SecurityBit | LastWriteBit);
    if (mask & IN_MODIFY)
        return filterBits & (SizeBit | LastWriteBit);
    return false;
}

std::atomic<TDirMonFault> g_fault{TDirMonFault::None};

// The posted notice names the start it belongs to, so a notice from before a Stop is dropped.
class DirChangedEvent : public QEvent {
public:
    explicit DirChangedEvent(std::uint64_t generation)
        : QEvent(DirMonChangedEvent), m_generation(generation) {}
    std::uint64_t Generation() const { return m_generation; }

private:
    std::uint64_t m_generation;
};

} // namespace

// What the watch service knows of one running monitor.
struct TDirMonSlot {
    QObject* target = nullptr; // posted to only while the slot is registered
    std::uint64_t generation = 0;
    QByteArray root;
    std::uint32_t filterBits = 0;
    bool nested = false;
    std::atomic<bool> pending{false}; // a notice is on its way: later changes join it
};

namespace {

// The inotify descriptor and its notifier, on the application's thread. An object of its own so
// that, let go of on another thread, it can be deleted on its own with deleteLater while it still
// owns the descriptor its notifier watches.
class InotifyReader : public QObject {
public:
    using Handler = std::function<void(const InotifyReader*, const inotify_event&)>;

    explicit InotifyReader(Handler handler)
        : m_descriptor(inotify_init1(IN_CLOEXEC | IN_NONBLOCK)), m_handler(std::move(handler)),
          m_notifier(QSocketNotifier::Read, this) {
        connect(&m_notifier, &QSocketNotifier::activated, this, &InotifyReader::ReadEvents);
    }

    // -1 when the kernel gave no inotify instance.
    int Descriptor() const { return m_descriptor.Get(); }
    // On the reader's own thread.
    void Start() {
        m_notifier.setSocket(m_descriptor.Get());
        m_notifier.setEnabled(true);
    }

private:
    void ReadEvents() {
        alignas(inotify_event) char buffer[16 * 1024];
        // Non-blocking: drained until the kernel has nothing more.
        for (;;) {
            const ssize_t length = read(m_descriptor.Get(), buffer, sizeof buffer);
            if (length < 0 && errno == EINTR)
                continue;
            if (length <= 0)
                return;
            for (ssize_t offset = 0; offset < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
                m_handler(this, *event);
                offset += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
    }

    FileDescriptor m_descriptor;
    Handler m_handler;
    QSocketNotifier m_notifier; // after the descriptor: it stops watching before the descriptor closes
};

// One inotify descriptor for the whole process (the per-user instance limit is small), open while at
// least one monitor is registered. Its events are read on the application's thread as they come, and
// each monitor's notice is posted to the monitor's own thread.
class WatchService {
public:
    static WatchService& Instance() {
        static WatchService service;
        return service;
    }

    void Add(const std::shared_ptr<TDirMonSlot>& slot) {
        std::lock_guard control(m_control);
        if (m_slots.empty())
            Open();
        std::lock_guard table(m_table);
        m_slots.push_back(slot);
        if (m_inotify >= 0)
            WatchTree(slot.get(), slot->root, true);
    }

    // Returns when no event read afterwards reaches the slot.
    void Remove(TDirMonSlot* slot) {
        std::lock_guard control(m_control);
        {
            std::lock_guard table(m_table);
            for (auto it = m_watches.begin(); it != m_watches.end();) {
                std::erase_if(it->second.users, [slot](const User& user) { return user.slot == slot; });
                if (it->second.users.empty()) {
                    inotify_rm_watch(m_inotify, it->first);
                    it = m_watches.erase(it);
                } else {
                    ++it;
                }
            }
            std::erase_if(m_slots, [slot](const auto& held) { return held.get() == slot; });
        }
        if (m_slots.empty())
            Close();
    }

    void SimulateOverflow() {
        std::lock_guard table(m_table);
        inotify_event overflow{};
        overflow.wd = -1;
        overflow.mask = IN_Q_OVERFLOW;
        Dispatch(overflow);
    }

private:
    struct User {
        TDirMonSlot* slot;
        bool root;
    };
    struct Watch {
        QByteArray path;
        std::vector<User> users;
    };

    WatchService() = default;
    ~WatchService() { Close(); }

    void Open() {
        const TDirMonFault fault = g_fault.exchange(TDirMonFault::None);
        if (fault == TDirMonFault::StopSignal)
            throw ShellError(QStringLiteral("CreateMutex failed"));
        if (fault == TDirMonFault::Thread)
            throw ShellError(QStringLiteral("CreateThread failed"));
        // Without inotify, or without an application whose thread could read it, the monitors run
        // without events, as for a folder that cannot be watched.
        QCoreApplication* application = QCoreApplication::instance();
        if (!application)
            return;
        auto reader =
            std::make_unique<InotifyReader>([this](const InotifyReader* from, const inotify_event& event) {
                std::lock_guard table(m_table);
                if (from == m_reader)
                    Dispatch(event);
            });
        if (reader->Descriptor() < 0)
            return;
        m_inotify = reader->Descriptor();
        InotifyReader* started = reader.get();
        {
            std::lock_guard table(m_table);
            m_reader = reader.release();
        }
        if (started->thread() == application->thread()) {
            started->Start();
        } else {
            started->moveToThread(application->thread());
            QMetaObject::invokeMethod(
                started, [started] { started->Start(); }, Qt::QueuedConnection);
        }
    }

    void Close() {
        InotifyReader* reader = nullptr;
        {
            std::lock_guard table(m_table);
            std::swap(reader, m_reader); // what it reads from now on goes nowhere
            m_watches.clear();
        }
        m_inotify = -1;
        if (reader && reader->thread() == QThread::currentThread())
            delete reader;
        else if (reader)
            reader->deleteLater();
    }

    // Adds `slot` as a user of the folder at `path` and, for a nested slot, of every folder below
    // it. A watch descriptor already used by the slot (a folder reached twice) ends the descent.
    void WatchTree(TDirMonSlot* slot, const QByteArray& path, bool root) {
        std::uint32_t mask = InotifyMask(slot->filterBits) | IN_MASK_ADD | IN_ONLYDIR;
        if (!root)
            mask |= IN_DONT_FOLLOW;
        int wd = inotify_add_watch(m_inotify, path.constData(), mask);
        if (wd < 0)
            return;
        Watch& watch = m_watches[wd];
        if (watch.path.isEmpty())
            watch.path = path;
        for (const User& user : watch.users)
            if (user.slot == slot)
                return;
        watch.users.push_back({slot, root});
        if (!slot->nested)
            return;
        // Listed after the watch exists, so a subfolder made meanwhile is seen one way or the other.
        const DirStream dir(opendir(path.constData()));
        if (!dir)
            return;
        std::vector<QByteArray> subfolders;
        while (dirent* entry = readdir(dir.get())) {
            if (entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN)
                continue;
            QByteArray name(entry->d_name);
            if (name == "." || name == "..")
                continue;
            subfolders.push_back(JoinPath(path, name));
        }
        for (const QByteArray& subfolder : subfolders)
            WatchTree(slot, subfolder, false); // IN_ONLYDIR and IN_DONT_FOLLOW sort out the rest
    }

    // A nested slot stops watching a subtree that moved away.
    void ForgetTree(TDirMonSlot* slot, const QByteArray& path) {
        const QByteArray prefix = path + '/';
        for (auto it = m_watches.begin(); it != m_watches.end();) {
            Watch& watch = it->second;
            if (watch.path == path || watch.path.startsWith(prefix))
                std::erase_if(watch.users,
                              [slot](const User& user) { return user.slot == slot && !user.root; });
            if (watch.users.empty()) {
                inotify_rm_watch(m_inotify, it->first);
                it = m_watches.erase(it);
            } else {
                ++it;
            }
        }
    }

    static QByteArray JoinPath(const QByteArray& folder, const QByteArray& name) {
        return folder.endsWith('/') ? QByteArray(folder + name) : QByteArray(folder + '/' + name);
    }

    void Notify(TDirMonSlot* slot) {
        if (!slot->pending.exchange(true))
            QCoreApplication::postEvent(slot->target, new DirChangedEvent(slot->generation));
    }

    void Dispatch(const inotify_event& event) {
        if (event.mask & IN_Q_OVERFLOW) {
            // Changes were lost: every monitor must look again.
            for (const auto& slot : m_slots)
                Notify(slot.get());
            return;
        }
        auto found = m_watches.find(event.wd);
        if (found == m_watches.end())
            return; // a watch removed meanwhile
        const QByteArray path = found->second.path;
        const std::vector<User> users = found->second.users;
        if (event.mask & IN_IGNORED) {
            m_watches.erase(found);
            for (const User& user : users)
                if (user.root)
                    Notify(user.slot); // the watched folder itself is gone
            return;
        }
        for (const User& user : users) {
            if (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF)) {
                if (user.root)
                    Notify(user.slot);
                continue;
            }
            if (user.slot->nested && (event.mask & IN_ISDIR) && event.len > 0) {
                const QByteArray child = JoinPath(path, QByteArray(event.name));
                if (event.mask & (IN_CREATE | IN_MOVED_TO))
                    WatchTree(user.slot, child, false);
                else if (event.mask & IN_MOVED_FROM)
                    ForgetTree(user.slot, child);
            }
            if (Reportable(user.slot->filterBits, event.mask))
                Notify(user.slot);
        }
    }

    std::mutex m_control; // serialises Add and Remove (opening and closing the service)
    std::mutex m_table;   // guards what the reader's thread uses: slots and watches
    std::vector<std::shared_ptr<TDirMonSlot>> m_slots;
    std::unordered_map<int, Watch> m_watches;
    int m_inotify = -1;                // the reader's descriptor while open
    InotifyReader* m_reader = nullptr; // owned; deleted on its own thread; guarded by m_table
};

} // namespace

void SetDirMonFaultForTesting(TDirMonFault fault) {
    g_fault = fault;
}

void SimulateDirMonOverflowForTesting() {
    WatchService::Instance().SimulateOverflow();
}

TDirMon::TDirMon(QObject* owner) : TComponent(owner) {}

TDirMon::~TDirMon() {
    if (m_slot)
        WatchService::Instance().Remove(m_slot.get());
}

void TDirMon::SetDirectory(const QString& directory) {
    QString path = directory;
    if (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (path == m_directory)
        return;
    if (Running())
        Stop();
    m_directory = path;
    if (!IsLoading())
        Start();
}

TDirMon::TDirMonType TDirMon::NotifyFilter() const {
    TDirMonType filter;
    for (int i = 0; i < 6; ++i)
        if (m_filterBits & FilterBitOf[i])
            filter |= TDirMonValue(1 << i);
    return filter;
}

void TDirMon::SetNotifyFilter(TDirMonType filter) {
    if (Running())
        throw ShellError(QStringLiteral("Unable to change NotifyFilter when DirMon is running"));
    std::uint32_t bits = 0;
    for (int i = 0; i < 6; ++i)
        if (filter.testFlag(TDirMonValue(1 << i)))
            bits |= FilterBitOf[i];
    m_filterBits = bits;
}

void TDirMon::Start() {
    if (Running() || m_directory.isEmpty())
        return;
    auto slot = std::make_shared<TDirMonSlot>();
    slot->target = this;
    slot->generation = ++m_generation;
    slot->root = QFile::encodeName(m_directory);
    slot->filterBits = m_filterBits;
    slot->nested = m_nested;
    WatchService::Instance().Add(slot);
    m_slot = std::move(slot);
    DoStart();
}

void TDirMon::Stop() {
    if (!Running())
        throw ShellError(QStringLiteral("DirMon not started"));
    WatchService::Instance().Remove(m_slot.get());
    m_slot.reset();
    DoStop();
}

void TDirMon::Loaded() {
    TComponent::Loaded();
    Start();
}

void TDirMon::DoDirChange() {
    try {
        OnDirChange(this);
    } catch (...) {
        // A failing handler must not end the monitoring.
    }
}

void TDirMon::DoStart() {
    OnStart(this);
}

void TDirMon::DoStop() {
    OnStop(this);
}

bool TDirMon::event(QEvent* event) {
    if (event->type() != DirMonChangedEvent)
        return TComponent::event(event);
    auto* changed = static_cast<DirChangedEvent*>(event);
    if (m_slot && m_slot->generation == changed->Generation()) {
        m_slot->pending = false;
        DoDirChange();
    }
    return true;
}

} // namespace wordloom::shell
