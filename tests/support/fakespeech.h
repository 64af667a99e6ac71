#pragma once

// A speech seam for tests: records what is said with its speed and flags, and can fail to register
// or to speak. Installs itself on construction.

#include <QString>
#include <QStringList>
#include <QVector>

#include "installedfake.h"
#include "platform/speech.h"

class FakeSpeech final : public InstalledFake<platform::Speech, &platform::setSpeech>
{
public:
    struct Said
    {
        QString text;
        int speed;
        int flags;
    };

    void Register(const QString&, const QString& application) override
    {
        if (!engineMissing.isEmpty()) throw platform::SpeechError(engineMissing.toStdString());
        registeredAs = application;
    }
    void setEnabled(bool) override {}
    void setSpeed(int wordsPerMinute) override { speed = wordsPerMinute; }
    void setVolume(double) override {}
    void Speak(const QString& text, int flags) override
    {
        if (failSpeaking) throw platform::SpeechError("speaking failed");
        said.append({text, speed, flags});
    }
    void stop() override { ++stops; }

    QStringList texts() const
    {
        QStringList list;
        for (const Said& s : said)
            list << s.text;
        return list;
    }

    QString engineMissing; // non-empty: Register throws with this text
    bool failSpeaking = false;
    QString registeredAs;
    int speed = 0;
    int stops = 0;
    QVector<Said> said;
};
