#pragma once
// The view of the world: the point it looks at is shown at the window centre, scaled by the zoom.

class Camera2D {
public:
    Camera2D();
    virtual ~Camera2D();

    void setPosition(float x, float y);
    // Multiplies the current modelview matrix by the camera transform; the caller brackets
    // world drawing with glPushMatrix and glPopMatrix around it.
    void apply();
    // Scales the zoom by 1 + amount, kept within minZoom..maxZoom.
    void zoomBy(float amount);

    // Zoom limits, in pixels per world unit; the lower one is compared in double precision.
    static constexpr double minZoom = 0.2;
    static constexpr float maxZoom = 3.0f;

    float zoom;  // pixels per world unit
    float x, y;  // world point shown at the window centre
};
