#pragma once

// `TGLPanel`, the jukebox's 3D mode: an OpenGL window laid over the album area in which a
// four-sided prism turns about its vertical axis. Each side shows one album: its cover on the
// left half, its track list on the right half and an "Add All" label in the list's lower-right
// corner. The guest turns the prism by dragging (or with the jukebox's arrow buttons and keys);
// when a drag ends the prism swings on to the next side, whose list then takes touches. As the
// prism turns the album number steps and the window it stands in (its `PrismHost`) refills the side
// out of view.
// `paintGL` only draws the scene as it stands; every change of state (angle, album steps, swings)
// happens in the input and timer handlers, which then ask for a frame.
// GUI thread only. Made hidden by the jukebox window, a child of its album area (which owns it),
// kept until the program ends.

#include <QOpenGLWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "view3d/prismview.h"

namespace controls {
class Ticker;
}

namespace view3d {

class tglBitmap;
class tglControlSet;
class tglLabel;
class tglListBox;

// Degrees added to the prism's angle at each frame step; 0 while it stands still.
inline int32_t rotation = 0;
// The tick count at which the running drag began; 0 while no drag runs.
inline uint32_t starttime = 0;
// The pointer's x at the start of the drag and at its last move, in the panel's pixels.
inline int32_t startpoint = 0;
inline int32_t endpoint = 0;

// Puts the globals of this unit back to their state at program start (test fixtures).
void resetGlobals();

class TGLPanel final : public QOpenGLWidget, public PrismView
{
    Q_OBJECT

public:
    // A hidden panel over `area`, following its size; `host` is the window it serves.
    TGLPanel(PrismHost& host, QWidget* area);
    ~TGLPanel() override;

    // Whether this machine can draw the prism: an OpenGL context with the fixed-function calls.
    static bool available();

    // ---- What the jukebox asks of the prism ----
    QWidget* panel() override { return this; }
    void NoAlbums() override;
    void setArtwork(int face, const QImage& picture) override;
    void setTitles(int face, int32_t album, const QVector<TitleRow>& rows) override;
    void drawFrame() override;
    void setAddAllEnabled(bool on) override;
    QObject* titleList(int face) override;

    // Steps the angle by `rotation`, refills sides as albums come round, and asks for a frame.
    void Draw();
    void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void MouseMove(Qt::KeyboardModifiers Shift, int X, int Y);
    void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    // The drag tick; with the panel itself as `Sender` when a drag ends, to swing on.
    void GLTimerTimer(QObject* Sender);
    // Only `lb` of the four track lists takes touches.
    void SetLbEnabled(tglListBox* lb);
    // The OpenGL state of the panel.
    void init();

    // An automatic swing runs; pointer input does nothing meanwhile.
    bool moveinprogress = false;
    // Sides: 0 front, 1 right, 2 back, 3 left in world coordinates.
    std::array<tglBitmap*, 4> Artwork{};
    std::array<tglListBox*, 4> Titles{};
    std::array<tglLabel*, 4> AddAll{};
    tglBitmap* Background = nullptr;

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void takeJukeboxLook();
    void sizeLists();
    void fitBackground();
    void eyeTransform(int angle);
    void stepAlbum(int dir);
    int processControls(uint8_t event, const QPoint& at);
    void doautorotation(int direction);
    void swingTimerTimer();
    void endSwing();

    PrismHost& host_;
    controls::Ticker* GLTimer;
    controls::Ticker* swingTimer_;
    std::unique_ptr<tglControlSet> ControlSet;
    // The angle at which the next album step happens.
    int32_t bnd = 0;
    // Degrees the running swing has still to turn, and the face it ends on.
    int swingLeft_ = 0;
    int swingFace_ = 0;
    bool lookTaken_ = false;
};

} // namespace view3d
