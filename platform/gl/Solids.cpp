// The sphere and the cone from GLU quadrics, with smooth normals.
#include "platform/gl/Solids.h"

#include <GL/glu.h>

namespace kw::gl {

namespace {

class Quadric {
public:
    Quadric() : m_q(gluNewQuadric()) {
        if (m_q)
            gluQuadricNormals(m_q, GLU_SMOOTH);
    }
    ~Quadric() {
        if (m_q)
            gluDeleteQuadric(m_q);
    }
    Quadric(const Quadric&) = delete;
    Quadric& operator=(const Quadric&) = delete;
    GLUquadric* Get() const { return m_q; }

private:
    GLUquadric* m_q;
};

} // namespace

void SolidSphere(GLdouble radius, GLint slices, GLint stacks) {
    Quadric q;
    if (q.Get())
        gluSphere(q.Get(), radius, slices, stacks);
}

void SolidCone(GLdouble base, GLdouble height, GLint slices, GLint stacks) {
    Quadric q;
    if (!q.Get())
        return;
    gluCylinder(q.Get(), base, 0.0, height, slices, stacks);
    // The base disc faces away from the tip.
    gluQuadricOrientation(q.Get(), GLU_INSIDE);
    gluDisk(q.Get(), 0.0, base, slices, 1);
}

} // namespace kw::gl
