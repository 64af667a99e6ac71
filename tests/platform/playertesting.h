#pragma once

// Helpers shared by the media player tests: generated tracks and a recorder of completions.

#include <QObject>
#include <QTest>
#include <memory>
#include <vector>

#include "platform/mediaplayer.h"
#include "platform/mpvmediaplayer.h"
#include "tempfolder.h"
#include "tonemp3.h"

// Every completion the player delivers, in order.
class Completions : public QObject
{
public:
    explicit Completions(platform::MediaPlayer& player)
    {
        connect(&player, &platform::MediaPlayer::completed, this,
                [this](platform::NotifyValue value) { values.push_back(value); });
    }
    [[nodiscard]] bool waitFor(size_t count, int timeoutMs = 20000)
    {
        return QTest::qWaitFor([&] { return values.size() >= count; }, timeoutMs);
    }

    std::vector<platform::NotifyValue> values;
};

// The length of the file `player` opened, once it has loaded (0 when it never does).
inline int loadedLength(const platform::MediaPlayer& player)
{
    return QTest::qWaitFor([&] { return player.length() > 0; }, 20000) ? player.length() : 0;
}

// A libmpv player on the null outputs; `untimed` plays as fast as it can decode.
inline std::unique_ptr<platform::MpvMediaPlayer> makeMpvPlayer(bool untimed)
{
    platform::MpvOptions options;
    options.audioOutput = QStringLiteral("null");
    options.untimed = untimed;
    return std::make_unique<platform::MpvMediaPlayer>(nullptr, options);
}

// Writes a tone track into `folder` and returns its path.
inline QString writeTone(const TempFolder& folder, const QString& name, int lengthMs)
{
    tools::Tone tone;
    tone.lengthMs = lengthMs;
    const QString path = folder.file(name);
    return tools::writeToneMp3(path, tone) ? path : QString();
}
