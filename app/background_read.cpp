#include "app/background_read.h"

#include "strings_db/strings_table.h"

#include <QThread>
#include <algorithm>
#include <exception>

namespace wordloom {

struct BackgroundRead::Job {
    std::atomic<bool> stop{false};
    std::string failure;
    QPointer<QThread> thread; ///< null once the thread object is deleted
};

BackgroundRead::BackgroundRead() : m_receiver(std::make_unique<QObject>()) {}

BackgroundRead::~BackgroundRead() {
    for (const std::shared_ptr<Job>& job : m_running) {
        job->stop = true;
    }
    for (const std::shared_ptr<Job>& job : m_running) {
        if (job->thread != nullptr) {
            job->thread->wait();
        }
    }
}

void BackgroundRead::Stop() {
    if (m_newest) {
        m_newest->stop = true;
        m_newest.reset();
    }
}

void BackgroundRead::Start(const std::string& path, Work work, Done done) {
    Stop();
    auto job = std::make_shared<Job>();
    job->thread = QThread::create([job, path, work = std::move(work)] {
        try {
            StringsTable table(path, OpenMode::ReadOnly);
            work(table, job->stop);
        } catch (const std::exception& error) {
            job->failure = error.what();
        }
    });
    QThread* thread = job->thread;
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    QObject::connect(thread, &QThread::finished, m_receiver.get(), [this, job, done = std::move(done)] {
        std::erase(m_running, job);
        if (job == m_newest && !job->stop) {
            m_newest.reset();
            done(job->failure);
        }
    });
    m_newest = job;
    m_running.push_back(job);
    thread->start(QThread::LowPriority);
}

} // namespace wordloom
