#pragma once

// The 3D prism as the album pages drive it, and what it asks of the window it stands in. Four faces,
// each showing one album's cover picture and track list, and an "Add All" label per face. The prism
// panel implements `PrismView`; the window that shows it implements `PrismHost`. Until a prism
// exists the window has none and stays on its flat pages.
// GUI thread only. The prism panel is owned by its window's widget tree.

#include <QImage>
#include <QString>
#include <QVector>
#include <cstdint>

class QObject;
class QWidget;

namespace controls {
class TScrollListbox;
}

namespace view3d {

// The prism's angle about its vertical axis in whole degrees, 0..359; the prism panel turns it.
inline int32_t currentrotation = 0;

// The faces of the prism toward the guest: the one in front, the ones beside it and the one behind.
struct TCubePositions
{
    int32_t front = 0;
    int32_t prev = 0;
    int32_t next = 0;
    int32_t rear = 0;
};

// The faces by the prism's angle in whole degrees (any angle is taken round to 0..359).
TCubePositions cubePositions(int rotation);

// One row of a track list: the title in capitals, its album and its track number.
struct TitleRow
{
    QString text;
    int32_t album = 0;
    int32_t track = 0;
    bool operator==(const TitleRow&) const = default;
};

class PrismView
{
public:
    virtual ~PrismView() = default;

    // The view's window, laid over the album area.
    virtual QWidget* panel() = 0;
    // Empties every face (no album in the library).
    virtual void NoAlbums() = 0;
    // Face `face` (0..3) shows `picture` (512 x 512: the cover with its album strip).
    virtual void setArtwork(int face, const QImage& picture) = 0;
    // Face `face` lists the tracks of album `album`.
    virtual void setTitles(int face, int32_t album, const QVector<TitleRow>& rows) = 0;
    // Draws one frame with the faces as they now are.
    virtual void drawFrame() = 0;
    // Enables or disables the four "Add All" labels.
    virtual void setAddAllEnabled(bool on) = 0;
    // The track list of face `face` (0..3), as the list handlers take it; none by default.
    virtual QObject* titleList(int /*face*/) { return nullptr; }
};

class PrismHost
{
public:
    virtual ~PrismHost() = default;

    // The window the prism's timers and key presses belong to.
    virtual QObject* hostObject() = 0;
    // A touch on a face's track list (`sender` is the list) or its "Add All" label.
    virtual void lsbClick(QObject* sender) = 0;
    virtual void playall3d(QObject* sender) = 0;
    // A press on the prism closes the window's open panels.
    virtual void closepanels() = 0;
    // The window's album area picture, whose look the prism's backdrop takes.
    virtual const QImage& albumAreaPicture() const = 0;
    // The window's page track list, whose font, margins and "more" text the faces take.
    virtual const controls::TScrollListbox& pageTrackList() const = 0;
    // A length of the 800 x 600 design scaled to the screen's width.
    virtual int32_t scaledWidth(int32_t x) const = 0;
    // The prism has turned a quarter on: `dir` 1 to the album before, -1 to the one after. The window
    // steps its current album and refills the face coming into view.
    virtual void prismStep(int dir) = 0;
};

} // namespace view3d
