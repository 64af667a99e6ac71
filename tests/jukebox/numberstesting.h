#pragma once

// The ground of the number-entry tests: a started player and jukebox over albums that have track
// files, so a selection really reaches the (fake) media player; the entry's pause returns at once
// and fires a running fade, and the error blink ticks when a test says so.

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>
#include <functional>

#include "controls/scrolllistbox.h"
#include "controls/textscroller.h"
#include "jukebox/backgroundplay.h"
#include "jukebox/creditssystem.h"
#include "jukebox/entrypause.h"
#include "jukebox/tags.h"
#include "jukeboxfixture.h"

class NumberEntryTest : public JukeboxTest
{
protected:
    void SetUp() override
    {
        JukeboxTest::SetUp();
        jukebox::setentrypause([this](int ms) {
            pauses << ms;
            if (duringPause) duringPause();
            if (window && window->fadetimer->isEnabled()) ticker(window->fadetimer).fire();
        });
    }

    void TearDown() override
    {
        jukebox::setentrypause({});
        window = nullptr;
        JukeboxTest::TearDown();
    }

    static FakeTicker& ticker(controls::Ticker* timer) { return *static_cast<FakeTicker*>(timer); }

    // Album `n` of the library: "Artist NNNN__Album NNNN" (numbered so that rows sort by number).
    static QString folderName(int n)
    {
        return QStringLiteral("Artist %1__Album %1").arg(n, 4, 10, QLatin1Char('0'));
    }

    // Albums 1..count with titles "T1".."Tn" (`tracksOf` tracks each, 3 unless told) and their files.
    void addLibrary(int count, const std::function<int(int)>& tracksOf = {})
    {
        for (int n = 1; n <= count; ++n) {
            const int tracks = tracksOf ? tracksOf(n) : 3;
            QStringList titles;
            for (int t = 1; t <= tracks; ++t) {
                titles << QStringLiteral("T%1").arg(t);
                program.write(
                    QStringLiteral("music/%1/track%2.mp3").arg(folderName(n)).arg(t, 2, 10, QLatin1Char('0')),
                    "ID3");
            }
            program.write(QStringLiteral("music/%1/title.dat").arg(folderName(n)),
                          titles.join(u'\n').toUtf8());
        }
    }

    // Starts player and jukebox over the library with `settings` added to section main.
    jukebox::Tjukebox& open(const QString& settings = QString())
    {
        writeSettings(settings);
        window = &start();
        fake().clearCommands();
        return *window;
    }

    FakeMediaPlayer& fake() const { return *qobject_cast<FakeMediaPlayer*>(form->mediaPlayer()); }

    // Types `keys`: digits, 'E' for Enter, 'C' for Clear.
    void type(const char* keys)
    {
        for (const char* k = keys; *k; ++k) {
            const int code = *k == 'E' ? -2 : *k == 'C' ? -1 : *k - '0';
            window->dolcd(code, 0);
        }
    }

    // The queue's entries as "album number/track".
    QStringList queue() const
    {
        QStringList entries;
        for (int row = 0; row < form->dplaylist->count(); ++row) {
            const QString folder = player::dPlayListMatrixAlb.at(row).section(u'/', -1);
            entries << QStringLiteral("%1/%2")
                           .arg(folder.mid(7, 4).toInt())
                           .arg(player::dPlayListMatrixTrk.at(row));
        }
        return entries;
    }

    QStringList opened() const
    {
        QStringList names;
        for (const QString& command : fake().commands()) {
            if (command.startsWith(QStringLiteral("open "))) names << command.section(u'/', -2);
        }
        return names;
    }

    bool playing() const
    {
        return form->play->isChecked() && fake().commands().contains(QStringLiteral("play"));
    }
    bool blinking() const { return window->errortimer->isEnabled(); }

    // Ticks the error blink to its end.
    void finishBlink()
    {
        for (int tick = 0; tick < 20 && blinking(); ++tick)
            ticker(window->errortimer).fire();
    }

    // A page list showing album `albumNumber`, a row per (title, track) pair, like the pages fill it.
    void fillList(controls::TScrollListbox& list, int albumNumber, const QList<int>& tracks)
    {
        list.clear();
        for (int track : tracks)
            list.additemandinfo(QStringLiteral("T%1").arg(track), albumNumber, track, QImage(), QString(),
                                QString());
        jukebox::setTag(&list, albumNumber);
    }

    jukebox::Tjukebox* window = nullptr;
    QList<int> pauses;
    std::function<void()> duringPause;
};
