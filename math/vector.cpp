#include "math/vector.h"

#include <cmath>
#include <cstdint>

float dotProduct(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1]; }

double vectorLength(const float* v) {
    double x = v[0], y = v[1];
    return sqrt(x * x + y * y);
}

void normalise(float* v) {
    // The length is a float, as every caller of vectorLength holds it. Rounding to nearest never
    // takes a nonzero length below the smallest denormal, so a denormal vector still divides by
    // a nonzero length.
    double exact = vectorLength(v);
    float len = (float)exact;
    if (len > 0.0f && std::isfinite(len)) {
        v[0] = v[0] / len;
        v[1] = v[1] / len;
    } else if (exact > 0.0 && std::isfinite(exact)) {
        // Longer than the largest float: only the double length still gives a direction.
        v[0] = (float)(v[0] / exact);
        v[1] = (float)(v[1] / exact);
    }
}

float headingOfVector(const float* v) {
    float len = (float)vectorLength(v);
    if (len == 0.0f || !std::isfinite(len)) return 0.0f;
    // Rounding len to float never makes it shorter than |x|, but keep asin in its domain anyway.
    double s = v[0] / len;
    if (s > 1.0) s = 1.0;
    if (s < -1.0) s = -1.0;
    if (v[1] >= 0.0f) return (float)(-asin(s) * radToDeg);
    return (float)(asin(s) * radToDeg - 180.0);
}

// Beyond this every float is a whole number and the turn count no longer fits the 32-bit
// arithmetic below; fmod gives the same exact answer there.
static const float exactIntegerLimit = 16777216.0f;

static float wrapLarge(float a) {
    // a - 360k with the same k as the small-angle paths, computed exactly in double.
    if (a > 0.0f) return (float)(fmod((double)a + 180.0, 360.0) - 180.0);
    return (float)(180.0 - fmod(180.0 - (double)a, 360.0));
}

float wrapAngleOutside(float a) {
    if (!std::isfinite(a)) return a;
    if (fabsf(a) >= exactIntegerLimit) return wrapLarge(a);
    if (a > 180.0f) {
        int k = ((int)a + 180) / 360;
        return (float)((double)a - k * 360.0);
    }
    if (a < -180.0f) {
        int k = ((int)a - 180) / -360;
        return (float)((double)a + k * 360.0);
    }
    return a;
}

void wrapAngleOutsideInPlace(float& a) {
    if (!std::isfinite(a)) return;
    if (fabsf(a) >= exactIntegerLimit) {
        a = wrapLarge(a);
    } else if (a > 180.0f) {
        // The quotient in double: in float, 539.99997 + 180 over 360 rounds up to 2 and the
        // result would land just below -180 instead of just below 180.
        int k = (int)(((double)a + 180.0) / 360.0);
        a = (float)((double)a - k * 360.0);
    } else if (a < -180.0f) {
        int k = (int)(((double)a - 180.0) / -360.0);
        a = (float)((double)a + k * 360.0);
    }
}

float angleMidpoint(float a, float b) { return b + 0.5f * angleDifference(a, b); }

// Truncation to int is only defined inside the int range; text layout never gets near it.
static int truncToInt(float x) {
    if (!(x == x)) return 0;
    if (x >= 2147483520.0f) return INT32_MAX;
    if (x <= -2147483648.0f) return INT32_MIN;
    return (int)x;
}

int roundToInt(float x) {
    int i = truncToInt(x);
    if ((double)x - i > 0.5 && i < INT32_MAX) return i + 1;
    return i;
}

int roundUpToInt(float x) {
    int i = truncToInt(x);
    if ((float)i == x || i == INT32_MAX || !(x == x)) return i;
    return i + 1;
}
