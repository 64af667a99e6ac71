#pragma once

// The album edit menu: new artist and album names (the folder moves), track titles by hand or
// from the tags of the track files, a new cover from the cover-art service or from a picture on
// a CD, and deleting the album. Every change goes to the album folder at once and into the album
// lists. Created, run and freed by `goeditmenu` on the GUI thread, over the extraction window.

#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>

#include "ripper/ripdialog.h"

class QLabel;
class QTemporaryDir;
namespace controls {
class TBitmapActionButton;
class TTransparentPanel;
} // namespace controls
namespace jukebox {
class PictureBox;
}

namespace ripper {

// The number of the album being edited.
inline int32_t editing = 0;

class Teditmenu : public RipDialog
{
    Q_OBJECT

public:
    static constexpr int kDone = 1;

    Teditmenu();

    void gotitleClick();
    void gotracksClick();
    void gotracksautoClick();
    void goartworkwebClick();
    void goartworkcdClick();
    void godeleteClick();
    void OKClick();
    // Escape and a close request act as "Done".
    void reject() override;

    QLabel* title = nullptr;
    controls::TTransparentPanel* pnl = nullptr;
    jukebox::PictureBox* thumb = nullptr;
    controls::TBitmapActionButton* gotitle = nullptr;
    controls::TBitmapActionButton* gotracks = nullptr;
    controls::TBitmapActionButton* gotracksauto = nullptr;
    controls::TBitmapActionButton* goartworkweb = nullptr;
    controls::TBitmapActionButton* goartworkcd = nullptr;
    controls::TBitmapActionButton* godelete = nullptr;
    controls::TBitmapActionButton* OK = nullptr;

protected:
    int backResult() const override { return kDone; }
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void layOut();
    // The folder of the album being edited.
    QString folder() const;
    void showNames();
    void showCover();
    // Moves the album's folder to the new names; the lists follow only when it moved.
    [[nodiscard]] bool moveFolder(const QString& from, const QString& to);
    void takeNewNames(const QString& newArtist, const QString& newAlbum);
    // Lets the user correct `tracks` and, when saved, writes them to the folder's titles.
    void edittitles();
    // Runs `dialog` with the menu out of sight; its result.
    int32_t withMenuHidden(const std::function<int32_t()>& dialog);
    // The internet for the web lookup, dialling up when asked; false when the user went back.
    [[nodiscard]] bool internetForArtwork();
    // Saves `apic` as the album's cover and shows it; a failure is reported.
    void usenewcover();
    // The tracks of album folder `album` leave the queue; one of them that is playing is rejected.
    static void releaseAlbum(const QString& album);
    // Moves the album folder whole into `aside`; false, with the folder left whole, when it cannot.
    [[nodiscard]] bool moveAside(const QTemporaryDir& aside) const;

    QImage backdrop_;
};

// Edits album number `i` (from 1); returns 0.
int32_t goeditmenu(int32_t i);

} // namespace ripper
