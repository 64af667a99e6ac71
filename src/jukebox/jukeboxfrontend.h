#pragma once

// The jukebox's side of the front-end interface the desktop player calls. It exists before the
// jukebox window: `gojukebox` creates the window on first use and this object owns it until the
// program ends; every other call goes to the window once it exists.
// GUI thread only; owned by the application object, which installs it before the player window's
// start-up runs.

#include <memory>

#include "player/frontend.h"

namespace jukebox {

class Tjukebox;

class JukeboxFrontEnd : public player::FrontEnd
{
public:
    JukeboxFrontEnd();
    ~JukeboxFrontEnd() override;
    JukeboxFrontEnd(const JukeboxFrontEnd&) = delete;
    JukeboxFrontEnd& operator=(const JukeboxFrontEnd&) = delete;

    void gojukebox(bool show) override;
    void domessage(const QString& text) override;
    bool jukeboxExists() const override;
    bool jukeboxVisible() const override;
    void closeJukebox() override;
    QWidget* jukeboxWindow() const override;

    void initautoplay() override;
    void startautoplay() override;

    void addthumbnail(const QString& albumFolder, int index) override;
    void deletethumbnail(int index) override;

    void RefundCredit() override;
    void writeentry(const QString& artist, const QString& album, const QString& track) override;
    bool autoplaying() const override;
    void setAutoplaying(bool on) override;
    void restartBackgroundRest() override;
    void setQueuePanelPlayingRow(int row) override;
    QWidget* coverimagepanel() const override;
    void jbcovershow(const QString& path) override;
    int pickcover() override;
    void covershow(const QString& folder) override;
    bool extractionVisible() const override;

private:
    void createWindow();

    std::unique_ptr<Tjukebox> window_;
};

} // namespace jukebox
