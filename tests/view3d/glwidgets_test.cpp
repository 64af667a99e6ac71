// The OpenGL widget set on a real context (Mesa under Xvfb): coordinates round trip between the
// window and the world, texture slots, what bitmaps and labels put on screen, and picking.

#include <QOpenGLFunctions_2_1>
#include <QOpenGLWidget>
#include <QSurfaceFormat>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

#include "view3d/glui.h"
#include "view3d/glutils.h"

using namespace view3d;

namespace {

// A window drawing one widget set the way the prism does: eye 5.75 in front of the origin,
// 45 degrees of view, quads upright at depth 1.5.
class Scene : public QOpenGLWidget
{
public:
    Scene()
    {
        QSurfaceFormat format;
        format.setProfile(QSurfaceFormat::CompatibilityProfile);
        format.setVersion(2, 1);
        format.setDepthBufferSize(24);
        setFormat(format);
        resize(400, 300);
    }
    tglControlSet set{this};

protected:
    void paintGL() override
    {
        QOpenGLFunctions_2_1* gl = currentgl();
        if (!gl) return;
        gl->glEnable(GL_DEPTH_TEST);
        gl->glEnable(GL_TEXTURE_2D);
        gl->glClearColor(0, 0, 1, 1);
        gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        gl->glMatrixMode(GL_PROJECTION);
        gl->glLoadIdentity();
        const double top = std::tan(22.5 * M_PI / 180);
        gl->glFrustum(-top * 4 / 3, top * 4 / 3, -top, top, 1, 10);
        gl->glMatrixMode(GL_MODELVIEW);
        gl->glLoadIdentity();
        gl->glTranslated(0, 0, -5.75);
        set.Draw();
    }
};

const tglTexCoord kUpright{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
const tglVertices kLeftHalf{{-1.5, -0.75, 1.5}, {0, -0.75, 1.5}, {0, 0.75, 1.5}, {-1.5, 0.75, 1.5}};
const tglVertices kRightHalf{{0, -0.75, 1.5}, {1.5, -0.75, 1.5}, {1.5, 0.75, 1.5}, {0, 0.75, 1.5}};

class GLWidgetsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        scene.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&scene));
        scene.makeCurrent();
        // Every GL call below needs this context.
        ASSERT_NE(currentgl(), nullptr) << "no compatibility OpenGL context";
    }

    // Draws a frame and leaves its context current, as the prism's hit tests find it.
    QImage frame()
    {
        const QImage shot = scene.grabFramebuffer();
        scene.makeCurrent();
        return shot;
    }

    static void place(tglControl& w, const tglVertices& corners)
    {
        w.setVertices(corners);
        w.setTexture(kUpright);
        w.setNormal({0, 0, 1});
    }

    // The window pixel at the middle of a quad.
    static QPoint middle(const tglVertices& q)
    {
        const tgl3DCoord p1 = getRealWorldPos(q.v1);
        const tgl3DCoord p3 = getRealWorldPos(q.v3);
        return QPoint(int((p1.x + p3.x) / 2), int((p1.y + p3.y) / 2));
    }

    Scene scene;
};

TEST_F(GLWidgetsTest, WindowPointsRoundTripThroughTheWorldWithinAPixel)
{
    auto* cover = new tglBitmap(&scene.set);
    place(*cover, kLeftHalf);
    frame();
    // On the quad, off it (nothing drawn: the far plane), and the top row taken as row 1.
    for (const QPoint at : {middle(kLeftHalf), QPoint(390, 290), QPoint(100, 0)}) {
        const tgl3DCoord back = getRealWorldPos(getGLPos(at.x(), at.y()));
        EXPECT_NEAR(back.x, at.x(), 1.0) << at.x() << "," << at.y();
        EXPECT_NEAR(back.y, std::max(at.y(), 1), 1.0) << at.x() << "," << at.y();
    }
    EXPECT_NEAR(getGLPos(390, 290).z, 5.75 - 10, 1e-3) << "nothing drawn: the far plane";
    const tgl3DCoord onQuad = getGLPos(middle(kLeftHalf).x(), middle(kLeftHalf).y());
    EXPECT_NEAR(onQuad.z, 1.5, 1e-2);
    EXPECT_NEAR(onQuad.x, -0.75, 2e-2);
    // The view axis lands in the middle, y counted from the top.
    const tgl3DCoord axis = getRealWorldPos(gl3d(0, 0, 0));
    EXPECT_DOUBLE_EQ(axis.x, 200);
    EXPECT_DOUBLE_EQ(axis.y, 150);
}

