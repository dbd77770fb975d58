#include "physics/wall.h"

#include <GL/gl.h>
#include <cmath>

#include "math/vector.h"
#include "physics/physics.h"

Wall::Wall() : body(new PhysicsObject(1)) {
    body->setStatic(1);
    for (int i = 0; i < 4; i++) {
        corners[i][0] = corners[i][1] = 0.0f;
        texCoords[i][0] = texCoords[i][1] = 0.0f;
    }
}

Wall::Wall(const Wall& other) : body(new PhysicsObject(*other.body)) {
    for (int i = 0; i < 4; i++) {
        corners[i][0] = other.corners[i][0];
        corners[i][1] = other.corners[i][1];
        texCoords[i][0] = other.texCoords[i][0];
        texCoords[i][1] = other.texCoords[i][1];
    }
}

Wall& Wall::operator=(const Wall& other) {
    if (this == &other) return *this;
    *body = *other.body;
    for (int i = 0; i < 4; i++) {
        corners[i][0] = other.corners[i][0];
        corners[i][1] = other.corners[i][1];
        texCoords[i][0] = other.texCoords[i][0];
        texCoords[i][1] = other.texCoords[i][1];
    }
    return *this;
}

Wall::~Wall() { delete body; }

void Wall::setup(float x1, float y1, float x2, float y2, float width) {
    // A negative width would list the corners counterclockwise, and the box would then report
    // overlapping shapes as apart; thickness has no sign.
    float hw = fabsf(width) * 0.5f;
    // Unit vector across the wall, to the right of the direction from the first point.
    float n[2] = {y2 - y1, -(x2 - x1)};
    normalise(n);
    // This order is clockwise for every direction of the segment, as the box needs.
    corners[0][0] = x1 + n[0] * hw;
    corners[0][1] = y1 + n[1] * hw;
    corners[1][0] = x1 - n[0] * hw;
    corners[1][1] = y1 - n[1] * hw;
    corners[2][0] = x2 - n[0] * hw;
    corners[2][1] = y2 - n[1] * hw;
    corners[3][0] = x2 + n[0] * hw;
    corners[3][1] = y2 + n[1] * hw;
    // Texture laid in world space, so walls of any direction and length line up.
    for (int i = 0; i < 4; i++) {
        texCoords[i][0] = corners[i][0] / wallTextureSize;
        texCoords[i][1] = corners[i][1] / wallTextureSize;
    }
    body->box(0).update(corners[0][0], corners[0][1], corners[1][0], corners[1][1], corners[2][0], corners[2][1],
                        corners[3][0], corners[3][1]);
}

void Wall::emitVertices() const {
    for (int i = 0; i < 4; i++) {
        glTexCoord2fv(texCoords[i]);
        glVertex2fv(corners[i]);
    }
}

bool Wall::registerWith(Physics& world) { return world.addObject(body, true); }

bool Wall::registerWith(Physics* world) { return world ? registerWith(*world) : false; }
