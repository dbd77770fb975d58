#pragma once
// Filled shapes with soft edges for the screens, drawn with plain blending: the edge fades out
// over a unit or two instead of stepping from pixel to pixel, at any window scale.

// Most corners a shape may have; more are not drawn.
const int maxSmoothCorners = 8;

// Fills the convex polygon of count corners (either winding, in the current coordinates) grown
// outwards by grow units, its rim fading from colour (r, g, b, a) to clear over feather units
// centred on the grown edge. Texturing is off and blending on while it draws.
void fillSmoothConvex(const float (*corners)[2], int count, float grow, float feather, const float colour[4]);
