#pragma once

// The media player of the program: one file at a time, opened, played (optionally up to an end point),
// paused, stopped, sought and closed, with positions and lengths always in milliseconds.
//
// It behaves like a classic device-style player:
// - `open` works on the name given by `setFileName` and closes whatever was open; a missing or
//   unreadable file fails with an error. The position is known as soon as `open` returns.
// - `play` plays from the current position to the end point (or the end of the file); a play given
//   at the end of the file starts again from the beginning. `stop` halts and keeps the position;
//   `close` releases the file (the name stays). `seek` halts playback at the new position.
// - Every command sets `error` (None on success); failures of queries such as `position` too.
// - Every play command ends with exactly one completion: Successful when the end point or the end of
//   the file is reached, Superseded when another play command is given first, Aborted when stop,
//   seek, close or another open interrupts it, Failure when it cannot play. Pausing leaves the play
//   command pending. The completion is delivered as the signal `completed`, queued on the thread of
//   the player (never from inside a command), and only when the notification switch was on for it.
// - A player may load the file behind `open`: its length is 0 until it is known, and a file that
//   turns out unplayable closes then and fails its play command.
// - The notification switch (`setNotify`) applies to the next command only; every command after that
//   notifies again, so switching it off before an `open` does not silence the following play.
//
// GUI thread only. Owned by the window that creates it (QObject parent).

#include <QObject>
#include <QRect>
#include <QString>
#include <optional>

class QWidget;

namespace platform {

// How a play command ended.
enum class NotifyValue { Successful, Superseded, Aborted, Failure };

enum class PlayerMode { NotReady, Stopped, Playing, Paused };

// What keeps the music from being heard, as far as the player can tell: a sound device that does
// not answer or has stopped playing, or none at all (the music plays into nothing).
enum class SoundTrouble { None, NotAnswering, NoDevice };

enum class MediaError {
    None = 0,
    NotOpen,      // no file is open
    FileNotFound, // the file does not exist
    CannotOpen,   // the file exists but cannot be played (corrupt, unknown format)
    TimedOut,     // the file did not open within the time limit
    Device,       // the player itself failed
};

class MediaPlayer : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxVolume = 1000;

    explicit MediaPlayer(QObject* parent = nullptr);
    ~MediaPlayer() override;

    QString fileName() const { return fileName_; }
    void setFileName(const QString& name) { fileName_ = name; }

    // The switch for the next command (on by default, and on again after that command).
    void setNotify(bool on) { notifyNext_ = on; }
    bool notify() const { return notifyNext_; }

    // Readies the player's engine ahead of its first play, on a worker where it can.
    virtual void prepare() {}

    virtual bool open() = 0;
    // `open` for a file that may sit unused for long (the silent parking file): a player may only
    // name the file here and open it when a command or query first needs it, stopped at its start
    // until then. A missing file fails at once, a file that cannot play at that first use.
    virtual bool openWhenNeeded() { return open(); }
    // Plays from the current position; with `endMs` playback ends (Successful) at that position.
    virtual bool play(std::optional<int> endMs = std::nullopt) = 0;
    virtual bool pause() = 0;
    virtual bool stop() = 0;
    virtual bool close() = 0;
    virtual bool seek(int ms) = 0;

    // Queries: 0 with error NotOpen when no file is open.
    virtual int position() const = 0;
    virtual int length() const = 0;
    virtual PlayerMode mode() const = 0;

    MediaError error() const { return error_; }
    QString errorMessage() const { return errorMessage_; }

    // Audio volume 0..kMaxVolume; values outside are clamped. Kept across files.
    virtual int volume() const = 0;
    virtual bool setVolume(int volume) = 0;

    // Video of the open file is shown inside `widget` (not owned; nullptr hides it) in `rect`, which
    // is in the widget's coordinates; an empty rectangle means the whole widget.
    virtual void setDisplay(QWidget* widget) = 0;
    virtual QWidget* display() const = 0;
    virtual void setDisplayRect(const QRect& rect) = 0;
    virtual QRect displayRect() const = 0;

Q_SIGNALS:
    void completed(platform::NotifyValue value);
    // The music cannot be heard for `trouble`, or (None) is heard again; told as it changes.
    void soundTroubleChanged(platform::SoundTrouble trouble);

protected:
    // Bookkeeping shared by every implementation, so all of them keep the same completion rules.

    // Every command but play calls this: it uses up the one-shot notification switch.
    void takeCommand() { notifyNext_ = true; }
    // A play command starts: the pending one (if any) is superseded; returns the new serial.
    quint64 beginPlay();
    // The pending play command (serial 0: whichever is pending) ends with `value`; a serial that is
    // no longer pending is ignored, so late events of an earlier play are dropped.
    void endPlay(NotifyValue value, quint64 serial = 0);
    quint64 pendingPlay() const { return pendingSerial_; }

    // Sets the result of the command or query being run (const so queries can report too).
    void setError(MediaError error, const QString& message = QString()) const;
    void clearError() const { setError(MediaError::None); }

private:
    QString fileName_;
    bool notifyNext_ = true;
    quint64 lastSerial_ = 0;
    quint64 pendingSerial_ = 0; // 0: no play command pending
    bool pendingNotifies_ = false;
    mutable MediaError error_ = MediaError::None;
    mutable QString errorMessage_;
};

} // namespace platform
