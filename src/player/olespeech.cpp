#include "player/olespeech.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcSpeech, "musetra.player.speech")

namespace player {

namespace {
// The speech object once `initspeech` succeeded; `APIexists` says whether it did.
platform::Speech* VTxt = nullptr;
bool APIexists = false;
} // namespace

int initspeech(std::function<void(platform::SpeechMissing)> unavailable)
{
    APIexists = true;
    try {
        VTxt = &platform::speech();
        VTxt->setUnavailable([unavailable = std::move(unavailable)](platform::SpeechMissing why) {
            resetspeech();
            if (unavailable) unavailable(why);
        });
        VTxt->Register(QString(), QStringLiteral("Musetra"));
    } catch (const std::exception& error) {
        qCWarning(lcSpeech) << "no speech:" << error.what();
        APIexists = false;
        VTxt = nullptr;
        return 1;
    }
    return 0;
}

void speak(const QString& text, int speed, int flags)
{
    if (!APIexists || !VTxt) return;
    try {
        VTxt->setEnabled(true);
        VTxt->setSpeed(speed);
        VTxt->Speak(text, flags);
    } catch (const std::exception& error) {
        qCWarning(lcSpeech) << "announcement not spoken:" << error.what();
    }
}

void killspeech()
{
    if (APIexists && VTxt) VTxt->stop();
}

void setspeechvolume(double gain)
{
    if (APIexists && VTxt) VTxt->setVolume(gain);
}

void resetspeech()
{
    APIexists = false;
    VTxt = nullptr;
}

} // namespace player
