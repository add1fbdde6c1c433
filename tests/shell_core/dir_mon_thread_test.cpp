// The directory monitor away from the application's thread: a monitor made, started and stopped on a
// worker thread hears of changes there, and the process's inotify descriptor is closed once the last
// monitor stops, whichever thread stopped it.
#include "shell/core/dir_mon.h"
#include "support/qt_files.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>

#include <unistd.h>

using namespace wordloom::shell;

namespace {

void Touch(const QString& path) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

// The process's open inotify descriptors.
int InotifyDescriptors() {
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::Files | QDir::System)) {
        char target[64] = {};
        const QByteArray link = QFile::encodeName(fds.filePath(fd));
        const ssize_t length = ::readlink(link.constData(), target, sizeof target - 1);
        count += length > 0 && QByteArray(target, length) == "anon_inode:inotify";
    }
    return count;
}

// Runs `work` on `thread` and waits for it.
template <typename Work>
void RunOn(QThread& thread, Work work) {
    QObject context;
    context.moveToThread(&thread);
    QMetaObject::invokeMethod(&context, work, Qt::BlockingQueuedConnection);
}

} // namespace

class DirMonThreadTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<wordloom::QtTempDir>();
        m_worker.start();
    }
    void cleanup() {
        m_worker.quit();
        m_worker.wait();
        m_dir.reset();
    }

    void workerMonitorHearsOnItsThread() {
        std::unique_ptr<TDirMon> monitor;
        std::atomic<int> calls{0};
        std::atomic<bool> onWorker{true};
        RunOn(m_worker, [&] {
            monitor = std::make_unique<TDirMon>();
            monitor->OnDirChange = [&](QObject*) {
                onWorker = onWorker && QThread::currentThread() == &m_worker;
                ++calls;
            };
            monitor->SetDirectory(m_dir->path());
        });
        Touch(m_dir->filePath(QStringLiteral("one")));
        // The descriptor is read on this thread, the notice handled on the worker's.
        QTRY_VERIFY_WITH_TIMEOUT(calls > 0, 5000);
        QVERIFY(onWorker);

        // A monitor here shares the descriptor; the worker's stopping leaves it running.
        TDirMon here;
        int hereCalls = 0;
        here.OnDirChange = [&hereCalls](QObject*) { ++hereCalls; };
        here.SetDirectory(m_dir->path());
        RunOn(m_worker, [&] { monitor->Stop(); });
        const int stoppedAt = calls;
        Touch(m_dir->filePath(QStringLiteral("two")));
        QTRY_VERIFY_WITH_TIMEOUT(hereCalls > 0, 5000);
        RunOn(m_worker, [] {}); // whatever was posted to the worker has been handled
        QCOMPARE(calls.load(), stoppedAt);
        RunOn(m_worker, [&] { monitor.reset(); });
    }

    void descriptorClosedWhenTheLastMonitorStops() {
        const int before = InotifyDescriptors();
        {
            TDirMon monitor;
            monitor.SetDirectory(m_dir->path());
            QCOMPARE(InotifyDescriptors(), before + 1);
            monitor.Stop();
            QCOMPARE(InotifyDescriptors(), before);
        }
        // Stopped on another thread: the reader is deleted on this one, with the descriptor.
        std::unique_ptr<TDirMon> monitor;
        RunOn(m_worker, [&] {
            monitor = std::make_unique<TDirMon>();
            monitor->SetDirectory(m_dir->path());
        });
        QCOMPARE(InotifyDescriptors(), before + 1);
        RunOn(m_worker, [&] { monitor.reset(); });
        QTRY_COMPARE_WITH_TIMEOUT(InotifyDescriptors(), before, 5000);
        // And the service opens again for the next monitor.
        TDirMon again;
        bool changed = false;
        again.OnDirChange = [&changed](QObject*) { changed = true; };
        again.SetDirectory(m_dir->path());
        Touch(m_dir->filePath(QStringLiteral("three")));
        QTRY_VERIFY_WITH_TIMEOUT(changed, 5000);
    }

private:
    std::unique_ptr<wordloom::QtTempDir> m_dir;
    QThread m_worker;
};

QTEST_GUILESS_MAIN(DirMonThreadTest)
#include "dir_mon_thread_test.moc"
