#pragma once

// A started player window over a generated library, with the jukebox window made by the real
// front end but never shown, a screen of a chosen size and a chosen command line. Timers come from
// the fake timer source, so nothing ticks by itself.

#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QRect>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

#include "../controls/faketimersource.h"
#include "answeringdialogs.h"
#include "fakemediaplayer.h"
#include "jukebox/backdrops.h"
#include "jukebox/backgroundplay.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/jukeboxfrontend.h"
#include "library/filter.h"
#include "library/global.h"
#include "platform/arguments.h"
#include "platform/jpegcodec.h"
#include "platform/programfolder.h"
#include "platform/screens.h"
#include "player/frontend.h"
#include "player/mainform.h"
#include "skins/loadjpegorbmp.h"
#include "skins/resourceskins.h"
#include "view3d/glpanel.h"
#include "tempfolder.h"

// A JPEG cover of `side` square pixels of noise, which does not compress: the decoder reads every
// one of its many bytes, however much it reduces the picture.
inline QByteArray noiseCover(int side)
{
    QImage noise(side, side, QImage::Format_RGB888);
    QRandomGenerator random(7);
    for (int y = 0; y < noise.height(); ++y)
        random.fillRange(reinterpret_cast<quint32*>(noise.scanLine(y)), noise.bytesPerLine() / 4);
    return platform::encodeJpeg(noise, 90);
}

class FixedScreens final : public platform::Screens
{
public:
    QRect geometry(const QWidget* /*window*/) const override { return bounds; }
    QRect bounds{0, 0, 800, 600};
};

class JukeboxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        library::resetGlobals();
        library::resetfilter();
        player::resetGlobals();
        jukebox::resetGlobals();
        view3d::resetGlobals();
        jukebox::autoplaying = false;
        skins::freeskinresources();
        platform::setProgramFolder(program.path());
        platform::setScreens(&screens);
        platform::setCommandLineArguments(&arguments);
        libraryRoot = program.mkdir(QStringLiteral("music"));
        cacheFolder = program.mkdir(QStringLiteral("cache"));
    }

    void TearDown() override
    {
        // The jukebox goes first: it reaches into the player window.
        player::setFrontEnd(nullptr);
        frontEnd.reset();
        player::mainform = nullptr;
        form.reset();
        platform::setCommandLineArguments(nullptr);
        platform::setScreens(nullptr);
        platform::setProgramFolder(QString());
        skins::freeskinresources();
        view3d::resetGlobals();
        jukebox::resetGlobals();
        player::resetGlobals();
        library::resetGlobals();
    }

    // `count` albums "Artist N__Album N" (N from 1), each with two titles.
    void addAlbums(int count)
    {
        for (int n = 1; n <= count; ++n)
            program.write(
                QStringLiteral("music/Artist %1__Album %1/title.dat").arg(n, 2, 10, QLatin1Char('0')),
                "One\r\nTwo\r\n");
    }

    // Settings of section main besides the library and the temporary folder.
    void writeSettings(const QString& extra = QString())
    {
        const QString text =
            QStringLiteral("[main]\nPath=%1\nCachePath=%2\n%3").arg(libraryRoot, cacheFolder, extra);
        program.write(QStringLiteral("Musetra.ini"), text.toUtf8());
    }

    // Starts the player window (the jukebox is not asked for during its start-up), then creates the
    // jukebox window through the front end without showing it.
    jukebox::Tjukebox& start()
    {
        form = std::make_unique<player::Tmainform>([] { return std::make_unique<FakeMediaPlayer>(); });
        player::mainform = form.get();
        form->FormCreate(form.get());
        frontEnd = std::make_unique<jukebox::JukeboxFrontEnd>();
        player::setFrontEnd(frontEnd.get());
        frontEnd->gojukebox(false);
        return *jukebox::jukebox;
    }

    // Starts on a screen of `size` and lays the jukebox window out over all of it.
    jukebox::Tjukebox& startOnScreen(QSize size)
    {
        screens.bounds = QRect(QPoint(0, 0), size);
        jukebox::Tjukebox& window = start();
        fillScreen(window);
        return window;
    }

    // Makes the jukebox window as large as the screen and lays it out.
    void fillScreen(jukebox::Tjukebox& window)
    {
        window.resize(screens.bounds.size());
        window.FormResize(&window);
    }

    TempFolder program;
    QString libraryRoot;
    QString cacheFolder;
    FixedScreens screens;
    QStringList arguments{QStringLiteral("musetra")};
    FakeTimerSource timers;
    AnsweringDialogs dialogs;
    std::unique_ptr<player::Tmainform> form;
    std::unique_ptr<jukebox::JukeboxFrontEnd> frontEnd;
};
