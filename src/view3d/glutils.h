#pragma once

// What the 3D album view's widgets share: coordinate records, the conversions between window
// pixels and world coordinates that picking rests on, the process-wide texture table and the
// upload of a picture into a texture. Every function works on the OpenGL context that is current
// and does nothing (or answers zeros) when none is, so no GL call is ever made without one.
// GUI thread only.

#include <QImage>
#include <cstdint>
#include <vector>

class QOpenGLFunctions_2_1;

namespace view3d {

// A point or vector.
struct tgl3DCoord
{
    double x = 0;
    double y = 0;
    double z = 0;
};

// A texture coordinate pair.
struct tgl2DCoord
{
    double x = 0;
    double y = 0;
};

// The four corners of a quad, in drawing order.
struct tglVertices
{
    tgl3DCoord v1;
    tgl3DCoord v2;
    tgl3DCoord v3;
    tgl3DCoord v4;
};

// The texture coordinates of the four corners, paired with the corners of the same name.
struct tglTexCoord
{
    tgl2DCoord v1;
    tgl2DCoord v2;
    tgl2DCoord v3;
    tgl2DCoord v4;
};

// One entry of the texture table: the OpenGL texture name and the entry's running number, counted
// from 0 over the life of the process and never reused.
struct ttexture
{
    uint32_t texture = 0;
    uint32_t slot = 0;
};

// The texture table in order of creation, and the count of every entry ever made.
inline std::vector<ttexture> textures;
inline uint32_t slotcount = 0;
inline uint32_t texturecount()
{
    return uint32_t(textures.size());
}

// The fixed-function OpenGL of the current context; null when no context is current or it has no
// compatibility functions.
QOpenGLFunctions_2_1* currentgl();

tgl3DCoord gl3d(double x, double y, double z);
tgl2DCoord gl2d(double x, double y);

// The world point drawn at window point (x, y) (pixels, y from the top), at the depth stored there;
// where nothing was drawn the depth is the far plane's.
tgl3DCoord getGLPos(int x, int y);
// The same at window depth `z` (0 near plane, 1 far plane).
tgl3DCoord getGLPosZ(int x, int y, double z);
// The window point of world point `coord`: x from the left, y from the top, z the window depth.
tgl3DCoord getRealWorldPos(const tgl3DCoord& coord);

// A new table entry with a fresh texture name.
ttexture addtexture();
// Deletes the texture of the entry with slot `slot` and removes the entry; an unknown slot
// changes nothing. Without a current context only the entry goes (the context frees its names).
void deltexture(uint32_t slot);
// Uploads `bitmap` (any format; converted to 32 bits, rows bottom-up) as the image of `texture`.
// A null picture leaves the texture's earlier image in place.
void LoadTexturefromBitmap(const ttexture& texture, const QImage& bitmap);

} // namespace view3d
