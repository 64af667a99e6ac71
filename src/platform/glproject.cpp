#include "platform/glproject.h"

#include <GL/glu.h>

namespace platform {

bool glproject(const GLPoint& world, const GLMatrix& modelview, const GLMatrix& projection,
               const GLViewport& viewport, GLPoint& window)
{
    return gluProject(world[0], world[1], world[2], modelview.data(), projection.data(), viewport.data(),
                      &window[0], &window[1], &window[2]) == GL_TRUE;
}

bool glunproject(const GLPoint& window, const GLMatrix& modelview, const GLMatrix& projection,
                 const GLViewport& viewport, GLPoint& world)
{
    return gluUnProject(window[0], window[1], window[2], modelview.data(), projection.data(), viewport.data(),
                        &world[0], &world[1], &world[2]) == GL_TRUE;
}

} // namespace platform
