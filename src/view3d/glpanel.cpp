#include "view3d/glpanel.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions_2_1>
#include <QPainter>
#include <QSurfaceFormat>
#include <cmath>

#include "controls/scrolllistbox.h"
#include "controls/ticker.h"
#include "controls/timersource.h"
#include "view3d/gllistbox.h"
#include "view3d/glui.h"

namespace view3d {

namespace {

Q_LOGGING_CATEGORY(lcPrism, "musetra.view3d")

constexpr int kDragInterval = 30;
// The swing's frames follow one another as fast as they are drawn.
constexpr int kSwingInterval = 10;
constexpr int kSwingStep = 5;
constexpr int kQuarter = 90;
constexpr int kFullTurn = 360;
constexpr double kDragDegrees = 10.0; // per tick for a drag across the whole panel
constexpr int kListMargin = 5;

// The eye at (0, 0, 5.75) looking at the origin; 45 degrees of vertical view from 1 to 10.
constexpr double kEyeDistance = 5.75;
constexpr double kFieldOfView = 45.0;
constexpr double kNear = 1.0;
constexpr double kFar = 10.0;
constexpr double kBackgroundDepth = -2.0;
constexpr float kLightDiffuse[4] = {1.5f, 1.5f, 1.5f, 0.9f};
constexpr float kLightPosition[4] = {1.5f, 1.5f, 1.5f, 1.0f};

// One quad of the scene.
struct QuadPlace
{
    const char* name;
    tgl3DCoord normal;
    tglVertices corners;
    bool turned; // texture mapped from the right edge, as the sides seen turned are
};

constexpr tglTexCoord kUpright{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
constexpr tglTexCoord kTurned{{1, 0}, {1, 1}, {0, 1}, {0, 0}};

// Sides in the order front, right, back, left.
const QuadPlace kCovers[4] = {
    {"Front Cover",
     {0, 0, 1},
     {{-1.5, -0.75, 1.5}, {0, -0.75, 1.5}, {0, 0.75, 1.5}, {-1.5, 0.75, 1.5}},
     false},
    {"Right Cover", {1, 0, 0}, {{1.5, -0.75, 0}, {1.5, 0.75, 0}, {1.5, 0.75, 1.5}, {1.5, -0.75, 1.5}}, true},
    {"Back Cover",
     {0, 0, -1},
     {{0, -0.75, -1.5}, {0, 0.75, -1.5}, {1.5, 0.75, -1.5}, {1.5, -0.75, -1.5}},
     true},
    {"Left Cover",
     {-1, 0, 0},
     {{-1.5, -0.75, -1.5}, {-1.5, -0.75, 0}, {-1.5, 0.75, 0}, {-1.5, 0.75, -1.5}},
     false},
};
const QuadPlace kLists[4] = {
    {"Front Listbox",
     {0, 0, 1},
     {{0, -0.75, 1.5}, {1.5, -0.75, 1.5}, {1.5, 0.75, 1.5}, {0, 0.75, 1.5}},
     false},
    {"Right Listbox",
     {1, 0, 0},
     {{1.5, -0.75, -1.5}, {1.5, 0.75, -1.5}, {1.5, 0.75, 0}, {1.5, -0.75, 0}},
     true},
    {"Back Listbox",
     {0, 0, -1},
     {{-1.5, -0.75, -1.5}, {-1.5, 0.75, -1.5}, {0, 0.75, -1.5}, {0, -0.75, -1.5}},
     true},
    {"Left Listbox",
     {-1, 0, 0},
     {{-1.5, -0.75, 0}, {-1.5, -0.75, 1.5}, {-1.5, 0.75, 1.5}, {-1.5, 0.75, 0}},
     false},
};
const QuadPlace kLabels[4] = {
    {"AddAll_Front",
     {0, 0, 1},
     {{1.3, -0.75, 1.5001}, {1.5, -0.75, 1.5001}, {1.5, -0.7, 1.5001}, {1.3, -0.7, 1.5001}},
     false},
    {"AddAll_Right",
     {1, 0, 0},
     {{1.5001, -0.75, -1.5}, {1.5001, -0.7, -1.5}, {1.5001, -0.7, -1.3}, {1.5001, -0.75, -1.3}},
     true},
    {"AddAll_Back",
     {0, 0, -1},
     {{-1.5, -0.75, -1.5001}, {-1.5, -0.7, -1.5001}, {-1.3, -0.7, -1.5001}, {-1.3, -0.75, -1.5001}},
     true},
    {"AddAll_Left",
     {-1, 0, 0},
     {{-1.5001, -0.75, 1.3}, {-1.5001, -0.75, 1.5}, {-1.5001, -0.7, 1.5}, {-1.5001, -0.7, 1.3}},
     false},
};

void place(tglControl& w, const QuadPlace& quad)
{
    w.setName(QString::fromLatin1(quad.name));
    w.setNormal(quad.normal);
    w.setVertices(quad.corners);
    w.setTexture(quad.turned ? kTurned : kUpright);
}

QSurfaceFormat prismFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setDepthBufferSize(24);
    return format;
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

} // namespace

void resetGlobals()
{
    currentrotation = 0;
    rotation = 0;
    starttime = 0;
    startpoint = 0;
    endpoint = 0;
}

TGLPanel::TGLPanel(PrismHost& host, QWidget* area)
    : QOpenGLWidget(area), host_(host), GLTimer(controls::timerSource().makeTicker(host.hostObject())),
      swingTimer_(controls::timerSource().makeTicker(this))
{
    setObjectName(QStringLiteral("ThreeDPanel"));
    setFormat(prismFormat());
    GLTimer->setObjectName(QStringLiteral("GLTimer"));
    GLTimer->setInterval(kDragInterval);
    connect(GLTimer, &controls::Ticker::timeout, this, [this] { GLTimerTimer(GLTimer); });
    swingTimer_->setObjectName(QStringLiteral("swingtimer"));
    swingTimer_->setInterval(kSwingInterval);
    connect(swingTimer_, &controls::Ticker::timeout, this, &TGLPanel::swingTimerTimer);
    setGeometry(area->rect());
    area->installEventFilter(this);
    createControls();
    hide();
}

TGLPanel::~TGLPanel()
{
    // The widgets' textures belong to this panel's context.
    makeCurrent();
    ControlSet.reset();
    doneCurrent();
}

bool TGLPanel::available()
{
    static const bool drawable = [] {
        // Nothing drawn on the offscreen platform is ever seen, and what GL it has borrows a display.
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) return false;
        QOpenGLContext context;
        context.setFormat(prismFormat());
        QOffscreenSurface surface;
        surface.setFormat(prismFormat());
        surface.create();
        if (!context.create() || !context.makeCurrent(&surface)) return false;
        const bool fixedFunction = currentgl() != nullptr;
        context.doneCurrent();
        return fixedFunction;
    }();
    return drawable;
}

// ---- The scene ----

void TGLPanel::createControls()
{
    bnd = 0;
    ControlSet = std::make_unique<tglControlSet>(this);
    ControlSet->setRedrawProcedure([this] { Draw(); });
    Background = new tglBitmap(ControlSet.get());
    place(*Background, {"Background", {0, 0, 1}, {}, false});
    Background->setnodraw(true);
    for (int i = 0; i < 4; ++i) {
        Artwork[i] = new tglBitmap(ControlSet.get());
        place(*Artwork[i], kCovers[i]);
    }
    for (int i = 0; i < 4; ++i) {
        Titles[i] = new tglListBox(ControlSet.get());
        place(*Titles[i], kLists[i]);
        Titles[i]->clear();
        Titles[i]->setOnClick([this](QObject* sender) { host_.lsbClick(sender); });
    }
    for (int i = 0; i < 4; ++i) {
        AddAll[i] = new tglLabel(ControlSet.get());
        place(*AddAll[i], kLabels[i]);
        AddAll[i]->setlabel(QStringLiteral("Add All"));
        AddAll[i]->setOnClick([this](QObject* sender) { host_.playall3d(sender); });
    }
    SetLbEnabled(Titles[0]);
}

// The backdrop, fonts and margins come from the host window's album area once it is laid out.
void TGLPanel::takeJukeboxLook()
{
    QImage backdrop(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    backdrop.fill(Qt::black);
    const QImage& area = host_.albumAreaPicture();
    if (!area.isNull()) {
        // The album area's picture from its second row down, stretched over the panel.
        QPainter painter(&backdrop);
        painter.drawImage(backdrop.rect(), area, QRect(0, 1, width(), height() - 1));
    }
    Background->setbitmap(backdrop);
    const controls::TScrollListbox& pageList = host_.pageTrackList();
    QFont font(pageList.font().family());
    font.setPointSize(pageList.font().pointSize());
    for (tglListBox* list : Titles) {
        list->setfont(font);
        list->setmoretext(pageList.moretext());
        list->setmargin(host_.scaledWidth(kListMargin));
        list->setlinespacing(pageList.linespacing());
    }
    for (tglLabel* label : AddAll)
        label->setfont(font);
}

void TGLPanel::SetLbEnabled(tglListBox* lb)
{
    for (tglListBox* list : Titles)
        list->setenabled(list == lb);
}

// ---- OpenGL ----

void TGLPanel::init()
{
    QOpenGLFunctions_2_1* gl = currentgl();
    if (!gl) return;
    gl->glClearDepth(1.0);
    gl->glDepthFunc(GL_LESS);
    gl->glEnable(GL_DEPTH_TEST);
    gl->glShadeModel(GL_SMOOTH);
    gl->glViewport(0, 0, width(), height());
    gl->glMatrixMode(GL_PROJECTION);
    gl->glEnable(GL_TEXTURE_2D);
    gl->glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    gl->glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    gl->glEnable(GL_BLEND);
    gl->glEnable(GL_LIGHTING);
    gl->glEnable(GL_LIGHT0);
    gl->glLoadIdentity();
    // A panel of no height would divide by zero.
    const double aspect = double(width()) / std::max(1, height());
    const double top = kNear * std::tan(kFieldOfView / 2 * M_PI / 180);
    gl->glFrustum(-top * aspect, top * aspect, -top, top, kNear, kFar);
    gl->glMatrixMode(GL_MODELVIEW);
    gl->glLoadIdentity();
}

void TGLPanel::initializeGL()
{
    if (!currentgl()) qCWarning(lcPrism) << "no fixed-function OpenGL: the prism stays blank";
}

void TGLPanel::resizeGL(int, int)
{
    init();
    if (!lookTaken_) {
        takeJukeboxLook();
        lookTaken_ = true;
    }
    sizeLists();
    ControlSet->ProcessControls(kGlResize, QPoint());
    fitBackground();
    update();
}

// The eye's view of the prism turned by `angle` degrees, lit from a light fixed to the eye.
void TGLPanel::eyeTransform(int angle)
{
    QOpenGLFunctions_2_1* gl = currentgl();
    if (!gl) return;
    gl->glMatrixMode(GL_MODELVIEW);
    gl->glLoadIdentity();
    gl->glLightfv(GL_LIGHT0, GL_DIFFUSE, kLightDiffuse);
    gl->glLightfv(GL_LIGHT0, GL_POSITION, kLightPosition);
    gl->glLoadIdentity();
    gl->glTranslated(0, 0, -kEyeDistance);
    if (angle != 0) gl->glRotated(angle, 0, 1, 0);
}

// Every list is rendered at the size the front list takes on screen when it faces the guest.
void TGLPanel::sizeLists()
{
    eyeTransform(0);
    const tgl3DCoord p1 = getRealWorldPos(Titles[0]->Vertices().v1);
    const tgl3DCoord p3 = getRealWorldPos(Titles[0]->Vertices().v3);
    for (tglListBox* list : Titles)
        list->setrealworldsize(int(std::nearbyint(p3.x - p1.x)), int(std::nearbyint(p1.y - p3.y)));
}

// The backdrop fills the panel at world depth -2, behind the prism.
void TGLPanel::fitBackground()
{
    eyeTransform(0);
    const double depth = getRealWorldPos(gl3d(0, 0, kBackgroundDepth)).z;
    const tgl3DCoord a = getGLPosZ(0, 0, depth);
    const tgl3DCoord b = getGLPosZ(width(), height(), depth);
    Background->setVertices({{a.x, b.y, kBackgroundDepth},
                             {b.x, b.y, kBackgroundDepth},
                             {b.x, a.y, kBackgroundDepth},
                             {a.x, a.y, kBackgroundDepth}});
}

void TGLPanel::paintGL()
{
    QOpenGLFunctions_2_1* gl = currentgl();
    if (!gl) return;
    gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    eyeTransform(0);
    Background->Paint();
    // The turned view stays in place after the frame, so hit tests see the widgets where they are.
    gl->glRotated(currentrotation, 0, 1, 0);
    ControlSet->Draw();
}

// ---- Turning and album steps ----

void TGLPanel::Draw()
{
    int32_t& angle = currentrotation;
    angle += rotation;
    if (angle > kFullTurn - 1) {
        angle -= kFullTurn;
        bnd = 0;
    }
    if (angle < 0) {
        angle += kFullTurn;
        bnd = kFullTurn;
    }
    const int dir = sign(rotation);
    if ((dir == 1 && angle - bnd > 0) || (dir == -1 && angle - bnd < 0)) stepAlbum(dir);
    update();
}

// A new album comes round: the window steps its album and refills the side about to come into view.
void TGLPanel::stepAlbum(int dir)
{
    bnd = currentrotation + (dir == 1 ? kQuarter : -kQuarter);
    host_.prismStep(dir);
}

void TGLPanel::GLTimerTimer(QObject* Sender)
{
    if (starttime != 0) {
        const int d = endpoint - startpoint;
        if (d == 0) {
            rotation = 0;
            return;
        }
        rotation = int(std::nearbyint(d * kDragDegrees / std::max(1, width())));
        if (rotation != 0) Draw();
        return;
    }
    if (Sender != this) return;
    if (rotation != 0 && currentrotation % kQuarter != 0)
        doautorotation(sign(rotation));
    else
        rotation = 0;
}

// Swings on in `direction` to the next side, in steps of 5 degrees, one frame each.
void TGLPanel::doautorotation(int direction)
{
    moveinprogress = true;
    rotation = kSwingStep * direction;
    int32_t& angle = currentrotation;
    swingFace_ = direction > 0 ? (angle / kQuarter + 1) * kQuarter : angle / kQuarter * kQuarter;
    // First onto a multiple of 5, but never past the side the swing ends on.
    const int aligned = angle + rotation - angle % rotation;
    angle = direction > 0 ? std::min(aligned, swingFace_) : std::max(aligned, swingFace_);
    swingLeft_ = std::abs(swingFace_ - angle);
    if (swingLeft_ == 0) {
        if (angle == kFullTurn) angle = 0;
        endSwing();
        return;
    }
    swingTimer_->setEnabled(true);
}

void TGLPanel::swingTimerTimer()
{
    Draw();
    // Each step of the swing is seen.
    repaint();
    swingLeft_ -= kSwingStep;
    if (swingLeft_ <= 0) endSwing();
}

void TGLPanel::endSwing()
{
    swingTimer_->setEnabled(false);
    SetLbEnabled(Titles[cubePositions(swingFace_).front]);
    moveinprogress = false;
    rotation = 0;
    update();
}

// ---- Pointer input ----

int TGLPanel::processControls(uint8_t event, const QPoint& at)
{
    // Without a drawn frame there is nothing to hit.
    if (!isValid()) return kGlInactive;
    makeCurrent();
    return ControlSet->ProcessControls(event, at);
}

void TGLPanel::MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    host_.closepanels();
    if (moveinprogress) return;
    if (processControls(kGlMouseDown, QPoint(X, Y)) == kGlTaken) {
        rotation = 0;
        Draw();
        return;
    }
    GLTimer->setEnabled(true);
    starttime = std::max<uint32_t>(1, controls::timerSource().tickCount());
    // The press is where the drag is measured from, whatever an earlier drag left.
    startpoint = X;
    endpoint = X;
}

void TGLPanel::MouseMove(Qt::KeyboardModifiers, int X, int Y)
{
    if (moveinprogress) return;
    if (starttime == 0 && processControls(kGlMouseMove, QPoint(X, Y)) == kGlTaken) {
        rotation = 0;
        Draw();
        return;
    }
    endpoint = X;
}

void TGLPanel::MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    if (moveinprogress) return;
    if (starttime == 0) {
        const int result = processControls(kGlMouseUp, QPoint(X, Y));
        if (result != kGlInactive) {
            rotation = 0;
            Draw();
        }
        if (result == kGlTaken) return;
    }
    starttime = 0;
    GLTimer->setEnabled(false);
    GLTimer->setInterval(kDragInterval);
    GLTimerTimer(this);
}

