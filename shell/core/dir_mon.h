// TDirMon: watches one directory (or its subtree) and raises OnDirChange on the component's own
// thread for each reported change.
#pragma once

#include "shell/forms/component.h"

#include <QEvent>

#include <cstdint>
#include <memory>

namespace wordloom::shell {

struct TDirMonSlot;

// The posted change notice: QEvent::User + the monitor's message number 0x401.
inline constexpr QEvent::Type DirMonChangedEvent = QEvent::Type(QEvent::User + 0x401);

class TDirMon : public TComponent {
    Q_OBJECT
public:
    // The set elements, as set bits (1 << ordinal); FilterBits gives the notify-filter bits.
    enum class TDirMonValue {
        dmcFileName = 1 << 0,
        dmcDirName = 1 << 1,
        dmcAttributes = 1 << 2,
        dmcSize = 1 << 3,
        dmcLastWrite = 1 << 4,
        dmcSecurity = 1 << 5,
    };
    Q_DECLARE_FLAGS(TDirMonType, TDirMonValue)
    Q_FLAG(TDirMonType)
    // The elements under the component's own names (TDirMon::dmcSize), typed: no integer stands in.
    static constexpr TDirMonValue dmcFileName = TDirMonValue::dmcFileName;
    static constexpr TDirMonValue dmcDirName = TDirMonValue::dmcDirName;
    static constexpr TDirMonValue dmcAttributes = TDirMonValue::dmcAttributes;
    static constexpr TDirMonValue dmcSize = TDirMonValue::dmcSize;
    static constexpr TDirMonValue dmcLastWrite = TDirMonValue::dmcLastWrite;
    static constexpr TDirMonValue dmcSecurity = TDirMonValue::dmcSecurity;

private:
    Q_PROPERTY(QString Directory READ Directory WRITE SetDirectory)
    Q_PROPERTY(wordloom::shell::TDirMon::TDirMonType NotifyFilter READ NotifyFilter WRITE SetNotifyFilter)
    Q_PROPERTY(bool Nested READ Nested WRITE SetNested)
    Q_PROPERTY(TMethod OnDirChange READ OnDirChangeMethod WRITE SetOnDirChangeMethod)
    Q_PROPERTY(TMethod OnStart READ OnStartMethod WRITE SetOnStartMethod)
    Q_PROPERTY(TMethod OnStop READ OnStopMethod WRITE SetOnStopMethod)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion STORED false)

public:
    // Not running, filter bits 0x1 (file names), not nested.
    explicit TDirMon(QObject* owner = nullptr);
    // Ends the watching without OnStop.
    ~TDirMon() override;

    QString Directory() const { return m_directory; }
    // A trailing "/" is dropped (not from "/"); another path stops a running monitor (OnStop) and
    // starts watching the new one (OnStart), an empty path leaves it stopped. While the component is
    // loading from a form file the path is only stored; Loaded starts it.
    void SetDirectory(const QString& directory);

    TDirMonType NotifyFilter() const;
    // Throws ShellError("Unable to change NotifyFilter when DirMon is running") while running.
    void SetNotifyFilter(TDirMonType filter);
    // The filter as notify-filter bits: 0x1 file names, 0x2 directory names, 0x4 attributes, 0x8
    // size, 0x10 last write, 0x100 security.
    std::uint32_t FilterBits() const { return m_filterBits; }

    bool Nested() const { return m_nested; }
    // Takes effect at the next Start.
    void SetNested(bool nested) { m_nested = nested; }

    bool Running() const { return m_slot != nullptr; }

    // Starts watching Directory: nothing when running or Directory is empty. Throws
    // ShellError("CreateMutex failed") when the stop signal cannot be made and
    // ShellError("CreateThread failed") when the worker cannot be started; stopped then. A directory
    // that cannot be watched leaves the monitor running without events.
    void Start();
    // Stops watching and returns once the worker no longer touches this monitor; then OnStop.
    // Throws ShellError("DirMon not started") when not running. No OnDirChange follows a Stop.
    void Stop();

    QString Version() const { return ComponentVersion(this); }
    void SetVersion(const QString&) {}

    void Loaded() override;

    TNotifyEvent OnDirChange;
    TNotifyEvent OnStart;
    TNotifyEvent OnStop;

    TMethod OnDirChangeMethod() const { return OnDirChange.Method(); }
    void SetOnDirChangeMethod(const TMethod& method) { OnDirChange.SetMethod(method); }
    TMethod OnStartMethod() const { return OnStart.Method(); }
    void SetOnStartMethod(const TMethod& method) { OnStart.SetMethod(method); }
    TMethod OnStopMethod() const { return OnStop.Method(); }
    void SetOnStopMethod(const TMethod& method) { OnStop.SetMethod(method); }

protected:
    // OnDirChange; an exception thrown by the handler is dropped.
    virtual void DoDirChange();
    virtual void DoStart();
    virtual void DoStop();
    bool event(QEvent* event) override;

private:
    QString m_directory;
    std::uint32_t m_filterBits = 0x1;
    bool m_nested = false;
    std::shared_ptr<TDirMonSlot> m_slot;
    std::uint64_t m_generation = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TDirMon::TDirMonType)

// Test hook: make the next Start fail as if the stop signal or the worker could not be created.
enum class TDirMonFault { None, StopSignal, Thread };
void SetDirMonFaultForTesting(TDirMonFault fault);
// Test hook: the worker handles a queue overflow as if the kernel had reported one.
void SimulateDirMonOverflowForTesting();

} // namespace wordloom::shell
