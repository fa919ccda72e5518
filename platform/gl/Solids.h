#pragma once
// Solid shapes with normals, drawn in the current context in immediate
// mode: the sphere and the cone of the usual toolkits' solids, built from
// GLU quadrics so that no toolkit has to be started.
#include <GL/gl.h>

namespace kw::gl {

// Centred on the origin; `slices` around the z axis, `stacks` along it.
void SolidSphere(GLdouble radius, GLint slices, GLint stacks);
// Its base a disc of radius `base` in the z = 0 plane facing -z, its tip at
// (0, 0, height).
void SolidCone(GLdouble base, GLdouble height, GLint slices, GLint stacks);

} // namespace kw::gl