void TGLPanel::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    MouseDown(event->button(), event->modifiers(), at.x(), at.y());
}

void TGLPanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    MouseMove(event->modifiers(), at.x(), at.y());
}

void TGLPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    MouseUp(event->button(), event->modifiers(), at.x(), at.y());
}

bool TGLPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return QOpenGLWidget::eventFilter(watched, event);
}

// ---- What the host window hands over ----

void TGLPanel::NoAlbums()
{
    for (tglBitmap* cover : Artwork)
        cover->setbitmap(QImage());
    for (tglListBox* list : Titles)
        list->clear();
}

void TGLPanel::setArtwork(int face, const QImage& picture)
{
    Artwork.at(face)->setbitmap(picture);
}

void TGLPanel::setTitles(int face, int32_t album, const QVector<TitleRow>& rows)
{
    tglListBox* list = Titles.at(face);
    list->clear();
    for (const TitleRow& row : rows)
        list->additemandinfo(row.text, row.album, row.track, QImage(), QString(), QString());
    list->settag(album);
}

void TGLPanel::drawFrame()
{
    update();
}

void TGLPanel::setAddAllEnabled(bool on)
{
    for (tglLabel* label : AddAll)
        label->setenabled(on);
}

QObject* TGLPanel::titleList(int face)
{
    return face >= 0 && face < int(Titles.size()) ? Titles[face] : nullptr;
}

} // namespace view3d
