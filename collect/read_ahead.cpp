#include "collect/read_ahead.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace wordloom {

ReadAhead::ReadAhead(std::vector<Job> jobs, ParseInput input, std::size_t depth)
    : m_jobs(std::move(jobs)), m_input(std::move(input)), m_depth(depth) {
    if (m_depth > 0 && !m_jobs.empty()) {
        try {
            m_worker = std::thread([this] { Work(); });
        } catch (const std::system_error&) {
            // No thread to be had: Next() reads each file itself, as it does with depth 0.
        }
    }
}

ReadAhead::~ReadAhead() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_notFull.notify_all();
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

std::unique_ptr<ParsedFile> ReadAhead::Next() {
    if (m_next >= m_jobs.size()) {
        throw std::logic_error("ReadAhead: no file left");
    }
    const Job& job = m_jobs[m_next++];
    if (!m_worker.joinable()) {
        return ParseFile(job.parse, m_input, job.path, &m_met);
    }
    std::unique_lock lock(m_mutex);
    // Each side waits for a few files at once, not for every one: each wake costs both threads
    // system calls. A worker that filled the queue is woken once half of it is taken; a filing
    // thread that emptied it once half of it is there again (or the last file).
    if (m_ready.empty()) {
        m_filerWaiting = true;
        m_notEmpty.wait(lock, [this] { return !m_filerWaiting; });
    }
    std::unique_ptr<ParsedFile> file = std::move(m_ready.front());
    m_ready.pop_front();
    const bool wake = m_workerWaiting && m_ready.size() <= m_depth / 2;
    m_workerWaiting = m_workerWaiting && !wake;
    const std::exception_ptr failure = m_failure;
    lock.unlock();
    if (wake) {
        m_notFull.notify_one();
    }
    if (!file) {
        std::rethrow_exception(failure);
    }
    return file;
}

void ReadAhead::Recycle(std::unique_ptr<ParsedFile> file) {
    if (!m_worker.joinable()) {
        return; // freed here
    }
    const std::lock_guard lock(m_mutex);
    m_spent.push_back(std::move(file));
}

void ReadAhead::Work() {
    std::vector<std::unique_ptr<ParsedFile>> spent;
    for (const Job& job : m_jobs) {
        spent.clear();
        {
            std::unique_lock lock(m_mutex);
            spent.swap(m_spent);
            if (m_ready.size() >= m_depth) {
                m_workerWaiting = true;
                m_notFull.wait(lock, [this] { return m_stop || !m_workerWaiting; });
            }
            if (m_stop) {
                return;
            }
        }
        std::unique_ptr<ParsedFile> file;
        std::exception_ptr failure;
        try {
            file = ParseFile(job.parse, m_input, job.path, &m_met);
        } catch (...) {
            // ParseFile keeps the file's own failures in it: this is memory running out. The
            // filing thread throws it when it gets to the file; nothing after it is read.
            failure = std::current_exception();
        }
        bool wake = false;
        {
            const std::lock_guard lock(m_mutex);
            m_ready.push_back(std::move(file));
            m_failure = failure;
            wake = m_filerWaiting && (m_ready.size() >= std::max<std::size_t>(m_depth / 2, 1) || failure ||
                                      &job == &m_jobs.back());
            m_filerWaiting = m_filerWaiting && !wake;
        }
        if (wake) {
            m_notEmpty.notify_one();
        }
        if (failure) {
            return;
        }
    }
}

} // namespace wordloom
