#pragma once
// Each human's view of the race (their camera and cue) and, for two people on one screen, where
// each view lies on the window and where its cue's panel goes. Plain values and arithmetic here;
// the drawing is viewDraw.cpp's.
#include "graphics/camera2D.h"

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

// A view's heading panel (name, position, lap) sits in its top-left corner and its speed and
// power panel in its bottom-left one, this far inside the edges (screen units).
const float viewHudMargin = 4.0f;
const float viewHeadingPanelRight = 250.0f;
const float viewHeadingPanelDepth = 104.0f;  // from the view's top edge down to the panel's bottom
const float viewSpeedPanelRight = 200.0f;
const float viewSpeedPanelTop = 74.0f;
// The cue's panel: its height, the room round its text on the left, and how far below the view's
// centre (where the truck is) its bottom lies when the view has the room, as the classic cue's.
const float viewCueHeight = 50.0f;
const float viewCuePadding = 14.0f;
const float viewCueBelowCentre = 130.0f;
const float viewCueTextRise = 10.0f;  // the text's line over the panel's bottom

// Where a view's cue panel lies, in the view's screen units from its bottom-left corner.
struct ViewCuePanel {
    float left, bottom, right, top;
    float textLeft;  // where the text starts
};
// The panel for a text textWidth units wide: centred under the truck as the classic cue is,
// moved up off the view's bottom edge, aside from the speed panel when level with it (else above
// it), and inside the view, with less room round the text in a narrow one (a text wider than the
// view starts at its left margin).
ViewCuePanel viewCuePanel(float width, float height, int textWidth);

// The missed-checkpoint cue of one human: the text's deadline on the race clock, the checkpoint
// the arrow points to (-1 when none) and whether the truck's hitch was on the line's tile.
struct CheckpointCue {
    double until = 0.0;
    int checkpoint = -1;
    bool onLine = false;
};

// One human's view of the race: the camera that follows their truck at their own zoom, and their
// missed-checkpoint cue. The race draws one per human (viewDraw.cpp); the classic race's single
// picture is view 0's.
struct View {
    Camera2D camera;
    CheckpointCue cue;
};
