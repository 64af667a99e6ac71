#pragma once

// A private sound server for hearing what the program really puts out: a PulseAudio daemon of the
// test's own (its own runtime folder, so it cannot meet anyone else's) with one null sink, whose
// monitor is recorded while a tone plays through libmpv.

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <csignal>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <gtest/gtest.h>

#include "playertesting.h"

namespace soundtesting {

using namespace platform;

inline constexpr int kRate = 44100;
inline constexpr double kToneAmplitude = 0.5;

// The real media player with PulseAudio as its only output (PULSE_SERVER names the server).
inline std::unique_ptr<MpvMediaPlayer> makePulsePlayer()
{
    MpvOptions options;
    options.audioOutput = QStringLiteral("pulse");
    return std::make_unique<MpvMediaPlayer>(nullptr, options);
}

class PrivateSoundServer
{
public:
    PrivateSoundServer()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        environment.insert(QStringLiteral("HOME"), runtime_.path());
        daemon_.setProcessEnvironment(environment);
        daemon_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        daemon_.start(
            QStringLiteral("pulseaudio"),
            {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--use-pid-file=no"),
             QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disable-shm=yes"),
             QStringLiteral("--log-level=error"),
             QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socket(),
             QStringLiteral("--load=module-null-sink sink_name=level")});
    }
    ~PrivateSoundServer()
    {
        daemon_.terminate();
        if (!daemon_.waitForFinished(5000)) daemon_.kill();
        daemon_.waitForFinished(5000);
    }

    QString address() const { return QStringLiteral("unix:") + socket(); }
    // The daemon, for a test that stops it (SIGSTOP) as a hung server.
    qint64 processId() const { return daemon_.processId(); }
    // Ready when the server answers a client: its socket can stand before the server listens on
    // it, and a test that then stops the server would meet a refused connection, not a hung server.
    [[nodiscard]] bool waitReady()
    {
        return daemon_.waitForStarted(5000) &&
               QTest::qWaitFor([&] { return answers() || daemon_.state() != QProcess::Running; }, 20000) &&
               daemon_.state() == QProcess::Running;
    }

    // The highest sample the sink plays while `play` runs, as a fraction of full scale. The sink
    // must first be quiet: the end of an earlier tone can still be on its way through the server.
    double peakWhile(const std::function<bool()>& play)
    {
        QProcess recorder;
        record(recorder);
        const bool played = waitForQuiet(recorder) && play();
        recorder.terminate();
        recorder.waitForFinished(5000);
        return played ? peakOf(recorder.readAllStandardOutput()) : -1;
    }

private:
    friend class MonitorRecording;

    bool answers() const
    {
        if (!QFileInfo::exists(socket())) return false;
        QProcess client;
        client.start(QStringLiteral("pactl"),
                     {QStringLiteral("--server=") + address(), QStringLiteral("info")});
        return client.waitForFinished(5000) && client.exitStatus() == QProcess::NormalExit &&
               client.exitCode() == 0;
    }

    // Starts `recorder` on the sink's monitor: 16-bit mono samples at kRate on its output.
    void record(QProcess& recorder) const
    {
        recorder.start(QStringLiteral("parec"),
                       {QStringLiteral("--server=") + address(), QStringLiteral("--device=level.monitor"),
                        QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                        QStringLiteral("--channels=1"), QStringLiteral("--rate=%1").arg(kRate),
                        QStringLiteral("--latency-msec=20")});
    }

    static double peakOf(const QByteArray& bytes)
    {
        int peak = 0;
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
            peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(bytes.constData() + i))));
        return peak / 32768.0;
    }

    // Reads until the last tenth of a second recorded is silence.
    static bool waitForQuiet(QProcess& recorder)
    {
        constexpr qsizetype kTenth = kRate / 10 * 2;
        QByteArray last;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 10000) {
            if (!recorder.waitForReadyRead(1000)) continue;
            last = (last + recorder.readAllStandardOutput()).right(kTenth);
            if (last.size() == kTenth && peakOf(last) == 0) return true;
        }
        return false;
    }

    QString socket() const { return runtime_.path() + QStringLiteral("/native"); }

    // A server address is cut at blanks, and temporary folders are named after the application.
    QTemporaryDir runtime_{QDir::tempPath() + QStringLiteral("/soundserver-XXXXXX")};
    QProcess daemon_;
};

