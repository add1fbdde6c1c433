// Reads and parses the files of a collect on a worker thread, a few files ahead of their filing,
// so that the thread writing into the table is spared the reading and parsing. No host, no table:
// the worker only ever touches the files and what it parses them into.
#pragma once

#include "collect/parsed_file.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace wordloom {

class ReadAhead {
public:
    struct Job {
        std::string path;
        ParseFunction parse = nullptr;
    };

    /// Starts reading `jobs` in their order, at most `depth` files ahead of Next(); depth 0 reads
    /// each file in Next() on the calling thread.
    ReadAhead(std::vector<Job> jobs, ParseInput input, std::size_t depth);
    /// Stops the worker (after the file it is reading) and waits for it.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    /// The next job's file, parsed; waits for it. Called once per job, in order; each file must be
    /// filed (FileParsed) or passed over (PassOver) before the next.
    std::unique_ptr<ParsedFile> Next();
    /// Hands a filed file back: the worker frees it, as it made it (freeing on another thread
    /// costs the filing thread more).
    void Recycle(std::unique_ptr<ParsedFile> file);

private:
    void Work();

    const std::vector<Job> m_jobs;
    const ParseInput m_input;
    const std::size_t m_depth;
    std::size_t m_next = 0; ///< the job Next() hands out next
    TextSet m_met;          ///< the texts of the files parsed so far (by whichever thread parses)
    std::mutex m_mutex;
    std::condition_variable m_notEmpty;               ///< the filing thread waits for a file
    std::condition_variable m_notFull;                ///< the worker waits for room
    std::deque<std::unique_ptr<ParsedFile>> m_ready;  ///< parsed, in job order
    std::vector<std::unique_ptr<ParsedFile>> m_spent; ///< filed, for the worker to free
    std::exception_ptr m_failure; ///< why the worker gave up (an empty file in m_ready marks it)
    bool m_workerWaiting = false; ///< on a full queue, until half of it is taken
    bool m_filerWaiting = false;  ///< on an empty queue, until half of it is there
    bool m_stop = false;
    std::thread m_worker; // last: started once everything it uses is set
};

} // namespace wordloom
