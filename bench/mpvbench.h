#pragma once

// Helpers of the benchmarks that play through libmpv: the untimed null audio output, an event-loop
// spin with a time-out, the keeping of per-iteration times and their median, and the files of a
// generated library (tone tracks and small text files).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QString>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <clocale>
#include <cstdio>
#include <functional>
#include <vector>

#include "keepingreporter.h"
#include "median.h"
#include "platform/mpvmediaplayer.h"
#include "tonemp3.h"

// The null output without its real-time pacing: audio is taken as soon as it is decoded, so the
// first position past 0 marks the first decoded audio.
inline platform::MpvOptions nullOutput()
{
    platform::MpvOptions options;
    options.audioOutput = QStringLiteral("null");
    options.untimed = true;
    return options;
}

// Runs the event loop until `done`, polling as fast as it can; false after ten seconds.
inline bool spinUntil(const std::function<bool()>& done)
{
    constexpr int kTimeoutMs = 10000;
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > kTimeoutMs) return false;
        QCoreApplication::processEvents();
    }
    return true;
}

// Whether the player has decoded audio of `file` since the watch began. Untimed, mpv may decode a
// short track to its end between two reports of its position and before it answers the length
// query: the play then ends Successful with the position still 0. That end proves the audio came.
class AudioWatch
{
public:
    AudioWatch(platform::MediaPlayer& mp, const QString& file) : mp_(mp), file_(file)
    {
        // Completions of earlier plays, still queued, are no end of this one.
        QCoreApplication::sendPostedEvents(&mp, QEvent::MetaCall);
        QObject::connect(&mp, &platform::MediaPlayer::completed, &context_,
                         [this](platform::NotifyValue value) {
                             if (value == platform::NotifyValue::Successful && mp_.fileName() == file_)
                                 playedToEnd_ = true;
                         });
    }
    bool audioCame() const { return mp_.fileName() == file_ && (playedToEnd_ || mp_.position() > 0); }

private:
    platform::MediaPlayer& mp_;
    QString file_;
    QObject context_;
    bool playedToEnd_ = false;
};

inline double msSince(const QElapsedTimer& clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

// Opens and plays `file` on `mp`: the ms until its first decoded audio, -1 when none comes.
inline double msToFirstAudio(platform::MediaPlayer& mp, const QString& file)
{
    const AudioWatch watch(mp, file);
    QElapsedTimer clock;
    clock.start();
    mp.setFileName(file);
    (void)mp.open();
    (void)mp.play();
    if (!spinUntil([&] { return watch.audioCame(); })) return -1;
    return msSince(clock);
}

// Reports `ms` as the iteration's time and keeps it for the summary.
inline void keepSample(benchmark::State& state, std::vector<double>& samples, double ms)
{
    state.SetIterationTime(ms / 1000.0);
    samples.push_back(ms);
}

// Keeps `ms`, the time to the first audio, as above; false, with the run failed, when no audio came
// (ms < 0): the benchmark's loop is to end at the first missing sound.
inline bool keepAudioSample(benchmark::State& state, std::vector<double>& samples, double ms)
{
    if (!bench::checkIteration(state, ms >= 0, "no audio")) return false;
    keepSample(state, samples, ms);
    return true;
}

// Runs the benchmarks the command line names, each checked; the application must exist already.
inline void runBenchmarks(int& argc, char** argv)
{
    // libmpv refuses to start under any other numeric locale.
    std::setlocale(LC_NUMERIC, "C");
    bench::runCheckedBenchmarks(argc, argv);
}

inline void writeText(const QString& path, const QString& text)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(text.toUtf8());
}

// A tone track of `lengthMs` at `path`; says so on stderr when it cannot be written.
inline void writeToneTrack(const QString& path, int lengthMs)
{
    tools::Tone tone;
    tone.lengthMs = lengthMs;
    if (!tools::writeToneMp3(path, tone)) std::fprintf(stderr, "cannot write a track\n");
}
