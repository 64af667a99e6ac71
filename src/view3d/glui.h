#pragma once

// A small widget set for a scene drawn with OpenGL. Each widget is one textured quad placed in
// world coordinates; a widget set belongs to one window, draws its widgets in registration order
// and hands pointer events to them by testing the pointer against each widget's quad where the
// last frame drew it. The bitmap widget shows a picture, the label a caption that can be clicked;
// the list box (gllistbox.h) builds on the same base.
// GUI thread only. Drawing, uploads and hit tests need the owning window's OpenGL context to be
// current; without one they do nothing. The set owns its widgets; each widget owns its texture.

#include <QFont>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "view3d/glutils.h"

class QWidget;

namespace view3d {

class tglControl;

// Redraws the whole scene.
using TRedrawProcedure = std::function<void()>;
// A click, with the widget that was clicked.
using TglNotify = std::function<void(QObject* Sender)>;

// Event codes of the widget set.
constexpr uint8_t kGlMouseDown = 1;
constexpr uint8_t kGlMouseUp = 2;
constexpr uint8_t kGlMouseMove = 3;
constexpr uint8_t kGlResize = 4;
// Answers of a widget to an event.
constexpr uint8_t kGlInactive = 0;
constexpr uint8_t kGlTaken = 1;
constexpr uint8_t kGlMissed = 3;

class tglControlSet
{
public:
    // An empty set for `parent`, whose pixels the hit test counts in.
    explicit tglControlSet(QWidget* parent);
    // Destroys every widget the set still holds, each once.
    ~tglControlSet();
    tglControlSet(const tglControlSet&) = delete;
    tglControlSet& operator=(const tglControlSet&) = delete;

    void registercontrol(tglControl* w);
    // Removes the first entry that is `w`; nothing when `w` is not registered.
    void unregistercontrol(tglControl* w);
    tglControl* getcontrol(uint32_t i) const { return fcontrols.at(i); }
    uint32_t controls() const { return uint32_t(fcontrols.size()); }
    QWidget* parent() const { return fparent; }
    const TRedrawProcedure& RedrawProcedure() const { return fRedrawProcedure; }
    void setRedrawProcedure(TRedrawProcedure procedure) { fRedrawProcedure = std::move(procedure); }

    // Paints every widget whose `nodraw` is off, in registration order.
    void Draw();
    // Hands `event` at pointer position `at` (pixels of the parent, y from the top) to every
    // widget, last registered first. The answer of the first-registered active widget: 1 when the
    // pointer is on it, 3 when not, 0 when no widget is active. Resize answers 1 (0 when empty).
    int ProcessControls(uint8_t event, const QPoint& at);

private:
    std::vector<tglControl*> fcontrols;
    QWidget* fparent;
    TRedrawProcedure fRedrawProcedure;
};

class tglControl : public QObject
{
    Q_OBJECT

public:
    // Registers the new widget with `set`.
    explicit tglControl(tglControlSet* set);
    // Releases the widget's texture and unregisters it from its set.
    ~tglControl() override;

    virtual void Paint() {}
    virtual void Resize() {}
    // Pointer events in widget-local pixels; a release outside the widget arrives as (-1, -1).
    virtual void MouseUp(int /*x*/, int /*y*/) {}
    virtual void MouseDown(int /*x*/, int /*y*/) {}
    virtual void MouseMove(int /*x*/, int /*y*/) {}

    // One widget's handling of `event` at pointer position `at`: 0 not active, 1 taken, 3 missed.
    uint8_t ProcessControl(uint8_t event, const QPoint& at);

    void setNormal(const tgl3DCoord& v) { fNormal = v; }
    void setTexture(const tglTexCoord& v) { fTexCoord = v; }
    const tglVertices& Vertices() const { return fVertices; }
    void setVertices(const tglVertices& v) { fVertices = v; }
    tglControlSet* parent() const { return fparent; }
    bool enabled() const { return fenabled; }
    void setenabled(bool v) { fenabled = v; }
    const QString& Name() const { return fname; }
    void setName(const QString& v) { fname = v; }
    bool nodraw() const { return fnodraw; }
    void setnodraw(bool v) { fnodraw = v; }

protected:
    // Uploads `image` into the widget's texture, made on first use.
    void uploadtexture(const QImage& image);
    // Draws the quad with the widget's texture.
    void paintquad();

    tgl3DCoord fNormal;
    tglTexCoord fTexCoord;
    tglVertices fVertices;
    tglControlSet* fparent;
    ttexture ftexture;
    bool hastexture_ = false;
    bool finteractive = false;
    bool fenabled = false;
    QString fname;
    bool fnodraw = false;

private:
    void dispatch(uint8_t event, int x, int y);
};

// A quad showing a picture. Not interactive, not enabled.
class tglBitmap : public tglControl
{
    Q_OBJECT

public:
    explicit tglBitmap(tglControlSet* set);

    // Takes a copy of `b`; it reaches the texture at the next paint. A null picture leaves the
    // texture's earlier image in place.
    void setbitmap(const QImage& b);

    void Paint() override;

private:
    QImage fbitmap;
    bool uploadpending_ = false;
};

// A quad showing a caption on its own bitmap; a press on it and the next release anywhere click
// it. Interactive and enabled from creation; a label that is not enabled is not drawn.
class tglLabel : public tglControl
{
    Q_OBJECT

public:
    explicit tglLabel(tglControlSet* set);

    // Sets the caption and draws it on the label's bitmap.
    void setlabel(const QString& s);
    // Takes `f` and draws the caption in it.
    void setfont(const QFont& f);
    void setOnClick(TglNotify handler) { FOnClick = std::move(handler); }

    void Paint() override;
    // The bitmap takes the size of the padded caption in the label's font and the caption is drawn.
    void Resize() override;
    void MouseUp(int x, int y) override;
    void MouseDown(int x, int y) override;

private:
    QImage bm;
    QString fcaption;
    TglNotify FOnClick;
    QFont ffont;
    bool isdown = false;
    bool uploadpending_ = false;
};

} // namespace view3d
