#pragma once
// World corners of a truck's cab or trailer from its 2D frame, computed with the very float
// operations of the Matrix4 chain translate(x, y) * rotate(heading) * translate(0, offset) *
// translate(vertex) that draws it, less the terms that add an exact zero. The boxes land on the
// same bits as the picture at a fraction of the cost.

struct PhysBox;

// Rows 0 and 1 of translate(x, y, 0) * rotate(heading) * translate(0, offset, 0).
struct BoxFrame {
    float cosine, sine;
    float originX, originY;
};

// cosine and sine as rotate narrows them: (float)cos and (float)sin of heading * degToRad.
BoxFrame boxFrame(float x, float y, float cosine, float sine, float offset);
// Writes the four local vertices, carried through the frame, to box as its corners.
void placeBox(PhysBox& box, const BoxFrame& frame, const float (*vertices)[2]);
