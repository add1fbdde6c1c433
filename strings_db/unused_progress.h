// How the removal of unused texts tells its progress and hears a cancel, the same on every store.
#pragma once

#include "base/command_host.h"

#include <cstddef>
#include <string>

namespace wordloom {

class UnusedProgress {
public:
    UnusedProgress(CommandHost* host, std::size_t total) : m_host(host), m_total(total) {}

    /// From the first text again: a transaction that is run again starts over.
    void Restart() { m_done = 0; }
    /// Before the work on `text`: true when the host asked to stop (the text is not started).
    bool Stop(const std::string& text) {
        // Told every so many texts: a window lets its events through at each.
        constexpr std::size_t kStep = 64;
        if (m_host != nullptr && m_done % kStep == 0) {
            if (m_host->CancelRequested()) {
                return true;
            }
            m_host->Progress(static_cast<long long>(m_done), static_cast<long long>(m_total), text);
        }
        ++m_done;
        return false;
    }
    /// The texts started (and, once the transaction is committed, done).
    std::size_t Done() const { return m_done; }

private:
    CommandHost* m_host;
    std::size_t m_total;
    std::size_t m_done = 0;
};

} // namespace wordloom
