#pragma once

// The 3D prism as the album pages drive it: four faces, each showing one album's cover picture and
// track list, and an "Add All" label per face. The prism view implements this; until one exists
// the jukebox has none and stays on the flat pages.
// GUI thread only. The prism view is owned by the jukebox window's widget tree.

#include <QImage>
#include <QVector>
#include <cstdint>

class QObject;
class QWidget;

namespace jukebox {

struct TitleRow;

// The prism's angle about its vertical axis in whole degrees, 0..359; the prism view turns it.
inline int32_t currentrotation = 0;

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

} // namespace jukebox
