#include "vehicle/boxPlacement.h"

#include "physics/physBox.h"

// The chain's products with 0 and 1 are exact and its sums with those zeros leave the other term
// as it is; what remains is the product -sine * offset (and cosine * offset) added to the hitch.
BoxFrame boxFrame(float x, float y, float cosine, float sine, float offset) {
    BoxFrame f;
    f.cosine = cosine;
    f.sine = sine;
    f.originX = -sine * offset + x;
    f.originY = cosine * offset + y;
    return f;
}

void placeBox(PhysBox& box, const BoxFrame& f, const float (*v)[2]) {
    float c[4][2];
    for (int i = 0; i < 4; i++) {
        // Element 12 of frame * translate(v): (m0 * vx + m4 * vy) + m12, with m4 = -sine.
        c[i][0] = (f.cosine * v[i][0] + -f.sine * v[i][1]) + f.originX;
        c[i][1] = (f.sine * v[i][0] + f.cosine * v[i][1]) + f.originY;
    }
    box.update(c[0][0], c[0][1], c[1][0], c[1][1], c[2][0], c[2][1], c[3][0], c[3][1]);
}
