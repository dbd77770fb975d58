#pragma once
// A straight, thick, immovable barrier: a textured quad along a segment and a static one-box
// physics body that trucks bounce off.
class Physics;
class PhysicsObject;

// The wall picture repeats once per this many world units (one tile).
const float wallTextureSize = 256.0f;

class Wall {
public:
    Wall();
    // Each copy owns a body of its own (the track keeps its walls by value in an array).
    Wall(const Wall& other);
    Wall& operator=(const Wall& other);
    virtual ~Wall();

    // Lays the wall from (x1, y1) to (x2, y2), width thick, and places its box.
    void setup(float x1, float y1, float x2, float y2, float width);
    // The four corners with their texture coordinates, inside the caller's GL_QUADS batch with
    // the wall texture bound.
    void emitVertices() const;
    // Adds the body to the world as a static body; false when the world is full.
    bool registerWith(Physics& world);
    bool registerWith(Physics* world);

    float corners[4][2];
    float texCoords[4][2];
    PhysicsObject* body;
};
