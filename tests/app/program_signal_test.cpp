// The window program as a user runs it: kill, Ctrl+C and a logout end it at once.

#include "album_fixture.h"

#include <QProcess>
#include <QTest>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

using namespace vistello::app::testing;

namespace {

// Waits until a file named `name` in the watched folder has been read and closed, at most
// `timeoutMs`.
bool waitForRead(int inotifyFd, const QByteArray& name, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    alignas(inotify_event) char buffer[4096];
    while (std::chrono::steady_clock::now() < deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{inotifyFd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0)
            continue;
        const ssize_t n = ::read(inotifyFd, buffer, sizeof buffer);
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0 && name == event->name)
                return true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return false;
}

} // namespace

class ProgramSignalTest : public QObject {
    Q_OBJECT

  private slots:
    void endsAtOnceOnATerminationSignal_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM (kill, logout)") << int(SIGTERM);
        QTest::newRow("SIGINT (Ctrl+C)") << int(SIGINT);
    }

    void endsAtOnceOnATerminationSignal() {
        QFETCH(int, signal);
        // The program keeps its store beside itself: a link to it in a fresh folder gives it
        // a store of its own, never the build folder's.
        QTemporaryDir folder(QStringLiteral(VISTELLO_TEST_WORK_DIR "/program-XXXXXX"));
        QVERIFY(folder.isValid());
        const std::filesystem::path program = std::filesystem::path(folder.path().toStdString()) / "vistello";
        std::error_code linkError;
        std::filesystem::create_hard_link(VISTELLO_PROGRAM, program, linkError);
        if (linkError)
            QVERIFY(std::filesystem::copy_file(VISTELLO_PROGRAM, program));
        makeAlbums(folder.path(), {{"相册", 1, 1}});

        const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        QVERIFY(watch >= 0);
        QVERIFY(::inotify_add_watch(watch, folder.path().toLocal8Bit().constData(), IN_CLOSE_NOWRITE) >= 0);

        QProcess run;
        run.setProcessChannelMode(QProcess::ForwardedChannels);
        run.start(QString::fromStdString(program.string()), {});
        QVERIFY(run.waitForStarted(10000));
        // The main window reads the album list once its widgets, the player and its sound
        // engine among them, exist: from then on the signal must still end the program.
        const bool ready = waitForRead(watch, "Album", 60000);
        ::close(watch);
        if (!ready)
            run.kill();
        QVERIFY2(ready, "the program never read its album list");

        ::kill(static_cast<pid_t>(run.processId()), signal);
        const bool ended = run.waitForFinished(10000);
        if (!ended) {
            run.kill();
            run.waitForFinished(10000);
        }
        QVERIFY2(ended, "the signal did not end the program");
        QCOMPARE(run.exitStatus(), QProcess::CrashExit);
        QCOMPARE(run.exitCode(), signal);
    }
};

QTEST_GUILESS_MAIN(ProgramSignalTest)
#include "program_signal_test.moc"
