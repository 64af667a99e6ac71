#include "view3d/glutils.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions_2_1>
#include <QOpenGLVersionFunctionsFactory>
#include <algorithm>

#include "platform/glproject.h"

namespace view3d {

namespace {

// The depth of a pixel nothing was drawn on.
constexpr float kFarDepth = 1.0f;

// The matrices and viewport the last drawn frame left in place.
struct GLView
{
    platform::GLMatrix modelview{};
    platform::GLMatrix projection{};
    platform::GLViewport viewport{};
};

GLView readview(QOpenGLFunctions_2_1& gl)
{
    GLView view;
    gl.glGetDoublev(GL_MODELVIEW_MATRIX, view.modelview.data());
    gl.glGetDoublev(GL_PROJECTION_MATRIX, view.projection.data());
    gl.glGetIntegerv(GL_VIEWPORT, view.viewport.data());
    return view;
}

tgl3DCoord unproject(const GLView& view, int x, int y, double z)
{
    // The callers count from the top row, OpenGL from the bottom one; row 0 is taken as row 1.
    const double row = double(view.viewport[3] - std::max(y, 1));
    platform::GLPoint world{};
    if (!platform::glunproject({double(x), row, z}, view.modelview, view.projection, view.viewport, world))
        return {};
    return {world[0], world[1], world[2]};
}

} // namespace

QOpenGLFunctions_2_1* currentgl()
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (!context || context->isOpenGLES()) return nullptr;
    return QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_2_1>(context);
}

tgl3DCoord gl3d(double x, double y, double z)
{
    return {x, y, z};
}

tgl2DCoord gl2d(double x, double y)
{
    return {x, y};
}

tgl3DCoord getGLPos(int x, int y)
{
    QOpenGLFunctions_2_1* gl = currentgl();
    if (!gl) return {};
    const GLView view = readview(*gl);
    float depth = kFarDepth;
    gl->glReadPixels(x, view.viewport[3] - std::max(y, 1), 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return unproject(view, x, y, depth);
}

tgl3DCoord getGLPosZ(int x, int y, double z)
{
    QOpenGLFunctions_2_1* gl = currentgl();
    if (!gl) return {};
    const GLView view = readview(*gl);
    return unproject(view, x, y, z);
}

tgl3DCoord getRealWorldPos(const tgl3DCoord& coord)
{
    QOpenGLFunctions_2_1* gl = currentgl();
    if (!gl) return {};
    const GLView view = readview(*gl);
    platform::GLPoint window{};
    if (!platform::glproject({coord.x, coord.y, coord.z}, view.modelview, view.projection, view.viewport,
                             window))
        return {};
    return {window[0], double(view.viewport[3]) - window[1], window[2]};
}

ttexture addtexture()
{
    ttexture entry;
    entry.slot = slotcount++;
    if (QOpenGLFunctions_2_1* gl = currentgl()) gl->glGenTextures(1, &entry.texture);
    textures.push_back(entry);
    return entry;
}

void deltexture(uint32_t slot)
{
    const auto entry =
        std::find_if(textures.begin(), textures.end(), [slot](const ttexture& t) { return t.slot == slot; });
    if (entry == textures.end()) return;
    if (QOpenGLFunctions_2_1* gl = currentgl(); gl && entry->texture != 0)
        gl->glDeleteTextures(1, &entry->texture);
    textures.erase(entry);
}

void LoadTexturefromBitmap(const ttexture& texture, const QImage& bitmap)
{
    QOpenGLFunctions_2_1* gl = currentgl();
    if (!gl || bitmap.isNull()) return;
    // Four bytes per pixel in blue, green, red, alpha order, the bottom row first.
    const QImage pixels = bitmap.convertToFormat(QImage::Format_ARGB32).mirrored();
    gl->glBindTexture(GL_TEXTURE_2D, texture.texture);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, pixels.width(), pixels.height(), 0, GL_BGRA, GL_UNSIGNED_BYTE,
                     pixels.constBits());
}

} // namespace view3d
