#pragma once
// 2D vector and angle helpers. A vector is two adjacent floats (x, y) passed by pointer; angles
// are degrees, counterclockwise positive, and a heading h points along (-sin h, cos h).

// The game's own conversion constants, used instead of a computed pi so that every angle
// rounds the same way everywhere.
const double degToRad = 0.017453293;
const double radToDeg = 57.29577951;

float dotProduct(const float* a, const float* b);
// Length in double precision; callers narrow it to float.
double vectorLength(const float* v);
// Divides v by its length; a zero (or non-finite) vector is left as it is.
void normalise(float* v);
// Heading whose direction is v, in -270..90 (compare through angleDifference); 0 for no direction.
float headingOfVector(const float* v);
// wrapAngle and wrapAngleInPlace for an angle outside -180..180 (or not finite).
float wrapAngleOutside(float a);
void wrapAngleOutsideInPlace(float& a);
// Brings a into -180..180 by whole turns; exactly +-180 stay as they are. Non-finite a is
// returned unchanged. Inline, as the turn from one heading to the next: nearly every angle is
// already within, and the call would cost more than the test.
inline float wrapAngle(float a) { return a >= -180.0f && a <= 180.0f ? a : wrapAngleOutside(a); }
inline void wrapAngleInPlace(float& a) {
    if (!(a >= -180.0f && a <= 180.0f)) wrapAngleOutsideInPlace(a);
}
// The signed turn from b to a, in -180..180.
inline float angleDifference(float a, float b) { return wrapAngle(a - b); }
// Half way along the shorter turn from b to a; not wrapped again.
float angleMidpoint(float a, float b);
// Truncates, then rounds up only above one half: 2.5 gives 2, -1.7 gives -1.
int roundToInt(float x);
// Truncates, then adds one for any fraction: the ceiling for x >= 0, -1.5 gives 0.
int roundUpToInt(float x);
