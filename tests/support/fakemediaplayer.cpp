#include "fakemediaplayer.h"

#include <QFileInfo>
#include <algorithm>
#include <ostream>

using platform::MediaError;
using platform::NotifyValue;
using platform::PlayerMode;

FakeMediaPlayer::FakeMediaPlayer(QObject* parent) : MediaPlayer(parent) {}

void FakeMediaPlayer::setPosition(int ms)
{
    positionMs_ = std::clamp(ms, 0, lengthMs_);
}

void FakeMediaPlayer::finishPlay(NotifyValue value)
{
    if (!pendingPlay()) return;
    if (value == NotifyValue::Failure) {
        openName_.clear();
        mode_ = PlayerMode::NotReady;
    } else if (value == NotifyValue::Successful) {
        positionMs_ = endPointMs_;
        mode_ = PlayerMode::Stopped;
    }
    endPlay(value);
}

bool FakeMediaPlayer::checkOpen() const
{
    if (!openName_.isEmpty()) return true;
    setError(MediaError::NotOpen, QStringLiteral("No file is open"));
    return false;
}

bool FakeMediaPlayer::open()
{
    commands_ << QStringLiteral("open ") + fileName();
    takeCommand();
    endPlay(NotifyValue::Aborted);
    openName_.clear();
    mode_ = PlayerMode::NotReady;
    MediaError error = openFailures_.value(fileName(), MediaError::None);
    if (error == MediaError::None && !QFileInfo(fileName()).isFile())
        error = QFileInfo::exists(fileName()) ? MediaError::CannotOpen : MediaError::FileNotFound;
    if (error != MediaError::None) {
        setError(error, QStringLiteral("Cannot open %1").arg(fileName()));
        return false;
    }
    openName_ = fileName();
    lengthMs_ = lengths_.value(fileName(), kDefaultLengthMs);
    positionMs_ = 0;
    mode_ = PlayerMode::Stopped;
    clearError();
    return true;
}

bool FakeMediaPlayer::play(std::optional<int> endMs)
{
    commands_ << (endMs ? QStringLiteral("play to %1").arg(*endMs) : QStringLiteral("play"));
    const quint64 serial = beginPlay();
    if (!checkOpen()) {
        endPlay(NotifyValue::Failure, serial);
        return false;
    }
    clearError();
    if (positionMs_ >= lengthMs_) // a play at the end starts again from the beginning
        positionMs_ = 0;
    endPointMs_ = endMs ? std::min(*endMs, lengthMs_) : lengthMs_;
    if (endPointMs_ <= positionMs_) {
        mode_ = PlayerMode::Stopped;
        endPlay(NotifyValue::Successful, serial);
        return true;
    }
    mode_ = PlayerMode::Playing;
    return true;
}

bool FakeMediaPlayer::pause()
{
    commands_ << QStringLiteral("pause");
    takeCommand();
    if (!checkOpen()) return false;
    clearError();
    if (mode_ == PlayerMode::Playing) mode_ = PlayerMode::Paused;
    return true;
}

bool FakeMediaPlayer::stop()
{
    commands_ << QStringLiteral("stop");
    takeCommand();
    endPlay(NotifyValue::Aborted);
    if (!checkOpen()) return false;
    clearError();
    mode_ = PlayerMode::Stopped;
    return true;
}

bool FakeMediaPlayer::close()
{
    commands_ << QStringLiteral("close");
    takeCommand();
    endPlay(NotifyValue::Aborted);
    clearError();
    openName_.clear();
    mode_ = PlayerMode::NotReady;
    return true;
}

bool FakeMediaPlayer::seek(int ms)
{
    commands_ << QStringLiteral("seek %1").arg(ms);
    takeCommand();
    endPlay(NotifyValue::Aborted);
    if (!checkOpen()) return false;
    clearError();
    positionMs_ = std::clamp(ms, 0, lengthMs_);
    mode_ = PlayerMode::Stopped;
    return true;
}

int FakeMediaPlayer::position() const
{
    if (!checkOpen()) return 0;
    clearError();
    return positionMs_;
}

int FakeMediaPlayer::length() const
{
    if (!checkOpen()) return 0;
    clearError();
    return lengthMs_;
}

PlayerMode FakeMediaPlayer::mode() const
{
    return mode_;
}

bool FakeMediaPlayer::setVolume(int volume)
{
    commands_ << QStringLiteral("volume %1").arg(volume);
    volume_ = std::clamp(volume, 0, kMaxVolume);
    clearError();
    return true;
}

namespace platform {

void PrintTo(NotifyValue value, std::ostream* os)
{
    constexpr const char* names[] = {"Successful", "Superseded", "Aborted", "Failure"};
    *os << names[static_cast<int>(value)];
}

void PrintTo(MediaError value, std::ostream* os)
{
    constexpr const char* names[] = {"None", "NotOpen", "FileNotFound", "CannotOpen", "TimedOut", "Device"};
    *os << names[static_cast<int>(value)];
}

void PrintTo(PlayerMode value, std::ostream* os)
{
    constexpr const char* names[] = {"NotReady", "Stopped", "Playing", "Paused"};
    *os << names[static_cast<int>(value)];
}

} // namespace platform
