// The DJ: the button that switches the announcements on, and the announcement of a track about to
// play: a phrase or the time, then the title with artist and album, in a random style and speed.

#include "player/mainform.h"

#include <QAction>
#include <QDateTime>
#include <QListWidget>
#include <QPointer>
#include <QRandomGenerator>
#include <QSlider>
#include <QThread>
#include <QToolButton>

#include "library/global.h"
#include "library/names.h"
#include "library/rounding.h"
#include "platform/speech.h"
#include "player/frontend.h"
#include "player/olespeech.h"

namespace player {

namespace {

constexpr int kLowestSpeed = 140;
constexpr int kSpeedSpread = 40;

UnitRandom& installedRandom()
{
    static UnitRandom source;
    return source;
}

// The draws of one announcement: the installed source, else a generator seeded from the clock now.
UnitRandom announcementRandom()
{
    if (installedRandom()) return installedRandom();
    auto generator = std::make_shared<QRandomGenerator>(quint32(QDateTime::currentMSecsSinceEpoch()));
    return [generator] { return generator->generateDouble(); };
}

// v rounded to the nearest integer, halves to even.
int R(double v)
{
    return library::roundHalfEven(v);
}

// The speaking style of draw 1..4.
int styleOf(int draw)
{
    static constexpr int kStyles[] = {platform::kSpeechStatement, platform::kSpeechCommand,
                                      platform::kSpeechWarning, platform::kSpeechReading};
    return kStyles[std::clamp(draw, 1, 4) - 1];
}

// A phrase of the Phrases section, or the time in its place when the draw says so.
QString drawPhrase(const UnitRandom& x)
{
    const int n = int(std::min<qsizetype>(library::phrases.count, library::phrases.data.size()));
    if (n <= 0) return QString();
    QString phrase = library::phrases.data.at(std::clamp(int(x() * n), 0, n - 1));
    const int r = R(x() * n - 1.0);
    if (r == (n + 1) / 2 && library::config.timeannounce)
        phrase = QTime::currentTime().toString(QStringLiteral("hh mm"));
    return phrase;
}

} // namespace

void setdjrandom(UnitRandom source)
{
    installedRandom() = std::move(source);
}

void Tmainform::djClick(QObject*)
{
    if (!dj->isChecked()) return;
    const QPointer<Tmainform> self = this;
    const auto unavailable = [self](platform::SpeechMissing why) {
        if (self) self->djUnavailable(why);
    };
    if (initspeech(unavailable) != 0) {
        dj->setEnabled(false);
        return;
    }
    applyVoiceVolume();
}

// "DJ On": the DJ button goes down at start, before the first selection, and at every activation.
void Tmainform::pressDjWhenDefault()
{
    if (!library::config.Dj_default) return;
    dj->setChecked(true);
    djClick(dj);
}

// The voice cannot be heard: the DJ button greys, and a sound device that stopped answering is told
// to the operator, who would otherwise wait for announcements that never come.
void Tmainform::djUnavailable(platform::SpeechMissing why)
{
    Q_ASSERT(QThread::currentThread() == thread());
    dj->setEnabled(false);
    if (why == platform::SpeechMissing::DeviceSilent)
        tellOperator(tr("DJ off: the sound device does not answer"));
}

// The voice follows the music: the same share of its full level, and silent while muted.
void Tmainform::applyVoiceVolume()
{
    setspeechvolume(mutebut->isChecked() ? 0.0 : double(vol->value()) / vol->maximum());
}

// In the player's caption, and on the jukebox's message line while the jukebox shows.
void Tmainform::tellOperator(const QString& text)
{
    setWindowTitle(text);
    if (frontend().jukeboxVisible()) frontend().domessage(text);
}

void Tmainform::doDJ(const QString& album)
{
    killspeech();
    const UnitRandom x = announcementRandom();
    const QString phrase = drawPhrase(x);
    QString artist;
    QString albumTitle;
    (void)library::extractalbumandaristfrompath(album, artist, albumTitle);
    QListWidget* titles = playlistStyle() ? dplaylist : tracklist;
    const QListWidgetItem* row = titles->currentItem();
    const QString title = row ? row->text() : QString();

    const int a = R(x() * 3) + 1;
    const int d = R(x() * 3) + 1;
    const int c = R(x() * 2) + 1;
    const int speed = R(x() * kSpeedSpread) + kLowestSpeed;
    const int titleFlags = styleOf(a) + platform::kSpeechHighPriority;
    if (!library::config.Dj_comment) {
        speak(artist + QStringLiteral(", ") + albumTitle + QStringLiteral(",") + title, speed, titleFlags);
        return;
    }
    // The first entry of a queue is announced without a phrase.
    if (queueRow() != 0) speak(phrase, speed, styleOf(d) + platform::kSpeechHighPriority);
    switch (c) {
    case 1:
        speak(title + QStringLiteral(" by ") + artist, speed, titleFlags);
        break;
    case 2:
        speak(title + QStringLiteral(" from ") + albumTitle + QStringLiteral(" by ") + artist, speed,
              titleFlags);
        break;
    default:
        speak(title + QStringLiteral(" ") + artist, speed, titleFlags);
        break;
    }
}

} // namespace player
