#include "graphics/smoothShape.h"

#include <GL/gl.h>
#include <cmath>

// The outward unit normal of the edge from a to b, for a polygon of the given winding (1 when
// anticlockwise, -1 when clockwise).
static void outwardNormal(const float* a, const float* b, float winding, float& nx, float& ny) {
    float dx = b[0] - a[0], dy = b[1] - a[1];
    float length = std::sqrt(dx * dx + dy * dy);
    if (length <= 0.0f) {
        nx = ny = 0.0f;
        return;
    }
    nx = winding * dy / length;
    ny = -winding * dx / length;
}

void fillSmoothConvex(const float (*corners)[2], int count, float grow, float feather, const float colour[4]) {
    if (count < 3 || count > maxSmoothCorners) return;
    float area = 0.0f;
    for (int i = 0; i < count; i++) {
        const float* a = corners[i];
        const float* b = corners[(i + 1) % count];
        area += a[0] * b[1] - b[0] * a[1];
    }
    float winding = area >= 0.0f ? 1.0f : -1.0f;
    // Each corner moves along its mitre, so every edge moves out by the same distance.
    float solid[maxSmoothCorners][2], clear[maxSmoothCorners][2];
    float inner = grow - feather / 2, outer = grow + feather / 2;
    for (int i = 0; i < count; i++) {
        const float* p = corners[i];
        float n1x, n1y, n2x, n2y;
        outwardNormal(corners[(i + count - 1) % count], p, winding, n1x, n1y);
        outwardNormal(p, corners[(i + 1) % count], winding, n2x, n2y);
        float scale = 1.0f + n1x * n2x + n1y * n2y;
        float mx = scale > 0.05f ? (n1x + n2x) / scale : 0.0f, my = scale > 0.05f ? (n1y + n2y) / scale : 0.0f;
        solid[i][0] = p[0] + mx * inner;
        solid[i][1] = p[1] + my * inner;
        clear[i][0] = p[0] + mx * outer;
        clear[i][1] = p[1] + my * outer;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4fv(colour);
    glBegin(GL_POLYGON);
    for (int i = 0; i < count; i++) glVertex2fv(solid[i]);
    glEnd();
    glBegin(GL_QUAD_STRIP);
    for (int k = 0; k <= count; k++) {
        int i = k % count;
        glColor4fv(colour);
        glVertex2fv(solid[i]);
        glColor4f(colour[0], colour[1], colour[2], 0.0f);
        glVertex2fv(clear[i]);
    }
    glEnd();
    glPopAttrib();
}
