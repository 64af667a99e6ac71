#pragma once

// The cover choice window: the pictures the cover-art service found for the album, and a generated
// cover last, one at a time; OK takes the one shown. While ripping (mode 0) OK also makes the album
// folder with its track titles and cover; while editing (mode 1) it hands the picture back in
// `apic`. The service is asked once each time the window is opened, while it shows its progress;
// Exit stops the lookup. Created, run and freed by `doartwork` on the GUI thread.

#include <QImage>
#include <QVector>
#include <cstdint>

#include "ripper/ripdialog.h"

class QLabel;
class QPlainTextEdit;
namespace controls {
class TBitmapActionButton;
class TSpinGlobe;
class TTransparentPanel;
} // namespace controls
namespace jukebox {
class PictureBox;
}

namespace ripper {

// The candidates in the order shown: the downloaded pictures, then the generated cover at index
// `ilcount`; `ilcurrent` is the one shown.
inline QVector<QImage> il;
inline int32_t ilcount = 0;
inline int32_t ilcurrent = 0;

class Tartwork : public RipDialog
{
    Q_OBJECT

public:
    static constexpr int kSaved = 1;
    static constexpr int kExit = 2;

    Tartwork();

    // Progress of the lookup: false once Exit was pressed; otherwise the message becomes a line of
    // `memo` and pending events are processed.
    bool callb(int32_t level, const QString& message);
    // Asks the service for pictures of the album `artist` / `title` and puts them in `il`.
    void getartwork();

    void exitbutClick();
    void butupClick();
    void butdownClick();
    void OKClick();
    // Escape and a close request act as Exit.
    void reject() override;

    QLabel* inf = nullptr;
    QPlainTextEdit* memo = nullptr;
    controls::TBitmapActionButton* exitbut = nullptr;
    controls::TTransparentPanel* coverpanel = nullptr;
    QLabel* lab2 = nullptr;
    jukebox::PictureBox* butdown = nullptr;
    jukebox::PictureBox* butup = nullptr;
    QLabel* curpiclab = nullptr;
    QWidget* imagepanel = nullptr;
    jukebox::PictureBox* image = nullptr;
    controls::TBitmapActionButton* ok = nullptr;
    QLabel* price = nullptr;
    jukebox::PictureBox* retailerimage = nullptr;
    // Why the service gave no pictures, beside the generated cover; hidden when it did not fail.
    QLabel* reasonlab = nullptr;

    // True once the lookup and the candidates are ready for a choice.
    bool ready() const { return ready_; }

protected:
    int backResult() const override { return kExit; }
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void layOut();
    void layOutChoice();
    // The lookup and the candidates; runs once, when the window is first shown.
    void FormActivate();
    void doimage();
    void addGeneratedCover();
    void startGlobe();
    // The busy globe in the window's bottom-right corner, wherever the window's size settles.
    void placeGlobe();
    void stopGlobe();
    // Mode 0: the album's staging folder, its titles and its cover. False when the window stays open.
    bool saveAlbum();
    [[nodiscard]] bool makeFolder(const QString& folder);
    [[nodiscard]] bool writeTitles(const QString& folder);
    // Reports a filing error; the window stays open for another try or Exit.
    void fileError(const QString& message);

    QImage backdrop_;
    controls::TSpinGlobe* globe_ = nullptr;
    bool exitmark_ = false;
    bool activated_ = false;
    bool ready_ = false;
};

// Stores `m` as the mode and lets the user choose; 1 after a successful OK, 2 after Exit.
int32_t doartwork(int32_t m);

} // namespace ripper
