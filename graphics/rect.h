#pragma once
// Screen rectangles behind text: a negative shade is a black veil of opacity -1.5 x shade, a
// positive one adds shade / 2 to every colour channel. Corners in screen coordinates.
void drawRect(float shade, float x1, float y1, float x2, float y2);
