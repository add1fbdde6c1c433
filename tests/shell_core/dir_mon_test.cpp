#include "shell/core/dir_mon.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

using namespace wordloom::shell;

namespace {

// Counts a monitor's events as signals, so tests can wait for them.
class Recorder : public QObject {
    Q_OBJECT
public:
    explicit Recorder(TDirMon& monitor) {
        monitor.OnDirChange = [this](QObject*) {
            onGuiThread = onGuiThread && QThread::currentThread() == thread();
            emit changed();
        };
        monitor.OnStart = [this](QObject*) { log.append(QStringLiteral("start")); };
        monitor.OnStop = [this](QObject*) { log.append(QStringLiteral("stop")); };
    }
    QStringList log;
    bool onGuiThread = true;
signals:
    void changed();
};

void Touch(const QString& path) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

} // namespace

class DirMonTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("sub")));
    }

    void createdFileIsReportedOnTheGuiThread() {
        TDirMon monitor;
        Recorder recorder(monitor);
        QSignalSpy changes(&recorder, &Recorder::changed);
        monitor.SetDirectory(m_dir->path());
        QVERIFY(monitor.Running());
        QCOMPARE(recorder.log, QStringList{QStringLiteral("start")});
        Touch(m_dir->filePath(QStringLiteral("new.txt")));
        QVERIFY(changes.wait(5000));
        QVERIFY(recorder.onGuiThread);
    }

    void subfolderIsWatchedOnlyWhenNested() {
        // The nested monitor hears of the subfolder's file; once it has, a notice for the flat
        // monitor would have been posted with it.
        TDirMon flat;
        TDirMon nested;
        nested.SetNested(true);
        Recorder flatRecorder(flat);
        Recorder nestedRecorder(nested);
        QSignalSpy flatChanges(&flatRecorder, &Recorder::changed);
        QSignalSpy nestedChanges(&nestedRecorder, &Recorder::changed);
        flat.SetDirectory(m_dir->path());
        nested.SetDirectory(m_dir->path());
        Touch(m_dir->filePath(QStringLiteral("sub/inner.txt")));
        QVERIFY(nestedChanges.wait(5000));
        QCoreApplication::processEvents();
        QCOMPARE(flatChanges.count(), 0);
    }

    void nestedFollowsNewSubfolders() {
        TDirMon monitor;
        monitor.SetNested(true);
        monitor.SetNotifyFilter(TDirMon::dmcFileName); // folder creation itself is no change
        Recorder recorder(monitor);
        QSignalSpy changes(&recorder, &Recorder::changed);
        monitor.SetDirectory(m_dir->path());
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("made/later")));
        // The new folders are watched once the worker has seen them; a file made before that is
        // only found by listing, so keep making files until one is reported.
        int attempt = 0;
        QTRY_VERIFY_WITH_TIMEOUT(
            (Touch(m_dir->filePath(QStringLiteral("made/later/f%1").arg(attempt++))), changes.count() > 0),
            5000);
    }

    void notifyFilterSelectsTheKindOfChange() {
        TDirMon monitor;
        monitor.SetNotifyFilter(TDirMon::dmcDirName);
        Recorder recorder(monitor);
        QSignalSpy changes(&recorder, &Recorder::changed);
        TDirMon witness; // reports files: proves the file's event was handled
        Recorder witnessRecorder(witness);
        QSignalSpy witnessChanges(&witnessRecorder, &Recorder::changed);
        monitor.SetDirectory(m_dir->path());
        witness.SetDirectory(m_dir->path());
        Touch(m_dir->filePath(QStringLiteral("file.txt")));
        QVERIFY(witnessChanges.wait(5000));
        QCoreApplication::processEvents();
        QCOMPARE(changes.count(), 0);
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
        QVERIFY(changes.wait(5000));
    }

    void vanishedFolderIsAChange() {
        TDirMon monitor;
        Recorder recorder(monitor);
        QSignalSpy changes(&recorder, &Recorder::changed);
        monitor.SetDirectory(m_dir->filePath(QStringLiteral("sub")));
        QVERIFY(QDir(m_dir->path()).rmdir(QStringLiteral("sub")));
        QVERIFY(changes.wait(5000));
        QVERIFY(monitor.Running());
        monitor.Stop();
    }

    void queueOverflowMakesEveryMonitorLookAgain() {
        TDirMon first;
        TDirMon second;
        TDirMon stopped;
        Recorder firstRecorder(first);
        Recorder secondRecorder(second);
        Recorder stoppedRecorder(stopped);
        QSignalSpy firstChanges(&firstRecorder, &Recorder::changed);
        QSignalSpy secondChanges(&secondRecorder, &Recorder::changed);
        QSignalSpy stoppedChanges(&stoppedRecorder, &Recorder::changed);
        first.SetDirectory(m_dir->path());
        second.SetDirectory(m_dir->filePath(QStringLiteral("sub")));
        stopped.SetDirectory(m_dir->path());
        stopped.Stop();
        SimulateDirMonOverflowForTesting();
        QTRY_COMPARE_WITH_TIMEOUT(firstChanges.count() + secondChanges.count(), 2, 5000);
        QCOMPARE(firstChanges.count(), 1);
        QCOMPARE(stoppedChanges.count(), 0);
    }

    void directoryRules() {
        TDirMon monitor;
        Recorder recorder(monitor);
        monitor.SetDirectory(m_dir->path() + QLatin1Char('/'));
        QCOMPARE(monitor.Directory(), m_dir->path());
        monitor.SetDirectory(m_dir->path()); // the same: nothing happens
        QCOMPARE(recorder.log, QStringList{QStringLiteral("start")});
        monitor.SetDirectory(m_dir->filePath(QStringLiteral("sub")));
        QCOMPARE(recorder.log,
                 (QStringList{QStringLiteral("start"), QStringLiteral("stop"), QStringLiteral("start")}));
        monitor.SetDirectory(QString());
        QVERIFY(!monitor.Running());
        QCOMPARE(recorder.log.last(), QStringLiteral("stop"));
        monitor.SetDirectory(QStringLiteral("/"));
        QCOMPARE(monitor.Directory(), QStringLiteral("/"));
        monitor.Stop();
    }

    void missingFolderRunsWithoutEvents() {
        TDirMon monitor;
        monitor.SetDirectory(m_dir->filePath(QStringLiteral("absent")));
        QVERIFY(monitor.Running());
        monitor.Stop();
        QVERIFY(!monitor.Running());
    }

    void notifyFilterBits() {
        TDirMon monitor;
        QCOMPARE(monitor.FilterBits(), 0x1u);
        QCOMPARE(monitor.NotifyFilter(), TDirMon::TDirMonType(TDirMon::dmcFileName));
        monitor.SetNotifyFilter(TDirMon::dmcSecurity);
        QCOMPARE(monitor.FilterBits(), 0x100u);
        QCOMPARE(monitor.NotifyFilter(), TDirMon::TDirMonType(TDirMon::dmcSecurity));
        monitor.SetNotifyFilter(TDirMon::dmcDirName | TDirMon::dmcAttributes | TDirMon::dmcSize |
                                TDirMon::dmcLastWrite);
        QCOMPARE(monitor.FilterBits(), 0x1Eu);
    }

    void errors() {
        TDirMon monitor;
        try {
            monitor.Stop();
            QFAIL("Stop while stopped");
        } catch (const ShellError& e) {
            QCOMPARE(e.Message(), QStringLiteral("DirMon not started"));
        }
        monitor.SetDirectory(m_dir->path());
        try {
            monitor.SetNotifyFilter(TDirMon::dmcSize);
            QFAIL("NotifyFilter while running");
        } catch (const ShellError& e) {
            QCOMPARE(e.Message(), QStringLiteral("Unable to change NotifyFilter when DirMon is running"));
        }
        QCOMPARE(monitor.FilterBits(), 0x1u);
        QVERIFY(monitor.Running());
        monitor.Stop();
    }

    void startFailures_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("stop signal") << int(TDirMonFault::StopSignal) << QStringLiteral("CreateMutex failed");
        QTest::newRow("worker") << int(TDirMonFault::Thread) << QStringLiteral("CreateThread failed");
    }
    void startFailures() {
        QFETCH(int, fault);
        QFETCH(QString, message);
        TDirMon monitor;
        Recorder recorder(monitor);
        SetDirMonFaultForTesting(TDirMonFault(fault));
        try {
            monitor.SetDirectory(m_dir->path());
            QFAIL("Start should fail");
        } catch (const ShellError& e) {
            QCOMPARE(e.Message(), message);
        }
        QVERIFY(!monitor.Running());
        QVERIFY(recorder.log.isEmpty());
        monitor.Start(); // the fault was one-off
        QVERIFY(monitor.Running());
    }

    void handlerExceptionIsDropped() {
        TDirMon monitor;
        int calls = 0;
        monitor.OnDirChange = [&calls](QObject*) {
            ++calls;
            throw ShellError(QStringLiteral("handler failed"));
        };
        monitor.SetDirectory(m_dir->path());
        Touch(m_dir->filePath(QStringLiteral("one")));
        QTRY_VERIFY_WITH_TIMEOUT(calls >= 1, 5000);
        const int afterFirst = calls;
        Touch(m_dir->filePath(QStringLiteral("two")));
        QTRY_VERIFY_WITH_TIMEOUT(calls > afterFirst, 5000);
        QVERIFY(monitor.Running());
    }

    void destructionEndsWithoutOnStop() {
        bool stopped = false;
        {
            TDirMon monitor;
            monitor.OnStop = [&stopped](QObject*) { stopped = true; };
            monitor.SetDirectory(m_dir->path());
            Touch(m_dir->filePath(QStringLiteral("pending")));
        }
        QCoreApplication::processEvents(); // a notice still queued for it must go nowhere
        QVERIFY(!stopped);
    }

    void noticeAfterStopIsDropped() {
        TDirMon monitor;
        int calls = 0;
        monitor.OnDirChange = [&calls](QObject*) { ++calls; };
        monitor.SetDirectory(m_dir->path());
        Touch(m_dir->filePath(QStringLiteral("x")));
        monitor.Stop();
        QCoreApplication::processEvents();
        QCOMPARE(calls, 0);
    }

    void loadingDefersTheStart() {
        TDirMon monitor;
        monitor.BeginLoading();
        monitor.SetDirectory(m_dir->path());
        QVERIFY(!monitor.Running());
        monitor.SetNotifyFilter(TDirMon::dmcFileName | TDirMon::dmcSize); // legal: not yet running
        monitor.SetNested(true);
        monitor.Loaded();
        QVERIFY(monitor.Running());
        QCOMPARE(monitor.FilterBits(), 0x9u);
    }

    void versionIsReadOnly() {
        TDirMon monitor;
        QCOMPARE(monitor.property("Version").toString(), QStringLiteral("TDirMon V2.3"));
        monitor.setProperty("Version", QStringLiteral("other"));
        QCOMPARE(monitor.Version(), QStringLiteral("TDirMon V2.3"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(DirMonTest)
#include "dir_mon_test.moc"
