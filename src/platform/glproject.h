#pragma once

// The system GLU's conversions between world and window coordinates, on matrices and a viewport
// the caller has read from OpenGL (column-major, as OpenGL keeps them). Plain functions; any
// thread, no GL context needed (they only compute).

#include <array>

namespace platform {

using GLMatrix = std::array<double, 16>;
using GLViewport = std::array<int, 4>; // left, bottom, width, height
using GLPoint = std::array<double, 3>;

// The window point (x, y from the viewport's bottom, depth 0..1) of world point `world`;
// false when the projection is degenerate.
[[nodiscard]] bool glproject(const GLPoint& world, const GLMatrix& modelview, const GLMatrix& projection,
                             const GLViewport& viewport, GLPoint& window);
// The world point drawn at window point `window`; false when the matrices cannot be inverted.
[[nodiscard]] bool glunproject(const GLPoint& window, const GLMatrix& modelview, const GLMatrix& projection,
                               const GLViewport& viewport, GLPoint& world);

} // namespace platform