TEST_F(GLWidgetsTest, TextureSlotsRunOnAfterADeletionAndFreeTheRightEntry)
{
    const size_t before = textures.size();
    const ttexture first = addtexture();
    const ttexture second = addtexture();
    EXPECT_EQ(second.slot, first.slot + 1);
    EXPECT_NE(first.texture, second.texture);
    deltexture(first.slot);
    ASSERT_EQ(textures.size(), before + 1);
    EXPECT_EQ(textures.back().slot, second.slot);
    deltexture(first.slot); // already gone: nothing happens
    EXPECT_EQ(textures.size(), before + 1);
    const ttexture third = addtexture();
    EXPECT_EQ(third.slot, second.slot + 1);
    deltexture(second.slot);
    deltexture(third.slot);
    EXPECT_EQ(textures.size(), before);
}

TEST_F(GLWidgetsTest, BitmapAndLabelShowTheirPicturesWhereTheyStand)
{
    // A 24-bit picture, red above and green below, of a width that is no power of two.
    QImage picture(300, 200, QImage::Format_RGB888);
    picture.fill(Qt::red);
    for (int y = 100; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            picture.setPixelColor(x, y, Qt::green);
    auto* cover = new tglBitmap(&scene.set);
    place(*cover, kLeftHalf);
    cover->setbitmap(picture);
    auto* label = new tglLabel(&scene.set);
    place(*label, kRightHalf);
    label->setlabel(QStringLiteral("Add All"));

    QImage shot = frame();
    const QPoint mid = middle(kLeftHalf);
    EXPECT_EQ(shot.pixelColor(mid.x(), mid.y() - 20), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(mid.x(), mid.y() + 20), QColor(Qt::green));
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(Qt::blue)) << "the cleared background";
    // The label: black writing on white over the right half.
    const QRect area(middle(kRightHalf) - QPoint(60, 40), QSize(120, 80));
    int black = 0;
    int white = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            black += c == QColor(Qt::black);
            white += c == QColor(Qt::white);
        }
    EXPECT_GT(black, 50);
    EXPECT_GT(white, 1000);

    // An empty picture keeps the last one; a label that is not enabled is not drawn.
    cover->setbitmap(QImage());
    label->setenabled(false);
    shot = frame();
    EXPECT_EQ(shot.pixelColor(mid.x(), mid.y() - 20), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(middle(kRightHalf)), QColor(Qt::blue));
}

TEST_F(GLWidgetsTest, PickingFindsTheWidgetUnderThePointAndNoneOutside)
{
    auto* cover = new tglBitmap(&scene.set);
    place(*cover, kLeftHalf);
    auto* label = new tglLabel(&scene.set);
    place(*label, kRightHalf);
    label->setName(QStringLiteral("AddAll_Front"));
    QStringList clicks;
    label->setOnClick([&](QObject* sender) { clicks << static_cast<tglLabel*>(sender)->Name(); });
    frame();

    // On the label: taken; a press there and a release anywhere click it, once.
    EXPECT_EQ(scene.set.ProcessControls(kGlMouseDown, middle(kRightHalf)), kGlTaken);
    EXPECT_EQ(scene.set.ProcessControls(kGlMouseUp, QPoint(390, 290)), kGlMissed);
    EXPECT_EQ(scene.set.ProcessControls(kGlMouseUp, QPoint(390, 290)), kGlMissed);
    EXPECT_EQ(clicks, QStringList{QStringLiteral("AddAll_Front")});
    // On the cover only (a bitmap takes no events), or outside everything: missed.
    EXPECT_EQ(scene.set.ProcessControls(kGlMouseDown, middle(kLeftHalf)), kGlMissed);
    EXPECT_EQ(cover->ProcessControl(kGlMouseDown, middle(kLeftHalf)), kGlInactive);
    scene.set.ProcessControls(kGlMouseUp, middle(kLeftHalf));
    EXPECT_EQ(clicks.size(), 1);
    // A quad whose depths add up to neither 3 nor 6 is never hit.
    label->setVertices({{0, -0.75, 0}, {1.5, -0.75, 0}, {1.5, 0.75, 0}, {0, 0.75, 0}});
    frame();
    EXPECT_EQ(scene.set.ProcessControls(kGlMouseDown, middle(label->Vertices())), kGlMissed);
    label->setenabled(false);
    EXPECT_EQ(scene.set.ProcessControls(kGlMouseDown, middle(kRightHalf)), kGlInactive);
}

} // namespace
