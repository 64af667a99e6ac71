#include "platform/mediaplayer.h"

#include <QMetaObject>

namespace platform {

MediaPlayer::MediaPlayer(QObject* parent) : QObject(parent) {}

MediaPlayer::~MediaPlayer() = default;

quint64 MediaPlayer::beginPlay()
{
    endPlay(NotifyValue::Superseded);
    pendingSerial_ = ++lastSerial_;
    pendingNotifies_ = notifyNext_;
    notifyNext_ = true;
    return pendingSerial_;
}

void MediaPlayer::endPlay(NotifyValue value, quint64 serial)
{
    if (pendingSerial_ == 0 || (serial != 0 && serial != pendingSerial_)) return;
    pendingSerial_ = 0;
    if (!pendingNotifies_) return;
    // Queued like a window message: the handler never runs inside the command that ended the play,
    // and nothing arrives once the player is gone.
    QMetaObject::invokeMethod(
        this, [this, value] { Q_EMIT completed(value); }, Qt::QueuedConnection);
}

void MediaPlayer::setError(MediaError error, const QString& message) const
{
    error_ = error;
    errorMessage_ = message;
}

} // namespace platform