// The server stopped with SIGSTOP (a hung server) until `resume`, or `holdMs` at most, which only
// keeps a program that waits on it from hanging its test.
class StoppedServer
{
public:
    explicit StoppedServer(qint64 pid, int holdMs = 60000) : pid_(pid)
    {
        ::kill(pid_t(pid), SIGSTOP);
        releaser_ = std::thread([this, holdMs] {
            std::unique_lock lock(mutex_);
            resumed_.wait_for(lock, std::chrono::milliseconds(holdMs), [this] { return resumeAsked_; });
            ::kill(pid_t(pid_), SIGCONT);
            held_ = false;
        });
    }
    ~StoppedServer() { resume(); }
    StoppedServer(const StoppedServer&) = delete;
    StoppedServer& operator=(const StoppedServer&) = delete;

    void resume()
    {
        {
            std::lock_guard lock(mutex_);
            resumeAsked_ = true;
        }
        resumed_.notify_one();
        if (releaser_.joinable()) releaser_.join();
    }
    // Still stopped: neither resumed nor let go at the end of the hold.
    bool held() const { return held_; }

private:
    qint64 pid_;
    std::mutex mutex_;
    std::condition_variable resumed_;
    bool resumeAsked_ = false;
    std::atomic<bool> held_{true};
    std::thread releaser_;
};

// The sink's monitor recorded from its first sound data on, to judge stretches of it afterwards on
// a clock that starts with that data.
class MonitorRecording
{
public:
    [[nodiscard]] bool start(const PrivateSoundServer& server)
    {
        server.record(recorder_);
        if (!recorder_.waitForReadyRead(5000)) return false;
        clock_.start();
        recorder_.readAllStandardOutput(); // sound from before the clock
        return true;
    }
    qint64 now() const { return clock_.elapsed(); }

    // The peak between `fromMs` and `toMs` on the clock, once that much has been recorded.
    double peak(qint64 fromMs, qint64 toMs)
    {
        while (bytes_.size() < offset(toMs) && recorder_.waitForReadyRead(2000))
            bytes_ += recorder_.readAllStandardOutput();
        return PrivateSoundServer::peakOf(bytes_.mid(offset(fromMs), offset(toMs) - offset(fromMs)));
    }

private:
    static qsizetype offset(qint64 ms) { return ms * kRate / 1000 * 2; }

    QProcess recorder_;
    QElapsedTimer clock_;
    QByteArray bytes_;
};

inline double decibels(double ratio)
{
    return 20.0 * std::log10(ratio);
}

// A tone of `lengthMs` played by libmpv through the private server.
class SoundServerTest : public ::testing::Test
{
protected:
    // `parked`: the track waits by openWhenNeeded, so mpv is loaded by the first play.
    void playThroughServer(int lengthMs, bool parked = false)
    {
        ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty())
            << "scripts/install-deps installs pulseaudio and pulseaudio-utils";
        ASSERT_TRUE(server_.waitReady());
        tools::Tone tone;
        tone.lengthMs = lengthMs;
        tone.amplitude = kToneAmplitude;
        const QString track = folder_.file(QStringLiteral("tone.mp3"));
        ASSERT_TRUE(tools::writeToneMp3(track, tone));
        // mpv and the speech engine open their audio output when they play: the address must stay
        // set meanwhile.
        qputenv("PULSE_SERVER", server_.address().toUtf8());
        player_ = makePulsePlayer();
        player_->setFileName(track);
        ASSERT_TRUE(parked ? player_->openWhenNeeded() : player_->isValid() && player_->open());
    }
    void TearDown() override { qunsetenv("PULSE_SERVER"); }

    // The peak heard while the tone plays once at `volume`, with `alongside` done as it starts.
    double peakAt(
        int volume, const std::function<void()>& alongside = [] {})
    {
        return server_.peakWhile([&] {
            Completions ended(*player_);
            // At its end the file plays again from the start.
            const bool started = player_->setVolume(volume) && player_->play();
            alongside();
            return started && ended.waitFor(1);
        });
    }

    TempFolder folder_;
    PrivateSoundServer server_;
    std::unique_ptr<MpvMediaPlayer> player_;
};

} // namespace soundtesting
