#pragma once

// A started player window over a generated library in a temporary program folder, with a front end
// that records what the jukebox is asked: the ground of the queue and playback tests.

#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "fakemediaplayer.h"
#include "platform/mediaplayer.h"
#include "player/aboutform.h"
#include "player/frontend.h"
#include "player/mainform.h"
#include "playerground.h"

// Texts of a list written as plain literals.
inline QStringList strings(std::initializer_list<const char*> items)
{
    QStringList list;
    for (const char* item : items)
        list << QString::fromUtf8(item);
    return list;
}

// Titles "<prefix>1" to "<prefix><count>".
inline QStringList numbered(const char* prefix, int count)
{
    QStringList titles;
    for (int i = 1; i <= count; ++i)
        titles << QString::fromUtf8(prefix) + QString::number(i);
    return titles;
}

class RecordingFrontEnd : public player::FrontEnd
{
public:
    void domessage(const QString& text) override { messages << text; }
    bool jukeboxExists() const override { return exists; }
    bool jukeboxVisible() const override { return exists && visible; }
    void startautoplay() override { ++autoplayStarts; }
    void RefundCredit() override { ++refunds; }
    void writeentry(const QString& artist, const QString& album, const QString& track) override
    {
        logEntries << artist + QLatin1Char('|') + album + QLatin1Char('|') + track;
    }
    bool autoplaying() const override { return background; }
    void setAutoplaying(bool on) override { background = on; }
    void restartBackgroundRest() override { ++restRestarts; }
    void setQueuePanelPlayingRow(int row) override { panelRows << row; }
    QWidget* coverimagepanel() const override { return panel; }
    void jbcovershow(const QString& path) override { coverShows << path; }
    int pickcover() override { return pickedCover; }
    // What the splash says when start-up hands over to the jukebox.
    void gojukebox(bool) override { splashTexts << (player::about ? player::about->mes->text() : QString()); }

    // Forgets what was asked so far (the start-up's own calls).
    void clearRecords()
    {
        messages.clear();
        logEntries.clear();
        coverShows.clear();
        panelRows.clear();
        refunds = 0;
        autoplayStarts = 0;
        restRestarts = 0;
    }

    bool exists = false;
    bool visible = false;
    bool background = false;
    QWidget* panel = nullptr;
    int pickedCover = -1;
    QStringList messages;
    QStringList logEntries;
    QStringList coverShows;
    QStringList splashTexts;
    QList<int> panelRows;
    int refunds = 0;
    int autoplayStarts = 0;
    int restRestarts = 0;
};

class PlayerWindowTest : public PlayerGround<RecordingFrontEnd>
{
protected:
    using Factory = std::function<std::unique_ptr<platform::MediaPlayer>()>;

    // An album folder with its "title.dat" and, for each title, "trackNN.mp3" made by `makeTrack`
    // (a few bytes by default: the fake player only needs the file to exist). Returns the folder.
    QString addAlbum(const QString& folderName, const QStringList& titles,
                     const std::function<void(const QString&)>& makeTrack = {})
    {
        const QString folder = program.mkdir(QStringLiteral("music/") + folderName);
        program.write(QStringLiteral("music/%1/title.dat").arg(folderName),
                      titles.join(QLatin1Char('\n')).toUtf8());
        for (int t = 1; t <= titles.size(); ++t) {
            const QString track =
                QStringLiteral("music/%1/track%2.mp3").arg(folderName).arg(t, 2, 10, QLatin1Char('0'));
            if (makeTrack)
                makeTrack(program.file(track));
            else
                program.write(track, "ID3");
        }
        return folder;
    }

    // Starts the window (settings, scan, album lists), then leaves it in the play-list style with
    // nothing recorded yet.
    player::Tmainform& start(const Factory& makePlayer = {})
    {
        program.write(
            QStringLiteral("Musetra.ini"),
            QStringLiteral("[main]\nPath=%1\nCachePath=%2\n").arg(libraryRoot, cacheFolder).toUtf8());
        form = std::make_unique<player::Tmainform>(
            makePlayer ? makePlayer : [] { return std::make_unique<FakeMediaPlayer>(); });
        player::mainform = form.get();
        form->FormCreate(form.get());
        form->playlistbut->setChecked(true);
        if (auto* fake = qobject_cast<FakeMediaPlayer*>(form->mediaPlayer())) fake->clearCommands();
        frontEnd.clearRecords();
        return *form;
    }

    FakeMediaPlayer& fake() const { return *qobject_cast<FakeMediaPlayer*>(form->mediaPlayer()); }

    // Album `number` chosen in the play-list style, as the jukebox's number entry does.
    void chooseAlbum(int number)
    {
        ASSERT_TRUE(form->loadtitles(form->dtracklist, number));
        form->dtracklist->setCurrentRow(0);
    }

    void queueTrack(int album, int track, bool creditTaken = false)
    {
        chooseAlbum(album);
        form->dtracklist->setCurrentRow(track - 1);
        form->AddClick(nullptr, creditTaken);
    }

    QStringList rows() const { return rowTexts(form->dplaylist); }

    // The queue's live entries as "album folder name/track".
    QStringList entries() const
    {
        QStringList texts;
        for (int i = 0; i < form->dplaylist->count(); ++i)
            texts << QStringLiteral("%1/%2")
                         .arg(player::dPlayListMatrixAlb.at(i).section(QLatin1Char('/'), -1))
                         .arg(player::dPlayListMatrixTrk.at(i));
        return texts;
    }

    // The names of the files the player opened, in order.
    QStringList opened() const
    {
        QStringList names;
        for (const QString& command : fake().commands()) {
            if (command.startsWith(QStringLiteral("open ")))
                names << command.mid(5).section(QLatin1Char('/'), -1);
        }
        return names;
    }

    // The play commands alone ("open" commands name paths, which may hold the word too).
    QStringList plays() const
    {
        static const QRegularExpression play(QStringLiteral("^play( |$)"));
        return fake().commands().filter(play);
    }

    // Ends the running play command with `value` and waits until the window has handled it.
    void finish(platform::NotifyValue value = platform::NotifyValue::Successful)
    {
        QSignalSpy delivered(form->mediaPlayer(), &platform::MediaPlayer::completed);
        fake().finishPlay(value);
        ASSERT_TRUE(delivered.wait(2000));
    }
};
