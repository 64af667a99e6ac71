#pragma once

// The encoder of one extracted track: reads the track's PCM file, writes it as an MP3 into the album
// being built (never into a file of the library, which the player may be playing), has the window
// thread tag it, and deletes the PCM file. Its work runs on a thread of its
// own; everything that touches windows, the player or the tag writer is handed to the window
// thread with a synchronised call. The extraction window owns it and joins its thread; the
// window thread reads only `finished` and `position` while it runs.

#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>

class QFile;
class QObject;
class QThread;

namespace ripper {

class tmp3encode
{
public:
    // `window` receives the synchronised calls; it must outlive the thread.
    explicit tmp3encode(QObject* window);
    ~tmp3encode();
    tmp3encode(const tmp3encode&) = delete;
    tmp3encode& operator=(const tmp3encode&) = delete;

    QString infile;
    QString outfile;
    QString trackname;
    QString artistname;
    QString albumname;
    int32_t tracknumber = 0;
    int32_t bitrate = 0; // kbit/s

    // Starts the thread (once).
    void Resume();
    // Asks the thread to stop after the current chunk; the encoding then counts as failed.
    void Terminate() { terminated_ = true; }
    // The thread has done all its work with its files.
    bool finished() const { return ffinished; }
    // The MP3 was made (valid once `finished`).
    bool succeeded() const { return fsucceeded; }
    // Progress 0..100.
    uint32_t position() const { return c; }
    QThread& thread() const { return *thread_; }

    // The thread's whole work; public so a benchmark can run it on its own thread.
    void Execute();

private:
    struct Stream;
    void log(const QString& text);
    void setprogsize();
    void progvis(bool visible);
    void writethetag();
    [[nodiscard]] bool encodeAll(QFile& in, QFile& out, Stream& stream, QString& failure);
    [[nodiscard]] bool encodeFile(QFile& in, QFile& out);
    QString quotedTrack() const;

    QObject* window_;
    std::unique_ptr<QThread> thread_;
    std::atomic<uint32_t> c{0};
    std::atomic<bool> ffinished{false};
    std::atomic<bool> fsucceeded{false};
    std::atomic<bool> terminated_{false};
};

} // namespace ripper
