#include "view3d/glui.h"

#include <QFontMetrics>
#include <QOpenGLFunctions_2_1>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace view3d {

namespace {

// A new label's bitmap and font.
constexpr int kLabelWidth = 50;
constexpr int kLabelHeight = 20;
constexpr int kLabelFontSize = 12;

// Sums of the corners' depths that tell which projected corner of an upright quad is on the left.
constexpr int kFacingKeys[] = {6, 3};
constexpr int kTurnedKeys[] = {-6, -3};

int roundEven(double v)
{
    return int(std::nearbyint(v));
}

bool within(double v, double low, double high)
{
    return low <= v && v <= high;
}

void sendcorner(QOpenGLFunctions_2_1& gl, const tgl2DCoord& t, const tgl3DCoord& v)
{
    gl.glTexCoord2f(float(t.x), float(t.y));
    gl.glVertex3f(float(v.x), float(v.y), float(v.z));
}

} // namespace

// ---- The set ----

tglControlSet::tglControlSet(QWidget* parent) : fparent(parent) {}

tglControlSet::~tglControlSet()
{
    // Each widget unregisters itself as it goes.
    while (!fcontrols.empty())
        delete fcontrols.back();
}

void tglControlSet::registercontrol(tglControl* w)
{
    fcontrols.push_back(w);
}

void tglControlSet::unregistercontrol(tglControl* w)
{
    const auto entry = std::find(fcontrols.begin(), fcontrols.end(), w);
    if (entry != fcontrols.end()) fcontrols.erase(entry);
}

void tglControlSet::Draw()
{
    for (tglControl* w : fcontrols)
        if (!w->nodraw()) w->Paint();
}

int tglControlSet::ProcessControls(uint8_t event, const QPoint& at)
{
    int result = kGlInactive;
    for (size_t i = fcontrols.size(); i-- > 0;) {
        if (i >= fcontrols.size()) continue; // a handler removed widgets
        const uint8_t answer = fcontrols[i]->ProcessControl(event, at);
        if (answer != kGlInactive) result = answer;
    }
    return result;
}

// ---- The base widget ----

tglControl::tglControl(tglControlSet* set) : fparent(set)
{
    if (fparent) fparent->registercontrol(this);
}

tglControl::~tglControl()
{
    if (hastexture_) deltexture(ftexture.slot);
    if (fparent) fparent->unregistercontrol(this);
}

uint8_t tglControl::ProcessControl(uint8_t event, const QPoint& at)
{
    if (event == kGlResize) {
        Resize();
        return kGlTaken;
    }
    if (!fenabled || !finteractive) return kGlInactive;
    const double x = at.x();
    const double y = at.y();
    const tgl3DCoord c = getRealWorldPos(getGLPos(at.x(), at.y()));
    const tgl3DCoord p1 = getRealWorldPos(fVertices.v1);
    const tgl3DCoord p3 = getRealWorldPos(fVertices.v3);
    const int key = roundEven(fVertices.v1.z + fVertices.v2.z + fVertices.v3.z + fVertices.v4.z);
    const bool upright = within(y, p3.y, p1.y);
    bool hit = false;
    double left = 0;
    if (std::find(std::begin(kFacingKeys), std::end(kFacingKeys), key) != std::end(kFacingKeys)) {
        hit = upright && within(x, p1.x, p3.x);
        left = p1.x;
    } else if (std::find(std::begin(kTurnedKeys), std::end(kTurnedKeys), key) != std::end(kTurnedKeys)) {
        hit = upright && within(x, p3.x, p1.x);
        left = p3.x;
    }
    if (hit && event >= kGlMouseDown && event <= kGlMouseMove) {
        dispatch(event, roundEven(c.x - left), roundEven(c.y - p3.y));
        return kGlTaken;
    }
    if (event == kGlMouseUp) MouseUp(-1, -1);
    return kGlMissed;
}

void tglControl::dispatch(uint8_t event, int x, int y)
{
    if (event == kGlMouseDown)
        MouseDown(x, y);
    else if (event == kGlMouseUp)
        MouseUp(x, y);
    else
        MouseMove(x, y);
}

void tglControl::uploadtexture(const QImage& image)
{
    if (!hastexture_ && currentgl()) {
        ftexture = addtexture();
        hastexture_ = true;
    }
    LoadTexturefromBitmap(ftexture, image);
}

void tglControl::paintquad()
{
    QOpenGLFunctions_2_1* gl = currentgl();
    if (!gl) return;
    gl->glBindTexture(GL_TEXTURE_2D, ftexture.texture);
    gl->glBegin(GL_QUADS);
    gl->glNormal3f(float(fNormal.x), float(fNormal.y), float(fNormal.z));
    sendcorner(*gl, fTexCoord.v1, fVertices.v1);
    sendcorner(*gl, fTexCoord.v2, fVertices.v2);
    sendcorner(*gl, fTexCoord.v3, fVertices.v3);
    sendcorner(*gl, fTexCoord.v4, fVertices.v4);
    gl->glEnd();
}

// ---- Bitmap ----

tglBitmap::tglBitmap(tglControlSet* set) : tglControl(set) {}

void tglBitmap::setbitmap(const QImage& b)
{
    fbitmap = b;
    if (!b.isNull()) uploadpending_ = true;
}

void tglBitmap::Paint()
{
    if (uploadpending_) {
        uploadtexture(fbitmap);
        uploadpending_ = false;
    }
    paintquad();
}

// ---- Label ----

tglLabel::tglLabel(tglControlSet* set)
    : tglControl(set), bm(kLabelWidth, kLabelHeight, QImage::Format_RGB32), ffont(QStringLiteral("arial"))
{
    ffont.setPointSize(kLabelFontSize);
    bm.fill(Qt::white);
    finteractive = true;
    fenabled = true;
}

void tglLabel::setlabel(const QString& s)
{
    fcaption = s;
    Resize();
}

void tglLabel::setfont(const QFont& f)
{
    ffont = f;
    Resize();
}

void tglLabel::Resize()
{
    const QString padded = QLatin1Char(' ') + fcaption + QLatin1Char(' ');
    const QFontMetrics metrics(ffont, &bm);
    const QSize size(std::max(1, metrics.horizontalAdvance(padded)), std::max(1, metrics.height()));
    QImage drawn(size, QImage::Format_RGB32);
    drawn.setDotsPerMeterX(bm.dotsPerMeterX());
    drawn.setDotsPerMeterY(bm.dotsPerMeterY());
    // The caption on the canvas's default brush: black on white.
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    painter.setFont(ffont);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(0, metrics.ascent()), padded);
    painter.end();
    bm = drawn;
    uploadpending_ = true;
}

void tglLabel::Paint()
{
    if (!fenabled) return;
    if (uploadpending_) {
        uploadtexture(bm);
        uploadpending_ = false;
    }
    paintquad();
}

void tglLabel::MouseDown(int, int)
{
    isdown = true;
}

void tglLabel::MouseUp(int, int)
{
    if (!isdown) return;
    isdown = false;
    if (FOnClick) FOnClick(this);
}

} // namespace view3d
