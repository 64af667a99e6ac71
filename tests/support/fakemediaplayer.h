#pragma once

// A scripted media player for tests: it keeps the device rules of platform::MediaPlayer (modes,
// positions, one completion per play command, the one-shot notification switch) without playing
// anything. Tests end the running play with `finishPlay`, script failing opens and lengths, and
// read back every command in `commands()`.

#include <QHash>
#include <iosfwd>
#include <QStringList>

#include "platform/mediaplayer.h"

class FakeMediaPlayer : public platform::MediaPlayer
{
    Q_OBJECT

public:
    static constexpr int kDefaultLengthMs = 3000;

    explicit FakeMediaPlayer(QObject* parent = nullptr);

    // Script.
    void setLength(const QString& fileName, int ms) { lengths_[fileName] = ms; }
    void failOpen(const QString& fileName, platform::MediaError error = platform::MediaError::CannotOpen)
    {
        openFailures_[fileName] = error;
    }
    // Moves the position as playback would (within the length).
    void setPosition(int ms);
    // Ends the pending play command as the device would: Successful leaves the position at the end
    // point (or the end of the file); Failure closes the file.
    void finishPlay(platform::NotifyValue value = platform::NotifyValue::Successful);
    bool isPlayPending() const { return pendingPlay() != 0; }

    // Record: "open NAME", "play", "play to MS", "pause", "stop", "close", "seek MS", "volume N".
    QStringList commands() const { return commands_; }
    void clearCommands() { commands_.clear(); }
    QString openFileName() const { return openName_; }

    bool open() override;
    bool play(std::optional<int> endMs = std::nullopt) override;
    bool pause() override;
    bool stop() override;
    bool close() override;
    bool seek(int ms) override;

    int position() const override;
    int length() const override;
    platform::PlayerMode mode() const override;

    int volume() const override { return volume_; }
    bool setVolume(int volume) override;

    void setDisplay(QWidget* widget) override { display_ = widget; }
    QWidget* display() const override { return display_; }
    void setDisplayRect(const QRect& rect) override { displayRect_ = rect; }
    QRect displayRect() const override { return displayRect_; }

private:
    bool checkOpen() const;

    QStringList commands_;
    QHash<QString, int> lengths_;
    QHash<QString, platform::MediaError> openFailures_;
    QString openName_; // empty: nothing open
    int lengthMs_ = 0;
    int positionMs_ = 0;
    int endPointMs_ = 0;
    platform::PlayerMode mode_ = platform::PlayerMode::NotReady;
    int volume_ = kMaxVolume;
    QWidget* display_ = nullptr;
    QRect displayRect_;
};

// GoogleTest printers for the media player's values.
namespace platform {
void PrintTo(NotifyValue value, std::ostream* os);
void PrintTo(MediaError value, std::ostream* os);
void PrintTo(PlayerMode value, std::ostream* os);
} // namespace platform
