#pragma once
// Where a panel over the race can stand without covering the user's truck: the camera holds the
// truck at the screen's centre, so how much of the screen it covers depends on the zoom and on
// which way the cab and trailer point.
class Camera2D;
class Truck;

// A screen rectangle: left, bottom, right, top (origin bottom-left, 640 x 480).
struct ScreenRect {
    float x1, y1, x2, y2;
};

// True when the truck's cab or trailer, as the camera shows it, reaches into rect grown by margin.
bool truckCovers(const Truck& truck, const Camera2D& camera, const ScreenRect& rect, float margin);

// The first of the "Paused" panel's places that the truck leaves clear.
ScreenRect pausedPanelPlace(const Truck& truck, const Camera2D& camera);
