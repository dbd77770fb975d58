#pragma once
// Split screen for two people on one screen: where each human's view of the race lies on the
// window. Plain arithmetic here; the drawing is viewDraw.cpp's.

// The surface the race is drawn on: its size in pixels and the picture's scale on it (pixels per
// screen unit: the whole number the window fits the 640x480 picture at, a fraction below 1x).
// The app sets it from the window; the default is the plain 640x480 picture.
struct Drawable {
    int width = 640;
    int height = 480;
    float scale = 1.0f;
};

// One view's rectangle in drawable pixels, origin bottom-left (as glViewport takes it).
struct ViewRect {
    int x, y, width, height;
};

// The black seam between two views, in drawable pixels.
const int viewSeamPixels = 2;

// Two views sit side by side when the drawable is wider than the picture's 4:3, else one above
// the other: either way each view is the squarer of the two halves, and the course's tiles are
// square, so each player sees as far ahead whichever way they drive.
bool viewsSideBySide(const Drawable& d);
// Lays count views (1 or 2, others taken as 1) over the whole drawable: player one left or on
// top. Returns how many were laid out.
int layOutViews(const Drawable& d, int count, ViewRect out[2]);
// A view's size in screen units: its pixels at the drawable's scale.
float viewUnits(int pixels, const Drawable& d);

// The missed-checkpoint cue of one human: the text's deadline on the race clock, the checkpoint
// the arrow points to (-1 when none) and whether the truck's hitch was on the line's tile.
struct CheckpointCue {
    double until = 0.0;
    int checkpoint = -1;
    bool onLine = false;
};
