#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "math/vector.h"

TEST(WrapAngle, BringsAnglesIntoRangeByWholeTurns) {
    EXPECT_FLOAT_EQ(wrapAngle(190.0f), -170.0f);
    EXPECT_FLOAT_EQ(wrapAngle(-190.0f), 170.0f);
    EXPECT_FLOAT_EQ(wrapAngle(180.0f), 180.0f);
    EXPECT_FLOAT_EQ(wrapAngle(-180.0f), -180.0f);
    EXPECT_FLOAT_EQ(wrapAngle(540.0f), -180.0f);
    EXPECT_FLOAT_EQ(wrapAngle(-540.0f), 180.0f);
    EXPECT_FLOAT_EQ(wrapAngle(181.0f), -179.0f);
    EXPECT_FLOAT_EQ(wrapAngle(719.5f), -0.5f);
    EXPECT_FLOAT_EQ(wrapAngle(-719.5f), 0.5f);
    EXPECT_FLOAT_EQ(wrapAngle(45.0f), 45.0f);
}

// The in-place form takes its quotient in floating point; it must still agree everywhere,
// including just below the odd multiples of 180 where a float quotient rounds the wrong way.
TEST(WrapAngle, InPlaceAgreesWithWrapAngleOverASweep) {
    int compared = 0;
    for (float a = -5000.0f; a <= 5000.0f; a += 0.37f) {
        float b = a;
        wrapAngleInPlace(b);
        ASSERT_EQ(b, wrapAngle(a)) << "at " << a;
        compared++;
    }
    for (int k = -20; k <= 20; k++) {
        float edge = 180.0f + 360.0f * k;
        float near[4] = {edge, nextafterf(edge, -1e9f), nextafterf(edge, 1e9f), edge + 0.5f};
        for (float a : near) {
            float b = a;
            wrapAngleInPlace(b);
            ASSERT_EQ(b, wrapAngle(a)) << "at " << a;
            EXPECT_LE(fabsf(b), 180.0f) << "at " << a;
            compared++;
        }
    }
    printf("compared %d angles\n", compared);
}

// Angles far beyond any turn count and non-finite angles must not reach undefined conversions.
TEST(WrapAngle, HugeAndNonFiniteAnglesAreSafe) {
    float huge[3] = {3.0e38f, -3.0e38f, 1.0e10f};
    for (float a : huge) {
        float w = wrapAngle(a);
        float b = a;
        wrapAngleInPlace(b);
        EXPECT_LE(fabsf(w), 180.0f) << a;
        EXPECT_EQ(w, b) << a;
        // A whole number of degrees stays a whole number of degrees.
        EXPECT_EQ(w, truncf(w)) << a;
    }
    float inf = std::numeric_limits<float>::infinity();
    EXPECT_TRUE(std::isnan(wrapAngle(std::nanf(""))));
    EXPECT_EQ(wrapAngle(inf), inf);
    float n = std::nanf("");
    wrapAngleInPlace(n);
    EXPECT_TRUE(std::isnan(n));
}

TEST(AngleHelpers, DifferenceAndMidpointTakeTheShorterTurn) {
    EXPECT_FLOAT_EQ(angleDifference(-170.0f, 170.0f), 20.0f);
    EXPECT_FLOAT_EQ(angleDifference(170.0f, -170.0f), -20.0f);
    EXPECT_FLOAT_EQ(angleMidpoint(-170.0f, 179.0f), 184.5f);
    EXPECT_FLOAT_EQ(angleMidpoint(10.0f, -10.0f), 0.0f);
}

TEST(HeadingOfVector, AxesAndZero) {
    float right[2] = {1, 0}, up[2] = {0, 1}, left[2] = {-1, 0}, down[2] = {0, -1}, zero[2] = {0, 0};
    EXPECT_FLOAT_EQ(headingOfVector(right), -90.0f);
    EXPECT_EQ(headingOfVector(up), 0.0f);
    EXPECT_FLOAT_EQ(headingOfVector(left), 90.0f);
    EXPECT_FLOAT_EQ(headingOfVector(down), -180.0f);
    EXPECT_EQ(headingOfVector(zero), 0.0f);
    float nanV[2] = {std::nanf(""), 1.0f};
    EXPECT_EQ(headingOfVector(nanV), 0.0f);
}

// headingOfVector inverts the (-sin h, cos h) convention for every direction.
TEST(HeadingOfVector, InvertsTheHeadingConvention) {
    for (float h = -179.0f; h <= 180.0f; h += 7.0f) {
        float v[2] = {(float)(-sin(h * degToRad)) * 3.0f, (float)cos(h * degToRad) * 3.0f};
        EXPECT_NEAR(angleDifference(headingOfVector(v), h), 0.0f, 1e-3f) << h;
    }
}

TEST(VectorHelpers, LengthDotAndNormalise) {
    float a[2] = {3, 4}, b[2] = {-2, 1};
    EXPECT_DOUBLE_EQ(vectorLength(a), 5.0);
    EXPECT_FLOAT_EQ(dotProduct(a, b), -2.0f);
    normalise(a);
    EXPECT_FLOAT_EQ(a[0], 0.6f);
    EXPECT_FLOAT_EQ(a[1], 0.8f);
    float zero[2] = {0, 0};
    normalise(zero);
    EXPECT_EQ(zero[0], 0.0f);
    EXPECT_EQ(zero[1], 0.0f);
    // The divisor is the length as a float: 1 / (float)sqrt(17), not 1 / sqrt(17) rounded,
    // which is one bit lower.
    float odd[2] = {1, 4};
    normalise(odd);
    EXPECT_EQ(odd[0], 1.0f / (float)sqrt(17.0));
    EXPECT_NE(odd[0], (float)(1.0 / sqrt(17.0)));
    // A denormal vector's float length is still nonzero, so it keeps its direction.
    float tiny[2] = {1e-40f, 0.0f};
    normalise(tiny);
    EXPECT_FLOAT_EQ(tiny[0], 1.0f);
    float smallest[2] = {1e-45f, 1e-45f};
    normalise(smallest);
    EXPECT_TRUE(std::isfinite(smallest[0]) && smallest[0] > 0.0f);
    // Longer than the largest float: the direction still comes out.
    float huge[2] = {3e38f, 3e38f};
    normalise(huge);
    EXPECT_NEAR(huge[0], 0.70710678f, 1e-6f);
    float inf[2] = {std::numeric_limits<float>::infinity(), 0.0f};
    normalise(inf);
    EXPECT_FALSE(std::isnan(inf[0]));
}

TEST(Rounding, TruncateThenRound) {
    EXPECT_EQ(roundToInt(3.5f), 3);
    EXPECT_EQ(roundToInt(3.51f), 4);
    EXPECT_EQ(roundToInt(2.5f), 2);
    EXPECT_EQ(roundToInt(-1.7f), -1);
    EXPECT_EQ(roundUpToInt(3.0f), 3);
    EXPECT_EQ(roundUpToInt(3.01f), 4);
    EXPECT_EQ(roundUpToInt(-1.5f), 0);
    EXPECT_EQ(roundUpToInt(0.0f), 0);
    // Out of range and NaN inputs give a defined answer instead of an undefined conversion.
    EXPECT_EQ(roundToInt(std::nanf("")), 0);
    EXPECT_EQ(roundUpToInt(std::nanf("")), 0);
    EXPECT_EQ(roundToInt(1e20f), 2147483647);
    EXPECT_EQ(roundUpToInt(1e20f), 2147483647);
    EXPECT_EQ(roundToInt(-1e20f), -2147483647 - 1);
}
