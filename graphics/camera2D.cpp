#include "graphics/camera2D.h"

#include <GL/gl.h>

#include <cmath>

// The owner places the camera before the first apply.
Camera2D::Camera2D() : zoom(0.5f), x(0.0f), y(0.0f) {}
Camera2D::~Camera2D() {}

void Camera2D::setPosition(float px, float py) {
    x = px;
    y = py;
}

void Camera2D::apply() {
    // A world point p lands at zoom * (p - camera) from the window centre.
    glScalef(zoom, zoom, zoom);
    glTranslatef(-x, -y, 0);
}

void Camera2D::zoomBy(float amount) {
    zoom = zoom * (1 + amount);
    // The lower bound first; a value exactly at a bound is left as it is. A zoom that is no
    // number at all (a NaN amount) would blank the world for good: it goes to the lower bound.
    if (zoom < minZoom || std::isnan(zoom)) zoom = (float)minZoom;
    if (zoom > maxZoom) zoom = maxZoom;
}
