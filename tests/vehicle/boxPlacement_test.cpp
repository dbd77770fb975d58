#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "math/matrix4.h"
#include "math/vector.h"
#include "physics/physBox.h"
#include "vehicle/boxPlacement.h"

// The shortcut must land on the bits of the matrix chain it replaces, for any pose on or off the
// course and any heading, or the boxes would drift from the drawn truck and the races would change.
TEST(BoxPlacement, CornersMatchTheMatrixChainBitForBit) {
    std::mt19937 rng(15);
    std::uniform_real_distribution<float> pos(-3000.0f, 3000.0f), turn(-360.0f, 360.0f);
    const float vertices[4][2] = {{-24.5f, 57.5f}, {24.5f, 57.5f}, {24.5f, -57.5f}, {-24.5f, -57.5f}};
    const float offsets[2] = {33.0f, -43.0f};
    int mismatches = 0;
    for (int n = 0; n < 20000; n++) {
        float x = pos(rng), y = pos(rng), heading = turn(rng), offset = offsets[n % 2];
        Matrix4 m;
        m.setIdentity();
        m.translate(x, y, 0);
        m.rotate(heading, 0, 0, 1);
        m.translate(0, offset, 0);
        double a = heading * degToRad;
        PhysBox box;
        placeBox(box, boxFrame(x, y, (float)cos(a), (float)sin(a), offset), vertices);
        for (int i = 0; i < 4; i++) {
            Matrix4 p(m);
            p.translate(vertices[i][0], vertices[i][1], 0);
            if (box.corners[i][0] != p.element(12) || box.corners[i][1] != p.element(13)) mismatches++;
        }
    }
    printf("corner mismatches over 20000 poses: %d\n", mismatches);
    EXPECT_EQ(mismatches, 0);
}
